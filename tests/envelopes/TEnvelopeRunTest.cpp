// The envelope run printed to PDF and recorded: one envelope per record and page, the page the
// envelope's own size (metric ones at their true size), the layout where the feed puts it, the
// FIM in its zone, the printable area marked only in the preview, one envelope for the current
// record alone.
#include "TEnvelopeRun.h"

#include "QtPrinters.h"
#include "ReportPdf.h"
#include "SmallAddressFile.h"
#include "TAddressDataSource.h"
#include "TDrawSink.h"
#include "TEnvelopePanel.h"
#include "TEnvelopeSizes.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGFIMBarCode.h"
#include "TGIntelligentMailBarCode.h"
#include "TGOwner.h"
#include "TGPLabel.h"
#include "TGPostNetBarCode.h"
#include "TPdfPrinterService.h"
#include "TRecordingReader.h"
#include "TReportFiler.h"
#include "TReportPrinter.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

constexpr double kPpi = 96.0;

// The rectangles a job draws, with the pen they were drawn with.
class RectangleSpy : public TDrawSink
{
public:
    struct Rect {
        TInchRect rect;
        TPenSpec pen;
    };
    std::vector<std::vector<Rect>> pages;
    void beginPage(InchSize) override { pages.emplace_back(); }
    void setPen(const TPenSpec &p) override { m_pen = p; }
    void setBrush(const TBrushSpec &) override {}
    void setFont(const TFontSpec &) override {}
    void setTextOpaque(bool) override {}
    void rectangle(const TInchRect &r) override { pages.back().push_back({r, m_pen}); }
    void roundRect(const TInchRect &, InchSize) override {}
    void ellipse(const TInchRect &) override {}
    void line(InchPoint, InchPoint) override {}
    void text(bool, const TInchRect &, InchPoint, const QString &) override {}
    void bitmap(const TInchRect &, const QImage &) override {}
    void graphic(const TInchRect &, const QPicture &) override {}

private:
    TPenSpec m_pen;
};

class EnvelopeRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::vector<smallfile::Record> records;
        for (const char *name : {"Adams", "Baker", "Clark"})
            records.push_back({{"FNAME", QStringLiteral("Ann")},
                               {"LNAME", QString::fromLatin1(name)},
                               {"STREET", QStringLiteral("123 MAIN ST")},
                               {"CITY", QStringLiteral("Springfield")},
                               {"STATE", QStringLiteral("IL")},
                               {"ZIP", QStringLiteral("62704-1234")}});
        session = smallfile::session(folder, records);
        ASSERT_TRUE(session);
        ASSERT_TRUE(session->table().setOrderTag(QStringLiteral("LNAME")).ok);
        ASSERT_TRUE(session->table().first().ok);
        data = std::make_unique<TAddressDataSource>(session->table());
        surface.setDataSet(data.get());
        surface.setSize(912, 396);
        auto *ret = add<TGPLabel>(10, 10);
        ret->setCaption(QStringLiteral("Corvantis Returns"));
        ret->FitToText();
        auto *block = add<TGDMultiLineAddressLabel>(336, 192); // 3.5 in, 2 in
        block->setWidth(300);
        block->setHeight(90);
        auto *postnet = add<TGPostNetBarCode>(336, 288);
        postnet->ZipCodeField = QStringLiteral("ZIP");
        postnet->AddressField = QStringLiteral("STREET");
        auto *imb = add<TGIntelligentMailBarCode>(336, 312);
        imb->ChooseSettings(QStringLiteral("00"), QStringLiteral("270"), QStringLiteral("123456"),
                            imbSerialFixed, 42, QString());
        // 6.625 inches from the left: 2.875 inches from the right edge, in the FIM zone.
        auto *fim = add<TGFIMBarCode>(636, 0);
        fim->FIMType = fimTypeA;
    }

    template <class T> T *add(int left, int top)
    {
        auto *o = static_cast<T *>(surface.insertObject(std::make_unique<T>(&owner)));
        o->setLeft(left);
        o->setTop(top);
        surface.WireObject(o);
        return o;
    }

    TEnvelopeRunOptions options(int code = 20) const
    {
        TEnvelopeRunOptions o;
        o.envelope = TEnvelopeSizes::size(code);
        return o;
    }

    // Prints with the PDF printer; `paper` other than -1 replaces the envelope's paper.
    int print(const TEnvelopeRunOptions &o, int code = 20, int paper = -1)
    {
        TPdfPrinterService service(pdf, 600);
        TReportPrinter job(service);
        EXPECT_TRUE(TEnvelopeRun::prepareJob(job, code, o.envelope, o.feed));
        if (paper >= 0) {
            EXPECT_TRUE(job.SetPaperSize(paper, {}));
        }
        TEnvelopeRun run(surface, session->table(), o);
        run.attach(job);
        job.RunJob();
        EXPECT_FALSE(job.IsAborted());
        EXPECT_FALSE(surface.Printing());
        lastOffset = run.offset();
        return run.envelopes();
    }

    // The box of the first word `text` on page `page`, in inches.
    static bool wordAt(const QString &pdf, int page, const QString &text, double &x, double &y)
    {
        for (const reportpdf::Word &w : reportpdf::words(pdf, page))
            if (w.text == text) {
                x = w.xMin / 72.0;
                y = w.yMin / 72.0;
                return true;
            }
        return false;
    }

    TempDir dir;
    QString folder = QString::fromStdString(dir.path());
    QString pdf = folder + QStringLiteral("/envelopes.pdf");
    std::unique_ptr<TAddressSession> session;
    std::unique_ptr<TAddressDataSource> data;
    TGOwner owner;
    TEnvelopePanel surface{&owner, kPpi};
    InchPoint lastOffset;
};

TEST_F(EnvelopeRun, ThreeRecordsGiveThreeEnvelopePagesWithTheAddressInPlace)
{
    EXPECT_EQ(print(options()), 3);
    const reportpdf::Info info = reportpdf::info(pdf);
    EXPECT_EQ(info.pages, 3);
    EXPECT_NEAR(info.widthPoints, 9.5 * 72, 0.1);
    EXPECT_NEAR(info.heightPoints, 4.125 * 72, 0.1);
    const QStringList pages = reportpdf::pages(pdf);
    ASSERT_EQ(pages.size(), 3);
    int page = 1;
    for (const char *name : {"Adams", "Baker", "Clark"}) {
        EXPECT_TRUE(pages.at(page - 1).contains(QLatin1String(name))) << name;
        EXPECT_TRUE(pages.at(page - 1).contains(QStringLiteral("Corvantis Returns")));
        double x = 0, y = 0;
        ASSERT_TRUE(wordAt(pdf, page, QStringLiteral("Ann"), x, y)) << page;
        // The page is the envelope: the block's corner at (3.5, 2) inches, the name in its first line.
        EXPECT_NEAR(x, 3.5, 0.1);
        EXPECT_NEAR(y, 2.0, 0.1);
        ++page;
    }
    // The FIM's bars lie in the zone 2 to 3 inches from the right edge, within 5/8 inch of the top.
    const QImage image = reportpdf::render(pdf, 1, 100, folder + QStringLiteral("/fim"));
    ASSERT_FALSE(image.isNull());
    int darkLeft = image.width(), darkRight = -1;
    for (int x = 0; x < image.width(); ++x)
        if (qGray(image.pixel(x, 30)) < 128) { // 0.3 inch from the top
            darkLeft = std::min(darkLeft, x);
            darkRight = std::max(darkRight, x);
        }
    EXPECT_GE(darkLeft / 100.0, 9.5 - 3.0);
    EXPECT_LE(darkRight / 100.0, 9.5 - 2.0);
    EXPECT_NEAR(darkLeft / 100.0, 636 / kPpi, 0.03);
}

TEST_F(EnvelopeRun, OnALetterPageTheFeedDecidesWhereTheEnvelopeGoes)
{
    TEnvelopeRunOptions o = options();
    o.feed.Orientation = TEnvelopeFeedValues::Landscape;
    o.feed.Facing = TEnvelopeFeedValues::FaceUp;
    o.feed.Position = TEnvelopeFeedValues::Right;
    print(o, 20, 1);
    EXPECT_DOUBLE_EQ(lastOffset.x.value, 1.5);
    EXPECT_DOUBLE_EQ(lastOffset.y.value, 4.375);
    const reportpdf::Info info = reportpdf::info(pdf);
    EXPECT_NEAR(info.widthPoints, 11 * 72, 0.5);
    double x = 0, y = 0;
    ASSERT_TRUE(wordAt(pdf, 1, QStringLiteral("Ann"), x, y));
    EXPECT_NEAR(x, 1.5 + 3.5, 0.1);
    EXPECT_NEAR(y, 4.375 + 2.0, 0.1);
}

TEST_F(EnvelopeRun, ADlEnvelopePrintsOnAPageOfItsTrueSize)
{
    EXPECT_EQ(print(options(27), 27), 3);
    const reportpdf::Info info = reportpdf::info(pdf);
    EXPECT_NEAR(info.widthPoints, 220 / 25.4 * 72, 0.5);
    EXPECT_NEAR(info.heightPoints, 110 / 25.4 * 72, 0.5);
    EXPECT_DOUBLE_EQ(lastOffset.x.value, 0.0);
}

TEST_F(EnvelopeRun, OnlyTheCurrentRecordPrintsOneEnvelopeAndStaysOnIt)
{
    ASSERT_TRUE(session->table().next().ok);
    const quint32 current = session->table().recno();
    TEnvelopeRunOptions o = options();
    o.onlyCurrent = true;
    EXPECT_EQ(print(o), 1);
    EXPECT_EQ(session->table().recno(), current);
    EXPECT_EQ(reportpdf::info(pdf).pages, 1);
    EXPECT_TRUE(reportpdf::pages(pdf).at(0).contains(QStringLiteral("Baker")));
}

TEST_F(EnvelopeRun, OnlyThePreviewMarksThePrintableAreaInRedDots)
{
    for (bool previewing : {true, false}) {
        QByteArray stream;
        TReportFiler job;
        job.setStream(&stream);
        TEnvelopeRunOptions o = options();
        o.previewing = previewing;
        ASSERT_TRUE(TEnvelopeRun::prepareJob(job, 20, o.envelope, o.feed));
        TEnvelopeRun run(surface, session->table(), o);
        run.attach(job);
        ASSERT_TRUE(session->table().first().ok);
        job.RunJob();
        TRecordingReader reader;
        ASSERT_TRUE(reader.open(stream).ok());
        ASSERT_EQ(reader.pageCount(), 3);
        RectangleSpy spy;
        reader.replayAll(spy);
        for (const auto &page : spy.pages) {
            int marks = 0;
            for (const RectangleSpy::Rect &r : page)
                if (r.pen.colour == qRgb(255, 0, 0) && r.pen.style == TPenStyle::Dot)
                    ++marks;
            EXPECT_EQ(marks, previewing ? 1 : 0);
        }
    }
}

TEST_F(EnvelopeRun, ACancelledRunStopsBeforeTheNextRecord)
{
    class StopAfter : public TProgress
    {
    public:
        int steps = 0;
        void setTotal(int) override {}
        void step() override { ++steps; }
        bool cancelled() const override { return steps >= 2; }
    } progress;
    TPdfPrinterService service(pdf, 300);
    TReportPrinter job(service);
    const TEnvelopeRunOptions o = options();
    ASSERT_TRUE(TEnvelopeRun::prepareJob(job, 20, o.envelope, o.feed));
    TEnvelopeRun run(surface, session->table(), o);
    run.attach(job);
    job.RunJob(progress);
    EXPECT_EQ(run.envelopes(), 2);
    EXPECT_FALSE(surface.Printing());
}

} // namespace

TEST_F(EnvelopeRun, ThePrinterCalibrationShiftsAndScalesEveryEnvelope)
{
    TEnvelopeRunOptions o = options();
    o.calibration.horizontalOffset = Inches(0.2);
    o.calibration.verticalOffset = Inches(-0.1);
    o.calibration.verticalScale = 96.0;
    EXPECT_EQ(print(o), 3);
    for (int page = 1; page <= 3; ++page) {
        double x = 0, y = 0;
        ASSERT_TRUE(wordAt(pdf, page, QStringLiteral("Ann"), x, y)) << page;
        EXPECT_NEAR(x, 3.5 + 0.2, 0.1) << page;
        EXPECT_NEAR(y, 2.0 * 0.96 - 0.1, 0.1) << page;
    }
    // Without a calibration the run leaves the printer job uncorrected again.
    ASSERT_TRUE(session->table().first().ok);
    EXPECT_EQ(print(options()), 3);
    double x = 0, y = 0;
    ASSERT_TRUE(wordAt(pdf, 1, QStringLiteral("Ann"), x, y));
    EXPECT_NEAR(x, 3.5, 0.1);
    EXPECT_NEAR(y, 2.0, 0.1);
}
