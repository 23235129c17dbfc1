// Text objects: measuring and box rules, effects and rotation, alignment, counters, data
// fields, dates and page numbers, where printed text lands on paper, and symbol typefaces
// printing as their Unicode glyphs.
#include "LayoutTestSupport.h"
#include "TCp1252.h"
#include "TGCounterLabel.h"
#include "TGDataPanel.h"
#include "TGDataSource.h"
#include "TGDateTimeLabel.h"
#include "TGOwner.h"
#include "TGPDLabel.h"
#include "TGPLabel.h"
#include "TGPageNumberLabel.h"
#include "TGSymbolLabel.h"
#include "TPdfPrinterService.h"
#include "TRecordingReader.h"
#include "TReportFiler.h"
#include "TReportPrinter.h"
#include "TSymbolFonts.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <QFile>
#include <QFontMetrics>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

// The first record of the shared address fixture, as a data set with display labels.
class FixtureRecord : public TGDataSource
{
public:
    FixtureRecord()
    {
        QFile f(QStringLiteral(CORVANTIS_SHARED_DIR "/fixtures/xbase/ADD0001.records.jsonl"));
        if (f.open(QIODevice::ReadOnly))
            m_record = QJsonDocument::fromJson(f.readLine()).object();
    }
    bool isOpen() const override { return !m_record.isEmpty(); }
    int fieldCount() const override { return static_cast<int>(std::size(kFields)); }
    QString fieldName(int i) const override { return QLatin1String(kFields[i].name); }
    QString displayLabel(int i) const override { return QLatin1String(kFields[i].label); }
    QString fieldText(int i) const override
    {
        return m_override.contains(i) ? m_override.value(i) : m_record.value(fieldName(i)).toString();
    }
    bool isTextField(int) const override { return true; }
    int fieldTag(int) const override { return 0; }
    bool isFieldVisible(int) const override { return true; }
    void setText(int i, const QString &text) { m_override.insert(i, text); }

private:
    struct Field {
        const char *name;
        const char *label;
    };
    static constexpr Field kFields[] = {{"LNAME", "Last Name"},
                                        {"FNAME", "First Name"},
                                        {"CITY", "City"},
                                        {"ZIP", "Zip"},
                                        {"STREET2", "Address 2"}};
    QJsonObject m_record;
    QHash<int, QString> m_override;
};

class TextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        freshRegistry({TGSurfaceKind::Label, TGSurfaceKind::Report});
        surface.setSize(400, 300);
        surface.setDataSet(&record);
    }
    template <class T> T *add(int left, int top)
    {
        auto *o = static_cast<T *>(surface.insertObject(std::make_unique<T>(&owner)));
        o->setLeft(left);
        o->setTop(top);
        surface.WireObject(o);
        return o;
    }

    TGOwner owner;
    FixtureRecord record;
    TGDataPanel surface{&owner, 96};
};

TEST_F(TextTest, BoxIsCutBackToOnePointTwoLinesAndGrowsToTheLineWithEffects)
{
    auto *label = add<TGPLabel>(10, 10);
    ASSERT_EQ(label->BoundsRect().size(), QSize(142, 33));
    label->setHeight(200);
    label->DoLayout();
    const int L = label->geometry().lineHeight;
    EXPECT_EQ(label->Height(), static_cast<int>(L * 1.2));
    label->setDepthShadow(4);
    label->setDirectionShadow(sdDown);
    label->setHeight(2);
    label->DoLayout();
    EXPECT_EQ(label->Height(), L + 4);
}

TEST_F(TextTest, RightAlignedTextEndsOneSpaceBeforeTheEdge)
{
    auto *label = add<TGPLabel>(0, 0);
    label->setCaption(QStringLiteral("Right"));
    label->setAlignment(taRightJustify);
    label->DoLayout();
    const QFontMetrics fm(label->Font().qtFont(96));
    EXPECT_EQ(label->geometry().mainPoint.x(),
              label->Width() - fm.horizontalAdvance(QStringLiteral("Right ")));
    label->setAlignment(taCenter);
    label->DoLayout();
    EXPECT_EQ(label->geometry().mainPoint.x(),
              label->Width() / 2 - fm.horizontalAdvance(QStringLiteral("Right ")) / 2);
}

TEST_F(TextTest, TurningTheObjectSwapsItsBoxAndLeftJustifies)
{
    auto *label = add<TGPLabel>(0, 0);
    label->setAlignment(taCenter);
    label->DoLayout();
    const QSize before = label->BoundsRect().size();
    label->SetAngle(90);
    EXPECT_EQ(label->BoundsRect().size(), before.transposed());
    EXPECT_EQ(label->Alignment(), taLeftJustify);
    label->SetAngle(45); // ignored
    EXPECT_EQ(label->Angle(), 90);

    TGPLabel fresh(&owner);
    fresh.SetAngle(90);
    EXPECT_EQ(fresh.BoundsRect().size(), QSize(33, 142));
}

struct EffectCase {
    int depthShadow;
    TShadowDirection shadow;
    int depthHighlight;
    THighlightDirection highlight;
    int mainLeft, shadowLeft, highlightLeft, mainTop;
};
class Effects : public ::testing::TestWithParam<EffectCase>
{
};

TEST_P(Effects, MarginsMakeRoomForShadowAndHighlight)
{
    const EffectCase c = GetParam();
    TGOwner owner;
    TGPLabel label(&owner);
    label.setDepthShadow(c.depthShadow);
    label.setDirectionShadow(c.shadow);
    label.setDepthHighlight(c.depthHighlight);
    label.setDirectionHighlight(c.highlight);
    label.DoLayout();
    const auto &g = label.geometry();
    EXPECT_EQ(g.main.left, c.mainLeft);
    EXPECT_EQ(g.shadow.left, c.shadowLeft);
    EXPECT_EQ(g.highlight.left, c.highlightLeft);
    EXPECT_EQ(g.main.top, c.mainTop);
    EXPECT_EQ(g.mainPoint.x(), c.mainLeft);
    EXPECT_EQ(g.shadowPoint.x(), c.shadowLeft);
}

INSTANTIATE_TEST_SUITE_P(Cases, Effects,
                         ::testing::Values(EffectCase{3, sdLeft, 0, hdUpLeft, 3, 0, 3, 0},
                                           EffectCase{3, sdLeft, 2, hdUpLeft, 3, 0, 1, 2},
                                           EffectCase{2, sdDownRight, 4, hdUp, 0, 2, 0, 4},
                                           EffectCase{0, sdNone, 0, hdNone, 0, 0, 0, 0}));

TEST_F(TextTest, CounterPrintsEachNumberRepeatEachTimesWithLeadingZeros)
{
    auto *counter = add<TGCounterLabel>(0, 0);
    counter->setRepeatEach(3);
    counter->setLeadingZeros(3);
    counter->setStartingnumber(7);
    QStringList shown;
    for (int label = 0; label < 5; ++label) {
        shown << counter->counterText();
        counter->AdvanceCounter();
    }
    EXPECT_EQ(shown, (QStringList{"007", "007", "007", "008", "008"}));
    EXPECT_EQ(TGCounterLabel::numberText(-5, 3), QStringLiteral("-005"));
    EXPECT_EQ(TGCounterLabel::numberText(12345, 3), QStringLiteral("12345"));
    // A repeat count below 1 from a damaged layout still steps.
    counter->setRepeatEach(0);
    counter->ResetCounter();
    counter->AdvanceCounter();
    EXPECT_EQ(counter->currentValue(), 8);
    counter->ApplySettings(1000, 1, QStringLiteral("#"), QStringLiteral("."), 0);
    EXPECT_EQ(counter->Caption(), QStringLiteral("#1000."));
}

TEST_F(TextTest, DataFieldShowsValueBlankPlaceholderOrFieldName)
{
    auto *field = add<TGPDLabel>(0, 0);
    field->DataFieldDescript = QStringLiteral("Last Name");
    surface.RefreshData();
    EXPECT_EQ(field->Caption(), QStringLiteral("Smith"));
    surface.setDisplayDataValues(false);
    EXPECT_EQ(field->Caption(), QStringLiteral("[Last Name]"));
    surface.setDisplayDataValues(true);
    record.setText(0, QStringLiteral("   "));
    surface.RefreshData();
    EXPECT_EQ(field->Caption(), QStringLiteral("<blank field>"));
    surface.setPrinting(true);
    surface.RefreshData();
    EXPECT_EQ(field->Caption(), QString());
    surface.setPrinting(false);

    field->DataFieldDescript = QStringLiteral("Nickname");
    surface.RefreshData();
    EXPECT_EQ(field->Caption(), QStringLiteral("<undefined field>"));
    // While printing an unmatched field keeps its caption.
    field->ClearDataValue();
    surface.setPrinting(true);
    surface.RefreshData();
    EXPECT_EQ(field->Caption(), QString());
}

TEST_F(TextTest, DateAndTimeTextsAndPageNumbers)
{
    const QDateTime moment(QDate(2024, 3, 9), QTime(14, 5, 6));
    const QLocale locale = QLocale::system();
    EXPECT_EQ(TGDateTimeLabel::dateTimeText(moment, dtfDateNone, dtfTimeShort),
              QLatin1Char(' ') + locale.toString(moment.time(), QLocale::ShortFormat));
    EXPECT_EQ(TGDateTimeLabel::dateTimeText(moment, dtfDateShort, dtfTimeNone),
              locale.toString(moment.date(), QLocale::ShortFormat));
    EXPECT_EQ(TGDateTimeLabel::dateTimeText(moment, dtfDateLong, dtfTimeLong),
              locale.toString(moment.date(), QLocale::LongFormat) + QLatin1Char(' ') +
                  locale.toString(moment.time(), QLocale::LongFormat));
}

TEST_F(TextTest, SymbolBoxFitsTheSymbol)
{
    auto *symbol = add<TGSymbolLabel>(0, 0);
    symbol->CheckBoundsChanged();
    EXPECT_EQ(symbol->BoundsRect().size(), symbol->symbolBoxSize());
    TGFont other(QStringLiteral("Arial"), 40);
    symbol->ChooseSymbol(other, 0x41);
    EXPECT_EQ(symbol->Caption(), QStringLiteral("A"));
    EXPECT_EQ(symbol->BoundsRect().size(), symbol->symbolBoxSize());
    symbol->ApplyFont(TGFont(QStringLiteral("Arial"), 8)); // ignored
    EXPECT_EQ(symbol->Font().size(), 40);
}

TEST_F(TextTest, ScreenPaintFillsTheBackgroundUnlessTransparent)
{
    auto *label = add<TGPLabel>(0, 0);
    label->setCaption(QStringLiteral("M"));
    QImage image(400, 300, QImage::Format_RGB32);
    {
        QPainter p(&image);
        surface.Paint(p);
    }
    EXPECT_EQ(image.pixel(130, 5), qRgb(255, 255, 255));
    label->ChooseBackColor(0x00FFFF); // yellow
    EXPECT_FALSE(label->Transparent());
    {
        QPainter p(&image);
        surface.Paint(p);
    }
    EXPECT_EQ(image.pixel(130, 5), qRgb(255, 255, 0));
}

// Records what a recording plays back.
class TextSpy : public TDrawSink
{
public:
    struct Text {
        double x, y;
        TInchRect clip;
        QString text;
        TFontSpec font;
    };
    std::vector<Text> texts;
    std::vector<TInchRect> rectangles;
    void beginPage(InchSize) override {}
    void setPen(const TPenSpec &) override {}
    void setBrush(const TBrushSpec &) override {}
    void setFont(const TFontSpec &f) override { m_font = f; }
    void setTextOpaque(bool) override {}
    void rectangle(const TInchRect &r) override { rectangles.push_back(r); }
    void roundRect(const TInchRect &, InchSize) override {}
    void ellipse(const TInchRect &) override {}
    void line(InchPoint, InchPoint) override {}
    void text(bool, const TInchRect &clip, InchPoint at, const QString &t) override
    {
        texts.push_back({at.x.value, at.y.value, clip, t, m_font});
    }
    void bitmap(const TInchRect &, const QImage &) override {}
    void graphic(const TInchRect &, const QPicture &) override {}

private:
    TFontSpec m_font;
};

TEST_F(TextTest, PrintedTextLandsWhereTheInchArithmeticSays)
{
    auto *plain = add<TGPLabel>(12, 20);
    plain->setCaption(QStringLiteral("Plain"));
    plain->setDepthShadow(2);
    plain->setDirectionShadow(sdDownRight);
    plain->ChooseBackColor(0xC0C0C0);
    auto *field = add<TGPDLabel>(30, 60);
    field->DataFieldDescript = QStringLiteral("City");
    auto *counter = add<TGCounterLabel>(200, 20);
    counter->setStartingnumber(41);
    auto *symbol = add<TGSymbolLabel>(200, 60);
    auto *date = add<TGDateTimeLabel>(12, 100);
    date->setClock([] { return QDateTime(QDate(2024, 3, 9), QTime(8, 30)); });
    auto *page = add<TGPageNumberLabel>(200, 100);
    page->SetAngle(90);

    const double X = 0.5, Y = 1.25;
    auto body = [&](TBaseReport &job) {
        surface.setPrinting(true);
        surface.RefreshData();
        surface.PrintObjects(job, {Inches(X), Inches(Y)});
        surface.setPrinting(false);
    };
    QByteArray stream;
    TReportFiler filer;
    filer.setStream(&stream);
    filer.OnPrint = body;
    filer.RunJob();
    ASSERT_FALSE(filer.IsAborted());
    TRecordingReader reader;
    ASSERT_TRUE(reader.open(stream).ok());
    TextSpy spy;
    reader.replayAll(spy);

    const double p = 96.0;
    auto expectText = [&](const QString &text, const TGBaseLabel &o, const QPoint &point) {
        const auto it = std::find_if(spy.texts.begin(), spy.texts.end(), [&](const TextSpy::Text &t) {
            return t.text == text && t.font.colour == TGColor::toQColor(o.Font().color()).rgb();
        });
        ASSERT_NE(it, spy.texts.end()) << text.toStdString();
        EXPECT_NEAR(it->x, X + (o.Left() + point.x()) / p, 1e-6) << text.toStdString();
        EXPECT_NEAR(it->y, Y + (o.Top() + point.y()) / p, 1e-6) << text.toStdString();
        EXPECT_EQ(it->font.points, o.Font().size());
        EXPECT_EQ(it->font.angle, o.Angle());
    };
    expectText(QStringLiteral("Plain"), *plain, plain->geometry().mainPoint);
    expectText(QStringLiteral("San Francisco"), *field, field->geometry().mainPoint);
    expectText(QStringLiteral("41"), *counter, counter->geometry().mainPoint);
    // A WingDings "[" prints as the glyph it shows there, the yin yang.
    expectText(QStringLiteral("\u262F"), *symbol, symbol->geometry().mainPoint);
    expectText(date->Caption(), *date, date->geometry().mainPoint);
    expectText(QStringLiteral("1"), *page, page->geometry().mainPoint);
    EXPECT_EQ(page->geometry().mainPoint, QPoint(page->geometry().main.left, page->geometry().main.bottom));

    // The shadow of the plain text: its own clip, 0.03 in wider up and left, in grey.
    const auto shadow = std::find_if(spy.texts.begin(), spy.texts.end(), [](const TextSpy::Text &t) {
        return t.text == QStringLiteral("Plain") && t.font.colour == qRgb(128, 128, 128);
    });
    ASSERT_NE(shadow, spy.texts.end());
    EXPECT_NEAR(shadow->x, X + (12 + plain->geometry().shadowPoint.x()) / p, 1e-6);
    EXPECT_NEAR(shadow->clip.left, X + (12 + plain->geometry().shadow.left) / p - 0.03, 1e-6);
    EXPECT_NEAR(shadow->clip.bottom, Y + (20 + plain->geometry().shadow.bottom) / p, 1e-6);
    // No highlight: its depth is 0. Five objects print only their main text.
    EXPECT_EQ(spy.texts.size(), 7u);
    // The opaque background of the plain text, from its top-left to its last pixel.
    ASSERT_EQ(spy.rectangles.size(), 1u);
    EXPECT_NEAR(spy.rectangles[0].left, X + 12 / p, 1e-6);
    EXPECT_NEAR(spy.rectangles[0].bottom, Y + (20 + plain->Height() - 1) / p, 1e-6);

    // The same layout printed to a PDF file.
    TempDir dir;
    const QString pdf = QString::fromStdString(dir.file("layout.pdf"));
    TPdfPrinterService service(pdf, 300);
    TReportPrinter printer(service);
    printer.OnPrint = body;
    printer.RunJob();
    EXPECT_FALSE(printer.IsAborted());
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
}

// Text in a symbol typeface prints to PDF as the Unicode glyph of each code, not as the
// letter the code is in Windows-1252: the PDF's text is the glyph, and a text object draws
// what the same object in the glyph typeface holding the glyph itself draws. (The PDF writer
// gives glyphs beyond the first Unicode plane no text, so those are checked by their pixels.)
struct SymbolPrintCase {
    bool symbolObject; // the symbol object, else a plain text object
    const char *font;
    int code;
    char32_t glyph;
};

// The first page of `pdf` as pdftoppm draws it in grey at 150 dots an inch; null on failure.
QImage pageImage(const QString &pdf, const QString &prefix)
{
    QProcess process;
    process.start(QStringLiteral("pdftoppm"),
                  {QStringLiteral("-gray"), QStringLiteral("-r"), QStringLiteral("150"),
                   QStringLiteral("-singlefile"), pdf, prefix});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QImage();
    return QImage(prefix + QStringLiteral(".pgm"));
}

class SymbolPrint : public TextTest, public ::testing::WithParamInterface<SymbolPrintCase>
{
protected:
    QString print(const char *name)
    {
        const QString pdf = QString::fromStdString(dir.file(name));
        TPdfPrinterService service(pdf, 300);
        TReportPrinter printer(service);
        printer.OnPrint = [&](TBaseReport &job) {
            surface.setPrinting(true);
            surface.PrintObjects(job, {Inches(1.0), Inches(1.0)});
            surface.setPrinting(false);
        };
        printer.RunJob();
        EXPECT_FALSE(printer.IsAborted());
        return pdf;
    }
    TempDir dir;
};

TEST_P(SymbolPrint, CodePrintsAsItsGlyph)
{
    const SymbolPrintCase c = GetParam();
    const TGFont font(QString::fromLatin1(c.font), 24);
    const QString glyph = QString::fromUcs4(&c.glyph, 1);
    TGPLabel *label = nullptr;
    if (c.symbolObject) {
        add<TGSymbolLabel>(10, 10)->ChooseSymbol(font, c.code);
    } else {
        label = add<TGPLabel>(10, 10);
        label->ApplyFont(font);
        label->setCaption(QString(TCp1252::toChar(static_cast<unsigned char>(c.code))));
    }
    const QString pdf = print("symbol.pdf");
    if (c.glyph <= 0xFFFF) {
        EXPECT_EQ(pdfText(pdf).trimmed(), glyph);
    }
    if (!label)
        return;
    const QImage symbol = pageImage(pdf, QString::fromStdString(dir.file("symbol")));
    label->ApplyFont(TGFont(TSymbolFonts::glyphFamily(), 24));
    label->setCaption(glyph);
    const QImage reference = pageImage(print("reference.pdf"), QString::fromStdString(dir.file("reference")));
    ASSERT_FALSE(symbol.isNull());
    ASSERT_EQ(symbol.size(), reference.size());
    const QRect box(150, 150, 150, 75); // an inch in and half an inch down from there
    int dark = 0, different = 0;
    for (int y = 0; y < symbol.height(); ++y)
        for (int x = 0; x < symbol.width(); ++x) {
            const int a = qGray(symbol.pixel(x, y)), b = qGray(reference.pixel(x, y));
            dark += a < 100 && box.contains(x, y);
            different += std::abs(a - b) > 64;
        }
    EXPECT_GT(dark, 20);
    EXPECT_EQ(different, 0);
}

INSTANTIATE_TEST_SUITE_P(Typefaces, SymbolPrint,
                         ::testing::Values(SymbolPrintCase{true, "WingDings", 0xFC, U'\u2714'},
                                           SymbolPrintCase{true, "Wingdings 2", 0x52, U'\u2611'},
                                           SymbolPrintCase{false, "Webdings", 0x62, U'\U0001F6B2'},
                                           SymbolPrintCase{false, "Webdings", 0xE9, U'\u267F'},
                                           SymbolPrintCase{false, "Wingdings 3", 0x70, U'\u25B2'}));

} // namespace
