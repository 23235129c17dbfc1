// The gLabels template reader on a small file of our own, on damaged bytes, and, where Debian's
// glabels-data is installed, on its whole library.
#include "TGlabelsTemplates.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

const QString kData = QStringLiteral(CORVANTIS_SOURCE_DIR "/tests/labels/data/");

const QByteArray kPapers = R"(<Glabels-paper-sizes>
  <Paper-size id="A4" _name="A4" width="210mm" height="297mm"/>
  <Paper-size id="US-Letter" _name="US Letter" width="8.5in" height="11in"/>
</Glabels-paper-sizes>)";

} // namespace

struct LengthCase {
    const char *text;
    bool ok;
    double inches;
};
class GlabelsLength : public ::testing::TestWithParam<LengthCase>
{
};
TEST_P(GlabelsLength, ReadsEveryUnitOfTheFormat)
{
    const LengthCase c = GetParam();
    double inches = -1;
    EXPECT_EQ(TGlabelsTemplates::parseLength(QLatin1String(c.text), inches), c.ok);
    if (c.ok) {
        EXPECT_NEAR(inches, c.inches, 1e-9);
    }
}
INSTANTIATE_TEST_SUITE_P(Cases, GlabelsLength,
                         ::testing::Values(LengthCase{"2.625in", true, 2.625},
                                           LengthCase{"25.4mm", true, 1.0}, LengthCase{"2.54cm", true, 1.0},
                                           LengthCase{"72pt", true, 1.0}, LengthCase{"36", true, 0.5},
                                           LengthCase{"6pc", true, 1.0}, LengthCase{"", false, 0},
                                           LengthCase{"abcmm", false, 0}, LengthCase{"-1in", false, 0}));

TEST(TGlabelsTemplates, ListsTheSheetsTheModelHoldsAndSaysWhyOthersAreLeftOut)
{
    TGlabelsTemplates t;
    t.readPaperSizes(kPapers);
    t.readTemplates(readBytes(kData + QStringLiteral("test-templates.xml")),
                    QStringLiteral("test-templates.xml"));
    t.resolveEquivalents();
    EXPECT_TRUE(t.errors().isEmpty()) << t.errors().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(t.entryCount(), 7);

    const TGlabelsTemplate *a = t.find(QStringLiteral("testco"), QStringLiteral("100"));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->sheet.NbrAcross, 3);
    EXPECT_EQ(a->sheet.NbrDown, 10);
    EXPECT_FLOAT_EQ(a->sheet.LblWidth, 2.625f);
    EXPECT_FLOAT_EQ(a->sheet.HorizPitch, 2.78125f);
    EXPECT_FLOAT_EQ(a->sheet.LeftMarg, 0.15625f);
    EXPECT_EQ(a->sheet.PaperSize, QStringLiteral("LTR"));
    EXPECT_EQ(a->sheet.LblShape, QStringLiteral("RR"));
    EXPECT_EQ(a->sheet.Manufac, QStringLiteral("USER"));
    EXPECT_EQ(a->sheet.TplDescrip, QStringLiteral("Testco 100"));
    EXPECT_EQ(a->sheet.Description, QStringLiteral("Testco 100 Address Labels"));

    const TGlabelsTemplate *e = t.find(QStringLiteral("Testco"), QStringLiteral("101"));
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->isEquivalent);
    EXPECT_FLOAT_EQ(e->sheet.LblWidth, 2.625f);
    EXPECT_EQ(e->sheet.TplDescrip, QStringLiteral("Testco 101"));

    const TGlabelsTemplate *r = t.find(QStringLiteral("Testco"), QStringLiteral("200"));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->sheet.LblShape, QStringLiteral("EL"));
    EXPECT_NEAR(r->sheet.LblWidth, 40 / 25.4, 1e-6);
    EXPECT_EQ(r->sheet.PaperSize, QStringLiteral("A4"));
    EXPECT_FLOAT_EQ(r->sheet.SheetWidth, 8.27f);

    const TGlabelsTemplate *o = t.find(QStringLiteral("Testco"), QStringLiteral("300"));
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->sheet.PaperSize, QStringLiteral("USERP"));
    EXPECT_FLOAT_EQ(o->sheet.SheetDepth, 6.0f);
    EXPECT_FLOAT_EQ(o->sheet.LblHeight, 6.0f);
    EXPECT_EQ(o->sheet.LblShape, QStringLiteral("SR"));

    EXPECT_EQ(t.templates().size(), 4);
    EXPECT_EQ(t.skipped().size(), 3) << t.skipped().join(QLatin1Char('\n')).toStdString();
    for (const TGlabelsTemplate &x : t.templates())
        EXPECT_TRUE(x.sheet.validLabelMessage().isEmpty());
}

TEST(TGlabelsTemplates, DamagedFilesAreNamedAndNeverCrash)
{
    const QByteArray good = readBytes(kData + QStringLiteral("test-templates.xml"));
    ASSERT_FALSE(good.isEmpty());
    for (qsizetype cut : {qsizetype(10), good.size() / 3, good.size() / 2, good.size() - 5}) {
        TGlabelsTemplates t;
        t.readPaperSizes(kPapers);
        t.readTemplates(good.left(cut), QStringLiteral("cut.xml"));
        t.resolveEquivalents();
        EXPECT_EQ(t.errors().size(), 1) << cut;
        for (const TGlabelsTemplate &x : t.templates())
            EXPECT_TRUE(x.sheet.invalidColumn().isEmpty());
    }
    TGlabelsTemplates t;
    t.readTemplates(
        QByteArray("<Glabels-templates><Template brand=\"X\" part=\"1\" size=\"A4\">"
                   "<Label-rectangle width=\"-3in\" height=\"nan\"><Layout nx=\"99999999999\" ny=\"x\"/>"
                   "</Label-rectangle></Template></Glabels-templates>"),
        QStringLiteral("bad.xml"));
    EXPECT_TRUE(t.templates().isEmpty());
    EXPECT_EQ(t.skipped().size(), 1);
    // A folder that does not exist reads nothing.
    TGlabelsTemplates none;
    none.read(QStringLiteral("/nonexistent/glabels"));
    EXPECT_EQ(none.entryCount(), 0);
    EXPECT_TRUE(none.errors().isEmpty());
}

TEST(TGlabelsTemplates, InstalledLibraryParsesWholeAndHoldsAvery5160)
{
    const QString folder = TGlabelsTemplates::defaultFolder();
    if (!QDir(folder).exists())
        GTEST_SKIP() << "glabels-data is not installed (scripts/install-deps.sh installs it)";
    TGlabelsTemplates t;
    t.read(folder);
    EXPECT_TRUE(t.errors().isEmpty()) << t.errors().join(QLatin1Char('\n')).toStdString();
    EXPECT_GT(t.entryCount(), 1500);
    // Every entry is either listed or left out with its reason.
    EXPECT_EQ(t.templates().size() + t.skipped().size(), t.entryCount());
    EXPECT_GT(t.templates().size(), 1000);
    for (const TGlabelsTemplate &x : t.templates()) {
        EXPECT_TRUE(x.sheet.invalidColumn().isEmpty()) << x.sheet.Description.toStdString();
        EXPECT_TRUE(x.sheet.validLabelMessage().isEmpty()) << x.sheet.Description.toStdString();
    }
    const TGlabelsTemplate *avery = t.find(QStringLiteral("Avery"), QStringLiteral("5160"));
    ASSERT_NE(avery, nullptr);
    EXPECT_EQ(avery->sheet.NbrAcross, 3);
    EXPECT_EQ(avery->sheet.NbrDown, 10);
    EXPECT_FLOAT_EQ(avery->sheet.LblWidth, 2.625f);
    EXPECT_FLOAT_EQ(avery->sheet.LblHeight, 1.0f);
    EXPECT_EQ(avery->sheet.PaperSize, QStringLiteral("LTR"));
    const TGlabelsTemplate *equivalent = t.find(QStringLiteral("Avery"), QStringLiteral("8160"));
    ASSERT_NE(equivalent, nullptr);
    EXPECT_FLOAT_EQ(equivalent->sheet.LblWidth, 2.625f);
}
