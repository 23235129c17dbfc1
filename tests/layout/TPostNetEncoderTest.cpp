// POSTNET symbols: the shared fixtures' bars, the delivery-point rule and the lengths a
// symbol may have.
#include "TPostNetEncoder.h"
#include "BarcodeFixtures.h"

#include <gtest/gtest.h>

namespace {

TBarCodeType typeNamed(const QString &name)
{
    for (int i = 0; i < TBarCodeTypeCount; ++i)
        if (name == QLatin1String(TBarCodeTypeNames[i]))
            return static_cast<TBarCodeType>(i);
    ADD_FAILURE() << "unknown type " << name.toStdString();
    return pnbc11Digit;
}

TEST(TPostNetEncoder, GivesTheFixturesBars)
{
    const QList<FixtureRow> rows = barcodeFixture(QStringLiteral("postnet.csv"));
    ASSERT_GE(rows.size(), 19);
    for (const FixtureRow &row : rows) {
        SCOPED_TRACE(row.value(QStringLiteral("id")).toStdString());
        const TPostNetSymbol s = TPostNetEncoder::encode(
            row.value(QStringLiteral("zip_text")), row.value(QStringLiteral("address")),
            typeNamed(row.value(QStringLiteral("barcode_type"))));
        EXPECT_EQ(s.bars.toStdString(), row.value(QStringLiteral("bars")).toStdString());
        EXPECT_EQ(s.bars.size(), row.value(QStringLiteral("bar_count")).toInt());
        EXPECT_EQ(s.digits.toStdString(), row.value(QStringLiteral("data_digits")).toStdString());
        if (!s.isEmpty()) {
            EXPECT_EQ(s.checkDigit, row.value(QStringLiteral("check_digit")).toInt());
        }
        const QString dp = row.value(QStringLiteral("dp_digits"));
        if (!dp.isEmpty()) {
            EXPECT_EQ(TPostNetEncoder::deliveryPoint(row.value(QStringLiteral("address"))).toStdString(),
                      dp.toStdString());
        }
    }
}

struct DeliveryCase {
    const char *address;
    const char *digits;
};
class DeliveryPoint : public ::testing::TestWithParam<DeliveryCase>
{
};
TEST_P(DeliveryPoint, LastTwoDigitsOfTheRightMostNumber)
{
    EXPECT_EQ(TPostNetEncoder::deliveryPoint(QLatin1String(GetParam().address)).toStdString(),
              GetParam().digits);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, DeliveryPoint,
    ::testing::Values(DeliveryCase{"123 MAIN ST", "23"}, DeliveryCase{"5 ELM ST", "05"},
                      DeliveryCase{"12 1/2 OAK AVE", "12"}, DeliveryCase{"401 42ND ST", "01"},
                      DeliveryCase{"PO BOX 4", "04"}, DeliveryCase{"MAIN STREET", "99"},
                      DeliveryCase{"", "99"}, DeliveryCase{"401 42nd st", "01"}, DeliveryCase{"APT 4B", "04"},
                      // APO and FPO count only as words of their own.
                      DeliveryCase{"PSC 1234 BOX 56 APO AE", "99"}, DeliveryCase{"USS OHIO FPO AP", "99"},
                      DeliveryCase{"APO", "99"}, DeliveryCase{"12 NAPOLEON AVE", "12"},
                      DeliveryCase{"123 CAPONE ST", "23"}, DeliveryCase{"77 FPOINT RD", "77"}));

struct LengthCase {
    const char *zip;
    TBarCodeType type;
    int bars;
};
class SymbolLength : public ::testing::TestWithParam<LengthCase>
{
};
TEST_P(SymbolLength, OnlyWholeSymbols)
{
    const LengthCase c = GetParam();
    EXPECT_EQ(
        TPostNetEncoder::encode(QLatin1String(c.zip), QStringLiteral("123 MAIN ST"), c.type).bars.size(),
        c.bars);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, SymbolLength,
    ::testing::Values(LengthCase{"12345", pnbc11Digit, 32}, LengthCase{"12345", pnbc9Digit, 32},
                      LengthCase{"12345-6789", pnbc11Digit, 62}, LengthCase{"12345-6789", pnbc9Digit, 52},
                      LengthCase{"12345-6789", pnbc5Digit, 32}, LengthCase{"12345-67", pnbc11Digit, 0},
                      LengthCase{"123456789012", pnbc9Digit, 0}, LengthCase{"1234", pnbc5Digit, 0},
                      LengthCase{"K1A 0B1", pnbc5Digit, 0}, LengthCase{"", pnbc11Digit, 0},
                      LengthCase{"12345-678901", pnbc11Digit, 0}));

TEST(TPostNetEncoder, CorrectionDigitCompletesTheSum)
{
    EXPECT_EQ(TPostNetEncoder::correctionDigit(QStringLiteral("12345678923")), 0); // sum 50
    EXPECT_EQ(TPostNetEncoder::correctionDigit(QStringLiteral("12345")), 5);       // sum 15
}

} // namespace
