// The data set served from the open address table: the fixture file's current record reaches
// an address block and a memo object through it.
#include "TAddressDataSource.h"
#include "AddressFixture.h"
#include "MultiLineTestSupport.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGDMultiLineLabel.h"
#include "TempDir.h"

namespace {

TEST_F(MultiLineSurface, TheOpenTableFeedsTheAddressBlockAndTheMemo)
{
    TempDir dir;
    TAddressTable table;
    ASSERT_TRUE(
        table.OpenTableFile(fixture::copy(QStringLiteral("ADD0001"), QString::fromStdString(dir.path()))).ok);
    ASSERT_TRUE(table.first().ok);
    TAddressDataSource data(table);
    surface.setDataSet(&data);
    EXPECT_EQ(data.displayLabel(data.indexOfName(QStringLiteral("LNAME"))).toStdString(), "Last Name");
    const int memoField = data.indexOfDisplayLabel(QStringLiteral("MEMO"));
    ASSERT_GE(memoField, 0);
    EXPECT_TRUE(data.isMemoField(memoField));
    EXPECT_FALSE(data.isMemoField(data.indexOfName(QStringLiteral("CITY"))));

    auto *block = add<TGDMultiLineAddressLabel>(0, 0);
    auto *memo = add<TGDMultiLineLabel>(0, 100);
    memo->DataFieldDescript = QStringLiteral("MEMO");
    surface.RefreshData();
    EXPECT_EQ(block->Items(),
              (QStringList{QStringLiteral("Mr. John Q. Smith "), QStringLiteral("7388 Congress Ave"),
                           QStringLiteral("San Francisco  CA 94110")}));
    EXPECT_EQ(memo->Items(), (QStringList{QStringLiteral("First line"), QStringLiteral("Second line"),
                                          QStringLiteral("Third line")}));
    // Record 3 is empty: no lines, no memo.
    ASSERT_TRUE(table.goTo(3).ok);
    surface.RefreshData();
    EXPECT_TRUE(block->Items().isEmpty());
    EXPECT_TRUE(memo->Items().isEmpty());
    surface.setDataSet(nullptr);
}

} // namespace
