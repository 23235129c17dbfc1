// The search on a copy of the other engine's address fixture with two names added: landing on
// the first key that begins with the text in every sort order, the City key across states,
// texts that match nothing, a filter, and the sort names and tags of the "&Sort" menu.
#include "TAddressSearch.h"

#include "EditingFixture.h"
#include "TSortOrders.h"

#include <gtest/gtest.h>

namespace {

// The copy with "Baker, Adam" and "Barnes, Zoe" appended (the fixture has Bailey only).
class AddressSearch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        xbase::Table &t = file.table.engine();
        for (const auto &[last, first] : {std::pair{"Baker", "Adam"}, std::pair{"Barnes", "Zoe"}}) {
            ASSERT_TRUE(t.appendBlank().ok());
            ASSERT_TRUE(t.setFieldValue("LNAME", last).ok());
            ASSERT_TRUE(t.setFieldValue("FNAME", first).ok());
            ASSERT_TRUE(t.setLogical("ISDEL", false).ok());
            ASSERT_TRUE(t.post().ok());
        }
        file.table.first();
    }
    QString v(const char *field) const { return file.table.value(QLatin1String(field)); }
    // Goes to the record with this name and returns its number.
    quint32 goToName(const char *last, const char *first)
    {
        const QString order = file.table.orderTag();
        file.table.setOrderTag(QStringLiteral("LNAME"));
        EXPECT_TRUE(file.table.seek(file.table.nameKey(QLatin1String(last), QLatin1String(first)))) << last;
        file.table.setOrderTag(order);
        return file.table.recno();
    }

    TEditingFile file;
};

TEST_F(AddressSearch, LastNameOrderLandsOnTheFirstNameBeginningWithTheText)
{
    struct Case {
        const char *text;
        const char *last;
        const char *first;
    };
    for (const Case c :
         {Case{"ba", "Bailey", "Daniel"}, Case{"bak", "Baker", "Adam"}, Case{"BAR", "Barnes", "Zoe"},
          Case{"émond", "Émond", "Ryan"}, Case{"smith", "Smith", "Christopher"}}) {
        goToName("Coleman", "Ruth");
        EXPECT_TRUE(TAddressSearch::search(file.table, QString::fromUtf8(c.text))) << c.text;
        EXPECT_EQ(v("LNAME"), QString::fromUtf8(c.last)) << c.text;
        EXPECT_EQ(v("FNAME"), QLatin1String(c.first)) << c.text;
    }
    // The key is the padded last name followed by the first name.
    EXPECT_TRUE(TAddressSearch::search(file.table, QStringLiteral("smith") + QString(25, QLatin1Char(' ')) +
                                                       QStringLiteral("jo")));
    EXPECT_EQ(v("FNAME"), QStringLiteral("John"));
    EXPECT_FALSE(file.table.engine().isSoftSeek());
    // Without Bailey, "ba" lands on Baker, not Barnes.
    ASSERT_TRUE(file.setFilter(QStringLiteral("!(UPPER(LNAME)=\"BAILEY\")")));
    EXPECT_TRUE(TAddressSearch::search(file.table, QStringLiteral("ba")));
    EXPECT_EQ(v("LNAME"), QStringLiteral("Baker"));
    EXPECT_FALSE(file.table.engine().isExact());
}

TEST_F(AddressSearch, ATextNoKeyBeginsWithLeavesTheCurrentRecord)
{
    // ZYWIEC is only on a record with the delete mark; no key begins with ZZ (keys with
    // accented capitals sort after Z, so a soft seek would land on one).
    for (const char *text : {"zz", "zyw", "Bakers", "\xC3\xBF"}) {
        const quint32 here = goToName("Coleman", "Ruth");
        EXPECT_FALSE(TAddressSearch::search(file.table, QString::fromUtf8(text))) << text;
        EXPECT_EQ(file.table.recno(), here) << text;
        EXPECT_FALSE(file.table.engine().isSoftSeek());
    }
    // Nothing to search for: nothing moves.
    const quint32 here = goToName("Coleman", "Ruth");
    EXPECT_FALSE(TAddressSearch::search(file.table, QString()));
    EXPECT_EQ(file.table.recno(), here);
}

TEST_F(AddressSearch, CityOrderComparesCityThenStateSoTheFirstStateAlphabeticallyWins)
{
    file.table.setOrderTag(QStringLiteral("CITY"));
    const int width = file.table.fieldWidth(QStringLiteral("CITY"));
    struct Case {
        const char *city;
        const char *state; // typed after the padded city; "" types the city alone
        const char *lands;
    };
    // Portland is in "Maine", "ME" and "OR"; Springfield in IL, MA and MO.
    for (const Case c : {Case{"portland", "", "Maine"}, Case{"Portland", "o", "OR"},
                         Case{"springfield", "", "IL"}, Case{"springfield", "mo", "MO"}}) {
        QString text = QLatin1String(c.city);
        if (*c.state)
            text = text.leftJustified(width) + QLatin1String(c.state);
        file.table.first();
        EXPECT_TRUE(TAddressSearch::search(file.table, text)) << c.city << c.state;
        EXPECT_EQ(v("STATE"), QLatin1String(c.lands)) << c.city << c.state;
    }
}

TEST_F(AddressSearch, OnlyRecordsTheFilterShowsAreFound)
{
    ASSERT_TRUE(file.setFilter(QStringLiteral("UPPER(STATE)=\"OR\"")));
    file.table.setOrderTag(QStringLiteral("LNAME"));
    file.table.first();
    EXPECT_TRUE(TAddressSearch::search(file.table, QStringLiteral("smith")));
    EXPECT_EQ(v("FNAME"), QStringLiteral("John"));
    EXPECT_EQ(v("CITY"), QStringLiteral("Portland"));
}

// Every sort order: the search lands on a record whose key begins with the text, and the
// record before it in that order does not begin with it.
struct OrderCase {
    const char *sortName;
    const char *text;
};
class EverySortOrder : public AddressSearch, public ::testing::WithParamInterface<OrderCase>
{
};

TEST_P(EverySortOrder, LandsOnTheFirstKeyBeginningWithTheText)
{
    const OrderCase c = GetParam();
    const TSortOrder *order = TSortOrders::byName(QLatin1String(c.sortName));
    ASSERT_NE(order, nullptr);
    ASSERT_TRUE(file.table.setOrderTag(order->tag));
    const QString text = TAddressSearch::keyText(QString::fromUtf8(c.text));
    const auto key = [&] {
        if (order->tag == QLatin1String("CITY"))
            return TAddressSearch::keyText(
                v("CITY").leftJustified(file.table.fieldWidth(QStringLiteral("CITY"))) + v("STATE"));
        return TAddressSearch::keyText(file.table.value(order->tag));
    };
    file.table.last();
    ASSERT_TRUE(TAddressSearch::search(file.table, QString::fromUtf8(c.text))) << c.sortName;
    EXPECT_TRUE(key().startsWith(text)) << c.sortName << ": " << key().toStdString();
    if (file.table.prior()) {
        EXPECT_FALSE(key().startsWith(text)) << c.sortName << ": " << key().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, EverySortOrder,
                         ::testing::Values(OrderCase{"Last Name", "garcia"}, OrderCase{"first name", "chlo"},
                                           OrderCase{"Title", "eng"}, OrderCase{"Organization", "café"},
                                           OrderCase{"Street", "p.o."}, OrderCase{"City", "san "},
                                           OrderCase{"State", "qc"}, OrderCase{"Zip", "941"},
                                           OrderCase{"Country", "can"}, OrderCase{"Phone", "(416)"},
                                           OrderCase{"E-mail", "r."}, OrderCase{"Fax", "(613)"},
                                           OrderCase{"Date", "1997"}, OrderCase{"Codes", "xmas"}));

TEST(SortOrders, FourteenItemsInMenuOrderFoundByNameInAnyCaseAndByTag)
{
    const QStringList names = {
        QStringLiteral("Last Name"),    QStringLiteral("First Name"), QStringLiteral("Title"),
        QStringLiteral("Organization"), QStringLiteral("Street"),     QStringLiteral("City"),
        QStringLiteral("State"),        QStringLiteral("Zip"),        QStringLiteral("Country"),
        QStringLiteral("Phone"),        QStringLiteral("E-mail"),     QStringLiteral("Fax"),
        QStringLiteral("Date"),         QStringLiteral("Codes")};
    const QStringList tags = {QStringLiteral("LNAME"), QStringLiteral("FNAME"),  QStringLiteral("TITLE"),
                              QStringLiteral("ORG"),   QStringLiteral("STREET"), QStringLiteral("CITY"),
                              QStringLiteral("STATE"), QStringLiteral("ZIP"),    QStringLiteral("COUNTRY"),
                              QStringLiteral("PHONE"), QStringLiteral("EMAIL"),  QStringLiteral("FAX"),
                              QStringLiteral("DATE"),  QStringLiteral("CODES")};
    EXPECT_EQ(TSortOrders::names(), names);
    ASSERT_EQ(TSortOrders::all().size(), 14);
    for (int i = 0; i < 14; ++i) {
        const TSortOrder &o = TSortOrders::all()[i];
        EXPECT_EQ(o.caption, QLatin1Char('&') + names[i]);
        EXPECT_EQ(o.tag, tags[i]);
        EXPECT_EQ(TSortOrders::byName(names[i].toUpper()), &o);
        EXPECT_EQ(TSortOrders::byTag(tags[i].toLower()), &o);
    }
    EXPECT_EQ(TSortOrders::byName(QStringLiteral("Name")), nullptr);
    EXPECT_EQ(TSortOrders::byTag(QStringLiteral("NAME")), nullptr);
    EXPECT_EQ(TSortOrders::indexOfName(QStringLiteral("e-MAIL")), 10);
}

} // namespace
