// Windows-1252 against tables other FoxPro-compatible programs wrote: every character field
// of every record decodes to the text recorded beside the table, and encodes back to the
// same bytes.
#include "TCp1252.h"
#include "TDateText.h"
#include "TText.h"

#include "QtPrinters.h"
#include "TestFiles.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <map>

namespace {

struct FieldSpec {
    QString name;
    char type;
    int offset;
    int length;
};

// The character fields of a DBF file, read straight from its header.
std::vector<FieldSpec> characterFields(const QByteArray &dbf, int *headerLength, int *recordLength)
{
    std::vector<FieldSpec> fields;
    const auto u16 = [&](int at) { return int(quint8(dbf[at])) | int(quint8(dbf[at + 1])) << 8; };
    *headerLength = u16(8);
    *recordLength = u16(10);
    int offset = 1;
    for (int at = 32; at + 32 <= *headerLength && dbf[at] != '\r'; at += 32) {
        const QString name = QString::fromLatin1(dbf.mid(at, 11).constData());
        const char type = dbf[at + 11];
        const int length = quint8(dbf[at + 16]);
        if (type == 'C')
            fields.push_back({name, type, offset, length});
        offset += length;
    }
    return fields;
}

TEST(Cp1252Fixture, CharacterFieldsMatchTheRecordedText)
{
    const QString folder = QStringLiteral(CORVANTIS_SHARED_DIR "/fixtures/xbase/");
    const QByteArray dbf = readBytes(folder + QStringLiteral("ADD0001.DBF"));
    const QByteArray jsonl = readBytes(folder + QStringLiteral("ADD0001.records.jsonl"));
    ASSERT_GT(dbf.size(), 32) << "fixture missing";
    int headerLength = 0;
    int recordLength = 0;
    const std::vector<FieldSpec> fields = characterFields(dbf, &headerLength, &recordLength);
    ASSERT_GE(fields.size(), 20u);

    int records = 0;
    int nonAscii = 0;
    for (const QByteArray &line : jsonl.split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        const QJsonObject expected = QJsonDocument::fromJson(line).object();
        const int recno = expected.value(QStringLiteral("recno")).toInt();
        const qsizetype start = headerLength + qsizetype(recno - 1) * recordLength;
        ASSERT_LE(start + recordLength, dbf.size());
        for (const FieldSpec &f : fields) {
            const QByteArray bytes = dbf.mid(start + f.offset, f.length);
            const QString text = TText::TrimRight(TCp1252::toString(bytes));
            EXPECT_EQ(text, expected.value(f.name).toString())
                << "record " << recno << " " << f.name.toStdString();
            EXPECT_EQ(TCp1252::fromString(TCp1252::toString(bytes)), bytes);
            for (const char c : bytes)
                nonAscii += quint8(c) >= 0x80 ? 1 : 0;
        }
        // Dates that are not eight digits of a real day show empty.
        const QString date = expected.value(QStringLiteral("DATE")).toString();
        if (date == QLatin1String("1997") || date == QLatin1String("ABCDEFGH") ||
            date == QLatin1String("19971345")) {
            EXPECT_TRUE(TDateText::display(date).isEmpty()) << date.toStdString();
        }
        ++records;
    }
    EXPECT_EQ(records, 300);
    EXPECT_GT(nonAscii, 100);
}

} // namespace
