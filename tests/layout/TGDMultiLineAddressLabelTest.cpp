// The address block: which lines it builds from a record, where the ZIP code goes, the name
// line's middle initial, and a data set that lacks a field.
#include "TGDMultiLineAddressLabel.h"
#include "LayoutTestSupport.h"
#include "TGDataPanel.h"
#include "TGOwner.h"
#include "TMemoryDataSource.h"

#include <gtest/gtest.h>

namespace {

class AddressBlock : public ::testing::Test
{
protected:
    void SetUp() override
    {
        freshRegistry({TGSurfaceKind::Label});
        surface.setSize(400, 300);
        surface.setDataSet(&record);
        block = static_cast<TGDMultiLineAddressLabel *>(
            surface.insertObject(std::make_unique<TGDMultiLineAddressLabel>(&owner)));
        surface.WireObject(block);
        record.set(QStringLiteral("PREFIX"), QStringLiteral("Dr"));
        record.set(QStringLiteral("FNAME"), QStringLiteral("Ann"));
        record.set(QStringLiteral("MIDDLE"), QStringLiteral("B"));
        record.set(QStringLiteral("LNAME"), QStringLiteral("Lee"));
        record.set(QStringLiteral("STREET"), QStringLiteral("123 Main St"));
        record.set(QStringLiteral("CITY"), QStringLiteral("c"));
        record.set(QStringLiteral("STATE"), QStringLiteral("s"));
        record.set(QStringLiteral("ZIP"), QStringLiteral("z"));
        record.set(QStringLiteral("COUNTRY"), QStringLiteral("n"));
    }
    QStringList lines()
    {
        surface.RefreshData();
        return block->Items();
    }

    TGOwner owner;
    TMemoryDataSource record;
    TGDataPanel surface{&owner, 96};
    TGDMultiLineAddressLabel *block = nullptr;
};

struct MiddleCase {
    const char *middle;
    const char *nameLine;
};
class MiddleName : public AddressBlock, public ::testing::WithParamInterface<MiddleCase>
{
};
TEST_P(MiddleName, OnlyAnInitialTakesAFullStop)
{
    record.set(QStringLiteral("MIDDLE"), QLatin1String(GetParam().middle));
    EXPECT_EQ(lines().value(0).toStdString(), GetParam().nameLine);
}
INSTANTIATE_TEST_SUITE_P(Cases, MiddleName,
                         ::testing::Values(MiddleCase{"B", "Dr Ann B. Lee "}, MiddleCase{"", "Dr Ann Lee "},
                                           MiddleCase{"B.", "Dr Ann B. Lee "},
                                           MiddleCase{"Robert", "Dr Ann Robert Lee "},
                                           MiddleCase{" ", "Dr Ann Lee "}));

struct ZipCase {
    TZipOptions option;
    const char *cityLine;
    const char *countryLine;
};
class ZipPlace : public AddressBlock, public ::testing::WithParamInterface<ZipCase>
{
};
TEST_P(ZipPlace, ZipGoesWhereTheOptionSays)
{
    block->ZipOptions = GetParam().option;
    const QStringList expected = {QStringLiteral("Dr Ann B. Lee "), QStringLiteral("123 Main St"),
                                  QLatin1String(GetParam().cityLine), QLatin1String(GetParam().countryLine)};
    EXPECT_EQ(lines(), expected);
}
INSTANTIATE_TEST_SUITE_P(Cases, ZipPlace,
                         ::testing::Values(ZipCase{zoAfterState, "c  s z", "n"},
                                           ZipCase{zoBeforeCity, "z c s ", "n"},
                                           ZipCase{zoAfterCountry, "c s", "n z"},
                                           ZipCase{zoBeforeCountry, "c s", "z n"}));

TEST_F(AddressBlock, ZipStandsAloneWithoutCityAndState)
{
    block->UseCityState = false;
    record.set(QStringLiteral("COUNTRY"), QString());
    EXPECT_EQ(lines(), (QStringList{QStringLiteral("Dr Ann B. Lee "), QStringLiteral("123 Main St"),
                                    QStringLiteral("z")}));
}

TEST_F(AddressBlock, EmptyLinesAreLeftOutAndTheRestMoveUp)
{
    record.set(QStringLiteral("STREET2"), QString());
    record.set(QStringLiteral("TITLE"), QStringLiteral("Physician"));
    block->UsePhone = true;
    record.set(QStringLiteral("PHONE"), QStringLiteral("555-0181"));
    EXPECT_EQ(lines(), (QStringList{QStringLiteral("Dr Ann B. Lee "), QStringLiteral("Physician"),
                                    QStringLiteral("123 Main St"), QStringLiteral("c  s z"),
                                    QStringLiteral("n"), QStringLiteral("555-0181")}));
    // A city line of blanks only is no line either.
    for (const char *f : {"CITY", "STATE", "ZIP"})
        record.set(QLatin1String(f), QString());
    EXPECT_EQ(lines().size(), 5);
}

TEST_F(AddressBlock, UpperCaseConvertsEveryLine)
{
    block->UpperCase = true;
    EXPECT_EQ(lines().value(0).toStdString(), "DR ANN B. LEE ");
    EXPECT_EQ(lines().value(2).toStdString(), "C  S Z");
}

TEST_F(AddressBlock, AMissingFieldKeepsTheLinesBuiltBeforeIt)
{
    record.drop(QStringLiteral("CITY"));
    EXPECT_EQ(lines(), (QStringList{QStringLiteral("Dr Ann B. Lee "), QStringLiteral("123 Main St")}));
}

TEST_F(AddressBlock, DesignViewShowsAPlaceholderAndClearingEmpties)
{
    surface.setDisplayDataValues(false);
    EXPECT_EQ(lines(), QStringList{QStringLiteral("[Address Label]")});
    block->ClearDataValue();
    EXPECT_TRUE(block->Items().isEmpty());
}

} // namespace
