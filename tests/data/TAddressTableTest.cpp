// The open address table: creating, opening, checking and rebuilding address files, the order
// and query, moves and the values read, against the fixtures another engine wrote.
#include "TAddressTable.h"
#include "TAddressSchema.h"
#include "TDateText.h"
#include "TFieldLengths.h"
#include "TRebuildGauge.h"

#include "AddressFixture.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class AddressTable : public ::testing::Test
{
protected:
    QString copy(const char *name) { return fixture::copy(QLatin1String(name), qs(dir.path())); }
    TempDir dir;
    TAddressTable table;
};

TEST_F(AddressTable, CreatesTheFieldsWithTheirSettingWidthsAndAllTagsAndLeavesTheFileClosed)
{
    TFieldLengths lengths;
    lengths.setLength(TFieldLengths::indexOf(QStringLiteral("ZIP")), 5);
    lengths.setLength(TFieldLengths::indexOf(QStringLiteral("LNAME")), 25);
    const QString path = qs(dir.file("NEWONE.DBF"));
    const TResult created = TAddressTable::CreateAddressFile(path, lengths);
    ASSERT_TRUE(created.ok) << created.message.toStdString();
    EXPECT_TRUE(QFileInfo::exists(qs(dir.file("NEWONE.FPT"))));
    EXPECT_TRUE(QFileInfo::exists(qs(dir.file("NEWONE.CDX"))));

    // Left closed: an exclusive open succeeds.
    ASSERT_TRUE(table.OpenTableFile(path).ok);
    const xbase::Schema &schema = table.engine().schema();
    ASSERT_EQ(schema.fieldCount(), TAddressSchema::kStoredCount);
    const auto &fields = TAddressSchema::storedFields();
    for (int i = 0; i < schema.fieldCount(); ++i) {
        const xbase::FieldDescriptor &f = schema.field(i);
        EXPECT_EQ(f.name, fields[size_t(i)].name.toStdString());
        EXPECT_EQ(f.type, fields[size_t(i)].type);
        EXPECT_EQ(f.decimals, 0);
    }
    EXPECT_EQ(table.fieldWidth(QStringLiteral("ZIP")), 5);
    EXPECT_EQ(table.fieldWidth(QStringLiteral("LNAME")), 25);
    EXPECT_EQ(table.fieldWidth(QStringLiteral("FAX")), 40);
    EXPECT_EQ(table.fieldWidth(QStringLiteral("DATE")), 15);
    EXPECT_EQ(table.fieldWidth(QStringLiteral("TAG")), 8);
    EXPECT_EQ(table.fieldWidth(QStringLiteral("MIDDLE")), 1);

    ASSERT_EQ(table.engine().tagCount(), TAddressSchema::kTagCount);
    for (int i = 0; i < TAddressSchema::kTagCount; ++i) {
        const xbase::TagSpec spec = table.engine().tagSpec(i + 1);
        EXPECT_EQ(spec.name, TAddressSchema::tags()[size_t(i)].name);
        EXPECT_EQ(spec.keyExpr, TAddressSchema::tags()[size_t(i)].keyExpr);
    }
    EXPECT_TRUE(table.CheckValidIndex());
    EXPECT_FALSE(table.hasRecord());
    EXPECT_EQ(table.visibleCount(), 0);
}

TEST_F(AddressTable, CreationTheEngineRefusesSaysCreateFailed)
{
    const TResult created =
        TAddressTable::CreateAddressFile(qs(dir.file("no/such/folder/ADD0001.DBF")), TFieldLengths());
    EXPECT_FALSE(created.ok);
    EXPECT_EQ(created.message, QStringLiteral("Create failed"));
}

TEST_F(AddressTable, OpensTheFixtureAndReadsItsValuesAndCalculatedFields)
{
    ASSERT_TRUE(table.OpenTableFile(copy("ADD0001")).ok);
    EXPECT_TRUE(table.CheckValidIndex());
    EXPECT_TRUE(table.orderTag().isEmpty());
    table.setGlobalTagId(QStringLiteral("T5703FX"));

    ASSERT_TRUE(table.goTo(1));
    EXPECT_EQ(table.value(QStringLiteral("LNAME")), QStringLiteral("Smith"));
    EXPECT_EQ(table.value(QStringLiteral("lname")), QStringLiteral("Smith"));
    EXPECT_EQ(table.memo(), QStringLiteral("First line\r\nSecond line\r\nThird line"));
    EXPECT_EQ(table.value(QStringLiteral("DisplayDate")),
              QDate(1997, 4, 28).toString(TDateText::shortDatePattern()));
    EXPECT_EQ(table.value(QStringLiteral("Tagged")), QStringLiteral("No"));
    // The composite fields stay empty until they are switched on.
    EXPECT_EQ(table.value(QStringLiteral("FullName")), QString());
    table.setCompositeFieldsOn(true);
    EXPECT_EQ(table.value(QStringLiteral("FullName")), QStringLiteral("John Q Smith"));
    EXPECT_EQ(table.value(QStringLiteral("FullNameWithPrefix")), QStringLiteral("Mr. John Q Smith"));
    EXPECT_EQ(table.value(QStringLiteral("CityStateZip")), QStringLiteral("San Francisco CA 94110"));

    ASSERT_TRUE(table.goTo(150));
    EXPECT_EQ(table.value(QStringLiteral("LNAME")), QStringLiteral("Muñoz"));
    EXPECT_EQ(table.value(QStringLiteral("CITY")), QStringLiteral("Montréal"));

    // DATE "1997" and "ABCDEFGH" are not dates.
    for (quint32 recno : {250u, 251u}) {
        ASSERT_TRUE(table.goTo(recno));
        EXPECT_FALSE(table.value(QStringLiteral("DATE")).isEmpty());
        EXPECT_EQ(table.value(QStringLiteral("DisplayDate")), QString()) << recno;
    }

    // 99 carries the current identifier; the query hides it (ISDEL), the delete mark hides 77.
    ASSERT_TRUE(table.goTo(99));
    EXPECT_TRUE(table.isTagged());
    EXPECT_EQ(table.value(QStringLiteral("Tagged")), QStringLiteral("Yes"));
    EXPECT_FALSE(table.goTo(77));
    EXPECT_EQ(table.recno(), 99u);
    ASSERT_TRUE(table.setQuery(QStringLiteral("!ISDEL")));
    EXPECT_FALSE(table.goTo(99));
    EXPECT_EQ(table.visibleCount(), 275);
    EXPECT_FALSE(table.setQuery(QStringLiteral("LNAME = ")));
    EXPECT_EQ(table.query(), QStringLiteral("!ISDEL"));
}

TEST_F(AddressTable, MovesStopAtEitherEndAndStayThere)
{
    ASSERT_TRUE(table.OpenTableFile(copy("ADD0001")).ok);
    ASSERT_TRUE(table.setOrderTag(QStringLiteral("lname")));
    EXPECT_EQ(table.orderTag(), QStringLiteral("LNAME"));
    ASSERT_TRUE(table.setQuery(QStringLiteral("!ISDEL")));
    ASSERT_TRUE(table.last());
    const quint32 last = table.recno();
    EXPECT_FALSE(table.next());
    EXPECT_EQ(table.recno(), last);
    ASSERT_TRUE(table.first());
    const quint32 first = table.recno();
    EXPECT_FALSE(table.prior());
    EXPECT_EQ(table.recno(), first);
    EXPECT_TRUE(table.next());
    EXPECT_FALSE(table.setOrderTag(QStringLiteral("NOSUCHTAG")));
    EXPECT_EQ(table.orderTag(), QStringLiteral("LNAME"));
}

// Every order of the address book shows the records the other engine lists for that tag,
// without the marked records and those whose ISDEL is true.
struct OrderCase {
    const char *file;
    const char *tag;
};
class FixtureOrder : public ::testing::TestWithParam<OrderCase>
{
};

TEST_P(FixtureOrder, ShowsTheRecordsInTheOtherEnginesOrder)
{
    const OrderCase c = GetParam();
    TempDir dir;
    TAddressTable table;
    ASSERT_TRUE(table.OpenTableFile(fixture::copy(QLatin1String(c.file), qs(dir.path()))).ok);
    ASSERT_TRUE(table.setOrderTag(QLatin1String(c.tag)));
    ASSERT_TRUE(table.setQuery(QStringLiteral("!ISDEL")));
    const QList<quint32> want = fixture::shownOrder(QLatin1String(c.file), QLatin1String(c.tag));
    if (QLatin1String(c.file) != QLatin1String("EMPTY")) {
        ASSERT_FALSE(want.isEmpty());
    }
    EXPECT_EQ(fixture::visibleInOrder(table), want);
    EXPECT_EQ(table.visibleCount(), want.size());
    // The list the browse grid takes in one call is the same, and leaves the record alone.
    ASSERT_TRUE(table.last() || want.isEmpty());
    const quint32 here = table.recno();
    QVector<quint32> listed;
    ASSERT_TRUE(table.visibleRecnos(listed));
    EXPECT_EQ(listed, want);
    EXPECT_EQ(table.recno(), here);
}

std::vector<OrderCase> orderCases()
{
    std::vector<OrderCase> out;
    for (const char *file : {"ADD0001", "LNAME25", "EMPTY"}) {
        for (const char *tag : {"LNAME", "FNAME", "TITLE", "ORG", "STREET", "CITY", "STATE", "ZIP", "COUNTRY",
                                "PHONE", "EMAIL", "FAX", "DATE", "CODES", "NAME", "STATEZIP", "TAG"})
            out.push_back({file, tag});
    }
    return out;
}
INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureOrder, ::testing::ValuesIn(orderCases()),
                         [](const ::testing::TestParamInfo<OrderCase> &param) {
                             return std::string(param.param.file) + "_" + param.param.tag;
                         });

TEST_F(AddressTable, ReadsOtherRecordsWithoutMovingOrDisturbingAnEdit)
{
    ASSERT_TRUE(table.OpenTableFile(copy("ADD0001")).ok);
    table.setGlobalTagId(QStringLiteral("T5703FX"));
    ASSERT_TRUE(table.goTo(1));
    ASSERT_TRUE(table.setValue(QStringLiteral("LNAME"), QStringLiteral("Changed")).ok);

    // Every stored field of every record, hidden ones included, as the other engine read it.
    QStringList names;
    for (const TAddressField &f : TAddressSchema::storedFields())
        names.append(f.name);
    for (const QJsonObject &r : fixture::records(QStringLiteral("ADD0001"))) {
        const auto recno = quint32(r.value(QStringLiteral("recno")).toInt());
        QStringList values;
        ASSERT_TRUE(table.recordValues(recno, names, values)) << recno;
        ASSERT_EQ(values.size(), names.size());
        for (int i = 0; i < names.size(); ++i) {
            const QJsonValue v = r.value(names[i]);
            // A blank logical reads as empty text, which counts as false.
            if (v.isBool())
                EXPECT_EQ(values[i] == QLatin1String("T"), v.toBool())
                    << recno << " " << names[i].toStdString();
            else
                EXPECT_EQ(values[i], v.toString()) << recno << " " << names[i].toStdString();
        }
    }
    QStringList values;
    ASSERT_TRUE(table.recordValues(99,
                                   {QStringLiteral("Tagged"), QStringLiteral("lname"),
                                    QStringLiteral("NOSUCH"), QStringLiteral("DisplayDate")},
                                   values));
    EXPECT_EQ(values, QStringList({QStringLiteral("Yes"), QStringLiteral("Smithers"), QString(),
                                   QDate(1989, 3, 28).toString(TDateText::shortDatePattern())}));
    ASSERT_TRUE(table.recordValues(1, {QStringLiteral("LNAME"), QStringLiteral("Tagged")}, values));
    EXPECT_EQ(values, QStringList({QStringLiteral("Smith"), QStringLiteral("No")}));
    for (quint32 missing : {0u, 301u}) {
        EXPECT_FALSE(table.recordValues(missing, names, values));
        EXPECT_TRUE(values.isEmpty());
    }

    EXPECT_TRUE(table.isEditing());
    EXPECT_EQ(table.recno(), 1u);
    EXPECT_EQ(table.value(QStringLiteral("LNAME")), QStringLiteral("Changed"));
}

TEST_F(AddressTable, FailedOpensCarryTheEngineCodeAndLeaveTheTableClosed)
{
    const QString missing = qs(dir.file("GONE.DBF"));
    TResult opened = table.OpenTableFile(missing);
    EXPECT_FALSE(opened.ok);
    EXPECT_EQ(opened.code, xbase::StatusCode::NotFound);
    EXPECT_EQ(opened.message, QStringLiteral("File ") + missing + QStringLiteral(" not found"));
    EXPECT_FALSE(table.isOpen());

    // NOFAX lacks one of the 23 fields: not an address file, and the table stays closed.
    opened = table.OpenTableFile(copy("NOFAX"));
    EXPECT_FALSE(opened.ok);
    EXPECT_EQ(opened.code, xbase::StatusCode::Corruption);
    EXPECT_EQ(opened.message, QStringLiteral("The field FAX is missing"));
    EXPECT_FALSE(table.isOpen());
    EXPECT_TRUE(table.path().isEmpty());

    // A damaged header is a failure, never a crash.
    const QString damaged = qs(dir.file("DAMAGED.DBF"));
    writeBytes(damaged, QByteArray("\x30\x7e\x0c\x09garbage", 11));
    opened = table.OpenTableFile(damaged);
    EXPECT_FALSE(opened.ok);
    EXPECT_EQ(opened.code, xbase::StatusCode::Corruption) << opened.message.toStdString();
    EXPECT_FALSE(opened.message.isEmpty());
    EXPECT_FALSE(table.isOpen());

    // A file another opener holds exclusively is locked, with the engine's own message.
    const QString busy = copy("ADD0001");
    xbase::Table other;
    ASSERT_TRUE(other.open(busy.toStdString(), xbase::OpenMode::Exclusive).ok());
    opened = table.OpenTableFile(busy);
    EXPECT_FALSE(opened.ok);
    EXPECT_EQ(opened.code, xbase::StatusCode::Locked) << opened.message.toStdString();
    EXPECT_FALSE(opened.message.isEmpty());
    EXPECT_FALSE(table.isOpen());
    (void)other.close();
}

TEST_F(AddressTable, MovesAnswerNotFoundAtTheEndsAndFailWithoutAFile)
{
    EXPECT_EQ(table.first().code, xbase::StatusCode::InvalidArgument);
    EXPECT_EQ(table.next().code, xbase::StatusCode::InvalidArgument);
    ASSERT_TRUE(table.OpenTableFile(copy("ADD0001")).ok);
    ASSERT_TRUE(table.setQuery(QStringLiteral("!ISDEL")));
    ASSERT_TRUE(table.setOrderTag(QStringLiteral("LNAME")));

    ASSERT_TRUE(table.last());
    const quint32 last = table.recno();
    const TResult pastEnd = table.next();
    EXPECT_TRUE(pastEnd.isNotFound());
    EXPECT_TRUE(pastEnd.message.isEmpty());
    EXPECT_EQ(table.recno(), last);
    ASSERT_TRUE(table.first());
    const quint32 first = table.recno();
    EXPECT_TRUE(table.prior().isNotFound());
    EXPECT_EQ(table.recno(), first);

    // A record the query hides, and one that does not exist, are not found; the table stays.
    EXPECT_TRUE(table.goTo(4000).isNotFound());
    EXPECT_TRUE(table.goTo(0).isNotFound());
    EXPECT_EQ(table.recno(), first);
    EXPECT_TRUE(table.setOrderTag(QStringLiteral("NOSUCHTAG")).isNotFound());
    EXPECT_EQ(table.orderTag(), QStringLiteral("LNAME"));
    EXPECT_EQ(table.setQuery(QStringLiteral("LNAME = ")).code, xbase::StatusCode::InvalidArgument);
    EXPECT_EQ(table.query(), QStringLiteral("!ISDEL"));

    // A query showing nothing leaves first() and last() at the end.
    ASSERT_TRUE(table.setQuery(QStringLiteral("LNAME = \"NOBODY AT ALL\"")));
    EXPECT_TRUE(table.first().isNotFound());
    EXPECT_TRUE(table.last().isNotFound());
    EXPECT_FALSE(table.hasRecord());
}

TEST_F(AddressTable, FileNameIsFoundWithoutRegardToCase)
{
    copy("ADD0001");
    const TResult opened = table.OpenTableFile(qs(dir.file("add0001.dbf")));
    ASSERT_TRUE(opened.ok) << opened.message.toStdString();
    EXPECT_EQ(table.fileName(), QStringLiteral("ADD0001.DBF"));
    EXPECT_EQ(table.folder(), qs(dir.path()) + QLatin1Char('/'));
}

TEST_F(AddressTable, NarrowerLastNameOpensAndItsNameKeyPadsToTheFileWidth)
{
    ASSERT_TRUE(table.OpenTableFile(copy("LNAME25")).ok);
    EXPECT_TRUE(table.CheckValidIndex());
    EXPECT_EQ(table.fieldWidth(QStringLiteral("LNAME")), 25);
    const QString key =
        table.nameKey(QStringLiteral("Wolfeschlegelsteinhausenbergdorff"), QStringLiteral("Hubert"));
    EXPECT_EQ(key.size(), 25 + 30);
    EXPECT_EQ(key.left(25), QStringLiteral("WOLFESCHLEGELSTEINHAUSENB"));
    EXPECT_EQ(key.mid(25), QStringLiteral("HUBERT").leftJustified(30));

    ASSERT_TRUE(table.setOrderTag(QStringLiteral("LNAME")));
    ASSERT_TRUE(table.seek(key));
    EXPECT_EQ(table.recno(), 42u);
    ASSERT_TRUE(table.seek(table.nameKey(QStringLiteral("smith"), QStringLiteral("john"))));
    EXPECT_EQ(table.recno(), 1u);
    EXPECT_FALSE(table.seek(table.nameKey(QStringLiteral("Smith"), QStringLiteral("Jo"))));
}

TEST_F(AddressTable, MissingIndexIsFoundAndTheRebuildMakesAllTags)
{
    ASSERT_TRUE(table.OpenTableFile(copy("NOCDX")).ok);
    EXPECT_FALSE(table.CheckValidIndex());
    TRebuildGauge gauge([](int) {});
    ASSERT_TRUE(table.rebuild(gauge).ok);
    EXPECT_TRUE(table.CheckValidIndex());
    EXPECT_EQ(table.engine().tagCount(), TAddressSchema::kTagCount);
    EXPECT_TRUE(QFileInfo::exists(qs(dir.file("NOCDX.CDX"))));
}

TEST_F(AddressTable, DamagedOrInterruptedIndexIsInvalidAndTheRebuildReplacesIt)
{
    // Another program stopped in the middle of an update: the files as they were on disk then.
    const QString path = copy("ADD0001");
    {
        xbase::Table writer;
        ASSERT_TRUE(writer.open(path.toStdString(), xbase::OpenMode::Exclusive).ok());
        ASSERT_TRUE(writer.go(1).ok());
        ASSERT_TRUE(writer.setFieldValue("LNAME", "Smyth").ok());
        ASSERT_TRUE(writer.post().ok());
        QDir().mkpath(qs(dir.file("stopped")));
        for (const char *ext : {".DBF", ".FPT", ".CDX"})
            QFile::copy(qs(dir.file("ADD0001")) + QLatin1String(ext),
                        qs(dir.file("stopped/ADD0001")) + QLatin1String(ext));
    }
    ASSERT_TRUE(table.OpenTableFile(qs(dir.file("stopped/ADD0001.DBF"))).ok);
    ASSERT_TRUE(table.engine().indexNeedsRebuild());
    EXPECT_EQ(table.engine().tagCount(), 26);
    EXPECT_FALSE(table.CheckValidIndex());
    {
        TRebuildGauge gauge([](int) {});
        ASSERT_TRUE(table.rebuild(gauge).ok);
    }
    EXPECT_TRUE(table.CheckValidIndex());
    EXPECT_FALSE(table.engine().indexNeedsRebuild());
    table.close();

    // Index bytes that are not an index: the records still open, the tags read as missing, and
    // the rebuild writes a new index in place of the damaged one.
    writeBytes(qs(dir.file("ADD0001.CDX")), QByteArray(1024, '\x5a'));
    ASSERT_TRUE(table.OpenTableFile(path).ok);
    EXPECT_FALSE(table.CheckValidIndex());
    EXPECT_TRUE(table.goTo(1));
    TRebuildGauge gauge([](int) {});
    ASSERT_TRUE(table.rebuild(gauge).ok);
    EXPECT_TRUE(table.CheckValidIndex());
    table.close();
    ASSERT_TRUE(table.OpenTableFile(path).ok);
    EXPECT_TRUE(table.CheckValidIndex());
    std::vector<std::string> faults;
    ASSERT_TRUE(table.engine().check(faults).ok());
    EXPECT_TRUE(faults.empty()) << faults.front();
}

TEST_F(AddressTable, RebuildPacksMarkedRecordsKeepsSoftDeletedOnesAndReportsProgress)
{
    ASSERT_TRUE(table.OpenTableFile(copy("ADD0001")).ok);
    QList<int> shown;
    QList<TRebuildGauge::Phase> phases;
    TRebuildGauge *running = nullptr;
    TRebuildGauge gauge([&](int position) {
        shown.append(position);
        phases.append(running->phase());
    });
    running = &gauge;
    ASSERT_TRUE(table.rebuild(gauge).ok);
    EXPECT_TRUE(table.CheckValidIndex());

    // The 21 marked records are gone for good; Waylon Smithers (ISDEL, no mark) stays.
    EXPECT_EQ(table.engine().recordCount(), 279u);
    table.engine().setDeletedHidden(false);
    ASSERT_TRUE(table.setOrderTag(QStringLiteral("LNAME")));
    EXPECT_FALSE(table.seek(table.nameKey(QStringLiteral("Zywiec"), QStringLiteral("Anna"))));
    ASSERT_TRUE(table.seek(table.nameKey(QStringLiteral("Smithers"), QStringLiteral("Waylon"))));
    EXPECT_EQ(table.value(QStringLiteral("ISDEL")), QStringLiteral("T"));
    const quint32 smithers = table.recno();
    table.engine().setDeletedHidden(true);
    ASSERT_TRUE(table.setQuery(QStringLiteral("!ISDEL")));
    EXPECT_FALSE(table.goTo(smithers));
    EXPECT_EQ(table.visibleCount(), 275);

    // Packing first, then the tags; each phase rises to 100 and never falls within itself.
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(phases.first(), TRebuildGauge::Phase::Packing);
    EXPECT_EQ(phases.last(), TRebuildGauge::Phase::Indexing);
    EXPECT_EQ(shown.last(), 100);
    const int firstIndexing = int(phases.indexOf(TRebuildGauge::Phase::Indexing));
    ASSERT_GT(firstIndexing, 0);
    EXPECT_EQ(shown.at(firstIndexing - 1), 100);
    for (int i = 1; i < shown.size(); ++i) {
        if (i != firstIndexing) {
            EXPECT_GE(shown.at(i), shown.at(i - 1)) << i;
        }
    }
}

TEST_F(AddressTable, ClosingDropsAnEditAndAnnouncesIt)
{
    ASSERT_TRUE(table.OpenTableFile(copy("ADD0001")).ok);
    int changes = 0;
    QObject::connect(&table, &TAddressTable::recordChanged, [&] { ++changes; });
    ASSERT_TRUE(table.goTo(1));
    ASSERT_TRUE(table.setValue(QStringLiteral("LNAME"), QStringLiteral("Changed")).ok);
    EXPECT_TRUE(table.isEditing());
    changes = 0;
    table.freeze();
    table.close();
    table.freeze();
    table.unfreeze();
    EXPECT_EQ(changes, 0);
    // Held back until the outermost unfreeze, then sent once.
    table.unfreeze();
    EXPECT_EQ(changes, 1);
    ASSERT_TRUE(table.OpenTableFile(qs(dir.file("ADD0001.DBF"))).ok);
    ASSERT_TRUE(table.goTo(1));
    EXPECT_EQ(table.value(QStringLiteral("LNAME")), QStringLiteral("Smith"));
}

} // namespace
