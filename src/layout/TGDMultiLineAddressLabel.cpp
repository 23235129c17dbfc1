#include "TGDMultiLineAddressLabel.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "TGDataPanel.h"
#include "TGDataSource.h"

namespace {
struct AddressFlag {
    const char *name;
    bool TGDMultiLineAddressLabel::*member;
};
constexpr AddressFlag kAddressFlags[] = {
    {"UseName", &TGDMultiLineAddressLabel::UseName},
    {"UseTitle", &TGDMultiLineAddressLabel::UseTitle},
    {"UseCompany", &TGDMultiLineAddressLabel::UseCompany},
    {"UseStreet", &TGDMultiLineAddressLabel::UseStreet},
    {"UseStreet2", &TGDMultiLineAddressLabel::UseStreet2},
    {"UseCityState", &TGDMultiLineAddressLabel::UseCityState},
    {"UseZip", &TGDMultiLineAddressLabel::UseZip},
    {"UsePhone", &TGDMultiLineAddressLabel::UsePhone},
    {"UseCountry", &TGDMultiLineAddressLabel::UseCountry},
};

// Leading blanks removed.
QString L(const QString &text)
{
    qsizetype begin = 0;
    while (begin < text.size() && text[begin] == QLatin1Char(' '))
        ++begin;
    return text.mid(begin);
}

bool isBlank(const QString &text)
{
    for (QChar c : text)
        if (c != QLatin1Char(' '))
            return false;
    return true;
}
} // namespace

QStringList TGDMultiLineAddressLabel::addressLines(const TGDataSource &data) const
{
    QStringList lines;
    bool missing = false;
    // The field's text; a field the data set lacks sets `missing`, which ends the block.
    auto field = [&](const char *name) {
        const int index = missing ? -1 : data.indexOfName(QLatin1String(name));
        if (index < 0) {
            missing = true;
            return QString();
        }
        return data.fieldText(index);
    };
    auto add = [&](const QString &line) {
        if (!missing && !line.isEmpty())
            lines.append(line);
        return !missing;
    };
    const QString sp = QStringLiteral(" ");
    const bool zipWithCountry = ZipOptions == zoAfterCountry || ZipOptions == zoBeforeCountry;
    auto build = [&]() {
        if (UseName) {
            // Only a middle initial takes a full stop: "B" becomes "B.", while "B." and
            // "Robert" stay as they are.
            QString m = field("MIDDLE");
            const QString middle = QString(m).remove(QLatin1Char(' '));
            if (middle.size() == 1 && middle[0].isLetter())
                m = middle + QLatin1Char('.');
            const QString prefix = field("PREFIX");
            const QString first = field("FNAME");
            const QString last = field("LNAME");
            if (!add(L(prefix + sp) + L(first + sp) + L(m + sp) + L(last + sp)))
                return;
        }
        if ((UseTitle && !add(field("TITLE"))) || (UseCompany && !add(field("ORG"))) ||
            (UseStreet && !add(field("STREET"))) || (UseStreet2 && !add(field("STREET2"))))
            return;
        if (UseCityState && UseZip && ZipOptions == zoAfterState) {
            // City and state are two blanks apart.
            const QString city = field("CITY");
            const QString state = field("STATE");
            const QString line = L(city + sp) + sp + L(state + sp) + L(field("ZIP"));
            if (!add(isBlank(line) ? QString() : line))
                return;
        } else if (UseCityState && UseZip && ZipOptions == zoBeforeCity) {
            const QString zip = field("ZIP");
            const QString city = field("CITY");
            if (!add(L(zip + sp) + L(city + sp) + L(field("STATE") + sp)))
                return;
        } else if (UseCityState) {
            const QString city = field("CITY");
            if (!add(L(city + sp) + L(field("STATE"))))
                return;
        } else if (UseZip && !zipWithCountry) {
            if (!add(L(field("ZIP"))))
                return;
        }
        bool ok = true;
        if (UseCountry && UseZip && ZipOptions == zoAfterCountry) {
            const QString country = field("COUNTRY");
            ok = add(L(country + sp) + L(field("ZIP")));
        } else if (UseCountry && UseZip && ZipOptions == zoBeforeCountry) {
            const QString zip = field("ZIP");
            ok = add(L(zip + sp) + L(field("COUNTRY")));
        } else if (UseCountry) {
            ok = add(L(field("COUNTRY")));
        } else if (UseZip && zipWithCountry) {
            ok = add(L(field("ZIP")));
        }
        if (ok && UsePhone)
            add(field("PHONE"));
    };
    build();
    if (UpperCase)
        for (QString &line : lines)
            line = line.toUpper();
    return lines;
}

void TGDMultiLineAddressLabel::LayoutChosen()
{
    if (TGDataPanel *surface = dataParent())
        surface->RefreshData();
    NotifyChanged();
}

void TGDMultiLineAddressLabel::ShowDataValue()
{
    TGDataPanel *surface = dataParent();
    const TGDataSource *data = surface ? surface->DataSet() : nullptr;
    const bool printing = isPrinting();
    QStringList items;
    if (surface && (surface->DisplayDataValues() || printing)) {
        if (data)
            items = addressLines(*data);
    } else {
        items = QStringList{QStringLiteral("[Address Label]")};
    }
    setItemsQuiet(items);
    if (WordWrap())
        wrapItems();
    if (!printing)
        Invalidate();
}

void TGDMultiLineAddressLabel::ClearDataValue()
{
    setItemsQuiet(QStringList());
    setWrappedLines(QStringList());
}

void TGDMultiLineAddressLabel::WriteProperties(LayoutStreamWriter &w) const
{
    TGMultiLineBaseLabel::WriteProperties(w);
    for (const AddressFlag &f : kAddressFlags)
        w.booleanProperty(f.name, this->*f.member);
    w.identProperty("ZipOptions", TZipOptionsNames[ZipOptions]);
    w.booleanProperty("UpperCase", UpperCase);
}

bool TGDMultiLineAddressLabel::ReadProperty(const QByteArray &name, LayoutStreamReader &r)
{
    for (const AddressFlag &f : kAddressFlags)
        if (name == f.name) {
            this->*f.member = r.readBoolean();
            return true;
        }
    if (name == "ZipOptions")
        ZipOptions = static_cast<TZipOptions>(r.readEnum(TZipOptionsNames, TZipOptionsCount));
    else if (name == "UpperCase")
        UpperCase = r.readBoolean();
    else
        return TGMultiLineBaseLabel::ReadProperty(name, r);
    return true;
}
