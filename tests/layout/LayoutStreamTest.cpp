// Value tags, integer forms, strings, identifiers, colours and the extended float of layout
// streams, and the reader's answers to short and malformed bytes.
#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "LayoutTestSupport.h"
#include "TExtendedFloat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

struct IntCase {
    qint32 value;
    const char *bytes;
};
class IntegerForms : public ::testing::TestWithParam<IntCase>
{
};

TEST_P(IntegerForms, ShortestFormAndBack)
{
    const IntCase c = GetParam();
    LayoutStreamWriter w;
    w.writeInteger(c.value);
    EXPECT_EQ(w.bytes().toHex(), hex(c.bytes).toHex());
    LayoutStreamReader r(w.bytes());
    EXPECT_EQ(r.readInteger(), c.value);
    EXPECT_TRUE(r.atEnd());
}

INSTANTIATE_TEST_SUITE_P(Cases, IntegerForms,
                         ::testing::Values(IntCase{200, "03c800"}, IntCase{-3, "02fd"}, IntCase{0, "0200"},
                                           IntCase{127, "027f"}, IntCase{-128, "0280"},
                                           IntCase{128, "038000"}, IntCase{-129, "037fff"},
                                           IntCase{32767, "03ff7f"}, IntCase{-32768, "030080"},
                                           IntCase{32768, "0400800000"}, IntCase{-32769, "04ff7fffff"},
                                           IntCase{std::numeric_limits<qint32>::min(), "0400000080"}));

TEST(LayoutStream, StringsUpTo255BytesAreShortLongerOnesLong)
{
    LayoutStreamWriter w;
    w.writeString(QString(255, QLatin1Char('a')));
    w.writeString(QString(256, QLatin1Char('b')));
    w.writeString(QStringLiteral("Stra\u00DFe \u20AC"));
    const QByteArray &b = w.bytes();
    EXPECT_EQ(quint8(b[0]), 0x06);
    EXPECT_EQ(quint8(b[1]), 255);
    EXPECT_EQ(quint8(b[257]), 0x0C);
    EXPECT_EQ(b.mid(258, 4), hex("00010000"));
    // Windows-1252: sharp s is DF, the euro sign 80.
    EXPECT_EQ(b.right(10), bytesOf({0x06, 8, "Stra", 0xDF, "e ", 0x80}));
    LayoutStreamReader r(b);
    EXPECT_EQ(r.readString(), QString(255, QLatin1Char('a')));
    EXPECT_EQ(r.readString(), QString(256, QLatin1Char('b')));
    EXPECT_EQ(r.readString(), QStringLiteral("Stra\u00DFe \u20AC"));
}

TEST(LayoutStream, IdentifiersFalseTrueAndNilHaveTheirOwnTags)
{
    LayoutStreamWriter w;
    for (const char *ident : {"False", "TRUE", "nil", "taCenter"})
        w.writeIdent(ident);
    EXPECT_EQ(w.bytes(), bytesOf({0x08, 0x09, 0x0D, 0x07, 8, "taCenter"}));
    LayoutStreamReader r(w.bytes());
    EXPECT_EQ(r.readIdent(), "False");
    EXPECT_EQ(r.readIdent(), "True");
    EXPECT_EQ(r.readIdent(), "nil");
    EXPECT_EQ(r.readIdent(), "taCenter");
}

struct ColourCase {
    TColor colour;
    QByteArray bytes;
};

TEST(LayoutStream, ColoursByNameWhereTheyHaveOne)
{
    const ColourCase cases[] = {
        {0x000000, bytesOf({0x07, 7, "clBlack"})},
        {0xFFFF00, bytesOf({0x07, 6, "clAqua"})},
        {0x80000008, bytesOf({0x07, 12, "clWindowText"})},
        {0x80000018, bytesOf({0x07, 8, "clInfoBk"})},
        {0x1FFFFFFF, bytesOf({0x07, 6, "clNone"})},
        {0x123456, hex("0456341200")},
        {0x80000019, hex("0419000080")},
    };
    for (const ColourCase &c : cases) {
        LayoutStreamWriter w;
        w.writeColour(c.colour);
        EXPECT_EQ(w.bytes().toHex(), c.bytes.toHex()) << std::hex << c.colour;
        LayoutStreamReader r(w.bytes());
        EXPECT_EQ(r.readColour(), c.colour);
    }
    LayoutStreamReader unknown(bytesOf({0x07, 7, "clMauve"}));
    try {
        unknown.readColour();
        FAIL();
    } catch (const TLayoutError &e) {
        EXPECT_EQ(e.message, QStringLiteral("Invalid property value"));
    }
}

TEST(LayoutStream, SetsAndStringListsAndBinary)
{
    LayoutStreamWriter w;
    w.writeSet({});
    w.writeSet({"fsBold", "fsItalic"});
    w.writeStringList({QStringLiteral("one"), QStringLiteral("two")});
    w.writeBinary(QByteArray("\x00\x01", 2));
    EXPECT_EQ(w.bytes(), bytesOf({0x0B, 0x00, 0x0B,  6,    "fsBold", 8, "fsItalic", 0, 0x01, 0x06, 3, "one",
                                  0x06, 3,    "two", 0x00, 0x0A,     2, 0,          0, 0,    0,    1}));
    LayoutStreamReader r(w.bytes());
    EXPECT_TRUE(r.readSet().isEmpty());
    EXPECT_EQ(r.readSet(), (QList<QByteArray>{"fsBold", "fsItalic"}));
    EXPECT_EQ(r.readStringList(), (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
    EXPECT_EQ(r.readBinary(), QByteArray("\x00\x01", 2));
}

struct ExtendedCase {
    double value;
    const char *bytes;
};

TEST(LayoutStream, ExtendedFloatBytes)
{
    const ExtendedCase cases[] = {
        {1.0, "0000000000000080ff3f"}, {-2.5, "00000000000000a000c0"},
        {0.0, "00000000000000000000"}, {0.1, "00d0ccccccccccccfb3f"},
        {8.5, "00000000000000880240"}, {std::numeric_limits<double>::infinity(), "0000000000000080ff7f"},
    };
    for (const ExtendedCase &c : cases) {
        LayoutStreamWriter w;
        w.writeExtended(c.value);
        EXPECT_EQ(w.bytes().mid(1).toHex(), QByteArray(c.bytes)) << c.value;
        LayoutStreamReader r(w.bytes());
        EXPECT_EQ(r.readExtended(), c.value);
    }
    // Every finite double survives the trip, subnormals included.
    for (double v : {std::numeric_limits<double>::denorm_min(), -std::numeric_limits<double>::min(),
                     std::numeric_limits<double>::max(), 1e-300, 123456.789}) {
        EXPECT_EQ(TExtendedFloat::toDouble(TExtendedFloat::fromDouble(v)), v);
    }
    // Extended values beyond double's range become infinities or zero; NaNs stay NaNs.
    EXPECT_TRUE(std::isinf(TExtendedFloat::toDouble({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F - 1})));
    EXPECT_EQ(TExtendedFloat::toDouble({0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x00}), 0.0);
    EXPECT_TRUE(std::isnan(TExtendedFloat::toDouble({1, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F})));
}

struct BadCase {
    QByteArray bytes;
    const char *message;
};

TEST(LayoutStream, ShortAndMalformedValuesAreAnsweredNeverRead)
{
    const BadCase cases[] = {
        {QByteArray(), "Stream read error"},      {hex("03c8"), "Stream read error"},
        {hex("06056162"), "Stream read error"},   {hex("0cffffffff41"), "Stream read error"},
        {hex("0affffff7f"), "Stream read error"}, {hex("0e"), "Invalid property value"},
        {hex("ff"), "Invalid property value"},
    };
    for (const BadCase &c : cases) {
        LayoutStreamReader r(c.bytes);
        try {
            r.readValue();
            ADD_FAILURE() << c.bytes.toHex().constData();
        } catch (const TLayoutError &e) {
            EXPECT_EQ(e.message, QString::fromLatin1(c.message)) << c.bytes.toHex().constData();
        }
    }
    // Lists nested without end are refused before the stack runs out.
    LayoutStreamReader deep(QByteArray(100000, '\x01'));
    EXPECT_THROW(deep.readValue(), TLayoutError);
}

TEST(LayoutStream, ObjectHeaderAcceptsTheFlagsByteWritersNeverProduce)
{
    LayoutStreamReader plain(bytesOf({"TPF0", 8, "TGPLabel"}));
    EXPECT_EQ(plain.readObjectBegin(), "TGPLabel");
    LayoutStreamReader flagged(bytesOf({"TPF0", 0xF2, 0x02, 0x05, 8, "TGPLabel"}));
    EXPECT_EQ(flagged.readObjectBegin(), "TGPLabel");
    LayoutStreamReader bad(bytesOf({"TPF1", 8, "TGPLabel"}));
    try {
        bad.readObjectBegin();
        FAIL();
    } catch (const TLayoutError &e) {
        EXPECT_EQ(e.message, QStringLiteral("Invalid stream format"));
    }
}

} // namespace
