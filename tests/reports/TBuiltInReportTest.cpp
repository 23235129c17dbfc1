// The four built-in reports printed to PDF over small address files and read back: page size
// and count, the header, the columns and which records print.
#include "TBuiltInReport.h"

#include "QtPrinters.h"
#include "ReportPdf.h"
#include "SmallAddressFile.h"
#include "TDateText.h"
#include "TPdfPrinterService.h"
#include "TProgress.h"
#include "TReportPrinter.h"
#include "TReportRun.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace {

using smallfile::Record;

const QDate kDate(2026, 3, 14);

std::vector<Record> people()
{
    return {
        {{"LNAME", QStringLiteral("Smith")},
         {"FNAME", QStringLiteral("John")},
         {"MIDDLE", QStringLiteral("Q")},
         {"STREET", QStringLiteral("12 Oak St")},
         {"CITY", QStringLiteral("San Francisco")},
         {"STATE", QStringLiteral("CA")},
         {"ZIP", QStringLiteral("94110")},
         {"PHONE", QStringLiteral("415-555-0100")},
         {"FAX", QStringLiteral("415-555-0199")},
         {"ORG", QStringLiteral("Acme Tools")}},
        {{"LNAME", QStringLiteral("Jones")},
         {"FNAME", QStringLiteral("Ann")},
         {"PREFIX", QStringLiteral("Deleted")},
         {"ORG", QStringLiteral("Birch Co")}},
        {{"LNAME", QStringLiteral("Hidden")},
         {"FNAME", QStringLiteral("Gone")},
         {"ISDEL", QStringLiteral("T")}},
        {{"LNAME", QStringLiteral("Marked")}, {"FNAME", QStringLiteral("Gone")}, {"*marked", QString()}},
        {{"LNAME", QString()}, {"FNAME", QStringLiteral("Cher")}},
        {{"LNAME", QStringLiteral("'Tis")},
         {"FNAME", QStringLiteral("Amy")},
         {"ORG", QStringLiteral("Cedar Ltd")}},
    };
}

class CancelAfterSteps : public TProgress
{
public:
    explicit CancelAfterSteps(int steps) : m_left(steps) {}
    void setTotal(int) override {}
    void step() override { --m_left; }
    bool cancelled() const override { return m_left <= 0; }

private:
    int m_left;
};

class BuiltInReport : public ::testing::Test
{
protected:
    void open(const std::vector<Record> &records)
    {
        session = smallfile::session(qs(dir.path()), records);
        ASSERT_TRUE(session);
    }
    // Prints `report` over the chosen records into pdf; answers the pages.
    int print(int report, TOutputRecordsChoice choice = {TRecordChoice::All, false}, InchSize paper = {},
              TProgress &progress = TProgress::none(), TBuiltInReportOptions options = {})
    {
        TPdfPrinterService service(pdf);
        if (paper.width > Inches(0)) {
            EXPECT_TRUE(service.setPaperSize(paper.height > Inches(0) ? 0 : 9, paper));
        }
        TReportPrinter job(service);
        TReportRun run(*session);
        const TOutputStart start = run.start(TBuiltInReport::orderTag(report), choice);
        EXPECT_TRUE(start.result.ok);
        options.report = report;
        options.title = TBuiltInReport::defaultTitle(report);
        options.date = kDate;
        options.singleRecord = choice.records == TRecordChoice::OnlyCurrent;
        TBuiltInReport body(session->table(), options);
        body.attach(job);
        job.RunJob(progress);
        printed = body.printedRecords();
        return job.PageNumber();
    }
    // The lines of the PDF's text between the headings' line and the end of the page.
    static QStringList bodyLines(const QString &page)
    {
        QStringList lines = page.split(QLatin1Char('\n'));
        QStringList out;
        bool inBody = false;
        for (const QString &l : lines) {
            if (inBody && !l.trimmed().isEmpty())
                out.append(l.trimmed());
            if (l.contains(QStringLiteral("Phone")) && !inBody)
                inBody = true;
        }
        return out;
    }

    TempDir dir;
    QString pdf = qs(dir.file("report.pdf"));
    std::unique_ptr<TAddressSession> session;
    int printed = 0;
};

struct TextCase {
    Record record;
    QString name, city, fullName, titleOrg, cityStateZip, phones;
};

TReportRecord recordOf(const Record &fields)
{
    TReportRecord r;
    for (const auto &f : fields) {
        const QLatin1String n(f.first);
        QString *to = n == QLatin1String("LNAME")    ? &r.lname
                      : n == QLatin1String("FNAME")  ? &r.fname
                      : n == QLatin1String("MIDDLE") ? &r.middle
                      : n == QLatin1String("PREFIX") ? &r.prefix
                      : n == QLatin1String("TITLE")  ? &r.title
                      : n == QLatin1String("ORG")    ? &r.org
                      : n == QLatin1String("CITY")   ? &r.city
                      : n == QLatin1String("STATE")  ? &r.state
                      : n == QLatin1String("ZIP")    ? &r.zip
                      : n == QLatin1String("PHONE")  ? &r.phone
                      : n == QLatin1String("FAX")    ? &r.fax
                                                     : nullptr;
        if (to)
            *to = f.second;
    }
    return r;
}

class RecordTexts : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(RecordTexts, FollowTheFilledFields)
{
    const TextCase c = GetParam();
    const TReportRecord r = recordOf(c.record);
    EXPECT_EQ(TBuiltInReport::nameText(r), c.name);
    EXPECT_EQ(TBuiltInReport::cityLine(r), c.city);
    EXPECT_EQ(TBuiltInReport::fullNameText(r), c.fullName);
    EXPECT_EQ(TBuiltInReport::titleAndOrg(r), c.titleOrg);
    EXPECT_EQ(TBuiltInReport::cityStateZip(r), c.cityStateZip);
    EXPECT_EQ(TBuiltInReport::phoneAndFax(r), c.phones);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecordTexts,
    ::testing::Values(TextCase{{{"LNAME", QStringLiteral("Smith")},
                                {"FNAME", QStringLiteral("John")},
                                {"MIDDLE", QStringLiteral("Q")},
                                {"PREFIX", QStringLiteral("Mr.")},
                                {"TITLE", QStringLiteral("CEO")},
                                {"ORG", QStringLiteral("Acme")},
                                {"CITY", QStringLiteral("Reno")},
                                {"STATE", QStringLiteral("NV")},
                                {"ZIP", QStringLiteral("89501")},
                                {"PHONE", QStringLiteral("555-1")},
                                {"FAX", QStringLiteral("555-2")}},
                               QStringLiteral("Smith, John Q."),
                               QStringLiteral("Reno, NV  89501 "),
                               QStringLiteral("Smith, Mr. John Q."),
                               QStringLiteral("CEO, Acme"),
                               QStringLiteral("Reno, NV, 89501"),
                               QStringLiteral("Ph: 555-1  Fax: 555-2  ")},
                      // No last name: reports 1 to 3 start with ", ", report 4 prints no name.
                      TextCase{{{"FNAME", QStringLiteral("Cher")}, {"TITLE", QStringLiteral("Singer")}},
                               QStringLiteral(", Cher "),
                               QString(),
                               QString(),
                               QString(),
                               QString(),
                               QString()},
                      // No first name and no prefix: no blank for them; a title alone prints nothing.
                      TextCase{{{"LNAME", QStringLiteral("Doe")},
                                {"ORG", QStringLiteral("Acme")},
                                {"STATE", QStringLiteral("NV")},
                                {"FAX", QStringLiteral("555-2")}},
                               QStringLiteral("Doe, "),
                               QStringLiteral("NV  "),
                               QStringLiteral("Doe, "),
                               QStringLiteral("Acme"),
                               QStringLiteral(", NV"),
                               QStringLiteral("Fax: 555-2  ")}));

TEST_F(BuiltInReport, Report1PrintsTheHeaderAndOneLinePerRecordInItsColumns)
{
    open(people());
    ASSERT_EQ(print(1), 1);
    const reportpdf::Info info = reportpdf::info(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_NEAR(info.widthPoints, 612, 0.5);
    EXPECT_NEAR(info.heightPoints, 792, 0.5);
    const QStringList pages = reportpdf::pages(pdf);
    ASSERT_EQ(pages.size(), 1);
    const QString &page = pages.first();
    EXPECT_TRUE(page.contains(QStringLiteral("Report 1"))) << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("Page 1")));
    EXPECT_TRUE(page.contains(kDate.toString(TDateText::shortDatePattern())));
    EXPECT_TRUE(page.contains(QRegularExpression(QStringLiteral("Name\\s+Address\\s+City/St/Zip\\s+Phone"))))
        << page.toStdString();
    // The page number and the date end at the section's right edge: the page width less the
    // right margin (0.5 inch).
    const std::vector<reportpdf::Word> words = reportpdf::words(pdf, 1);
    for (size_t i = 0; i + 1 < words.size(); ++i)
        if (words[i].text == QLatin1String("Page")) {
            EXPECT_NEAR(words[i + 1].xMax, 612 - 36, 1.5);
        }
    EXPECT_TRUE(page.contains(QRegularExpression(
        QStringLiteral("Smith, John Q\\.\\s+12 Oak St\\s+San Francisco, CA\\s+94110\\s+415-555-0100"))))
        << page.toStdString();
}

TEST_F(BuiltInReport, AllRecordsAreTheRecordsTheUserCanSeeWhateverThePrefixSays)
{
    open(people());
    print(1);
    const QString page = reportpdf::pages(pdf).value(0);
    // A prefix reading "Deleted" is a person's prefix like any other.
    EXPECT_TRUE(page.contains(QStringLiteral("Jones, Ann"))) << page.toStdString();
    // Records hidden by ISDEL or by the delete mark stay out.
    EXPECT_FALSE(page.contains(QStringLiteral("Hidden")));
    EXPECT_FALSE(page.contains(QStringLiteral("Marked")));
    EXPECT_EQ(printed, 4);
}

TEST_F(BuiltInReport, RecordsWhoseKeySortsBelowZeroArePrintedToo)
{
    open(people());
    // Report 3 sorts by organization: the empty one and "'Tis" come first and print.
    print(3);
    const QStringList lines = bodyLines(reportpdf::pages(pdf).value(0));
    ASSERT_EQ(lines.size(), 4) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(lines.at(0).startsWith(QStringLiteral(", Cher"))) << lines.at(0).toStdString();
    EXPECT_TRUE(lines.at(1).startsWith(QStringLiteral("Acme Tools")));
    // Report 1 sorts by last name: the empty one and the apostrophe come first and print.
    print(1);
    const QStringList byName = bodyLines(reportpdf::pages(pdf).value(0));
    ASSERT_EQ(byName.size(), 4);
    EXPECT_TRUE(byName.at(0).startsWith(QStringLiteral(", Cher")));
    EXPECT_TRUE(byName.at(1).startsWith(QStringLiteral("'Tis, Amy")));
}

TEST_F(BuiltInReport, OnlyCurrentRecordPrintsThatRecordWhateverItsKey)
{
    open(people());
    TAddressTable &table = session->table();
    ASSERT_TRUE(table.goTo(6)); // "'Tis"
    print(1, {TRecordChoice::OnlyCurrent, false});
    const QStringList lines = bodyLines(reportpdf::pages(pdf).value(0));
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines.at(0).startsWith(QStringLiteral("'Tis, Amy")));
    // The run puts the table's order, query and record back.
    EXPECT_EQ(table.recno(), 6u);
    EXPECT_EQ(table.query(), session->recordQuery());
    EXPECT_EQ(table.orderTag().toUpper(), session->orderTag().toUpper());
}

TEST_F(BuiltInReport, Report4KeepsEachRecordsThreeLinesOnOnePage)
{
    std::vector<Record> records;
    for (int i = 10; i < 99; ++i) {
        const QString n = QString::number(i);
        records.push_back({{"LNAME", QStringLiteral("Name") + n},
                           {"FNAME", QStringLiteral("F")},
                           {"STREET", QStringLiteral("Street") + n},
                           {"EMAIL", QStringLiteral("mail") + n},
                           {"COUNTRY", QStringLiteral("USA")}});
    }
    records.push_back({{"FNAME", QStringLiteral("Solo")}, {"STREET", QStringLiteral("NoName St")}});
    open(records);
    const int pages = print(4);
    ASSERT_GE(pages, 2);
    EXPECT_EQ(reportpdf::info(pdf).pages, pages);
    const QStringList texts = reportpdf::pages(pdf);
    int seen = 0;
    for (int p = 0; p < texts.size(); ++p) {
        const QString &page = texts.at(p);
        EXPECT_TRUE(page.contains(QStringLiteral("Page ") + QString::number(p + 1)));
        EXPECT_TRUE(page.contains(QRegularExpression(QStringLiteral("Street\\s+City/State/Zip\\s+Country"))));
        static const QRegularExpression kName(QStringLiteral("Name(\\d\\d), F"));
        for (auto it = kName.globalMatch(page); it.hasNext();) {
            const QString n = it.next().captured(1);
            ++seen;
            EXPECT_TRUE(page.contains(QStringLiteral("Street") + n))
                << "page " << p + 1 << " record " << n.toStdString();
            EXPECT_TRUE(page.contains(QStringLiteral("mail") + n))
                << "page " << p + 1 << " record " << n.toStdString();
        }
    }
    EXPECT_EQ(seen, 89);
    // A record without a last name prints no name, but its other lines.
    const QString all = texts.join(QString());
    EXPECT_TRUE(all.contains(QStringLiteral("NoName St")));
    EXPECT_FALSE(all.contains(QStringLiteral("Solo")));
}

TEST_F(BuiltInReport, RulesFrameTheBodyAndReport4SeparatesItsRecordsInGrey)
{
    open(people());
    print(4);
    const QImage page = reportpdf::render(pdf, 1, 100, qs(dir.file("page")));
    ASSERT_FALSE(page.isNull());
    // x = 7.9 inches: inside the section (1 to 8 inches), right of every value printed here.
    const int x = 790;
    const auto darkest = [&](int from, int to) {
        int d = 255;
        for (int y = from; y <= to; ++y)
            d = std::min(d, qGray(page.pixel(x, y)));
        return d;
    };
    // Black rules at the body's top (1.5 inches) and bottom (11 - 0.5 - 0.5 inches).
    EXPECT_LT(darkest(148, 152), 100);
    EXPECT_LT(darkest(998, 1002), 100);
    // Between them, below each of the four records, a light grey line and nothing darker.
    int greyLines = 0;
    bool inLine = false;
    for (int y = 155; y < 995; ++y) {
        const int g = qGray(page.pixel(x, y));
        EXPECT_GT(g, 140) << "row " << y;
        const bool grey = g < 245;
        if (grey && !inLine)
            ++greyLines;
        inLine = grey;
    }
    EXPECT_EQ(greyLines, 4);
}

TEST_F(BuiltInReport, CodesAndAMemoLongerThanAPageContinueUnderTheHeaderOfEachPage)
{
    QStringList memo;
    for (int i = 1; i <= 150; ++i)
        memo << QStringLiteral("Memo line %1").arg(i);
    open({{{"LNAME", QStringLiteral("Long")},
           {"FNAME", QStringLiteral("Memo")},
           {"CODES", QStringLiteral("ABC XYZ")},
           {"MEMO", memo.join(QStringLiteral("\r\n"))}},
          {{"LNAME", QStringLiteral("Short")}, {"MEMO", QStringLiteral("   ")}}});
    TBuiltInReportOptions options;
    options.printMemo = true;
    options.printCodes = true;
    const int pages = print(2, {TRecordChoice::All, false}, {}, TProgress::none(), options);
    ASSERT_GE(pages, 2);
    const QStringList texts = reportpdf::pages(pdf);
    ASSERT_EQ(texts.size(), pages);
    for (int p = 0; p < pages; ++p) {
        EXPECT_TRUE(texts.at(p).contains(QStringLiteral("Report 2")));
        EXPECT_TRUE(texts.at(p).contains(QStringLiteral("Page ") + QString::number(p + 1)));
    }
    const QString all = texts.join(QString());
    EXPECT_TRUE(all.contains(QStringLiteral("Codes: ABC XYZ")));
    for (int i : {1, 75, 150})
        EXPECT_TRUE(all.contains(QStringLiteral("Memo line %1\n").arg(i))) << i;
    EXPECT_TRUE(all.contains(QStringLiteral("Short,")));
}

TEST_F(BuiltInReport, AMemoOnPaperTooShortForOneLineStillEnds)
{
    // The body section of this paper is shorter than a line. A run that waits for a line to
    // fit would start pages until the safety stop cancels it at 40.
    open({{{"LNAME", QStringLiteral("Tiny")}, {"MEMO", QStringLiteral("one\r\ntwo\r\nthree")}}});
    TBuiltInReportOptions options;
    options.printMemo = true;
    CancelAfterSteps safety(40);
    const int pages = print(1, {TRecordChoice::All, false}, {Inches(8.5), Inches(2.55)}, safety, options);
    EXPECT_LT(pages, 10);
    const QString all = reportpdf::pages(pdf).join(QString());
    for (const char *line : {"one", "two", "three"})
        EXPECT_TRUE(all.contains(QLatin1String(line))) << line;
}

TEST_F(BuiltInReport, OnA4TheColumnsAreScaledToTheSectionAndOnLetterTheyStay)
{
    open(people());
    print(1, {TRecordChoice::All, false}, {Inches(8.27), Inches(0)});
    const reportpdf::Info a4 = reportpdf::info(pdf);
    EXPECT_NEAR(a4.widthPoints, 595, 1);
    EXPECT_NEAR(a4.heightPoints, 842, 1);
    // Everything stays inside the page less its right margin (0.5 inch).
    for (const reportpdf::Word &w : reportpdf::words(pdf, 1))
        EXPECT_LE(w.xMax, a4.widthPoints - 36 + 0.5) << w.text.toStdString();
    const auto phoneAt = [this]() {
        for (const reportpdf::Word &w : reportpdf::words(pdf, 1))
            if (w.text == QLatin1String("415-555-0100"))
                return w.xMin;
        return -1.0;
    };
    const double scaled = phoneAt();
    EXPECT_GT(scaled, 0);
    // Letter: the phone column starts 1 + 1.75 + 2.15 + 2 inches from the paper's left edge.
    print(1);
    EXPECT_NEAR(phoneAt(), 6.9 * 72, 2);
    EXPECT_LT(scaled, 6.9 * 72 - 20);
}

TEST_F(BuiltInReport, ColumnScale)
{
    EXPECT_DOUBLE_EQ(TBuiltInReport::columnScale(1, Inches(8.5), Inches(7.0)), 1.0);
    EXPECT_DOUBLE_EQ(TBuiltInReport::columnScale(1, Inches(11.0), Inches(9.5)), 1.0);
    EXPECT_NEAR(TBuiltInReport::columnScale(1, Inches(8.27), Inches(6.77)), 6.77 / 7.4, 1e-9);
    EXPECT_DOUBLE_EQ(TBuiltInReport::columnScale(4, Inches(8.27), Inches(7.5)), 1.0); // they fit already
}

TEST_F(BuiltInReport, AStoppedRunKeepsThePagesMadeSoFar)
{
    std::vector<Record> records;
    for (int i = 0; i < 300; ++i)
        records.push_back({{"LNAME", QStringLiteral("Person%1").arg(i, 3, 10, QLatin1Char('0'))}});
    open(records);
    // The page steps and record steps share the progress: cancel within the first page.
    CancelAfterSteps stop(10);
    const int pages = print(1, {TRecordChoice::All, false}, {}, stop);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(reportpdf::info(pdf).pages, 1);
    EXPECT_LT(printed, 300);
    EXPECT_GT(printed, 0);
}

// Records that take every path of the cell drawing: values clipped to their columns, letters
// beyond ASCII, "ff"/"fi" pairs, a TAB, empty fields, codes and memos.
std::vector<Record> mixedPeople()
{
    std::vector<Record> out;
    const QString streets[] = {QStringLiteral("12 Oak St"),
                               QStringLiteral("4410 Griffin Officeway Boulevard"),
                               QStringLiteral("Rue de l'Église 7"), QString()};
    const QString cities[] = {QStringLiteral("San Francisco"), QStringLiteral("München"),
                              QStringLiteral("Llanfairpwllgwyngyllgogerychwyrndrobwllllantysiliogogogoch"),
                              QString()};
    for (int i = 0; i < 70; ++i) {
        Record r{
            {"LNAME", QStringLiteral("Name%1").arg(i, 2, 10, QLatin1Char('0'))},
            {"FNAME", i % 5 == 0 ? QString() : QStringLiteral("Jürgen")},
            {"MIDDLE", i % 3 == 0 ? QStringLiteral("Q") : QString()},
            {"PREFIX", i % 4 == 0 ? QStringLiteral("Dr.") : QString()},
            {"TITLE", i % 6 == 0 ? QStringLiteral("Chief Officer") : QString()},
            {"ORG", i % 2 == 0 ? QStringLiteral("Affiliated Staffing\tCo") : QString()},
            {"STREET", streets[i % 4]},
            {"CITY", cities[i % 4]},
            {"STATE", i % 7 == 0 ? QString() : QStringLiteral("CA")},
            {"ZIP", QStringLiteral("9%1").arg(i * 131 % 10000, 4, 10, QLatin1Char('0'))},
            {"COUNTRY", i % 9 == 0 ? QStringLiteral("Österreich") : QString()},
            {"PHONE", QStringLiteral("415-555-%1").arg(i, 4, 10, QLatin1Char('0'))},
            {"FAX", i % 3 == 1 ? QStringLiteral("415-555-9%1").arg(i, 3, 10, QLatin1Char('0')) : QString()},
            {"EMAIL",
             i % 4 == 1 ? QStringLiteral("someone.with.a.long.address%1@example.com").arg(i) : QString()},
            {"DATE", QStringLiteral("2025%1%2")
                         .arg(i % 12 + 1, 2, 10, QLatin1Char('0'))
                         .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))},
            {"CODES", i % 8 == 0 ? QStringLiteral("VIP 2025") : QString()},
            {"MEMO", i % 10 == 3 ? QStringLiteral("First memo line\r\nA second line that is long enough to "
                                                  "wrap at the width of the section, which it does once "
                                                  "or twice before it ends here.")
                                 : QString()}};
        out.push_back(r);
    }
    return out;
}

// The text as pdftotext lays it out, then every word with its box in points, two decimals.
QString printedText(const QString &pdf)
{
    QString out = pdfText(pdf) + QStringLiteral("---\n");
    const int pages = reportpdf::info(pdf).pages;
    for (int p = 1; p <= pages; ++p)
        for (const reportpdf::Word &w : reportpdf::words(pdf, p))
            out += QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                       .arg(p)
                       .arg(w.xMin, 0, 'f', 2)
                       .arg(w.yMin, 0, 'f', 2)
                       .arg(w.xMax, 0, 'f', 2)
                       .arg(w.yMax, 0, 'f', 2)
                       .arg(w.text);
    return out;
}

class PinnedReport : public BuiltInReport, public ::testing::WithParamInterface<int>
{
};

// What each report prints is pinned by a file made from a run that was checked by eye; the
// drawing may get faster, never different. CORVANTIS_WRITE_PINNED=1 writes the files anew.
TEST_P(PinnedReport, PrintsWhatItsPinnedFileHolds)
{
    const int report = GetParam();
    open(mixedPeople());
    TBuiltInReportOptions options;
    options.printCodes = true;
    options.printMemo = true;
    print(report, {TRecordChoice::All, false}, {}, TProgress::none(), options);
    const QString text = printedText(pdf);
    const QString pinned =
        QStringLiteral(CORVANTIS_SOURCE_DIR "/tests/reports/fixtures/report%1.txt").arg(report);
    if (!qEnvironmentVariableIsEmpty("CORVANTIS_WRITE_PINNED")) {
        ASSERT_TRUE(writeBytes(pinned, text.toUtf8()));
        return;
    }
    const QStringList expected = QString::fromUtf8(readBytes(pinned)).split(QLatin1Char('\n'));
    const QStringList actual = text.split(QLatin1Char('\n'));
    ASSERT_GT(expected.size(), 100) << pinned.toStdString();
    EXPECT_EQ(actual.size(), expected.size());
    for (qsizetype i = 0; i < std::min(actual.size(), expected.size()); ++i)
        ASSERT_EQ(actual.at(i).toStdString(), expected.at(i).toStdString()) << "line " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(Reports, PinnedReport, ::testing::Values(1, 2, 3, 4));

} // namespace
