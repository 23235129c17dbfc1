// The letter print run printed to PDF and read back with pdfinfo and pdftotext: copies and
// pages, records from the current one on or the current one alone, cancelling with both
// answers, and a printer that fails part way.
#include "TLetterPrint.h"

#include "LetterPrintSupport.h"
#include "QtPrinters.h"
#include "ReportPdf.h"
#include "TLetterPageLayout.h"
#include "TLetterPreview.h"
#include "TMergeRecordMap.h"
#include "TPdfPrinterService.h"
#include "TRecordingReader.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace lettertest;

namespace {

// The progress of a run with a Cancel button pressed after record `after`: the request stays
// until the question is answered.
class CancelRequest : public TProgress
{
public:
    explicit CancelRequest(int after) : m_after(after) {}
    void setTotal(int) override {}
    void step() override
    {
        if (++m_steps == m_after)
            requested = true;
    }
    bool cancelled() const override { return requested; }
    bool requested = false;

private:
    int m_after;
    int m_steps = 0;
};

// A PDF printer that stops giving pages after `pages` pages.
class FailingPrinter : public TPdfPrinterService
{
public:
    FailingPrinter(const QString &file, int pages) : TPdfPrinterService(file, 300), m_left(pages - 1) {}
    bool newPage() override { return m_left-- > 0 && TPdfPrinterService::newPage(); }

private:
    int m_left;
};

// A printer that cannot be opened.
class ClosedPrinter : public TPdfPrinterService
{
public:
    ClosedPrinter() : TPdfPrinterService(QString(), 300) {}
    QPaintDevice *beginDocument(const QString &, int) override { return nullptr; }
};

class LetterPrint : public ::testing::Test
{
protected:
    void SetUp() override
    {
        makeAddressFile(QString::fromStdString(dir.file("ADD0001.DBF")),
                        {{"Ann", "Lee", "Salem"},
                         {"Bob", "Moreno", "Bend", true},
                         {"Carla", "Nguyen", "Eugene"},
                         {"Dieter", "Olsen", "Medford"}},
                        table);
        pdf = QString::fromStdString(dir.file("out.pdf"));
    }

    TempDir dir;
    TAddressTable table;
    QString pdf;
};

TEST_F(LetterPrint, TwoCopiesOfATwoPageLetterForThreeRecordsAreTwelvePages)
{
    const auto doc = letter({QStringLiteral("Dear [First],"), QStringLiteral("Regards to [City]")});
    TPdfPrinterService printer(pdf, 300);
    TLetterPrint run(*doc, printer);
    run.setCopies(2);
    QStringList status;
    run.onStatus = [&status](const QString &line) { status << line; };
    ASSERT_EQ(run.run(table), TLetterPrint::Outcome::Completed) << run.message().toStdString();
    EXPECT_EQ(run.pageCount(), 12);
    EXPECT_EQ(status, QStringList({QStringLiteral("Printing page 4"), QStringLiteral("Printing page 8"),
                                   QStringLiteral("Printing page 12")}));
    EXPECT_EQ(pdfPages(pdf), 12);
    const QStringList pages = pdfPageTexts(pdf);
    ASSERT_EQ(pages.size(), 12);
    // Each copy is the whole letter; the deleted record is not printed.
    const QStringList expected = {"Dear Ann,",    "Regards to Salem",   "Dear Ann,",    "Regards to Salem",
                                  "Dear Carla,",  "Regards to Eugene",  "Dear Carla,",  "Regards to Eugene",
                                  "Dear Dieter,", "Regards to Medford", "Dear Dieter,", "Regards to Medford"};
    EXPECT_EQ(pages, expected);
}

TEST_F(LetterPrint, ALetterWithoutMergeFieldsIsTheSameForEveryRecord)
{
    const auto doc = letter({QStringLiteral("To whom it may concern [Firstname]")});
    TPdfPrinterService printer(pdf, 300);
    TLetterPrint run(*doc, printer);
    ASSERT_EQ(run.run(table), TLetterPrint::Outcome::Completed);
    EXPECT_EQ(pdfPageTexts(pdf), QStringList(3, QStringLiteral("To whom it may concern [Firstname]")));
}

TEST_F(LetterPrint, OnlyTheCurrentRecordPrintsOneLetterAndStaysThere)
{
    ASSERT_TRUE(table.next()); // Carla
    const quint32 carla = table.recno();
    const auto doc = letter({QStringLiteral("Dear [First] [Last]")});
    TPdfPrinterService printer(pdf, 300);
    TLetterPrint run(*doc, printer);
    run.setOnlyCurrentRecord(true);
    ASSERT_EQ(run.run(table), TLetterPrint::Outcome::Completed);
    EXPECT_EQ(pdfPageTexts(pdf), QStringList{QStringLiteral("Dear Carla Nguyen")});
    EXPECT_EQ(table.recno(), carla);
}

TEST_F(LetterPrint, CancelAnsweredNoGoesOnAndYesDiscardsTheJob)
{
    const auto doc = letter({QStringLiteral("Dear [First]")});
    {
        TPdfPrinterService printer(pdf, 300);
        TLetterPrint run(*doc, printer);
        CancelRequest progress(1);
        int asked = 0;
        run.confirmCancel = [&] {
            ++asked;
            progress.requested = false; // No: the window clears the request
            return false;
        };
        ASSERT_EQ(run.run(table, progress), TLetterPrint::Outcome::Completed);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(pdfPages(pdf), 3);
    }
    ASSERT_TRUE(table.first());
    TPdfPrinterService printer(pdf, 300);
    TLetterPrint run(*doc, printer);
    CancelRequest progress(1);
    run.confirmCancel = [] { return true; };
    EXPECT_EQ(run.run(table, progress), TLetterPrint::Outcome::Canceled);
    EXPECT_EQ(run.pageCount(), 1);
    EXPECT_FALSE(QFile::exists(pdf));
}

// A printer failing part way used to end the run as if it had finished.
TEST_F(LetterPrint, APrinterFailureEndsTheRunAsFailedWithItsMessage)
{
    const auto doc = letter({QStringLiteral("Dear [First]"), QStringLiteral("page two")});
    FailingPrinter failing(pdf, 3);
    TLetterPrint run(*doc, failing);
    EXPECT_EQ(run.run(table), TLetterPrint::Outcome::Failed);
    EXPECT_EQ(run.message(), QStringLiteral("Unable to print: the printer stopped after page 3"));
    EXPECT_FALSE(QFile::exists(pdf));

    ClosedPrinter closed;
    TLetterPrint none(*doc, closed);
    EXPECT_EQ(none.run(table), TLetterPrint::Outcome::Failed);
    EXPECT_EQ(none.message(), QStringLiteral("Unable to print: the printer PDF could not be opened"));
}

TEST_F(LetterPrint, TheLettersOwnPaperAndMarginsGiveThePdfPageAndTheTextPlace)
{
    const auto doc = letter({QStringLiteral("Dear [First]")});
    TLetterPageLayout a4;
    a4.paperWidth = 11906;
    a4.paperHeight = 16838;
    a4.marginLeft = 2880;
    a4.applyTo(*doc);
    TPdfPrinterService printer(pdf, 300);
    TLetterPrint run(*doc, printer);
    run.setUsesLetterPaper(true);
    run.setOnlyCurrentRecord(true);
    ASSERT_EQ(run.run(table), TLetterPrint::Outcome::Completed);
    EXPECT_TRUE(pdfPageSize(pdf).startsWith(QLatin1String("595 x 842"))) << pdfPageSize(pdf).toStdString();
    // 2 inches left at 300 dpi, 1 inch top; the text is as wide as the page less both margins.
    EXPECT_EQ(run.printRect(), QRect(600, 300, 2480 - 600 - 300, 3507 - 300 - 300));
}

TEST_F(LetterPrint, ThePrinterCalibrationMovesEveryPageByItsOffsetAndScale)
{
    const auto doc = letter({QStringLiteral("Dear [First]")});
    TLetterPageLayout page;
    page.marginLeft = 1440;
    page.marginTop = 1440;
    page.applyTo(*doc);
    // The first word's corner on each page, in inches.
    const auto corners = [&](const TPrinterCalibration &calibration) {
        TPdfPrinterService printer(pdf, 300);
        TLetterPrint run(*doc, printer);
        run.setUsesLetterPaper(true);
        run.setCalibration(calibration);
        EXPECT_TRUE(table.first().ok);
        EXPECT_EQ(run.run(table), TLetterPrint::Outcome::Completed);
        std::vector<QPointF> out;
        for (int p = 1; p <= reportpdf::info(pdf).pages; ++p)
            for (const reportpdf::Word &w : reportpdf::words(pdf, p))
                if (w.text == QLatin1String("Dear")) {
                    out.emplace_back(w.xMin / 72.0, w.yMin / 72.0);
                    break;
                }
        return out;
    };
    const std::vector<QPointF> plain = corners({});
    ASSERT_EQ(plain.size(), 3u);
    EXPECT_NEAR(plain[0].x(), 1.0, 0.03);
    TPrinterCalibration c;
    c.horizontalOffset = Inches(0.5);
    c.verticalOffset = Inches(0.25);
    c.horizontalScale = 90.0;
    const std::vector<QPointF> moved = corners(c);
    ASSERT_EQ(moved.size(), 3u);
    for (std::size_t i = 0; i < moved.size(); ++i) {
        EXPECT_NEAR(moved[i].x(), plain[i].x() * 0.9 + 0.5, 0.03) << i;
        EXPECT_NEAR(moved[i].y(), plain[i].y() + 0.25, 0.03) << i;
    }
}

// The preview records each page of the merged letter on the letter's own paper.
TEST(LetterPreview, RecordsEveryPageOnTheLettersPaper)
{
    const auto doc = letter({QStringLiteral("Dear [First]"), QStringLiteral("two"), QStringLiteral("three")});
    TLetterPageLayout a5;
    a5.paperWidth = 8392;
    a5.paperHeight = 11907;
    a5.applyTo(*doc);
    QByteArray recording;
    ASSERT_TRUE(TLetterPreview::record(*doc,
                                       TMergeRecordMap{{QStringLiteral("FNAME"), QStringLiteral("Ann")}},
                                       TMergeDates::system(), recording, 50));
    TRecordingReader reader;
    ASSERT_TRUE(reader.open(recording).ok());
    ASSERT_EQ(reader.pageCount(), 3);
    EXPECT_NEAR(reader.pageSize(0).width.value, 8392 / 1440.0, 1e-3);
    EXPECT_NEAR(reader.pageSize(2).height.value, 11907 / 1440.0, 1e-3);
}

} // namespace
