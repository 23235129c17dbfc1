#include "TVCardReader.h"
#include "TVCardWriter.h"

#include "TransferFixture.h"

#include <gtest/gtest.h>

namespace {

TEST(VCard, WrittenCardsReadBackToTheSameRecord)
{
    const TVCardRecord r = {{QStringLiteral("LNAME"), QStringLiteral("M\xfcller; Sr")},
                            {QStringLiteral("FNAME"), QStringLiteral("Ann, \"A\"")},
                            {QStringLiteral("PREFIX"), QStringLiteral("Dr")},
                            {QStringLiteral("ORG"), QStringLiteral("Acme\\Co")},
                            {QStringLiteral("STREET"), QStringLiteral("1 Main St")},
                            {QStringLiteral("STREET2"), QStringLiteral("Apt 2")},
                            {QStringLiteral("CITY"), QStringLiteral("Z\xfcrich")},
                            {QStringLiteral("ZIP"), QStringLiteral("8001")},
                            {QStringLiteral("PHONE2"), QStringLiteral("555-2")},
                            {QStringLiteral("FAX"), QStringLiteral("555-9")},
                            {QStringLiteral("EMAIL"), QStringLiteral("ann@example.org")},
                            {QStringLiteral("DATE"), QStringLiteral("19650412")},
                            {QStringLiteral("CODES"), QStringLiteral("a,b")},
                            {QStringLiteral("USER1"), QStringLiteral("u1")},
                            {QStringLiteral("MEMO"), QStringLiteral("line one\r\nline two ") + QString(100, QLatin1Char('x'))}};
    for (const QString &version : {QStringLiteral("3.0"), QStringLiteral("4.0")}) {
        const QByteArray bytes = TVCardWriter(version).card(r) + TVCardWriter(version).card({{QStringLiteral("LNAME"), QStringLiteral("Two")}});
        for (const QByteArray &line : bytes.split('\n'))
            EXPECT_LE(line.size(), 76) << line.toStdString(); // 75 and the CR
        TVCardReader reader;
        const QVector<TVCardRecord> back = reader.read(bytes);
        ASSERT_EQ(back.size(), 2);
        EXPECT_EQ(back[0], r) << version.toStdString();
        EXPECT_EQ(back[1].value(QStringLiteral("LNAME")), QStringLiteral("Two"));
    }
}

TEST(VCard, OlderCardsWithQuotedPrintableAndWhatHasNoField)
{
    const QByteArray bytes = "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=\r\n"
                             "ens\r\nFN:Jens M\xC3\xBCller\r\nTEL;WORK;VOICE:111\r\nTEL;CELL:222\r\nTEL:333\r\n"
                             "EMAIL;INTERNET:a@b\r\nEMAIL:c@d\r\nADR;HOME:;;Street 1;Town;;99;DE\r\n"
                             "NOTE:long\r\n  note\r\nX-UNKNOWN:kept\r\nBDAY:--0412\r\nEND:VCARD\r\n"
                             "BEGIN:VCARD\r\nFN:Only Name\r\nEND:VCARD\r\n";
    TVCardReader reader;
    const QVector<TVCardRecord> cards = reader.read(bytes, {{QStringLiteral("FNAME"), 3}});
    ASSERT_EQ(cards.size(), 2);
    const TVCardRecord &c = cards[0];
    EXPECT_EQ(c.value(QStringLiteral("LNAME")), QStringLiteral("M\xfcller"));
    EXPECT_EQ(c.value(QStringLiteral("FNAME")), QStringLiteral("Jens"));
    EXPECT_EQ(c.value(QStringLiteral("PHONE")), QStringLiteral("111"));
    EXPECT_EQ(c.value(QStringLiteral("PHONE2")), QStringLiteral("222"));
    EXPECT_EQ(c.value(QStringLiteral("EMAIL")), QStringLiteral("a@b"));
    EXPECT_EQ(c.value(QStringLiteral("CITY")), QStringLiteral("Town"));
    EXPECT_EQ(c.value(QStringLiteral("COUNTRY")), QStringLiteral("DE"));
    const QString memo = c.value(QStringLiteral("MEMO"));
    EXPECT_TRUE(memo.startsWith(QStringLiteral("long note"))) << memo.toStdString();
    for (const char *kept : {"333", "c@d", "X-UNKNOWN: kept", "Birthday: --0412", "Jens"})
        EXPECT_TRUE(memo.contains(QString::fromUtf8(kept))) << kept << " in " << memo.toStdString();
    EXPECT_EQ(cards[1].value(QStringLiteral("LNAME")), QStringLiteral("Name"));
    EXPECT_EQ(cards[1].value(QStringLiteral("FNAME")), QStringLiteral("Only"));
}

TEST(VCard, DamagedInputNeverCrashes)
{
    TVCardReader reader;
    EXPECT_TRUE(reader.read("garbage\r\n:::\r\n").isEmpty());
    EXPECT_EQ(reader.read("BEGIN:VCARD\r\nN:;;\r\nADR:;\r\nTEL;TYPE=\"unterminated:1\r\n").size(), 1);
    EXPECT_FALSE(TVCardReader::looksLikeVCard("Name,City\r\n"));
    EXPECT_TRUE(TVCardReader::looksLikeVCard("\xEF\xBB\xBF\r\nbegin:vcard\r\n"));
}

TEST(VCard, ReadsACardMadeByAnotherProgram)
{
    if (!hasPython("vobject"))
        GTEST_SKIP() << "python3-vobject is not installed";
    bool ok = false;
    const QString out = runPython(QStringLiteral(
        "import vobject, sys\n"
        "c = vobject.vCard()\n"
        "c.add('n').value = vobject.vcard.Name(family='Zo\\u00eb', given='Ann', additional='B', prefix='Ms')\n"
        "c.add('fn').value = 'Ms Ann B Zo\\u00eb'\n"
        "c.add('org').value = ['Acme', 'Sales']\n"
        "a = c.add('adr'); a.value = vobject.vcard.Address(street='1 Main', city='Oslo', region='Viken', code='0150', country='Norway')\n"
        "t = c.add('tel'); t.value = '+47 1'; t.type_param = 'WORK'\n"
        "e = c.add('email'); e.value = 'ann@example.org'\n"
        "c.add('note').value = 'Met at the fair; likes tea, cake'\n"
        "c.add('categories').value = ['VIP', 'Board']\n"
        "sys.stdout.write(c.serialize())\n"),
                                  &ok);
    ASSERT_TRUE(ok) << out.toStdString();
    TVCardReader reader;
    const QVector<TVCardRecord> cards = reader.read(out.toUtf8());
    ASSERT_EQ(cards.size(), 1);
    const TVCardRecord &c = cards[0];
    EXPECT_EQ(c.value(QStringLiteral("LNAME")), QStringLiteral("Zo\xeb"));
    EXPECT_EQ(c.value(QStringLiteral("PREFIX")), QStringLiteral("Ms"));
    EXPECT_EQ(c.value(QStringLiteral("ORG")), QStringLiteral("Acme"));
    EXPECT_EQ(c.value(QStringLiteral("STATE")), QStringLiteral("Viken"));
    EXPECT_EQ(c.value(QStringLiteral("PHONE")), QStringLiteral("+47 1"));
    EXPECT_EQ(c.value(QStringLiteral("CODES")), QStringLiteral("VIP,Board"));
    EXPECT_TRUE(c.value(QStringLiteral("MEMO")).startsWith(QStringLiteral("Met at the fair; likes tea, cake")));
}

} // namespace
