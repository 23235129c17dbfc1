#include "LayoutTool.h"

#include "LayoutStreamReader.h"
#include "TCp1252.h"
#include "TGClassRegistry.h"
#include "TGDataPanel.h"
#include "TGFIMBarCode.h"
#include "TGLabelObjectFiler.h"
#include "TGOwner.h"
#include "TGPicture.h"
#include "TIntelligentMailEncoder.h"
#include "TLayoutFileName.h"
#include "TPostNetEncoder.h"
#include "TReportSettingsList.h"

#include <QFile>
#include <QFileInfo>

namespace {

bool isColourProperty(const QByteArray &name)
{
    return name.toLower().contains("color");
}

QString valueText(const QByteArray &property, const LayoutValue &v)
{
    using W = LayoutStreamWriter;
    switch (v.tag) {
    case W::vaInt8:
    case W::vaInt16:
    case W::vaInt32:
        if (isColourProperty(property)) {
            const TColor colour = static_cast<TColor>(v.integer);
            const QByteArray name = TGColor::name(colour);
            return name.isEmpty() ? QStringLiteral("$%1").arg(colour, 8, 16, QLatin1Char('0')).toUpper()
                                  : QString::fromLatin1(name);
        }
        return QString::number(v.integer);
    case W::vaExtended:
        return QString::number(v.real, 'g', 17);
    case W::vaString:
    case W::vaLString:
        return TCp1252::toString(v.text);
    case W::vaIdent:
    case W::vaFalse:
    case W::vaTrue:
    case W::vaNil:
        return QString::fromLatin1(v.text);
    case W::vaBinary:
        if (property.endsWith("Picture.Data")) {
            TGPicture picture;
            if (picture.setData(v.text))
                return QString::fromLatin1(picture.kindName()) + QStringLiteral(", ") +
                       QString::number(picture.graphicBytes().size()) + QStringLiteral(" bytes");
        }
        return QStringLiteral("binary, ") + QString::number(v.text.size()) + QStringLiteral(" bytes");
    case W::vaSet: {
        QStringList members;
        for (const QByteArray &m : v.set)
            members << QString::fromLatin1(m);
        return QLatin1Char('[') + members.join(QLatin1Char(',')) + QLatin1Char(']');
    }
    case W::vaList: {
        QStringList items;
        for (const LayoutValue &item : v.list)
            items << QLatin1Char('"') + valueText(QByteArray(), item) + QLatin1Char('"');
        return QLatin1Char('(') + items.join(QLatin1Char(',')) + QLatin1Char(')');
    }
    default:
        return QString();
    }
}

void dumpObjectList(LayoutStreamReader &r, QString &out)
{
    r.readListBegin();
    while (!r.endOfList()) {
        const QByteArray className = r.readObjectBegin();
        const QString name = TCp1252::toString(r.readShortString());
        out += QString::fromLatin1(className) + QLatin1Char(' ') + name + QLatin1Char('\n');
        while (!r.endOfList()) {
            const QByteArray property = r.readShortString();
            out += QStringLiteral("  ") + QString::fromLatin1(property) + QLatin1Char('=') +
                   valueText(property, r.readValue()) + QLatin1Char('\n');
        }
        r.readByte(); // the empty child list
    }
}

// The tool has no screen: it reads layouts at the usual display resolution. A layout keeps
// its stored font heights and report lengths as read, so a rewrite gives the same bytes.
constexpr double kPixelsPerInch = 96.0;

struct Loaded {
    TGOwner owner;
    TGDataPanel bands[3]{TGDataPanel(&owner, kPixelsPerInch), TGDataPanel(&owner, kPixelsPerInch),
                         TGDataPanel(&owner, kPixelsPerInch)};
    TReportSettingsList settings;
};

int usage(QTextStream &err)
{
    err << "usage: corvantis-layout dump FILE\n"
           "       corvantis-layout rewrite FILE OUT\n"
           "       corvantis-layout barcode postnet ZIPTEXT [ADDRESS] [--type 5|9|11]\n"
           "       corvantis-layout barcode fim A|B|C\n"
           "       corvantis-layout barcode imb TRACKING [ROUTING]\n";
    return 2;
}

} // namespace

QString LayoutTool::dump(const QByteArray &bytes, bool report)
{
    QString out;
    LayoutStreamReader r(bytes);
    if (!report) {
        out += QStringLiteral("[Objects]\n");
        dumpObjectList(r, out);
        return out;
    }
    for (const char *band : {"[Header]\n", "[Detail]\n", "[Footer]\n"}) {
        out += QLatin1String(band);
        dumpObjectList(r, out);
    }
    out += QStringLiteral("[Settings]\n");
    r.readListBegin();
    while (!r.endOfList())
        out += QStringLiteral("  ") + valueText(QByteArray(), r.readValue()) + QLatin1Char('\n');
    return out;
}

int LayoutTool::runBarcode(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const QString kind = arguments.value(0);
    if (kind == QStringLiteral("postnet") && arguments.size() >= 2) {
        QStringList rest = arguments.mid(1);
        TBarCodeType type = pnbc11Digit;
        const qsizetype option = rest.indexOf(QStringLiteral("--type"));
        if (option >= 0) {
            const QString value = rest.value(option + 1);
            if (value == QStringLiteral("5"))
                type = pnbc5Digit;
            else if (value == QStringLiteral("9"))
                type = pnbc9Digit;
            else if (value != QStringLiteral("11"))
                return usage(err);
            rest.remove(option, 2);
        }
        if (rest.isEmpty() || rest.size() > 2)
            return usage(err);
        const TPostNetSymbol symbol = TPostNetEncoder::encode(rest[0], rest.value(1), type);
        if (symbol.isEmpty()) {
            err << "No POSTNET barcode: the ZIP code must have 5 or 9 digits.\n";
            return 1;
        }
        out << symbol.bars << '\n';
        return 0;
    }
    if (kind == QStringLiteral("fim") && arguments.size() == 2) {
        const QString letter = arguments[1].toUpper();
        if (letter != QStringLiteral("A") && letter != QStringLiteral("B") && letter != QStringLiteral("C"))
            return usage(err);
        out << TGFIMBarCode::grid(static_cast<TFIMType>(letter[0].unicode() - 'A')) << '\n';
        return 0;
    }
    if (kind == QStringLiteral("imb") && (arguments.size() == 2 || arguments.size() == 3)) {
        const TIntelligentMailSymbol symbol =
            TIntelligentMailEncoder::encode(arguments[1], arguments.value(2));
        if (symbol.isEmpty()) {
            err << symbol.error << '\n';
            return 1;
        }
        out << symbol.bars << '\n';
        return 0;
    }
    return usage(err);
}

int LayoutTool::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.value(0) == QStringLiteral("barcode"))
        return runBarcode(arguments.mid(1), out, err);
    const bool dumping = arguments.size() == 2 && arguments[0] == QStringLiteral("dump");
    const bool rewriting = arguments.size() == 3 && arguments[0] == QStringLiteral("rewrite");
    if (!dumping && !rewriting)
        return usage(err);
    const QString path = arguments[1];
    TGSurfaceKind kind = TGSurfaceKind::Label;
    const bool known = TLayoutFileName::kindOf(QFileInfo(path).fileName(), kind);
    if (known) {
        TGClassRegistry::registerKind(kind);
    } else {
        for (TGSurfaceKind k : {TGSurfaceKind::Label, TGSurfaceKind::Envelope, TGSurfaceKind::Report})
            TGClassRegistry::registerKind(k);
    }
    const bool report = known && kind == TGSurfaceKind::Report;
    if (!QFile::exists(path)) {
        err << "Cannot open file " << path << '\n';
        return 1;
    }

    // Read into surfaces first, as the program does: its message is the answer to a bad file.
    Loaded loaded;
    TGLabelObjectFiler filer;
    filer.setKeepStoredNames(true);
    const TResult read =
        report ? filer.LoadReportBands(&loaded.owner, loaded.bands[0], loaded.bands[1], loaded.bands[2], path,
                                       [&](LayoutStreamReader &r) { loaded.settings.read(r); })
               : filer.LoadSurface(&loaded.owner, loaded.bands[0], path);
    if (!read) {
        err << read.message << '\n';
        return 1;
    }

    if (dumping) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            err << "Cannot open file " << path << '\n';
            return 1;
        }
        try {
            out << dump(file.readAll(), report);
        } catch (const TLayoutError &e) {
            err << e.message << '\n';
            return 1;
        }
        return 0;
    }

    const QString target = arguments[2];
    const TResult written =
        report ? filer.SaveReportBands(loaded.bands[0], loaded.bands[1], loaded.bands[2], target,
                                       [&](LayoutStreamWriter &w) { loaded.settings.write(w); })
               : filer.SaveSurface(loaded.bands[0], target);
    if (!written) {
        err << written.message << '\n';
        return 1;
    }
    return 0;
}
