// The Intelligent Mail object: its tracking and routing codes from the settings and the record,
// the serial counter, and bars that agree with an independent encoder.
#include "TGIntelligentMailBarCode.h"
#include "MultiLineTestSupport.h"
#include "ZintOracle.h"

namespace {

class ImbObject : public MultiLineSurface
{
protected:
    void SetUp() override
    {
        MultiLineSurface::SetUp();
        imb = add<TGIntelligentMailBarCode>(10, 10);
        imb->ChooseSettings(QStringLiteral("00"), QStringLiteral("270"), QStringLiteral("123456"),
                            imbSerialCounter, 41, QString());
        record.set(QStringLiteral("ZIP"), QStringLiteral("12345-6789"));
        record.set(QStringLiteral("STREET"), QStringLiteral("123 MAIN ST"));
        surface.RefreshData();
    }
    TGIntelligentMailBarCode *imb = nullptr;
};

TEST_F(ImbObject, TrackingAndRoutingComeFromTheSettingsAndTheRecord)
{
    EXPECT_EQ(imb->tracking().toStdString(), "00270123456000000041");
    bool ok = false;
    EXPECT_EQ(imb->routing(&ok).toStdString(), "12345678923");
    EXPECT_TRUE(ok);
    // The counter advances per label and starts again on reset.
    imb->AdvanceCounter();
    EXPECT_EQ(imb->tracking().right(9).toStdString(), "000000042");
    imb->ResetCounter();
    EXPECT_EQ(imb->tracking().right(9).toStdString(), "000000041");
    // A 9-digit mailer ID leaves six digits for the serial; one too long gives no code.
    imb->ChooseSettings(QStringLiteral("01"), QStringLiteral("234"), QStringLiteral("901234567"),
                        imbSerialFixed, 1234567, QString());
    EXPECT_TRUE(imb->tracking().isEmpty());
    EXPECT_TRUE(imb->symbol().isEmpty());
    imb->ChooseSettings(QStringLiteral("01"), QStringLiteral("234"), QStringLiteral("901234567"),
                        imbSerialFixed, 7, QString());
    EXPECT_EQ(imb->tracking().toStdString(), "01234901234567000007");
    // The serial may come from a record field.
    imb->ChooseSettings(QStringLiteral("00"), QStringLiteral("270"), QStringLiteral("123456"), imbSerialField,
                        0, QStringLiteral("PHONE"));
    record.set(QStringLiteral("PHONE"), QStringLiteral("555-0181"));
    surface.RefreshData();
    EXPECT_EQ(imb->tracking().toStdString(), "00270123456005550181");
}

struct ZipCase {
    const char *zip;
    const char *routing; // null: no barcode
};
class ImbRouting : public ImbObject, public ::testing::WithParamInterface<ZipCase>
{
};
TEST_P(ImbRouting, ZipDigitsGiveTheRoutingCode)
{
    record.set(QStringLiteral("ZIP"), QLatin1String(GetParam().zip));
    surface.RefreshData();
    bool ok = false;
    const QString routing = imb->routing(&ok);
    EXPECT_EQ(ok, GetParam().routing != nullptr);
    if (GetParam().routing) {
        EXPECT_EQ(routing.toStdString(), GetParam().routing);
        const QString oracle = zintIntelligentMail(imb->tracking(), routing);
        ASSERT_FALSE(oracle.isEmpty()) << "zint could not be run (scripts/install-deps.sh installs it)";
        EXPECT_EQ(imb->symbol().bars.toStdString(), oracle.toStdString());
    } else {
        EXPECT_TRUE(imb->symbol().isEmpty());
    }
}
INSTANTIATE_TEST_SUITE_P(Cases, ImbRouting,
                         ::testing::Values(ZipCase{"", ""}, ZipCase{"30301", "30301"},
                                           ZipCase{"12345-6789", "12345678923"}, ZipCase{"12345-67", nullptr},
                                           ZipCase{"K1A 0B1", nullptr}));

} // namespace
