// The catalogue chooser's filter expressions and starting entries, and the shipped catalogue:
// every row makes a sheet that passes the rules of user-defined sheets.
#include "TLabelTemplates.h"

#include "TempDir.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

const QString kBuiltSysdata = QStringLiteral(CORVANTIS_BINARY_DIR "/sysdata/");

// A program folder with a copy of the shipped catalogue.
class Catalogue : public ::testing::Test
{
protected:
    void SetUp() override
    {
        program = qs(dir.path()) + QLatin1Char('/');
        ASSERT_TRUE(QDir().mkpath(program + QStringLiteral("sysdata")));
        for (const char *ext : {".DBF", ".CDX"})
            ASSERT_TRUE(QFile::copy(kBuiltSysdata + QStringLiteral("LBLTPL") + QLatin1String(ext),
                                    program + QStringLiteral("sysdata/LBLTPL") + QLatin1String(ext)));
        const TResult opened = templates.open(program);
        ASSERT_TRUE(opened.ok) << opened.message.toStdString();
    }
    TempDir dir;
    QString program;
    TLabelTemplates templates;
};

} // namespace

TEST(TLabelTemplates, QueryJoinsTheConditionsOfTheChosenEntries)
{
    EXPECT_EQ(TLabelTemplates::BuildLabelQuery(QStringLiteral("Avery Laserjet"), 0, false),
              QStringLiteral(" UPPER(manufac)=\"AVERY\"  and  UPPER(printer)=\"LJ\"  and  "
                             "UPPER(PRODTYPE)=\"ADDRESS/SHIPPING LABELS\" "));
    EXPECT_EQ(TLabelTemplates::BuildLabelQuery(QStringLiteral("Costar LabelPrinter"), 6, true),
              QStringLiteral(" UPPER(manufac)=\"COSTAR\"  and  UPPER(printer)=\"LP\"  and  "
                             "(\"A4\"$UPPER(PAPERSIZE) OR \"A5\"$UPPER(PAPERSIZE))"));
    EXPECT_EQ(TLabelTemplates::BuildLabelQuery(QStringLiteral("Other"), 6, false), QString());
}

struct ComboCase {
    const char *manufac, *printer, *prodType;
    int manufacturer, product;
    bool findByName;
};
class PositionCombos : public ::testing::TestWithParam<ComboCase>
{
};
TEST_P(PositionCombos, StartsFromTheSetupsMakerPrinterAndProduct)
{
    const ComboCase c = GetParam();
    TLabelSetup s;
    s.Manufac = QLatin1String(c.manufac);
    s.Printer = QLatin1String(c.printer);
    s.ProdType = QLatin1String(c.prodType);
    const TLabelComboChoice choice = TLabelTemplates::PositionLabelCombos(s);
    EXPECT_EQ(choice.manufacturer, c.manufacturer);
    EXPECT_EQ(choice.product, c.product);
    EXPECT_EQ(choice.findByName, c.findByName);
}
INSTANTIATE_TEST_SUITE_P(Cases, PositionCombos,
                         ::testing::Values(ComboCase{"AVERY", "IJ", "card products", 1, 1, true},
                                           ComboCase{"AVERY", "DM", "INDEX PRODUCTS", 2, 4, true},
                                           ComboCase{"COSTAR", "LP", "ADDRESS LABELS", 3, 6, true},
                                           // A user-defined sheet starts from Avery / laser / address.
                                           ComboCase{"USER", "", "", 0, 0, false},
                                           // NEBS has no entry: the first one.
                                           ComboCase{"NEBS", "DM", "MISCELLANEOUS", 0, 5, true}));

TEST_F(Catalogue, EveryShippedRowPassesTheRulesOfUserDefinedSheets)
{
    QVector<TLabelTemplateRow> rows;
    ASSERT_TRUE(templates.allRows(rows).ok);
    EXPECT_EQ(rows.size(), 87);
    for (const TLabelTemplateRow &row : rows) {
        EXPECT_EQ(row.sheet.invalidColumn(), QString()) << row.sheet.Description.toStdString();
        EXPECT_EQ(row.sheet.validLabelMessage(), QString()) << row.sheet.Description.toStdString();
    }
    EXPECT_TRUE(templates.invalidRows().isEmpty());
}

TEST_F(Catalogue, EuropeanFilterWithAllListsEveryA4AndA5SheetOfTheMaker)
{
    QVector<TLabelTemplateRow> all;
    ASSERT_TRUE(templates.allRows(all).ok);
    int expected = 0;
    for (const TLabelTemplateRow &row : all) {
        const QString paper = row.sheet.PaperSize.toUpper();
        if (row.sheet.Manufac.toUpper() == QLatin1String("AVERY") &&
            row.sheet.Printer.toUpper() == QLatin1String("LJ") &&
            (paper.contains(QLatin1String("A4")) || paper.contains(QLatin1String("A5"))))
            ++expected;
    }
    ASSERT_GT(expected, 0);
    ASSERT_TRUE(
        templates.setQuery(TLabelTemplates::BuildLabelQuery(QStringLiteral("Avery Laserjet"), 6, true)).ok);
    EXPECT_EQ(templates.rows().size(), expected);
    for (const TLabelTemplateRow &row : templates.rows())
        EXPECT_TRUE(row.sheet.PaperSize.toUpper().startsWith(QLatin1String("A")));
    // Listed in the order of the DESCRIPT tag.
    for (int i = 1; i < templates.rows().size(); ++i)
        EXPECT_LE(templates.rows().at(i - 1).sheet.Description.toUpper(),
                  templates.rows().at(i).sheet.Description.toUpper());
}

TEST(TLabelTemplates, MissingCatalogueCannotBeOpened)
{
    TempDir dir;
    const QString program = qs(dir.path()) + QLatin1Char('/');
    QDir().mkpath(program + QStringLiteral("sysdata"));
    TLabelTemplates templates;
    const TResult opened = templates.open(program);
    EXPECT_FALSE(opened.ok);
    EXPECT_EQ(opened.message, QStringLiteral("Unable to Open LBLTPL.DBF"));
}
