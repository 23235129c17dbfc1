// Memo text: the field found by display label, the design-view and undefined texts, and a
// fixture record's memo wrapped within the width at the same words on screen and on paper.
#include "TGDMultiLineLabel.h"
#include "MultiLineTestSupport.h"
#include "TPdfPrinterService.h"
#include "TReportPrinter.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <QFontMetrics>

namespace {

TEST_F(MultiLineSurface, MemoShowsTheFieldFoundByItsDisplayLabel)
{
    ASSERT_TRUE(record.loadFixtureRecord(1));
    auto *memo = add<TGDMultiLineLabel>(0, 0);
    memo->DataFieldName = QStringLiteral("Memo");
    memo->DataFieldDescript = QStringLiteral("MEMO");
    surface.RefreshData();
    EXPECT_EQ(memo->Items(), (QStringList{QStringLiteral("First line"), QStringLiteral("Second line"),
                                          QStringLiteral("Third line")}));
    surface.setDisplayDataValues(false);
    EXPECT_EQ(memo->Items(), QStringList{QStringLiteral("[MEMO]")});
    memo->DataFieldDescript = QStringLiteral("No such field");
    surface.RefreshData();
    EXPECT_EQ(memo->Items(), QStringList{QStringLiteral("<undefined memo>")});
    // ... which never prints.
    surface.setDisplayDataValues(true);
    EXPECT_TRUE(printed().texts.empty());
    // An empty memo gives no lines.
    ASSERT_TRUE(record.loadFixtureRecord(3));
    memo->DataFieldDescript = QStringLiteral("MEMO");
    surface.RefreshData();
    EXPECT_TRUE(memo->Items().isEmpty());
}

TEST_F(MultiLineSurface, FixtureMemoWrapsAtTheSameWordsOnScreenAndPaper)
{
    ASSERT_TRUE(record.loadFixtureRecord(4));
    auto *memo = add<TGDMultiLineLabel>(24, 24);
    memo->DataFieldDescript = QStringLiteral("MEMO");
    memo->setWidth(260);
    memo->setHeight(300);
    memo->ToggleWordWrap();
    const QStringList screen = memo->Items();
    ASSERT_GT(screen.size(), 3);
    EXPECT_EQ(memo->wrappedLines(), screen);
    const QFontMetrics fm(memo->scaledFont());
    for (const QString &line : screen)
        EXPECT_LE(fm.horizontalAdvance(line), memo->Width()) << line.toStdString();

    // The recording draws exactly those lines, one each (an empty line draws nothing), each
    // one line height below the one before.
    const TextSpy spy = printed();
    std::vector<std::string> paper;
    for (const TextSpy::Text &t : spy.texts)
        paper.push_back(t.text.toStdString());
    std::vector<std::string> expected;
    for (const QString &line : screen)
        if (!line.isEmpty())
            expected.push_back(line.toStdString());
    EXPECT_EQ(paper, expected);

    // And an independent PDF reader finds each printed line on a line of its own.
    TempDir dir;
    const QString pdf = QString::fromStdString(dir.file("memo.pdf"));
    TPdfPrinterService service(pdf, 600);
    TReportPrinter printer(service);
    printer.OnPrint = [&](TBaseReport &job) {
        surface.setPrinting(true);
        surface.RefreshData();
        surface.PrintObjects(job, {Inches(0.5), Inches(0.5)});
        surface.setPrinting(false);
    };
    printer.RunJob();
    ASSERT_FALSE(printer.IsAborted());
    std::vector<std::string> pdfLines;
    for (const QString &line : pdfText(pdf).split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            pdfLines.push_back(line.simplified().toStdString());
    EXPECT_EQ(pdfLines, expected);
}

} // namespace
