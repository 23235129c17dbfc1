// Job control, the recording job's answers, text flow and tab stops, pen and font rules.
#include "CancelAfter.h"
#include "QtPrinters.h"
#include "SampleJob.h"
#include "TPainterSink.h"
#include "TRecordingReader.h"
#include "TReportFiler.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

namespace {

// Runs `body` on a recording job with Letter paper and returns what reached the page.
SpySink runRecorded(const std::function<void(TBaseReport &)> &body, TReportFiler *filerOut = nullptr)
{
    QByteArray stream;
    TReportFiler local;
    TReportFiler &filer = filerOut ? *filerOut : local;
    filer.setStream(&stream);
    filer.OnPrint = body;
    filer.RunJob();
    TRecordingReader reader;
    EXPECT_TRUE(reader.open(stream).ok());
    SpySink spy;
    reader.replayAll(spy);
    return spy;
}

} // namespace

TEST(TReportFiler, AnswersPreviewAndKeepsTheExactPaperSize)
{
    TReportFiler filer;
    EXPECT_EQ(filer.PrinterDeviceName(), QStringLiteral("Preview"));
    EXPECT_EQ(filer.SelectedPrinter(), -1);
    EXPECT_TRUE(filer.PrinterNames().isEmpty());
    // A size no paper code has, given for an envelope code: kept as given, to the last bit.
    EXPECT_TRUE(filer.SetPaperSize(20, {Inches(9.7654321), Inches(4.1234567)}));
    EXPECT_EQ(filer.PaperWidth().value, 9.7654321);
    EXPECT_EQ(filer.PaperHeight().value, 4.1234567);
    EXPECT_TRUE(filer.SetPaperSize(0, {Inches(5.0), Inches(3.0)}));
    EXPECT_EQ(filer.PaperWidth().value, 5.0);
    // Without a size, a known code gives its paper; an unknown one fails and keeps the last.
    EXPECT_TRUE(filer.SetPaperSize(9, {}));
    EXPECT_NEAR(filer.PaperWidth().value, 210 / 25.4, 1e-9);
    EXPECT_FALSE(filer.SetPaperSize(24, {}));
    EXPECT_NEAR(filer.PaperHeight().value, 297 / 25.4, 1e-9);

    // The recorded pages carry that size too.
    filer.SetPaperSize(0, {Inches(9.5), Inches(4.125)});
    const SpySink spy = runRecorded([](TBaseReport &) {}, &filer);
    ASSERT_FALSE(spy.calls.empty());
    EXPECT_EQ(spy.calls[0].x, 9.5);
    EXPECT_EQ(spy.calls[0].y, 4.125);
}

TEST(TBaseReport, RunJobCallsBackInOrderAndNumbersPages)
{
    QByteArray stream;
    TReportFiler job;
    job.setStream(&stream);
    std::vector<std::string> log;
    QStringList statusLines;
    job.StatusLabel = [&](const QString &s) { statusLines << s; };
    job.OnBeforePrint = [&](TBaseReport &r) {
        log.push_back("before");
        r.setStatusFormat(QStringLiteral("Printing Page %p\r%0\r%1"));
        r.StatusText() = QStringList{QString(), QString()};
    };
    job.OnPrintPage = [&](TBaseReport &r) {
        log.push_back("page " + std::to_string(r.PageNumber()));
        return r.PageNumber() < 3;
    };
    job.OnNewPage = [&](TBaseReport &r) { log.push_back("new " + std::to_string(r.PageNumber())); };
    job.OnAfterPrint = [&](TBaseReport &) { log.push_back("after"); };
    job.RunJob();
    EXPECT_EQ(log,
              (std::vector<std::string>{"before", "page 1", "new 2", "page 2", "new 3", "page 3", "after"}));
    EXPECT_EQ(statusLines,
              (QStringList{QStringLiteral("Printing Page 1\r\r"), QStringLiteral("Printing Page 2\r\r"),
                           QStringLiteral("Printing Page 3\r\r")}));
    TRecordingReader reader;
    ASSERT_TRUE(reader.open(stream).ok());
    EXPECT_EQ(reader.pageCount(), 3);

    // A second run starts afresh at page 1 with a new recording.
    job.OnPrintPage = [](TBaseReport &) { return false; };
    job.RunJob();
    EXPECT_EQ(job.PageNumber(), 1);
    ASSERT_TRUE(reader.open(stream).ok());
    EXPECT_EQ(reader.pageCount(), 1);
}

TEST(TBaseReport, LeavesPendingWindowEventsToTheWindowBehindTheRun)
{
    // A window event waiting while a job runs: the job draws pages and refreshes its status
    // line, but handling events is the status window's business, not the engine's.
    bool handled = false;
    QTimer::singleShot(0, [&handled] { handled = true; });
    QByteArray stream;
    TReportFiler job;
    job.setStream(&stream);
    job.OnPrint = [](TBaseReport &r) {
        r.StartNewPage();
        r.RefreshStatus();
        r.StartNewPage();
    };
    job.RunJob();
    EXPECT_FALSE(handled);
    QCoreApplication::processEvents();
    EXPECT_TRUE(handled);
}

TEST(TBaseReport, EachPageIsAStepOfTheRunsProgress)
{
    QByteArray stream;
    TReportFiler job;
    job.setStream(&stream);
    CancelAfter progress;
    const TProgress *seen = nullptr;
    job.OnPrint = [&](TBaseReport &r) {
        seen = &r.progress();
        for (int page = 2; page <= 4; ++page)
            r.StartNewPage();
    };
    job.RunJob(progress);
    EXPECT_EQ(seen, &progress);
    EXPECT_EQ(progress.steps(), 4);
    // Outside a run the job has no progress of its own to report to.
    EXPECT_EQ(&job.progress(), &TProgress::none());
    EXPECT_FALSE(job.progress().cancelled());
}

struct CancelCase {
    int cancelAfter;
    int pagesKept;
};
class CancelledRun : public ::testing::TestWithParam<CancelCase>
{
};

TEST_P(CancelledRun, StopsAskingForPagesAndKeepsThoseMade)
{
    QByteArray stream;
    TReportFiler job;
    job.setStream(&stream);
    int asked = 0;
    job.OnPrintPage = [&](TBaseReport &r) {
        ++asked;
        r.TextAtLeft(QStringLiteral("Page %1").arg(r.PageNumber()), Inches(1));
        return r.PageNumber() < 5;
    };
    CancelAfter progress(GetParam().cancelAfter);
    job.RunJob(progress);
    EXPECT_FALSE(job.IsAborted());
    EXPECT_EQ(asked, GetParam().pagesKept);
    TRecordingReader reader;
    ASSERT_TRUE(reader.open(stream).ok());
    EXPECT_EQ(reader.pageCount(), GetParam().pagesKept);
}

INSTANTIATE_TEST_SUITE_P(Cases, CancelledRun,
                         ::testing::Values(CancelCase{1, 1}, CancelCase{3, 3}, CancelCase{5, 5},
                                           CancelCase{9, 5}));

TEST(TBaseReport, AbortStopsDrawingAndIsReported)
{
    QByteArray stream;
    TReportFiler job;
    job.setStream(&stream);
    int pagesAsked = 0;
    job.OnPrintPage = [&](TBaseReport &r) {
        ++pagesAsked;
        r.TextAtLeft(QStringLiteral("before"), Inches(1));
        if (r.PageNumber() == 2)
            r.AbortJob();
        r.TextAtLeft(QStringLiteral("after"), Inches(1));
        return true;
    };
    job.RunJob();
    EXPECT_TRUE(job.IsAborted());
    EXPECT_EQ(pagesAsked, 2);
    TRecordingReader reader;
    ASSERT_TRUE(reader.open(stream).ok());
    SpySink spy;
    reader.replayAll(spy);
    QStringList texts;
    for (const SinkCall &c : spy.texts())
        texts << c.text;
    EXPECT_EQ(texts,
              (QStringList{QStringLiteral("before"), QStringLiteral("after"), QStringLiteral("before")}));

    // Without a stream the run cannot begin: aborted at once.
    TReportFiler noStream;
    bool called = false;
    noStream.OnPrint = [&](TBaseReport &) { called = true; };
    noStream.RunJob();
    EXPECT_TRUE(noStream.IsAborted());
    EXPECT_FALSE(called);
}

TEST(TBaseReport, TabStopsPlaceTextInTheirCells)
{
    const SpySink spy = runRecorded([](TBaseReport &r) {
        r.setMarginLeft(Inches(1));
        r.setMarginTop(Inches(1));
        r.ResetSection();
        r.CursorHome();
        r.SelectFont(QStringLiteral("Times"), 10);
        r.ClearTabStops();
        r.AddTabStop(pjLeft, r.SectionLeft(), Inches(1.25), HundredthsOfInch(2), BOXLINENONE);
        r.AddTabStop(pjLeft, TBaseReport::kTabAfterPrevious, Inches(5.25), HundredthsOfInch(2), BOXLINENONE);
        r.SetBold(true);
        r.WriteText(QStringLiteral("\tLast"));
        r.SetBold(false);
        r.WriteText(QStringLiteral("\tSmith"));
        r.NextLine();
        r.PushTabStops();
        r.ClearTabStops();
        r.AddTabStop(pjRight, Inches(2.0), Inches(1.0), HundredthsOfInch(10), BOXLINENONE);
        r.AddTabStop(pjCenter, TBaseReport::kTabAfterPrevious, Inches(2.0), HundredthsOfInch(0), BOXLINENONE);
        const double w = r.MeasureText(QStringLiteral("42")).value;
        r.WriteLine(QStringLiteral("Lead\t42\tmid"));
        r.PopTabStops();
        r.WriteLine(QStringLiteral("\tA\tB\tignored tab"));
        EXPECT_NEAR(w, r.MeasureText(QStringLiteral("4")).value * 2, 1e-3);
    });
    const auto texts = spy.texts();
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[0].text, QStringLiteral("Last"));
    EXPECT_NEAR(texts[0].x, 1.02, 1e-12);
    EXPECT_NEAR(texts[0].y, 1.0, 1e-12);
    EXPECT_EQ(texts[1].text, QStringLiteral("Smith"));
    EXPECT_NEAR(texts[1].x, 2.27, 1e-12);
    // Second line: text before the first tab at the cursor, right-justified inside the margin,
    // centred in its cell.
    EXPECT_EQ(texts[2].text, QStringLiteral("Lead"));
    EXPECT_NEAR(texts[2].x, 1.0, 1e-12);
    EXPECT_GT(texts[2].y, 1.0);
    EXPECT_EQ(texts[3].text, QStringLiteral("42"));
    const double w42 = texts[3].x; // right edge is 3.0 - 0.10
    EXPECT_LT(w42, 2.9);
    EXPECT_GT(w42, 2.7);
    EXPECT_EQ(texts[4].text, QStringLiteral("mid"));
    EXPECT_GT(texts[4].x, 3.5);
    EXPECT_LT(texts[4].x, 4.0);
    // After PopTabStops the first two stops are back; a TAB past the last stop stays put.
    EXPECT_EQ(texts[5].text, QStringLiteral("A"));
    EXPECT_NEAR(texts[5].x, 1.02, 1e-12);
    EXPECT_EQ(texts[7].text, QStringLiteral("ignored tab"));
}

TEST(TBaseReport, TextAtLeftLeavesTheCursorAfterTheTextInTheFontItWasWrittenIn)
{
    runRecorded([](TBaseReport &r) {
        r.SelectFont(QStringLiteral("Arial"), 12);
        r.SetBold(true);
        const double bold = r.MeasureText(QStringLiteral("Wide words")).value;
        r.SetBold(false);
        const double plain = r.MeasureText(QStringLiteral("Wide words")).value;
        ASSERT_GT(bold, plain);

        r.TextAtLeft(QStringLiteral("Wide words"), Inches(1.0));
        EXPECT_NEAR(r.CursorX().value, 1.0 + plain, 1e-12);
        // The width is that of the font the text was drawn in, whatever changes afterwards.
        r.SetBold(true);
        r.TextAtLeft(QStringLiteral("Wide words"), Inches(2.0));
        r.SetBold(false);
        EXPECT_NEAR(r.CursorX().value, 2.0 + bold, 1e-12);
        r.TextAtLeft(QStringLiteral("Wide words"), Inches(3.0));
        r.SelectFont(QStringLiteral("Arial"), 24);
        EXPECT_NEAR(r.CursorX().value, 3.0 + plain, 1e-12);
        // Text without a tab stop goes on at the cursor.
        r.SelectFont(QStringLiteral("Arial"), 12);
        r.MoveCursor({Inches(1.0), Inches(2.0)});
        r.WriteText(QStringLiteral("Wide words"));
        r.WriteText(QStringLiteral("Wide words"));
        EXPECT_NEAR(r.CursorX().value, 1.0 + 2 * plain, 1e-12);
        r.MoveCursor({Inches(4.0), Inches(2.0)});
        EXPECT_EQ(r.CursorX().value, 4.0);
    });
}

TEST(TBaseReport, LinesLeftAndNewPagesResetTheSection)
{
    const SpySink spy = runRecorded([](TBaseReport &r) {
        r.setMarginTop(Inches(1));
        r.setMarginBottom(Inches(1));
        r.setMarginLeft(Inches(0.5));
        r.setLineHeightMethod(TBaseReport::lhmLinesPerInch);
        r.ResetSection();
        r.CursorHome();
        EXPECT_EQ(r.LinesLeftInSection(), 54); // 9 inches at 6 lines per inch
        for (int i = 0; i < 54; ++i)
            r.NextLine();
        EXPECT_EQ(r.LinesLeftInSection(), 0);
        r.Section(Inches(2), Inches(6), Inches(3), Inches(4));
        r.StartNewPage();
        EXPECT_EQ(r.SectionLeft().value, 0.5);
        EXPECT_EQ(r.SectionTop().value, 1.0);
        EXPECT_EQ(r.CursorX().value, 0.5);
        EXPECT_EQ(r.CursorY().value, 1.0);
        EXPECT_EQ(r.SectionRight().value, 8.5); // no right margin
        r.setLineHeightMethod(TBaseReport::lhmFont);
        r.SelectFont(QStringLiteral("Times"), 10);
        const double h = r.LineHeight().value;
        EXPECT_GT(h, 10.0 / 72.0);
        EXPECT_LT(h, 14.0 / 72.0);
        r.TextRightAlignedAt(QStringLiteral("Page 2"), Inches(8.0));
        EXPECT_EQ(r.CursorX().value, 8.0);
        r.TextCentredOn(QStringLiteral("mid"), Inches(4.25));
    });
    const auto texts = spy.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_LT(texts[0].x, 8.0 - 0.3);
    EXPECT_LT(texts[1].x, 4.25);
}

TEST(TBaseReport, FontRules)
{
    TReportFiler job;
    job.SelectFont(QStringLiteral("Arial"), 12);
    job.SetBold(true);
    job.SetFontAngle(90);
    job.SelectFont(QStringLiteral("Times"), 0); // ignored
    EXPECT_EQ(job.Font().name, QStringLiteral("Arial"));
    EXPECT_TRUE(job.Font().bold);
    job.SelectFont(QStringLiteral("Times"), 9);
    EXPECT_FALSE(job.Font().bold);
    EXPECT_EQ(job.Font().angle, 0.0);
    for (const auto &c :
         std::vector<std::pair<double, double>>{{450, 90}, {-90, 270}, {360, 0}, {720.5, 0.5}}) {
        job.SetFontAngle(c.first);
        EXPECT_DOUBLE_EQ(job.Font().angle, c.second) << c.first;
    }
}

struct PenCase {
    int width;
    double dpi;
    double dots;
};
class PenWidth : public ::testing::TestWithParam<PenCase>
{
};
TEST_P(PenWidth, DotsOrHundredthsOfAnInchAtLeastOneDot)
{
    EXPECT_EQ(TPainterSink::penDots(GetParam().width, GetParam().dpi), GetParam().dots);
}
INSTANTIATE_TEST_SUITE_P(Cases, PenWidth,
                         ::testing::Values(PenCase{3, 600, 3}, PenCase{-1, 600, 6}, PenCase{-10, 300, 30},
                                           PenCase{-1, 96, 1}, PenCase{-1, 50, 1}, PenCase{-3, 50, 2},
                                           PenCase{0, 600, 1}));

TEST(TBaseReport, APenInHundredthsOfAnInchIsTheNegativeWidth)
{
    TReportFiler job;
    job.SelectPen(Qt::black, TPenStyle::Solid, HundredthsOfInch::truncatedFrom(DesignPixels(3).toInches(96)));
    EXPECT_EQ(job.Pen().width, -3);
    job.SelectPen(Qt::black, TPenStyle::Dot, HundredthsOfInch(2), TPenMode::Xor);
    EXPECT_EQ(job.Pen().width, -2);
    EXPECT_EQ(job.Pen().mode, TPenMode::Xor);
    job.SelectPen(Qt::black, TPenStyle::Solid, 4);
    EXPECT_EQ(job.Pen().width, 4);
}

TEST(TBaseReport, TextsAtLeftRecordsEachTextAtItsPlaceAndLeavesTheCursorAfterTheLast)
{
    double width = 0;
    const SpySink spy = runRecorded([&width](TBaseReport &r) {
        r.SelectFont(QStringLiteral("Arial"), 9);
        width = r.MeasureText(QStringLiteral("Phone")).value;
        r.textsAtLeft({{{Inches(1.0), Inches(2.0)}, QStringLiteral("Name")},
                       {{Inches(3.5), Inches(2.0)}, QStringLiteral("Phone")}});
        EXPECT_NEAR(r.CursorX().value, 3.5 + width, 1e-12);
        EXPECT_EQ(r.CursorY().value, 2.0);
        r.textsAtLeft({});
        EXPECT_NEAR(r.CursorX().value, 3.5 + width, 1e-12);
    });
    const std::vector<SinkCall> texts = spy.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, QStringLiteral("Name"));
    EXPECT_EQ(texts[0].x, 1.0);
    EXPECT_EQ(texts[1].text, QStringLiteral("Phone"));
    EXPECT_EQ(texts[1].x, 3.5);
    EXPECT_EQ(texts[1].y, 2.0);
}
