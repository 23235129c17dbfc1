// Jobs printed to a PDF file hold their text, in order, on the pages of the chosen range.
#include "TReportPrinter.h"
#include "QtPrinters.h"
#include "SampleJob.h"
#include "TFilePrinter.h"
#include "TPdfPrinterService.h"
#include "TReportFiler.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

namespace {

// The text of a PDF as pdftotext reads it, pages separated by form feeds.
QString pdfText(const QString &file)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("<pdftotext failed>");
    return QString::fromUtf8(process.readAllStandardOutput());
}

void writePages(TBaseReport &r, int pages)
{
    r.SelectFont(QStringLiteral("Arial"), 12);
    for (int p = 1; p <= pages; ++p) {
        if (p > 1)
            r.StartNewPage();
        r.TextAtLeft(QStringLiteral("Header of page %1").arg(p), Inches(1.0));
        r.NextLine();
        r.WriteLine(QStringLiteral("Zebra Avenue"));
        r.WriteLine(QStringLiteral("Apple Street"));
    }
}

} // namespace

TEST(TReportPrinter, PrintsItsTextToPdfInOrder)
{
    TempDir dir;
    const QString file = QString::fromStdString(dir.file("out.pdf"));
    TPdfPrinterService service(file);
    TReportPrinter job(service);
    EXPECT_EQ(job.PrinterDeviceName(), QStringLiteral("PDF"));
    EXPECT_EQ(job.SelectedPrinter(), 0);
    ASSERT_TRUE(job.SetPaperSize(9, {}));
    EXPECT_NEAR(job.PaperWidth().value, 210 / 25.4, 1e-6);
    EXPECT_EQ(job.UnprintableLeft().value, 0.0);
    job.setMarginLeft(Inches(1));
    job.setMarginTop(Inches(1));
    job.setTitle(QStringLiteral("Corvantis"));
    job.OnPrint = [](TBaseReport &r) { writePages(r, 2); };
    job.RunJob();
    ASSERT_FALSE(job.IsAborted());
    const QString text = pdfText(file);
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 2) << text.toStdString();
    for (int p = 0; p < 2; ++p) {
        const qsizetype header = pages[p].indexOf(QStringLiteral("Header of page %1").arg(p + 1));
        const qsizetype zebra = pages[p].indexOf(QStringLiteral("Zebra Avenue"));
        const qsizetype apple = pages[p].indexOf(QStringLiteral("Apple Street"));
        EXPECT_TRUE(header >= 0 && zebra > header && apple > zebra) << pages[p].toStdString();
    }
}

TEST(TReportPrinter, PrintsOnlyThePageRangeAndDiscardsAnAbortedJob)
{
    TempDir dir;
    const QString file = QString::fromStdString(dir.file("range.pdf"));
    TPdfPrinterService service(file);
    TReportPrinter job(service);
    job.setFirstPage(2);
    job.setLastPage(3);
    job.OnPrint = [](TBaseReport &r) { writePages(r, 4); };
    job.RunJob();
    EXPECT_EQ(job.printedPages(), 2);
    const QString text = pdfText(file);
    EXPECT_FALSE(text.contains(QStringLiteral("page 1")));
    EXPECT_TRUE(text.contains(QStringLiteral("page 2")));
    EXPECT_TRUE(text.contains(QStringLiteral("page 3")));
    EXPECT_FALSE(text.contains(QStringLiteral("page 4")));

    job.setFirstPage(1);
    job.setLastPage(9999);
    job.OnPrint = [](TBaseReport &r) {
        writePages(r, 1);
        r.AbortJob();
        r.StartNewPage();
        r.TextAtLeft(QStringLiteral("never"), Inches(1));
    };
    job.RunJob();
    EXPECT_TRUE(job.IsAborted());
    EXPECT_FALSE(QFile::exists(file));
}

TEST(TReportPrinter, AnUnwritableFileEndsTheRunAborted)
{
    TPdfPrinterService service(QStringLiteral("/nonexistent-folder/x/out.pdf"));
    TReportPrinter job(service);
    bool called = false;
    job.OnPrint = [&](TBaseReport &) { called = true; };
    job.RunJob();
    EXPECT_TRUE(job.IsAborted());
    EXPECT_FALSE(called);
}

TEST(TFilePrinter, PrintsARecordingPageForPage)
{
    QByteArray stream;
    TReportFiler filer;
    filer.setStream(&stream);
    filer.OnPrint = [](TBaseReport &r) { writePages(r, 3); };
    filer.RunJob();

    TempDir dir;
    const QString file = QString::fromStdString(dir.file("played.pdf"));
    TPdfPrinterService service(file);
    ASSERT_TRUE(TFilePrinter::print(stream, service, QStringLiteral("Corvantis")).ok());
    const QStringList pages = pdfText(file).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 3);
    EXPECT_TRUE(pages[2].contains(QStringLiteral("Header of page 3")));

    stream[stream.size() - 1] = 'x';
    stream.chop(3);
    EXPECT_EQ(TFilePrinter::print(stream, service, QString()).code(), TPrintResult::Code::Corruption);
}

TEST(TFilePrinter, APrinterThatCannotBeOpenedIsAnIoErrorWithItsMessage)
{
    QByteArray stream;
    TReportFiler filer;
    filer.setStream(&stream);
    filer.OnPrint = [](TBaseReport &r) { writePages(r, 1); };
    filer.RunJob();
    TPdfPrinterService service(QStringLiteral("/nonexistent-folder/x/out.pdf"));
    const TPrintResult printed = TFilePrinter::print(stream, service, QStringLiteral("Corvantis"));
    EXPECT_EQ(printed.code(), TPrintResult::Code::IoError);
    EXPECT_EQ(printed.message(), QStringLiteral("The printer could not be opened"));
}
