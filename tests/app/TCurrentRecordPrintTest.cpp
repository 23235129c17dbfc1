// The current-record printout: its lines in order with labels and values, the header on every
// page, memo wrapping and page breaks, the stop flag; printed to PDF and recorded.
#include "TCurrentRecordPrint.h"
#include "QtPrinters.h"
#include "SampleJob.h"
#include "TCurrentRecordFixtures.h"
#include "TDateText.h"
#include "TPainterSink.h"
#include "TPdfPrinterService.h"
#include "TRecordingReader.h"
#include "TReportFiler.h"
#include "TReportPrinter.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QProcess>

namespace {

const QTime kTime(9, 5, 7);

// Prints `record` with `choices` to a PDF file and answers its text.
QString printToPdf(const TCurrentRecordValues &record, const TCurrentRecordChoices &choices,
                   const TempDir &dir)
{
    const QString file = QString::fromStdString(dir.file("record.pdf"));
    TPdfPrinterService service(file);
    TReportPrinter printer(service);
    TCurrentRecordPrint printout(record, choices);
    printout.setTime(kTime);
    printout.attach(printer);
    printer.RunJob();
    EXPECT_FALSE(printer.IsAborted());
    return pdfText(file);
}

// Records the printout on Letter paper and answers what reached the pages.
SpySink record(const TCurrentRecordValues &values, const TCurrentRecordChoices &choices,
               std::function<bool()> stop = {})
{
    QByteArray stream;
    TReportFiler filer;
    filer.setStream(&stream);
    filer.SetPaperSize(1, {});
    TCurrentRecordPrint printout(values, choices);
    printout.setTime(kTime);
    printout.setStopFlag(std::move(stop));
    printout.attach(filer);
    filer.RunJob();
    TRecordingReader reader;
    EXPECT_TRUE(reader.open(stream).ok());
    SpySink spy;
    reader.replayAll(spy);
    return spy;
}

QStringList textsOf(const SpySink &spy)
{
    QStringList out;
    for (const SinkCall &c : spy.texts())
        out.append(c.text);
    return out;
}

// Where each of `words` is found in `text`, one after the other; -1 from the first missing.
qsizetype findInOrder(const QString &text, const QStringList &words, QString *missing)
{
    qsizetype at = 0;
    for (const QString &w : words) {
        at = text.indexOf(w, at);
        if (at < 0) {
            *missing = w;
            return -1;
        }
        at += w.size();
    }
    return at;
}

} // namespace

TEST(TCurrentRecordPrint, PrintsEveryLabelAndValueInOrderToPdf)
{
    TempDir dir;
    const TCurrentRecordValues rec = fixtureRecord(1);
    const QString text = printToPdf(rec, TCurrentRecordChoices(), dir);
    QStringList expected{QStringLiteral("Page 1"), QStringLiteral("09:05:07")};
    for (const TCurrentRecordPrint::Line &line : TCurrentRecordPrint::lines()) {
        expected.append(QString::fromLatin1(line.label));
        const QString value = rec.value(QString::fromLatin1(line.valueName));
        if (!value.isEmpty())
            expected.append(value);
    }
    expected.append(
        {QStringLiteral("First line"), QStringLiteral("Second line"), QStringLiteral("Third line")});
    QString missing;
    EXPECT_GE(findInOrder(text, expected, &missing), 0) << "missing " << missing.toStdString() << " in\n"
                                                        << text.toStdString();
    EXPECT_TRUE(text.contains(TDateText::display(QStringLiteral("19970428"))));
    EXPECT_FALSE(text.contains(QChar('\f') + QStringLiteral("Page 2")));
}

TEST(TCurrentRecordPrint, AMemoThatRunsOverStartsANewPageWithItsHeader)
{
    TempDir dir;
    const QString text = printToPdf(fixtureRecord(200), TCurrentRecordChoices(), dir);
    const QStringList pages = text.split(QChar('\f'), Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 2) << text.toStdString();
    EXPECT_EQ(pages.size(), 2);
    const QString line = QStringLiteral("Call log line with some detail about the customer.");
    EXPECT_EQ(text.count(line), 60);
    // The second page opens with its header, then the memo goes on.
    QString missing;
    EXPECT_GE(findInOrder(pages[1], {QStringLiteral("Page 2"), QStringLiteral("09:05:07"), line}, &missing),
              0)
        << missing.toStdString();
    EXPECT_GT(pages[0].count(line), 20);
    EXPECT_FALSE(pages[1].contains(QStringLiteral("Organization")));
}

TEST(TCurrentRecordPrint, HeaderSitsInTheTopMarginAboveARule)
{
    const SpySink spy = record(fixtureRecord(1), TCurrentRecordChoices::none());
    const std::vector<SinkCall> texts = spy.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, QStringLiteral("Page 1"));
    EXPECT_DOUBLE_EQ(texts[0].y, 0.5);
    EXPECT_EQ(texts[1].text, QStringLiteral("09:05:07"));
    EXPECT_GT(texts[1].y, 0.5);
    EXPECT_LT(texts[1].y, 1.0);
    // Right-aligned at the right margin: the text ends at 7.5 inches on Letter paper.
    EXPECT_LT(texts[0].x, 7.5);
    EXPECT_GT(texts[0].x, 6.5);
    const auto rule =
        std::find_if(spy.calls.begin(), spy.calls.end(), [](const SinkCall &c) { return c.op == "line"; });
    ASSERT_NE(rule, spy.calls.end());
    EXPECT_DOUBLE_EQ(rule->x, 1.0);
    EXPECT_GT(rule->y, texts[1].y);
    EXPECT_LT(rule->y, 1.0);
}

TEST(TCurrentRecordPrint, OneChosenFieldPrintsOnlyItsLine)
{
    TCurrentRecordChoices choices = TCurrentRecordChoices::none();
    choices.set(TRecordField::City, true);
    const SpySink spy = record(fixtureRecord(1), choices);
    EXPECT_EQ(textsOf(spy), (QStringList{QStringLiteral("Page 1"), QStringLiteral("09:05:07"),
                                         QStringLiteral("City"), QStringLiteral("San Francisco")}));
    const std::vector<SinkCall> texts = spy.texts();
    // The label in the first tab stop, the value in the second, inside their margins.
    EXPECT_NEAR(texts[2].x, 1.02, 1e-9);
    EXPECT_NEAR(texts[3].x, 2.27, 1e-9);
    EXPECT_DOUBLE_EQ(texts[2].y, 1.0);
}

TEST(TCurrentRecordPrint, OnlyTheMemoGivesTheHeaderABlankLineAndItsLines)
{
    TCurrentRecordChoices choices = TCurrentRecordChoices::none();
    choices.memo = true;
    const SpySink spy = record(fixtureRecord(1), choices);
    EXPECT_EQ(textsOf(spy),
              (QStringList{QStringLiteral("Page 1"), QStringLiteral("09:05:07"), QStringLiteral("First line"),
                           QStringLiteral("Second line"), QStringLiteral("Third line")}));
    const std::vector<SinkCall> texts = spy.texts();
    const double lineHeight = texts[3].y - texts[2].y;
    EXPECT_GT(lineHeight, 0.1);
    EXPECT_NEAR(texts[2].y, 1.0 + lineHeight, 1e-9); // after the blank line
    EXPECT_NEAR(texts[2].x, 1.02, 1e-9);
}

TEST(TCurrentRecordPrint, ControlCharactersInValuesPrintAsBlanksInTheirCell)
{
    TCurrentRecordValues values;
    values.fields.insert(QStringLiteral("CODES"), QStringLiteral("A\tB\x01"
                                                                 "C"));
    TCurrentRecordChoices choices = TCurrentRecordChoices::none();
    choices.set(TRecordField::Codes, true);
    const std::vector<SinkCall> texts = record(values, choices).texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[3].text, QStringLiteral("A B C"));
    EXPECT_NEAR(texts[3].x, 2.27, 1e-9);
}

TEST(TCurrentRecordPrint, TheStopFlagEndsTheRunBeforeTheNextLine)
{
    int asked = 0;
    const SpySink spy = record(fixtureRecord(1), TCurrentRecordChoices(), [&asked] { return ++asked > 3; });
    // Header, then three lines of label and value.
    EXPECT_EQ(textsOf(spy),
              (QStringList{QStringLiteral("Page 1"), QStringLiteral("09:05:07"), QStringLiteral("Prefix"),
                           QStringLiteral("Mr."), QStringLiteral("Last"), QStringLiteral("Smith"),
                           QStringLiteral("First"), QStringLiteral("John")}));
}

namespace {

struct WrapCase {
    const char *memo;
    QStringList lines;
};

class MemoWrap : public ::testing::TestWithParam<WrapCase>
{
};

TFontSpec times10()
{
    TFontSpec font;
    font.name = QStringLiteral("Times");
    font.points = 10;
    return font;
}

} // namespace

TEST_P(MemoWrap, KeepsParagraphsAndDropsABlankMemo)
{
    const WrapCase c = GetParam();
    EXPECT_EQ(TCurrentRecordPrint::wrapMemo(QString::fromUtf8(c.memo), times10(), 6.46), c.lines);
}

INSTANTIATE_TEST_SUITE_P(Cases, MemoWrap,
                         ::testing::Values(WrapCase{"", {}}, WrapCase{"    ", {}},
                                           WrapCase{"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
                                           WrapCase{"a\r\n\r\nb", {"a", "", "b"}},
                                           // A TAB would jump to another tab stop; it prints as a blank.
                                           WrapCase{"Tab\tseparated\tnote.", {"Tab separated note."}},
                                           // Two lines of which the second is blank still print as two lines.
                                           WrapCase{"a\r\n  ", {"a", ""}}));

TEST(MemoWrap, LongParagraphsBreakAtBlanksWithinTheWidth)
{
    const QString word = QStringLiteral("alphabet ");
    QString paragraph;
    for (int i = 0; i < 60; ++i)
        paragraph += word;
    const double width = 3.0;
    const QStringList lines = TCurrentRecordPrint::wrapMemo(paragraph.trimmed(), times10(), width);
    ASSERT_GT(lines.size(), 3);
    QImage device(1, 1, QImage::Format_ARGB32);
    device.setDotsPerMeterX(qRound(96 / 0.0254));
    device.setDotsPerMeterY(qRound(96 / 0.0254));
    const QFontMetricsF metrics(TPainterSink::qtFont(times10(), 96, &device), &device);
    QString joined;
    for (const QString &line : lines) {
        EXPECT_LE(metrics.horizontalAdvance(line), width * 96 + 0.01) << line.toStdString();
        EXPECT_TRUE(line.endsWith(QStringLiteral("alphabet"))) << line.toStdString();
        joined += line + QStringLiteral(" ");
    }
    EXPECT_EQ(joined.trimmed(), paragraph.trimmed());
    // A word wider than the line is broken inside.
    const QStringList broken = TCurrentRecordPrint::wrapMemo(QString(400, QLatin1Char('m')), times10(), 1.0);
    EXPECT_GT(broken.size(), 3);
    EXPECT_EQ(broken.join(QString()), QString(400, QLatin1Char('m')));
}
