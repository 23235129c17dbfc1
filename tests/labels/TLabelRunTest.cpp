// The label run recorded and printed to PDF: positions in row order under the mask on every
// sheet, copies filling positions, the middle gaps, the current record alone, presorted groups
// with one header label each, the layout file's failures, and a stopped preview keeping its pages.
#include "TLabelRun.h"
#include "TGlabelsTemplates.h"

#include "TGPostNetBarCode.h"
#include "TLabelPrePrintCheck.h"

#include "ReportPdf.h"
#include "SmallAddressFile.h"
#include "TAddressDataSource.h"
#include "TDrawSink.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGLabelPanel.h"
#include "TGOwner.h"
#include "TPdfPrinterService.h"
#include "TPresortFile.h"
#include "TPresortTally.h"
#include "TRecordingReader.h"
#include "TReportFiler.h"
#include "TReportPrinter.h"
#include "TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

constexpr double kPpi = 96.0;

// The texts a job draws, page by page, with the point each was drawn at.
class TextSpy : public TDrawSink
{
public:
    struct Text {
        TInchRect rect;
        double x, y;
        QString text;
    };
    std::vector<std::vector<Text>> pages;
    void beginPage(InchSize) override { pages.emplace_back(); }
    void setPen(const TPenSpec &) override {}
    void setBrush(const TBrushSpec &) override {}
    void setFont(const TFontSpec &) override {}
    void setTextOpaque(bool) override {}
    void rectangle(const TInchRect &) override {}
    void roundRect(const TInchRect &, InchSize) override {}
    void ellipse(const TInchRect &) override {}
    void line(InchPoint, InchPoint) override {}
    void text(bool, const TInchRect &r, InchPoint at, const QString &t) override
    {
        pages.back().push_back({r, at.x.value, at.y.value, t});
    }
    void bitmap(const TInchRect &, const QImage &) override {}
    void graphic(const TInchRect &, const QPicture &) override {}
};

// Cancels the run once it made `limit` steps.
class CancelAfter : public TProgress
{
public:
    explicit CancelAfter(int limit) : m_limit(limit) {}
    void setTotal(int) override {}
    void step() override { ++m_steps; }
    bool cancelled() const override { return m_steps >= m_limit; }

private:
    int m_limit;
    int m_steps = 0;
};

// A label drawn: its page (0-based), its position on the sheet, and the record's last name.
struct Placed {
    int page;
    int position;
    QString name;
    friend bool operator==(const Placed &a, const Placed &b)
    {
        return a.page == b.page && a.position == b.position && a.name == b.name;
    }
    friend std::ostream &operator<<(std::ostream &os, const Placed &p)
    {
        return os << "page " << p.page << " position " << p.position << " " << p.name.toStdString();
    }
};

class LabelRun : public ::testing::Test
{
protected:
    void SetUp() override { makeFile({"Adams", "Baker", "Clark"}); }

    void makeFile(const std::vector<const char *> &names, const std::vector<const char *> &zips = {})
    {
        std::vector<smallfile::Record> records;
        for (size_t i = 0; i < names.size(); ++i)
            records.push_back(
                {{"FNAME", QStringLiteral("Ann")},
                 {"LNAME", QString::fromLatin1(names[i])},
                 {"STREET", QStringLiteral("1 MAIN ST")},
                 {"CITY", QStringLiteral("Springfield")},
                 {"STATE", QStringLiteral("IL")},
                 {"ZIP", i < zips.size() ? QString::fromLatin1(zips[i]) : QStringLiteral("62704")}});
        surface.setDataSet(nullptr);
        data.reset();
        session.reset();
        session = smallfile::session(folder, records);
        ASSERT_TRUE(session);
        ASSERT_TRUE(session->table().first().ok);
        data = std::make_unique<TAddressDataSource>(session->table());
        surface.ClearObjects();
        surface.setDataSet(data.get());
        surface.setSize(252, 96);
        auto *block = static_cast<TGDMultiLineAddressLabel *>(
            surface.insertObject(std::make_unique<TGDMultiLineAddressLabel>(&owner)));
        block->setLeft(0);
        block->setTop(0);
        block->setWidth(240);
        block->setHeight(90);
        surface.WireObject(block);
    }

    TLabelRunOptions options() const
    {
        TLabelRunOptions o;
        o.setup = TLabelSetup::newSetupDefaults(); // 3 x 10, pitches 2.75 x 1.0
        return o;
    }

    // Records the run and answers where each record's label went.
    std::vector<Placed> record(const TLabelRunOptions &o, TProgress &progress = TProgress::none())
    {
        QByteArray stream;
        TReportFiler job;
        job.setStream(&stream);
        TLabelRun::prepareJob(job, o.setup);
        TLabelRun run(surface, session->table(), o);
        run.attach(job);
        job.RunJob(progress);
        lastResult = run.result();
        lastLabels = run.labels();
        lastHeaders = run.headers();
        texts = TextSpy();
        TRecordingReader reader;
        if (!reader.open(stream).ok())
            return {};
        reader.replayAll(texts);
        std::vector<Placed> placed;
        for (size_t page = 0; page < texts.pages.size(); ++page)
            for (const TextSpy::Text &t : texts.pages[page]) {
                const QStringList words = t.text.split(QLatin1Char(' '));
                if (words.size() < 2 || words.first() != QLatin1String("Ann"))
                    continue; // the address's other lines
                placed.push_back({int(page), positionAt(o.setup, t.rect.left, t.rect.top), words.at(1)});
            }
        return placed;
    }

    // The position whose label's corner lies at (x, y), or -1.
    static int positionAt(const TLabelSetup &s, double x, double y)
    {
        for (int i = 0; i < s.labelCount(); ++i) {
            const QPointF o = s.labelOrigin(i);
            if (std::abs(o.x() - x) < 0.02 && std::abs(o.y() - y) < 0.02)
                return i;
        }
        return -1;
    }

    TempDir dir;
    QString folder = QString::fromStdString(dir.path());
    std::unique_ptr<TAddressSession> session;
    std::unique_ptr<TAddressDataSource> data;
    TGOwner owner;
    TGLabelPanel surface{&owner, kPpi};
    TextSpy texts;
    TResult lastResult;
    int lastLabels = 0;
    int lastHeaders = 0;
};

TEST_F(LabelRun, MaskedPositionsStayEmptyOnEverySheet)
{
    TLabelRunOptions o = options();
    o.PositionMask = QVector<bool>(30, false);
    o.PositionMask[0] = o.PositionMask[4] = true;
    EXPECT_EQ(record(o), (std::vector<Placed>{{0, 0, QStringLiteral("Adams")},
                                              {0, 4, QStringLiteral("Baker")},
                                              {1, 0, QStringLiteral("Clark")}}));
    EXPECT_TRUE(lastResult.ok);
    EXPECT_EQ(texts.pages.size(), 2u);
}

TEST_F(LabelRun, AMaskWithNoPositionOfTheSheetIsRefused)
{
    // Kept from a bigger sheet: its one selected position lies past this sheet's 30.
    TLabelRunOptions o = options();
    o.PositionMask = QVector<bool>(200, false);
    o.PositionMask[150] = true;
    EXPECT_TRUE(record(o).empty());
    EXPECT_FALSE(lastResult.ok);
    EXPECT_EQ(lastResult.message, TLabelRun::noPositionMessage());
    EXPECT_EQ(lastLabels, 0);
}

TEST_F(LabelRun, TheMaskReachesEveryPositionOfA300LabelSheet)
{
    TLabelRunOptions o = options();
    o.setup.NbrAcross = 10;
    o.setup.NbrDown = 30;
    o.setup.LblWidth = 0.7f;
    o.setup.HorizPitch = 0.8f;
    o.setup.LblHeight = 0.3f;
    o.setup.VertPitch = 0.33f;
    o.PositionMask = QVector<bool>(300, false);
    o.PositionMask[250] = o.PositionMask[299] = true;
    EXPECT_EQ(record(o), (std::vector<Placed>{{0, 250, QStringLiteral("Adams")},
                                              {0, 299, QStringLiteral("Baker")},
                                              {1, 250, QStringLiteral("Clark")}}));
    EXPECT_EQ(TLabelRun::sizedMask(QVector<bool>(200, false), 300).count(true), 100);
    EXPECT_EQ(TLabelRun::sizedMask(QVector<bool>(300, true), 30).size(), 30);
}

TEST_F(LabelRun, ThreeCopiesFillARowOfAThreeAcrossSheet)
{
    TLabelRunOptions o = options();
    o.NumberOfEach = 3;
    std::vector<Placed> want;
    int position = 0;
    for (const char *name : {"Adams", "Baker", "Clark"})
        for (int k = 0; k < 3; ++k)
            want.push_back({0, position++, QLatin1String(name)});
    EXPECT_EQ(record(o), want);
}

struct GapCase {
    int across;
    std::vector<int> shifted; // columns moved right by the gap
};
class LabelRunGap : public LabelRun, public ::testing::WithParamInterface<GapCase>
{
};

TEST_P(LabelRunGap, TheMiddleGapShiftsTheRightHalf)
{
    const GapCase c = GetParam();
    makeFile({"Adams", "Baker", "Clark", "Davis"});
    TLabelRunOptions o = options();
    o.setup.NbrAcross = c.across;
    o.setup.NbrDown = 2;
    o.setup.MidExtraX = 0.25;
    record(o);
    ASSERT_FALSE(texts.pages.empty());
    std::vector<double> lefts;
    for (const TextSpy::Text &t : texts.pages[0])
        if (t.text.startsWith(QLatin1String("Ann ")))
            lefts.push_back(t.rect.left);
    ASSERT_GE(lefts.size(), size_t(c.across));
    for (int col = 0; col < c.across; ++col) {
        const bool shifted = std::find(c.shifted.begin(), c.shifted.end(), col) != c.shifted.end();
        EXPECT_NEAR(lefts[size_t(col)], o.setup.LeftMarg + col * 2.75 + (shifted ? 0.25 : 0.0), 0.01) << col;
    }
}
INSTANTIATE_TEST_SUITE_P(Cases, LabelRunGap, ::testing::Values(GapCase{2, {1}}, GapCase{3, {1, 2}}));

TEST_F(LabelRun, OnlyTheCurrentRecordPrintsOnceAtTheFirstSelectedPosition)
{
    ASSERT_TRUE(session->table().next().ok); // Baker
    TLabelRunOptions o = options();
    o.onlyCurrent = true;
    o.NumberOfEach = 2;
    o.PositionMask = QVector<bool>(30, true);
    o.PositionMask[0] = false;
    EXPECT_EQ(record(o),
              (std::vector<Placed>{{0, 1, QStringLiteral("Baker")}, {0, 2, QStringLiteral("Baker")}}));
}

// A presorted file: two groups in PRESORT.PSL, one header label each, never copied.
TEST_F(LabelRun, APresortedRunPrintsOneHeaderPerGroupInListOrder)
{
    makeFile({"Adams", "Baker", "Clark", "Davis"}, {"62704", "10001", "62704-1234", "99999"});
    const QString psl = folder + QStringLiteral("/PRESORT.PSL");
    ASSERT_TRUE(TPresortFile::save(psl, {QStringLiteral("** 5-Digit 10001"), QStringLiteral("10001"),
                                         QStringLiteral("** 3-Digit 627"), QStringLiteral("62704")})
                    .ok);
    TLabelRunOptions o = options();
    o.presort = true;
    o.presortPath = psl;
    o.NumberOfEach = 3;
    EXPECT_EQ(record(o), (std::vector<Placed>{{0, 1, QStringLiteral("Baker")},
                                              {0, 3, QStringLiteral("Adams")},
                                              {0, 4, QStringLiteral("Clark")}}));
    EXPECT_EQ(lastHeaders, 2);
    EXPECT_EQ(lastLabels, 3);
    QStringList headers;
    for (const TextSpy::Text &t : texts.pages.at(0))
        if (t.text.startsWith(QLatin1String("**")))
            headers << t.text;
    EXPECT_EQ(headers, (QStringList{QStringLiteral("** 5-Digit 10001"), QStringLiteral("** 3-Digit 627")}));
}

TEST_F(LabelRun, AHeaderLabelIsDrawnInTheLabelsOwnBoxWhenThePitchIsZero)
{
    const QString psl = folder + QStringLiteral("/PRESORT.PSL");
    ASSERT_TRUE(TPresortFile::save(psl, {QStringLiteral("** 5-Digit 62704"), QStringLiteral("62704")}).ok);
    TLabelRunOptions o = options();
    o.setup.NbrAcross = 1;
    o.setup.HorizPitch = 0; // allowed for a single column
    o.presort = true;
    o.presortPath = psl;
    record(o);
    ASSERT_FALSE(texts.pages.empty());
    const TextSpy::Text &header = texts.pages[0].at(0);
    EXPECT_EQ(header.text, QStringLiteral("** 5-Digit 62704"));
    EXPECT_NEAR(header.rect.width(), o.setup.LblWidth, 0.001);
    EXPECT_NEAR(header.rect.height(), o.setup.LblHeight, 0.001);
    EXPECT_NEAR(header.x, o.setup.LeftMarg + 0.15, 0.001);
}

TEST_F(LabelRun, StartingFromTheCurrentRecordThePresortPrintsOnlyFromThereOn)
{
    ASSERT_TRUE(session->table().setOrderTag(QStringLiteral("LNAME")).ok);
    ASSERT_TRUE(session->table().first().ok);
    ASSERT_TRUE(session->table().next().ok); // Baker
    TPresortTally tally;
    ASSERT_TRUE(tally.run(session->table(), TProgress::none(), session->table().recno()).ok);
    const QString psl = folder + QStringLiteral("/PRESORT.PSL");
    ASSERT_TRUE(TPresortFile::save(psl, tally.presortLines()).ok);
    TLabelRunOptions o = options();
    o.presort = true;
    o.presortPath = psl;
    o.presortRange = tally.range();
    QStringList names;
    for (const Placed &p : record(o))
        names << p.name;
    EXPECT_EQ(names, (QStringList{QStringLiteral("Baker"), QStringLiteral("Clark")}));
}

TEST_F(LabelRun, AMissingOrDamagedLayoutLeavesNothingToPrint)
{
    const QString path = folder + QStringLiteral("/BIN00001.L");
    TResult loaded = TLabelRun::loadLayout(surface, path);
    EXPECT_FALSE(loaded.ok);
    EXPECT_EQ(loaded.message,
              QStringLiteral("Label definition file has been removed from the sysdata directory"));
    EXPECT_TRUE(surface.objects().empty());

    makeFile({"Adams"});
    ASSERT_TRUE(surface.SaveToFile(path).ok);
    ASSERT_TRUE(TLabelRun::loadLayout(surface, path).ok);
    EXPECT_EQ(surface.objects().size(), 1u);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray bytes = file.readAll();
    file.resize(0);
    file.write(bytes.left(bytes.size() / 2));
    file.close();
    loaded = TLabelRun::loadLayout(surface, path);
    EXPECT_FALSE(loaded.ok);
    EXPECT_FALSE(loaded.message.isEmpty());
    EXPECT_TRUE(surface.objects().empty());
}

TEST_F(LabelRun, AStoppedPreviewKeepsThePagesMade)
{
    std::vector<const char *> names(70, "Evans");
    makeFile(names);
    CancelAfter progress(40); // pages and labels count as steps
    const std::vector<Placed> placed = record(options(), progress);
    EXPECT_GT(placed.size(), 30u);
    EXPECT_LT(placed.size(), 70u);
    EXPECT_EQ(texts.pages.size(), 2u);
}

TEST_F(LabelRun, PrintedToPdfTheNamesLieAtTheirPositions)
{
    const QString pdf = folder + QStringLiteral("/labels.pdf");
    {
        TPdfPrinterService service(pdf, 600);
        TReportPrinter job(service);
        TLabelRunOptions o = options();
        ASSERT_TRUE(TLabelRun::prepareJob(job, o.setup));
        TLabelRun run(surface, session->table(), o);
        run.attach(job);
        job.RunJob();
        ASSERT_FALSE(job.IsAborted());
    }
    EXPECT_EQ(reportpdf::info(pdf).pages, 1);
    const TLabelSetup s = options().setup;
    int index = 0;
    for (const char *name : {"Adams", "Baker", "Clark"}) {
        bool found = false;
        for (const reportpdf::Word &w : reportpdf::words(pdf, 1))
            if (w.text == QLatin1String(name)) {
                found = true;
                EXPECT_NEAR(w.yMin / 72.0, s.labelOrigin(index).y(), 0.1) << name;
                EXPECT_GT(w.xMin / 72.0, s.labelOrigin(index).x()) << name;
                EXPECT_LT(w.xMin / 72.0, s.labelOrigin(index).x() + s.LblWidth) << name;
            }
        EXPECT_TRUE(found) << name;
        ++index;
    }
}

TEST_F(LabelRun, ThePrinterCalibrationMovesEveryLabelByItsOffsetAndScale)
{
    const QString pdf = folder + QStringLiteral("/labels.pdf");
    // Where each name begins, in inches.
    const auto names = [&](const TPrinterCalibration &calibration) {
        EXPECT_TRUE(session->table().first().ok);
        TPdfPrinterService service(pdf, 600);
        {
            TReportPrinter job(service);
            TLabelRunOptions o = options();
            o.calibration = calibration;
            EXPECT_TRUE(TLabelRun::prepareJob(job, o.setup));
            TLabelRun run(surface, session->table(), o);
            run.attach(job);
            job.RunJob();
            EXPECT_FALSE(job.IsAborted());
        }
        std::vector<QPointF> out;
        for (const char *name : {"Adams", "Baker", "Clark"})
            for (const reportpdf::Word &w : reportpdf::words(pdf, 1))
                if (w.text == QLatin1String(name))
                    out.emplace_back(w.xMin / 72.0, w.yMin / 72.0);
        return out;
    };
    const std::vector<QPointF> plain = names({});
    TPrinterCalibration c;
    c.horizontalOffset = Inches(-0.125);
    c.verticalOffset = Inches(0.375);
    c.verticalScale = 98.0;
    const std::vector<QPointF> moved = names(c);
    ASSERT_EQ(plain.size(), 3u);
    ASSERT_EQ(moved.size(), 3u);
    for (std::size_t i = 0; i < moved.size(); ++i) {
        EXPECT_NEAR(moved[i].x(), plain[i].x() - 0.125, 0.02) << i;
        EXPECT_NEAR(moved[i].y(), plain[i].y() * 0.98 + 0.375, 0.02) << i;
    }
}

TEST_F(LabelRun, AnA4SheetFromTheGlabelsLibraryPrintsItsGrid)
{
    TGlabelsTemplates library;
    library.read(TGlabelsTemplates::defaultFolder());
    const TGlabelsTemplate *sheet = library.find(QStringLiteral("Avery"), QStringLiteral("L7160"));
    if (!sheet)
        GTEST_SKIP() << "glabels-data is not installed (scripts/install-deps.sh installs it)";
    const QString pdf = folder + QStringLiteral("/a4.pdf");
    TLabelRunOptions o = options();
    o.setup = sheet->sheet; // 3 x 7 labels of 63.5 x 38.1 mm on A4
    {
        TPdfPrinterService service(pdf, 600);
        TReportPrinter job(service);
        ASSERT_TRUE(TLabelRun::prepareJob(job, o.setup));
        TLabelRun run(surface, session->table(), o);
        run.attach(job);
        job.RunJob();
        ASSERT_FALSE(job.IsAborted());
    }
    const reportpdf::Info info = reportpdf::info(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_NEAR(info.widthPoints, 595, 1);
    EXPECT_NEAR(info.heightPoints, 842, 1);
    int index = 0;
    for (const char *name : {"Adams", "Baker", "Clark"}) {
        bool found = false;
        for (const reportpdf::Word &w : reportpdf::words(pdf, 1))
            if (w.text == QLatin1String(name)) {
                found = true;
                EXPECT_NEAR(w.yMin / 72.0, o.setup.labelOrigin(index).y(), 0.1) << name;
                EXPECT_GT(w.xMin / 72.0, o.setup.labelOrigin(index).x()) << name;
                EXPECT_LT(w.xMin / 72.0, o.setup.labelOrigin(index).x() + o.setup.LblWidth) << name;
            }
        EXPECT_TRUE(found) << name;
        ++index;
    }
}

TEST_F(LabelRun, ThePrePrintCheckFindsThinBarsBadZipsAndATallAddressBlock)
{
    makeFile({"Adams"}, {"62704"});
    auto *postnet =
        static_cast<TGPostNetBarCode *>(surface.insertObject(std::make_unique<TGPostNetBarCode>(&owner)));
    postnet->setTop(70);
    postnet->ZipCodeField = QStringLiteral("ZIP");
    postnet->AddressField = QStringLiteral("STREET");
    surface.WireObject(postnet);
    surface.RefreshData();
    const TLabelSetup s = options().setup;
    // 600 dots give 9-dot bars, 0.015 in; the block (90 pixels) fits a 1 in label.
    EXPECT_EQ(TLabelPrePrintCheck::warnings(surface, s, 600), QStringList());
    // 300 dots give 4-dot bars, 0.0133 in.
    const QStringList thin = TLabelPrePrintCheck::warnings(surface, s, 300);
    ASSERT_EQ(thin.size(), 1);
    EXPECT_TRUE(thin.first().contains(QStringLiteral("thinner than 0.015 in"))) << thin.first().toStdString();

    makeFile({"Baker"}, {"6270"});
    auto *bad =
        static_cast<TGPostNetBarCode *>(surface.insertObject(std::make_unique<TGPostNetBarCode>(&owner)));
    bad->ZipCodeField = QStringLiteral("ZIP");
    surface.WireObject(bad);
    surface.objects().front()->setHeight(120); // the block: 1.25 in on a 1 in label
    surface.RefreshData();
    EXPECT_EQ(TLabelPrePrintCheck::warnings(surface, s, 600).size(), 2)
        << TLabelPrePrintCheck::warnings(surface, s, 600).join(QLatin1Char('\n')).toStdString();
}

// A PDF printer under another device name, which can be made to keep Letter whatever is asked.
class NamedPrinter : public TPdfPrinterService
{
public:
    NamedPrinter(const QString &pdf, QString name, bool keepsLetter)
        : TPdfPrinterService(pdf, 300), m_name(std::move(name)), m_keepsLetter(keepsLetter)
    {
    }
    QString deviceName() const override { return m_name; }
    bool setPaperSize(int code, InchSize custom) override
    {
        return TPdfPrinterService::setPaperSize(m_keepsLetter ? 1 : code,
                                                m_keepsLetter ? InchSize{} : custom);
    }

private:
    QString m_name;
    bool m_keepsLetter;
};

struct PaperCase {
    const char *paper;
    const char *device;
    bool keepsLetter;
    bool confirmed;
};
class LabelPaper : public ::testing::TestWithParam<PaperCase>
{
};

TEST_P(LabelPaper, IsConfirmedOrAskedAbout)
{
    const PaperCase c = GetParam();
    TempDir dir;
    NamedPrinter service(QString::fromStdString(dir.path()) + QStringLiteral("/p.pdf"),
                         QLatin1String(c.device), c.keepsLetter);
    TReportPrinter job(service);
    TLabelSetup setup = TLabelSetup::newSetupDefaults();
    setup.PaperSize = QLatin1String(c.paper);
    if (setup.PaperSize.startsWith(QLatin1String("USER"))) {
        setup.SheetWidth = 4.0f;
        setup.SheetDepth = 6.0f;
    }
    EXPECT_EQ(TLabelRun::prepareJob(job, setup), c.confirmed);
}
INSTANTIATE_TEST_SUITE_P(Cases, LabelPaper,
                         ::testing::Values(PaperCase{"LTR", "PDF", false, true},
                                           PaperCase{"USERP", "PDF", false, true},
                                           // That driver takes no custom size: never set, always asked.
                                           PaperCase{"USERP", "HP hpfdj 870", false, false},
                                           PaperCase{"LTR", "HP hpfdj 870", false, true},
                                           PaperCase{"USERP", "PDF", true, false}));

TEST(LabelPaperQuestion, NamesTheSheetUpright)
{
    TLabelSetup setup = TLabelSetup::newSetupDefaults();
    setup.PaperSize = QStringLiteral("USERL");
    setup.SheetWidth = 6.0f;
    setup.SheetDepth = 4.0f;
    EXPECT_EQ(
        TLabelRun::paperQuestion(setup),
        QStringLiteral("Unable to confirm that the paper size was set to\r\n\r\n4.00\" by 6.00\"\r\n\r\n"
                       "(you may have the wrong printer selected)\r\n\r\nWould you like to try printing "
                       "anyways?"));
}

} // namespace
