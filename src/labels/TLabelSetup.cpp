#include "TLabelSetup.h"

namespace {

TLabelSetup avery5160()
{
    TLabelSetup s;
    s.LblHeight = 1.0f;
    s.LblWidth = 2.625f;
    s.NbrAcross = 3;
    s.NbrDown = 10;
    s.TopMarg = 0.5f;
    s.LeftMarg = 0.188f;
    s.HorizPitch = 2.75f;
    s.VertPitch = 1.0f;
    s.SheetWidth = 8.5f;
    s.SheetDepth = 11.0f;
    s.PaperSize = QStringLiteral("LTR");
    s.LblShape = QStringLiteral("RR");
    s.TplDescrip = QStringLiteral("Avery 5160  Address");
    s.Printer = QStringLiteral("LJ");
    s.Manufac = QStringLiteral("AVERY");
    s.MidExtraX = 0;
    s.MidExtraY = 0;
    return s;
}

} // namespace

TLabelSetup TLabelSetup::newSetupDefaults()
{
    TLabelSetup s = avery5160();
    s.ProdType = QStringLiteral("ADDRESS/SHIPPING LABELS");
    return s;
}

TLabelSetup TLabelSetup::emptyListDefaults()
{
    TLabelSetup s = avery5160();
    s.Description = QStringLiteral("Default Label Setup");
    s.ProdType = QStringLiteral("ADDRESS LABELS");
    return s;
}

QString TLabelSetup::validLabelMessage() const
{
    // 0.3 inch is 7.62 mm, so 8 mm is the least whole number of millimetres that passes.
    if (LblHeight < 0.3f)
        return QStringLiteral("Label Height must be at least .3 inches (or 8mm)");
    if (LblWidth < 0.5f)
        return QStringLiteral("Label Width must be at least .5 inch (or 13mm)");
    if (NbrAcross >= 2 && HorizPitch < LblWidth)
        return QStringLiteral("Horizontal Pitch must be at least = Label Width");
    if (NbrDown >= 2 && VertPitch < LblHeight)
        return QStringLiteral("Vertical Pitch must be at least = Label Height");
    if (SheetWidth < 0.3f)
        return QStringLiteral("Page Width must be at least .3 inch");
    if (SheetDepth < 0.3f)
        return QStringLiteral("Page Height must be at least .3 inches");
    return {};
}

QString TLabelSetup::invalidColumn() const
{
    if (NbrAcross < 1 || NbrAcross > kMaxAcross)
        return QStringLiteral("NBRACROSS");
    if (NbrDown < 1 || NbrDown > kMaxDown)
        return QStringLiteral("NBRDOWN");
    // NaN fails every comparison, so the tests are written to let only sound values through.
    if (!(LblHeight > 0))
        return QStringLiteral("LBLHEIGHT");
    if (!(LblWidth > 0))
        return QStringLiteral("LBLWIDTH");
    if (!(TopMarg >= 0))
        return QStringLiteral("TOPMARG");
    if (!(LeftMarg >= 0))
        return QStringLiteral("LEFTMARG");
    if (!(HorizPitch >= 0) || (NbrAcross > 1 && !(HorizPitch > 0)))
        return QStringLiteral("HORIZPITCH");
    if (!(VertPitch >= 0) || (NbrDown > 1 && !(VertPitch > 0)))
        return QStringLiteral("VERTPITCH");
    if (!(SheetWidth > 0))
        return QStringLiteral("SHEETWIDTH");
    if (!(SheetDepth > 0))
        return QStringLiteral("SHEETDEPTH");
    if (!(MidExtraX >= 0))
        return QStringLiteral("MIDEXTRAX");
    if (!(MidExtraY >= 0))
        return QStringLiteral("MIDEXTRAY");
    return {};
}

QString TLabelSetup::sheetName() const
{
    return TplDescrip.isEmpty() ? QStringLiteral("[User Defined]") : TplDescrip;
}

void TLabelSetup::makeUserDefined()
{
    TplDescrip.clear();
    Printer.clear();
    ProdType.clear();
    Manufac = QStringLiteral("USER");
    MidExtraX = 0;
    MidExtraY = 0;
    Art.clear();
}

void TLabelSetup::takeTemplate(const TLabelSetup &row)
{
    LblHeight = row.LblHeight;
    LblWidth = row.LblWidth;
    NbrAcross = row.NbrAcross;
    NbrDown = row.NbrDown;
    TopMarg = row.TopMarg;
    LeftMarg = row.LeftMarg;
    HorizPitch = row.HorizPitch;
    VertPitch = row.VertPitch;
    SheetWidth = row.SheetWidth;
    SheetDepth = row.SheetDepth;
    PaperSize = row.PaperSize;
    Printer = row.Printer;
    TplDescrip = row.Description;
    Manufac = row.Manufac;
    ProdType = row.ProdType;
    LblShape = row.LblShape;
    MidExtraX = row.MidExtraX;
    MidExtraY = row.MidExtraY;
    Art = row.Art;
}

QPointF TLabelSetup::labelOrigin(int index) const
{
    const int across = NbrAcross > 0 ? NbrAcross : 1;
    const int c = index % across;
    const int r = index / across;
    double x = LeftMarg + c * static_cast<double>(HorizPitch);
    double y = TopMarg + r * static_cast<double>(VertPitch);
    if (c + 1 > NbrAcross / 2 && MidExtraX > 0)
        x += MidExtraX;
    if (r + 1 > NbrDown / 2 && MidExtraY > 0)
        y += MidExtraY;
    return {x, y};
}

bool TLabelSetup::isLandscape() const
{
    const QString code = PaperSize.trimmed().toUpper();
    return code == QLatin1String("LTRL") || code == QLatin1String("A4L") || code == QLatin1String("USERL");
}

const QVector<TLabelPaper> &TLabelSetup::papers()
{
    static const QVector<TLabelPaper> list = {
        {QStringLiteral("LTR"), QStringLiteral("Letter (8.5 x 11\")"), 8.5, 11, true, false},
        {QStringLiteral("LTRL"), QStringLiteral("Letter Landscape (11 x 8.5\")"), 11, 8.5, true, true},
        {QStringLiteral("A4"), QStringLiteral("A4 (210 x 297mm)"), 8.27, 11.69, true, false},
        {QStringLiteral("A4L"), QStringLiteral("A4 Landscape ( 297 x 210mm)"), 11.69, 8.27, true, true},
        {QStringLiteral("A5"), QStringLiteral("A5 (148 x 210mm)"), 5.82, 8.27, true, false},
        {QStringLiteral("USERP"), QStringLiteral("Other Portrait (User Defined)"), 0, 0, false, false},
        {QStringLiteral("USERL"), QStringLiteral("Other Landscape (User Defined)"), 0, 0, false, true},
    };
    return list;
}

int TLabelSetup::paperIndex(const QString &code)
{
    const QString c = code.trimmed();
    for (int i = 0; i < papers().size(); ++i)
        if (papers().at(i).code.compare(c, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QStringList TLabelSetup::shapeCaptions()
{
    return {QStringLiteral("Rectangular with Rounded Edges"), QStringLiteral("Rectangular"),
            QStringLiteral("Round")};
}

int TLabelSetup::shapeIndex(const QString &code)
{
    const QString c = code.trimmed().toUpper();
    if (c == QLatin1String("RR"))
        return 0;
    if (c == QLatin1String("SR"))
        return 1;
    return 2;
}

QString TLabelSetup::shapeCode(int index)
{
    switch (index) {
    case 0:
        return QStringLiteral("RR");
    case 1:
        return QStringLiteral("SR");
    default:
        return QStringLiteral("EL");
    }
}

bool TLabelSetup::operator==(const TLabelSetup &o) const
{
    return Description == o.Description && Printer == o.Printer && LblHeight == o.LblHeight &&
           LblWidth == o.LblWidth && NbrAcross == o.NbrAcross && NbrDown == o.NbrDown &&
           TopMarg == o.TopMarg && LeftMarg == o.LeftMarg && HorizPitch == o.HorizPitch &&
           VertPitch == o.VertPitch && SheetWidth == o.SheetWidth && SheetDepth == o.SheetDepth &&
           MidExtraX == o.MidExtraX && MidExtraY == o.MidExtraY && Art == o.Art && Binary == o.Binary &&
           PaperSize == o.PaperSize && TplDescrip == o.TplDescrip && Manufac == o.Manufac &&
           ProdType == o.ProdType && LblShape == o.LblShape;
}
