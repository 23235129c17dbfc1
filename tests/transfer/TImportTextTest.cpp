#include "TImportText.h"

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
    text.setBytes("\xEF\xBB\xBF" "Jos\xC3\xA9\n");
    EXPECT_TRUE(text.wasUtf8());
    EXPECT_EQ(text.bytes(), QByteArray("Jos\xE9\n"));
    text.setBytes("Jos\xC3\xA9\n");
    EXPECT_TRUE(text.wasUtf8());
    EXPECT_EQ(text.bytes(), QByteArray("Jos\xE9\n"));
    text.setBytes("Jos\xE9 \x80\n"); // not UTF-8: taken as Windows-1252 bytes
    EXPECT_FALSE(text.wasUtf8());
    EXPECT_EQ(text.bytes(), QByteArray("Jos\xE9 \x80\n"));
    text.setBytes("\xEF\xBB\xBF" "plain\n");
    EXPECT_EQ(text.bytes(), QByteArray("plain\n"));
}

TEST(ImportText, MissingFileFails)
{
    TImportText text;
    const TResult r = text.load(QStringLiteral("/nonexistent/none.csv"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.code, xbase::StatusCode::IoError);
}

} // namespace
