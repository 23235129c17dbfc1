#include "TMergeFields.h"

#include "TDateText.h"
#include "TText.h"

namespace {

// The record's value without trailing blanks, whatever the record hands over.
QString field(const TMergeRecord &record, const char *name)
{
    return TText::TrimRight(record.fieldText(QLatin1String(name)));
}

// Merge fields that stand for one address field as it is.
const QHash<QString, const char *> &plainFields()
{
    static const QHash<QString, const char *> fields = {
        {QStringLiteral("First"), "FNAME"},     {QStringLiteral("Last"), "LNAME"},
        {QStringLiteral("Middle"), "MIDDLE"},   {QStringLiteral("Prefix"), "PREFIX"},
        {QStringLiteral("Title"), "TITLE"},     {QStringLiteral("Organization"), "ORG"},
        {QStringLiteral("Street"), "STREET"},   {QStringLiteral("Street 2"), "STREET2"},
        {QStringLiteral("City"), "CITY"},       {QStringLiteral("State"), "STATE"},
        {QStringLiteral("Province"), "STATE"},  {QStringLiteral("Zip"), "ZIP"},
        {QStringLiteral("Postal Code"), "ZIP"}, {QStringLiteral("Country"), "COUNTRY"},
        {QStringLiteral("Phone"), "PHONE"},     {QStringLiteral("Phone 2"), "PHONE2"},
        {QStringLiteral("Fax"), "FAX"},         {QStringLiteral("E-Mail"), "EMAIL"},
        {QStringLiteral("Comment 1"), "USER1"}, {QStringLiteral("Comment 2"), "USER2"},
    };
    return fields;
}

} // namespace

TMergeDates TMergeDates::system()
{
    return {QDate::currentDate(), TDateText::shortDatePattern(), QLocale::system()};
}

const QStringList &TMergeFields::names()
{
    static const QStringList list = {
        QStringLiteral("Full Name"),
        QStringLiteral("Name and Address"),
        QStringLiteral("First"),
        QStringLiteral("Last"),
        QStringLiteral("Middle"),
        QStringLiteral("Prefix"),
        QStringLiteral("Title"),
        QStringLiteral("Organization"),
        QStringLiteral("Street"),
        QStringLiteral("Street 2"),
        QStringLiteral("City+State+Zip"),
        QStringLiteral("City"),
        QStringLiteral("State"),
        QStringLiteral("Province"),
        QStringLiteral("Zip"),
        QStringLiteral("Postal Code"),
        QStringLiteral("Country"),
        QStringLiteral("Phone"),
        QStringLiteral("Phone 2"),
        QStringLiteral("Fax"),
        QStringLiteral("E-Mail"),
        QStringLiteral("Today's Date"),
        QStringLiteral("Long Date"),
        QStringLiteral("Comment 1"),
        QStringLiteral("Comment 2"),
    };
    return list;
}

bool TMergeFields::isField(const QString &name)
{
    return names().contains(name);
}

QString TMergeFields::token(const QString &name)
{
    return QLatin1Char('[') + name + QLatin1Char(']');
}

QString TMergeFields::NameLine(const TMergeRecord &record)
{
    const QString space = QStringLiteral(" ");
    QString middle = field(record, "MIDDLE");
    if (!middle.isEmpty())
        middle += QLatin1Char('.');
    return TText::TrimLeft(field(record, "PREFIX") + space) +
           TText::TrimLeft(field(record, "FNAME") + space) + TText::TrimLeft(middle + space) +
           TText::TrimLeft(field(record, "LNAME") + space);
}

QString TMergeFields::NameAndAddress(const TMergeRecord &record)
{
    const QString crlf = QStringLiteral("\r\n");
    QString block;
    const auto line = [&](const QString &text) {
        if (!text.isEmpty())
            block += text + crlf;
    };
    line(NameLine(record));
    const QString title = field(record, "TITLE");
    const QString org = field(record, "ORG");
    if (!title.isEmpty() && !org.isEmpty())
        line(title + QStringLiteral(",  ") + org);
    else
        line(title.isEmpty() ? org : title);
    line(field(record, "STREET"));
    line(field(record, "STREET2"));
    const QString city = field(record, "CITY");
    const QString state = field(record, "STATE");
    const QString zip = field(record, "ZIP");
    const QString s = state.isEmpty() ? QString() : state + QLatin1Char(' ');
    if (!city.isEmpty() || !s.isEmpty() || !zip.isEmpty())
        line(TText::Trim(city + QLatin1Char(' ') + s + QLatin1Char(' ') + zip));
    line(field(record, "COUNTRY"));
    return block;
}

QString TMergeFields::cityStateZip(const TMergeRecord &record)
{
    return TText::Trim(field(record, "CITY") + QLatin1Char(' ') + field(record, "STATE") + QLatin1Char(' ') +
                       field(record, "ZIP"));
}

QString TMergeFields::value(const QString &name, const TMergeRecord &record, const TMergeDates &dates)
{
    if (const auto plain = plainFields().constFind(name); plain != plainFields().constEnd())
        return field(record, plain.value());
    if (name == QLatin1String("Full Name"))
        return NameLine(record);
    if (name == QLatin1String("Name and Address"))
        return NameAndAddress(record);
    if (name == QLatin1String("City+State+Zip"))
        return cityStateZip(record);
    if (name == QLatin1String("Today's Date"))
        return dates.today.isValid() ? dates.locale.toString(dates.today, dates.shortDatePattern) : QString();
    if (name == QLatin1String("Long Date"))
        return dates.today.isValid() ? dates.locale.toString(dates.today, QStringLiteral("MMM d, yyyy"))
                                     : QString();
    return QString();
}

QHash<QString, QString> TMergeFields::values(const TMergeRecord &record, const TMergeDates &dates)
{
    QHash<QString, QString> all;
    for (const QString &name : names())
        all.insert(name, value(name, record, dates));
    return all;
}
