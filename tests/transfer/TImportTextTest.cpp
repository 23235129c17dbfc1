#include "TImportText.h"

#include "TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

std::vector<std::string> linesOf(const QByteArray &bytes)
{
    TImportText text;
    text.setBytes(bytes);
    std::vector<std::string> out;
    for (const auto line : text.lines())
        out.emplace_back(line);
    return out;
}

TEST(ImportText, EveryLineEndWorksAndBlankLinesAreSkipped)
{
    const std::vector<std::string> want = {"a", "b", "c", "d"};
    EXPECT_EQ(linesOf("a\r\nb\nc\rd"), want);
    EXPECT_EQ(linesOf("a\r\n\r\nb\n  \n\t\nc\r\rd\r\n"), want);
}

TEST(ImportText, LongLinesAreReadWhole)
{
    const QByteArray line(5000, 'x');
    const auto lines = linesOf(line + "\n" + line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 5000u);
}

TEST(ImportText, Utf8WithOrWithoutMarkElseWindows1252)
{
    TImportText text;
    text.setBytes("\xEF\xBB\xBF"
                  "Jos\xC3\xA9\n");
    EXPECT_TRUE(text.wasUtf8());
    EXPECT_EQ(text.bytes(), QByteArray("Jos\xE9\n"));
    text.setBytes("Jos\xC3\xA9\n");
    EXPECT_TRUE(text.wasUtf8());
    EXPECT_EQ(text.bytes(), QByteArray("Jos\xE9\n"));
    text.setBytes("Jos\xE9 \x80\n"); // not UTF-8: taken as Windows-1252 bytes
    EXPECT_FALSE(text.wasUtf8());
    EXPECT_EQ(text.bytes(), QByteArray("Jos\xE9 \x80\n"));
    text.setBytes("\xEF\xBB\xBF"
                  "plain\n");
    EXPECT_EQ(text.bytes(), QByteArray("plain\n"));
}

// Files read from disk: the same lines and decoding as bytes handed over, whatever the size
// and the line ends, also when one object reads one file after another.
TEST(ImportText, FilesReadLikeTheirBytes)
{
    TempDir dir;
    QByteArray big;
    for (int i = 0; i < 30000; ++i)
        big += "Name" + QByteArray::number(i) + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    const QByteArray cases[] = {
        "a\r\nb\nc\rd",
        "0123456789abcdef Jos\xC3\xA9 and more text\n", // UTF-8 past the first eight bytes
        "0123456789abcdef Jos\xE9 \x80\n",              // Windows-1252
        "\xEF\xBB\xBF"
        "plain\n",
        "",
        big,
    };
    TImportText fromFile;
    for (const QByteArray &bytes : cases) {
        const QString path = QString::fromStdString(dir.file("IN.CSV"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
        f.close();
        ASSERT_TRUE(fromFile.load(path).ok);
        TImportText fromBytes;
        fromBytes.setBytes(bytes);
        EXPECT_EQ(fromFile.wasUtf8(), fromBytes.wasUtf8()) << bytes.left(40).toStdString();
        EXPECT_EQ(fromFile.bytes(), fromBytes.bytes()) << bytes.left(40).toStdString();
        ASSERT_EQ(fromFile.lines().size(), fromBytes.lines().size()) << bytes.left(40).toStdString();
        for (size_t i = 0; i < fromFile.lines().size(); ++i)
            ASSERT_EQ(fromFile.lines()[i], fromBytes.lines()[i]) << i;
    }
    EXPECT_EQ(linesOf(big).size(), 30000u);
    EXPECT_EQ(linesOf(big).back(), "Name29999");
}

TEST(ImportText, MissingFileFails)
{
    TImportText text;
    const TResult r = text.load(QStringLiteral("/nonexistent/none.csv"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.code, xbase::StatusCode::IoError);
}

} // namespace
