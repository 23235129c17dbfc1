// Intelligent Mail barcodes: the bars agree with an independent encoder and with the published
// examples, and bad input gives no bars.
#include "TIntelligentMailEncoder.h"
#include "ZintOracle.h"

#include <gtest/gtest.h>

namespace {

struct ImbCase {
    const char *tracking;
    const char *routing;
    const char *bars; // the published bars, or null
};

class AgreesWithZint : public ::testing::TestWithParam<ImbCase>
{
};

TEST_P(AgreesWithZint, SameBars)
{
    const ImbCase c = GetParam();
    const TIntelligentMailSymbol s =
        TIntelligentMailEncoder::encode(QLatin1String(c.tracking), QLatin1String(c.routing));
    ASSERT_TRUE(s.error.isEmpty()) << s.error.toStdString();
    ASSERT_EQ(s.bars.size(), TIntelligentMailEncoder::kBarCount);
    if (c.bars) {
        EXPECT_EQ(s.bars.toStdString(), c.bars);
    }
    const QString oracle = zintIntelligentMail(QLatin1String(c.tracking), QLatin1String(c.routing));
    ASSERT_FALSE(oracle.isEmpty()) << "zint could not be run (scripts/install-deps.sh installs it)";
    EXPECT_EQ(s.bars.toStdString(), oracle.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AgreesWithZint,
    ::testing::Values(
        // The four examples of the USPS barcode publication.
        ImbCase{"01234567094987654321", "",
                "ATTFATTDTTADTAATTDTDTATTDAFDDFADFDFTFFFFFTATFAAAATDFFTDAADFTFDTDT"},
        ImbCase{"01234567094987654321", "01234",
                "DTTAFADDTTFTDTFTFDTDDADADAFADFATDDFTAAAFDTTADFAAATDFDTDFADDDTDFFT"},
        ImbCase{"01234567094987654321", "012345678",
                "ADFTTAFDTTTTFATTADTAAATFTFTATDAAAFDDADATATDTDTTDFDTDATADADTDFFTFA"},
        ImbCase{"01234567094987654321", "01234567891",
                "AADTFFDFTDADTAADAATFDTDDAAADDTDTTDAFADADDDTFFFDDTTTADFAAADFTDAADA"},
        // Every length of routing code, the ends of the value range, 6- and 9-digit mailer IDs.
        ImbCase{"00000000000000000000", "", nullptr}, ImbCase{"00000000000000000000", "00000", nullptr},
        ImbCase{"00000000000000000000", "000000000", nullptr},
        ImbCase{"00000000000000000000", "00000000000", nullptr}, ImbCase{"94999999999999999999", "", nullptr},
        ImbCase{"94999999999999999999", "99999", nullptr},
        ImbCase{"94999999999999999999", "999999999", nullptr},
        ImbCase{"94999999999999999999", "99999999999", nullptr},
        ImbCase{"00040123456000000001", "12345", nullptr},
        ImbCase{"00270901234567000123", "123456789", nullptr},
        ImbCase{"50310567094000012345", "20500000300", nullptr},
        ImbCase{"10200999999999000001", "90210", nullptr},
        ImbCase{"41300123456987654321", "606012345", nullptr},
        ImbCase{"00300901234560000042", "30301123401", nullptr},
        ImbCase{"21401654321000000009", "09012345699", nullptr}, ImbCase{"03700123456123456789", "", nullptr},
        ImbCase{"84080987654000054321", "80202555599", nullptr},
        ImbCase{"12345678901234567890", "11111", nullptr},
        ImbCase{"70141000000000000000", "00501", nullptr}));

struct RefusedCase {
    const char *tracking;
    const char *routing;
};
class Refused : public ::testing::TestWithParam<RefusedCase>
{
};
TEST_P(Refused, NoBarsAndAMessage)
{
    const TIntelligentMailSymbol s = TIntelligentMailEncoder::encode(QLatin1String(GetParam().tracking),
                                                                     QLatin1String(GetParam().routing));
    EXPECT_TRUE(s.bars.isEmpty());
    EXPECT_FALSE(s.error.isEmpty());
}
INSTANTIATE_TEST_SUITE_P(Cases, Refused,
                         ::testing::Values(RefusedCase{"0123456709498765432", ""},      // 19 digits
                                           RefusedCase{"012345670949876543210", ""},    // 21 digits
                                           RefusedCase{"01234567094987654321", "1234"}, // 4-digit route
                                           RefusedCase{"01234567094987654321", "1234567890"},
                                           RefusedCase{"05234567094987654321", ""}, // second digit 5
                                           RefusedCase{"0123456709498765432A", ""},
                                           RefusedCase{"01234567094987654321", "12 45"}));

} // namespace
