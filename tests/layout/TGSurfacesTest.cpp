// The label, envelope and report surfaces: the tools each creates objects with, the report
// band rules and their messages, band size changes, the envelope's reading areas, the ruler,
// and a layout with one object of each kind per surface saved, read back and printed to PDF.
#include "LayoutTestSupport.h"
#include "TEnvelopePanel.h"
#include "TGCounterLabel.h"
#include "TGImage.h"
#include "TGLabelPanel.h"
#include "TGLabelShapes.h"
#include "TGLineShape.h"
#include "TGOwner.h"
#include "TGPLabel.h"
#include "THRuler.h"
#include "TPdfPrinterService.h"
#include "TReportPanel.h"
#include "TReportPrinter.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// Draws with `tool` from `from` to `to` as the mouse does.
void draw(TGDesignPanel &surface, int tool, QPoint from, QPoint to)
{
    surface.setPanelState(tool);
    surface.MouseDown(Qt::LeftButton, Qt::NoModifier, from);
    surface.MouseMove(Qt::NoModifier, to, Qt::LeftButton);
    surface.MouseUp(Qt::LeftButton, Qt::NoModifier, to);
    surface.setPanelState(0);
}

struct ReportBand {
    TGOwner owner;
    TReportPanel band{&owner, 96};
    QStringList messages;
    int beeps = 0;
    explicit ReportBand(TReportPanel::TReportPanelKind kind)
    {
        band.setSize(600, 120);
        band.PAnelKind = kind;
        band.MessageEvent = [this](const QString &m) { messages << m; };
        band.BeepEvent = [this] { ++beeps; };
    }
};

TEST(TReportPanel, BandRulesRefuseWithTheirMessages)
{
    using R = TReportPanel;
    const QString memo = QStringLiteral("This object may only be used in the memo band");
    const QString detail = QStringLiteral("This object may only be used in the detail band");
    const QString headerFooter = QStringLiteral("This object may only be used in the header or footer bands");
    const QString header = QStringLiteral("This object may only be used in the header band");
    const struct {
        int tool;
        R::TReportPanelKind kind;
        QString message; // empty: created
    } cases[] = {
        {R::psMultiLineDataLabel, R::rpkDetail, memo},   {R::psMultiLineDataLabel, R::rpkMemo, {}},
        {R::psDataLabel, R::rpkHeader, detail},          {R::psDataLabel, R::rpkMemo, detail},
        {R::psDataLabel, R::rpkDetail, {}},              {R::psDateTime, R::rpkDetail, headerFooter},
        {R::psPageNumber, R::rpkMemo, headerFooter},     {R::psPageNumber, R::rpkFooter, {}},
        {R::psDateTime, R::rpkHeader, {}},               {R::psImage, R::rpkDetail, header},
        {R::psImage, R::rpkFooter, header},              {R::psImage, R::rpkHeader, {}},
        {R::psLabel, R::rpkFooter, {}},                  {R::psRectangle, R::rpkMemo, {}},
    };
    for (const auto &c : cases) {
        ReportBand b(c.kind);
        draw(b.band, c.tool, {10, 10}, {90, 40});
        if (c.message.isEmpty()) {
            EXPECT_EQ(b.band.objects().size(), 1u) << c.tool << " in " << c.kind;
            EXPECT_TRUE(b.messages.isEmpty());
            EXPECT_EQ(b.beeps, 0);
        } else {
            EXPECT_TRUE(b.band.objects().empty()) << c.tool << " in " << c.kind;
            EXPECT_EQ(b.messages, QStringList{c.message}) << c.tool << " in " << c.kind;
            EXPECT_EQ(b.beeps, 1);
        }
    }
}

TEST(TReportPanel, DisabledDrawingOnlyBeepsAndObjectsStillPrint)
{
    ReportBand b(TReportPanel::rpkDetail);
    draw(b.band, TReportPanel::psLabel, {10, 10}, {90, 40});
    b.band.DrawingEnabled = false;
    draw(b.band, TReportPanel::psLabel, {10, 60}, {90, 90});
    EXPECT_EQ(b.band.objects().size(), 1u);
    EXPECT_EQ(b.beeps, 1);
    EXPECT_TRUE(b.messages.isEmpty());
}

TEST(TReportPanel, PressOnAnObjectTellsTheDesignerWhichBand)
{
    ReportBand b(TReportPanel::rpkHeader);
    draw(b.band, TReportPanel::psRectangle, {10, 10}, {90, 40});
    TReportPanel *pressed = nullptr;
    b.band.ControlMouseDownEvent = [&](TReportPanel *band) { pressed = band; };
    b.band.MouseDown(Qt::LeftButton, Qt::NoModifier, {20, 20});
    EXPECT_EQ(pressed, &b.band);
    EXPECT_EQ(b.band.selection().size(), 1);
}

TEST(TReportPanel, KeepObjectsInsidePutsTheWholeObjectInTheBand)
{
    ReportBand b(TReportPanel::rpkDetail);
    draw(b.band, TReportPanel::psRectangle, {10, 10}, {90, 40});
    draw(b.band, TReportPanel::psRectangle, {10, 10}, {190, 40});
    TGGraphicControl *small = b.band.objects()[0];
    TGGraphicControl *wide = b.band.objects()[1];
    small->SetBounds(250, 70, 80, 30);
    wide->SetBounds(210, 70, 180, 60);
    b.band.addToSelection(small);
    b.band.setSize(200, 50);
    b.band.KeepObjectsInside();
    EXPECT_TRUE(b.band.selection().isEmpty());
    EXPECT_EQ(small->BoundsRect(), QRect(120, 20, 80, 30));
    // Larger than the band: from its top-left corner.
    EXPECT_EQ(wide->BoundsRect(), QRect(20, 0, 180, 60));
}

TEST(TReportPanel, RemoveObjectsOutsideBeyondTenPixels)
{
    ReportBand b(TReportPanel::rpkDetail);
    for (int i = 0; i < 3; ++i)
        draw(b.band, TReportPanel::psRectangle, {10, 10}, {90, 40});
    b.band.objects()[0]->setTop(60);
    b.band.objects()[1]->setTop(61);
    b.band.objects()[2]->setLeft(211);
    b.band.setSize(200, 50);
    const TGGraphicControl *kept = b.band.objects()[0];
    b.band.RemoveObjectsOutside();
    ASSERT_EQ(b.band.objects().size(), 1u);
    EXPECT_EQ(b.band.objects()[0], kept);
}

TEST(TGDesignPanel, NewLineIsVerticalOnLabelsAndEnvelopesHorizontalInReports)
{
    TGOwner owner;
    TGLabelPanel label(&owner, 96);
    TEnvelopePanel envelope(&owner, 96);
    TReportPanel report(&owner, 96);
    const std::pair<TGDesignPanel *, TLineStyle> cases[] = {
        {&label, stVertical}, {&envelope, stVertical}, {&report, stHorizontal}};
    const int tools[] = {TGLabelPanel::psLine, TEnvelopePanel::psLine, TReportPanel::psLine};
    int i = 0;
    for (const auto &[surface, style] : cases) {
        surface->setSize(400, 200);
        draw(*surface, tools[i++], {20, 20}, {20, 100});
        ASSERT_EQ(surface->objects().size(), 1u);
        auto *line = dynamic_cast<TGLineShape *>(surface->objects()[0]);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->LineStyle, style);
        // A band narrower than 25 pixels is widened to 50.
        EXPECT_EQ(line->Width(), 50);
        EXPECT_EQ(line->Height(), 80);
    }
}

TEST(TGDesignPanel, ToolSetsPointingAndCursor)
{
    TGOwner owner;
    TGLabelPanel label(&owner, 96);
    label.setPanelState(TGLabelPanel::psEllipse);
    EXPECT_FALSE(label.Pointing());
    EXPECT_EQ(label.cursor(), TGCursor::Drag);
    label.setPanelState(TGLabelPanel::psPointing);
    EXPECT_TRUE(label.Pointing());
    EXPECT_EQ(label.cursor(), TGCursor::Default);
}

TEST(TGDesignPanel, ShapeToolsGiveTheirShapesAndNewObjectsTheirDialogs)
{
    TGOwner owner;
    TGLabelPanel label(&owner, 96);
    label.setSize(400, 200);
    std::vector<TGNewObjectDialog> opened;
    label.NewObjectDialogEvent = [&](TGGraphicControl *o, TGNewObjectDialog d) {
        // The object is on the surface while its dialog is open.
        EXPECT_EQ(label.objects().back(), o);
        opened.push_back(d);
    };
    draw(label, TGLabelPanel::psRoundRectangle, {10, 10}, {110, 50});
    draw(label, TGLabelPanel::psImage, {10, 60}, {110, 160});
    draw(label, TGLabelPanel::psLabel, {120, 10}, {220, 30});
    auto *shape = dynamic_cast<TGLabelShapes *>(label.objects()[0]);
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->ClassName(), QByteArray("TGLabelShapes"));
    EXPECT_EQ(shape->Shape, stRoundRect);
    // 100 × 40 with RoundPerc 25: corners of 25 pixels.
    EXPECT_EQ(shape->cornerPixels(), 25);
    EXPECT_NE(dynamic_cast<TGImage *>(label.objects()[1]), nullptr);
    auto *text = dynamic_cast<TGPLabel *>(label.objects()[2]);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Caption(), QStringLiteral("<text>"));
    EXPECT_EQ((std::vector<TGNewObjectDialog>{TGNewObjectDialog::LoadImage, TGNewObjectDialog::Text}), opened);
}

TEST(TGDesignPanel, ClickWithTheCounterToolPlacesAFittedCounter)
{
    TGOwner owner;
    TGLabelPanel label(&owner, 96);
    label.setSize(400, 200);
    draw(label, TGLabelPanel::psCounterLabel, {30, 40}, {30, 40});
    ASSERT_EQ(label.objects().size(), 1u);
    auto *counter = dynamic_cast<TGCounterLabel *>(label.objects()[0]);
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->Startingnumber(), 1000);
    EXPECT_EQ(counter->Caption(), QStringLiteral("1000"));
    EXPECT_EQ(counter->Left(), 30);
    EXPECT_GE(counter->Width(), 50);
    EXPECT_GE(counter->Height(), 15);
}

TEST(TEnvelopePanel, AddressAreaOnNineAndAHalfAndElevenInchEnvelopes)
{
    const struct {
        double widthInches;
        float scale;
        int left;
    } cases[] = {
        {9.5, 1.0f, 48},           // 0.5 inch from the left edge
        {11.0, 1.0f, 1056 - 936},  // 9.75 inches from the right edge
        {9.5, 2.0f, 96},           // zoomed: the unscaled width decides
        {11.0, 2.0f, 2112 - 1872}, //
        {10.25, 1.0f, 984 - 936},  // from 10.25 inches on: from the right edge
    };
    for (const auto &c : cases) {
        const int W = static_cast<int>(c.widthInches * 96 * c.scale);
        const int H = static_cast<int>(4.125 * 96 * c.scale);
        const auto areas = TEnvelopePanel::readingAreas(W, H, c.scale, 96);
        const auto &address = areas[TEnvelopePanel::raAddress];
        EXPECT_EQ(address.left, c.left) << c.widthInches << " in at " << c.scale;
        EXPECT_EQ(address.top, H - static_cast<int>(2.75 * 96 * c.scale));
        EXPECT_EQ(address.right, W - static_cast<int>(48 * c.scale));
        EXPECT_EQ(address.labelX, address.left + 2);
    }
    const auto areas = TEnvelopePanel::readingAreas(912, 396, 1.0f, 96);
    EXPECT_EQ(areas[TEnvelopePanel::raReturnAddress].bottom, 132); // H div 3 below H - 2.75 in
    EXPECT_EQ(areas[TEnvelopePanel::raFIM].left, 912 - 288);
    EXPECT_EQ(areas[TEnvelopePanel::raBarcodeClearZone].top, 396 - 60);
}

TEST(TEnvelopePanel, GuidesAreDrawnBeneathTheObjects)
{
    TGOwner owner;
    TEnvelopePanel envelope(&owner, 96);
    envelope.setSize(912, 396);
    envelope.ShowAreas = true;
    envelope.ShowMargins = true;
    envelope.PageWidth = 912;
    envelope.PageHeight = 396;
    envelope.LeftMargin = envelope.TopMargin = envelope.RightMargin = envelope.BottomMargin = 20;
    draw(envelope, TEnvelopePanel::psRectangle, {300, 300}, {400, 330});
    QImage image(912, 396, QImage::Format_RGB32);
    QPainter p(&image);
    envelope.Paint(p);
    p.end();
    const auto areas = TEnvelopePanel::readingAreas(912, 396, 1.0f, 96);
    const auto &address = areas[TEnvelopePanel::raAddress];
    EXPECT_EQ(image.pixel(address.left + 40, address.bottom - 5), qRgb(0xEF, 0xEF, 0xEF));
    EXPECT_EQ(image.pixel(address.left, address.bottom - 5), qRgb(0x80, 0x80, 0x80));
    // The rectangle's white fill covers the area.
    EXPECT_EQ(image.pixel(350, 315), qRgb(0xFF, 0xFF, 0xFF));
    // The printable area's red dotted outline.
    int red = 0;
    for (int x = 20; x < 890; ++x)
        red += image.pixel(x, 20) == qRgb(0xFF, 0, 0);
    EXPECT_GT(red, 200);
}

TEST(THRuler, TicksAtRoundedSixteenthsAt96And120PixelsPerInch)
{
    for (int i = 0; i <= 64; ++i) {
        EXPECT_EQ(THRuler::tickX(i, 96), 6 * i);
        EXPECT_EQ(THRuler::tickX(i, 120), static_cast<int>(std::floor(i * 7.5 + 0.5)));
    }
    // A ruler inch is an inch: 120 pixels at 120 ppi, not 16 × 7.
    EXPECT_EQ(THRuler::tickX(16, 120), 120);
    EXPECT_EQ(THRuler::tickX(48, 120), 360);

    THRuler ruler;
    EXPECT_EQ(ruler.Width, 768);
    EXPECT_EQ(ruler.Height, 33);
    ruler.StartInch = 1.5;
    EXPECT_EQ(ruler.firstTick(), 24);
    ruler.setAlignHRuler(7);
    EXPECT_EQ(ruler.AlignHRuler(), THRuler::alNone);
    QImage image(ruler.Width, ruler.Height, QImage::Format_RGB32);
    QPainter p(&image);
    ruler.Paint(p, 120);
    p.end();
    // Counter 32 (inch 2) is tick 8, half an inch from the left edge, and reaches the bottom;
    // tick 4 (counter 28) reaches a quarter down only.
    const QRgb grey = qRgb(0x80, 0x80, 0x80);
    const QRgb yellow = qRgb(0xFF, 0xFF, 0);
    EXPECT_EQ(image.pixel(60, ruler.Height - 2), grey);
    EXPECT_EQ(image.pixel(THRuler::tickX(4, 120), ruler.Height / 4 - 1), grey);
    EXPECT_EQ(image.pixel(THRuler::tickX(4, 120), ruler.Height / 2), yellow);
    // Tick 16 (counter 40) is a half inch: half way down.
    EXPECT_EQ(image.pixel(THRuler::tickX(16, 120), ruler.Height / 2 - 1), grey);
    EXPECT_EQ(image.pixel(THRuler::tickX(16, 120), ruler.Height / 2 + 2), yellow);
    // Tick 24 (counter 48, inch 3) at 180 pixels, not 168.
    EXPECT_EQ(image.pixel(180, ruler.Height - 2), grey);
    EXPECT_EQ(image.pixel(168, ruler.Height - 2), yellow);
}

// --- One object of each kind per surface: save, read back, print.

struct SurfaceCase {
    const char *name;
    std::function<std::unique_ptr<TGDesignPanel>(TGOwner *)> make;
    std::vector<int> tools;
};

TEST(TGDesignPanel, OneObjectOfEachKindSavesLoadsAndPrints)
{
    using L = TGLabelPanel;
    using E = TEnvelopePanel;
    using R = TReportPanel;
    const SurfaceCase cases[] = {
        {"label", [](TGOwner *o) { return std::make_unique<L>(o, 96); },
         {L::psLabel, L::psCounterLabel, L::psSymbolLabel, L::psDataLabel, L::psMultiLineLabel,
          L::psMultiLineDataLabel, L::psAddressLabel, L::psRectangle, L::psEllipse, L::psRoundRectangle,
          L::psLine, L::psImage, L::psPostNetBarCode}},
        {"envelope", [](TGOwner *o) { return std::make_unique<E>(o, 96); },
         {E::psLabel, E::psDataLabel, E::psMultiLineLabel, E::psAddressLabel, E::psRectangle, E::psEllipse,
          E::psRoundRectangle, E::psLine, E::psImage, E::psPostNetBarCode, E::psFIMBarCode}},
        {"report header", [](TGOwner *o) {
             auto r = std::make_unique<R>(o, 96);
             r->PAnelKind = R::rpkHeader;
             return r;
         },
         {R::psLabel, R::psLine, R::psImage, R::psDateTime, R::psPageNumber, R::psSymbolLabel, R::psRectangle,
          R::psEllipse, R::psRoundRectangle}},
        {"report detail", [](TGOwner *o) { return std::make_unique<R>(o, 96); }, {R::psDataLabel}},
        {"report memo", [](TGOwner *o) {
             auto r = std::make_unique<R>(o, 96);
             r->PAnelKind = R::rpkMemo;
             return r;
         },
         {R::psMultiLineDataLabel}},
    };
    for (const SurfaceCase &c : cases) {
        TGClassRegistry::clear();
        TempDir dir;
        TGOwner owner;
        auto surface = c.make(&owner);
        surface->setSize(900, 700);
        int y = 5;
        for (int tool : c.tools) {
            draw(*surface, tool, {10, y}, {200, y + 30});
            y += 45;
        }
        ASSERT_EQ(surface->objects().size(), c.tools.size()) << c.name;
        const QString file = QString::fromStdString(dir.file("layout.lbl"));
        ASSERT_TRUE(surface->SaveToFile(file)) << c.name;
        const QByteArray saved = surface->layoutBytes();

        TGOwner otherOwner;
        auto loaded = c.make(&otherOwner);
        loaded->setSize(900, 700);
        const TResult read = loaded->LoadFromFile(file);
        ASSERT_TRUE(read) << c.name << ": " << read.message.toStdString();
        ASSERT_EQ(loaded->objects().size(), c.tools.size()) << c.name;
        for (size_t i = 0; i < c.tools.size(); ++i) {
            EXPECT_EQ(loaded->objects()[i]->ClassName(), surface->objects()[i]->ClassName()) << c.name;
            EXPECT_EQ(loaded->objects()[i]->BoundsRect(), surface->objects()[i]->BoundsRect()) << c.name;
        }
        // Read objects take fresh names; from there on a save and a read give the same bytes.
        const QString again = QString::fromStdString(dir.file("again.lbl"));
        ASSERT_TRUE(loaded->SaveToFile(again)) << c.name;
        TGOwner thirdOwner;
        auto reread = c.make(&thirdOwner);
        ASSERT_TRUE(reread->LoadFromFile(again)) << c.name;
        EXPECT_EQ(reread->layoutBytes(), loaded->layoutBytes()) << c.name;
        EXPECT_NE(saved.indexOf(surface->objects().back()->ClassName()), -1);

        const QString pdf = QString::fromStdString(dir.file("layout.pdf"));
        TPdfPrinterService service(pdf, 600);
        TReportPrinter printer(service);
        printer.OnPrint = [&](TBaseReport &job) {
            loaded->setPrinting(true);
            loaded->PrintObjects(job, InchPoint{Inches(0.5), Inches(0.5)});
            loaded->setPrinting(false);
        };
        printer.RunJob();
        ASSERT_FALSE(printer.IsAborted()) << c.name;
        const QString text = pdfText(pdf);
        if (c.tools.front() == TGLabelPanel::psLabel) {
            EXPECT_TRUE(text.contains(QStringLiteral("<text>"))) << c.name << ": " << text.toStdString();
        }
        EXPECT_GT(readBytes(pdf).size(), 500) << c.name;
    }
}

// Shape outlines print truncate(width / ppi × 100) hundredths, lines their width in hundredths.
TEST(TGLabelShapes, PrintedPenWidthsAt96And120PixelsPerInch)
{
    const struct {
        double ppi;
        int shape;
        int line;
    } cases[] = {{96, 3, 3}, {120, 2, 3}};
    for (const auto &c : cases) {
        TGClassRegistry::clear();
        TempDir dir;
        TGOwner owner;
        TGLabelPanel label(&owner, c.ppi);
        label.setSize(400, 300);
        draw(label, TGLabelPanel::psRectangle, {10, 10}, {110, 60});
        draw(label, TGLabelPanel::psLine, {10, 100}, {110, 160});
        auto *shape = static_cast<TGLabelShapes *>(label.objects()[0]);
        auto *line = static_cast<TGLineShape *>(label.objects()[1]);
        shape->ChooseLineThickness(3);
        line->ChooseLineThickness(3);
        EXPECT_EQ(shape->printedPenHundredths(), c.shape);
        TPdfPrinterService service(QString::fromStdString(dir.file("pens.pdf")), 600);
        TReportPrinter printer(service);
        int shapePen = 0;
        int linePen = 0;
        printer.OnPrint = [&](TBaseReport &job) {
            shape->Print(job, InchPoint{});
            shapePen = job.Pen().width;
            line->Print(job, InchPoint{});
            linePen = job.Pen().width;
        };
        printer.RunJob();
        EXPECT_EQ(shapePen, -c.shape) << c.ppi;
        EXPECT_EQ(linePen, -c.line) << c.ppi;
    }
}

} // namespace
