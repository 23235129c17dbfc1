// The envelope check before a run: a POSTNET or Intelligent Mail barcode outside the barcode
// clear zone (the lower right 4.75 in by 0.625 in) and a FIM away from its place (rightmost
// bar 2 in, within 1/8 in, from the right edge; tops no lower than 1/8 in) are reported, as are
// the label check's thin bars; objects in place give no warning.
#include "TEnvelopePrePrintCheck.h"

#include "QtPrinters.h"
#include "SmallAddressFile.h"
#include "TAddressDataSource.h"
#include "TEnvelopePanel.h"
#include "TEnvelopeSizes.h"
#include "TGFIMBarCode.h"
#include "TGIntelligentMailBarCode.h"
#include "TGOwner.h"
#include "TGPostNetBarCode.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

enum class Kind { PostNet, Imb, Fim };

struct ZoneCase {
    Kind kind;
    int left; // pixels at 96 per inch on a #10 envelope (912 x 396)
    int top;
    const char *warning; // a part of the one warning expected, or nullptr for none
};

class EnvelopeZones : public ::testing::TestWithParam<ZoneCase>
{
protected:
    void SetUp() override
    {
        session = smallfile::session(folder, {{{"LNAME", QStringLiteral("Adams")},
                                               {"STREET", QStringLiteral("123 MAIN ST")},
                                               {"ZIP", QStringLiteral("62704-1234")}}});
        ASSERT_TRUE(session);
        ASSERT_TRUE(session->table().first().ok);
        data = std::make_unique<TAddressDataSource>(session->table());
        surface.setDataSet(data.get());
        surface.setSize(912, 396);
    }

    TGGraphicControl *add(Kind kind, int left, int top)
    {
        std::unique_ptr<TGGraphicControl> made;
        if (kind == Kind::PostNet) {
            auto p = std::make_unique<TGPostNetBarCode>(&owner);
            p->ZipCodeField = QStringLiteral("ZIP");
            p->AddressField = QStringLiteral("STREET");
            made = std::move(p);
        } else if (kind == Kind::Imb) {
            auto p = std::make_unique<TGIntelligentMailBarCode>(&owner);
            p->ChooseSettings(QStringLiteral("00"), QStringLiteral("270"), QStringLiteral("123456"),
                              imbSerialFixed, 42, QString());
            made = std::move(p);
        } else {
            made = std::make_unique<TGFIMBarCode>(&owner);
        }
        TGGraphicControl *o = surface.insertObject(std::move(made));
        o->setLeft(left);
        o->setTop(top);
        surface.WireObject(o);
        surface.RefreshData();
        return o;
    }

    TempDir dir;
    QString folder = QString::fromStdString(dir.path());
    std::unique_ptr<TAddressSession> session;
    std::unique_ptr<TAddressDataSource> data;
    TGOwner owner;
    TEnvelopePanel surface{&owner, 96};
};

TEST_P(EnvelopeZones, AnObjectOutOfItsZoneIsReported)
{
    const ZoneCase c = GetParam();
    add(c.kind, c.left, c.top);
    const QStringList warnings = TEnvelopePrePrintCheck::warnings(surface, TEnvelopeSizes::size(20), 600);
    if (!c.warning) {
        EXPECT_EQ(warnings, QStringList());
        return;
    }
    ASSERT_EQ(warnings.size(), 1) << warnings.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(warnings.first().contains(QLatin1String(c.warning))) << warnings.first().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EnvelopeZones,
    ::testing::Values(
        // The POSTNET's 62 bars run 2.821 in; the zone starts 4.75 in from the right (at 4.75 in)
        // and 0.625 in from the bottom (at 3.5 in).
        ZoneCase{Kind::PostNet, 470, 360, nullptr}, ZoneCase{Kind::PostNet, 456, 336, nullptr},
        ZoneCase{Kind::PostNet, 455, 360, "POSTNET lies outside the barcode clear zone"},
        ZoneCase{Kind::PostNet, 470, 288, "POSTNET lies outside the barcode clear zone"},
        ZoneCase{Kind::PostNet, 672, 360, "POSTNET lies outside the barcode clear zone"}, // past the edge
        ZoneCase{Kind::Imb, 470, 362, nullptr},
        ZoneCase{Kind::Imb, 470, 300, "Intelligent Mail barcode lies outside the barcode clear zone"},
        // The FIM's rightmost bar ends 17/32 in right of its corner: at 669 pixels it is 2 in
        // from the right edge; 657 and 681 pixels are 1/8 in either way.
        ZoneCase{Kind::Fim, 669, 0, nullptr}, ZoneCase{Kind::Fim, 657, 0, nullptr},
        ZoneCase{Kind::Fim, 681, 0, nullptr},
        ZoneCase{Kind::Fim, 636, 0, "rightmost bar stands 2.344 in from the envelope's right edge"},
        ZoneCase{Kind::Fim, 700, 0, "rightmost bar stands 1.677 in"},
        ZoneCase{Kind::Fim, 669, 24, "bars run from 0.250 to 0.813 in below the envelope's top edge"}));

TEST_F(EnvelopeZones, ThinBarsAreReportedAsOnLabels)
{
    add(Kind::PostNet, 470, 360);
    const QStringList warnings = TEnvelopePrePrintCheck::warnings(surface, TEnvelopeSizes::size(20), 300);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings.first().contains(QStringLiteral("thinner than 0.015 in")));
    EXPECT_TRUE(TEnvelopePrePrintCheck::question(warnings).endsWith(
        QStringLiteral("\r\n\r\nWould you like to try printing anyways?")));
}

} // namespace
