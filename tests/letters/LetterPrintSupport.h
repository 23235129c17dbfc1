// Helpers for the letter print tests: a small address file made in the test, letters built in
// memory, and what pdfinfo and pdftotext say about a printed PDF.
#pragma once

#include "TAddressTable.h"
#include "TFieldLengths.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>
#include <vector>

namespace lettertest {

struct Person {
    const char *first;
    const char *last;
    const char *city;
    bool isdel = false;
};

// Creates an address file at `path` holding `people` in that order, and opens it into `table`
// as the main window shows it: query "!ISDEL", record order, first record.
inline void makeAddressFile(const QString &path, const std::vector<Person> &people, TAddressTable &table)
{
    const TResult created = TAddressTable::CreateAddressFile(path, TFieldLengths());
    ASSERT_TRUE(created.ok) << created.message.toStdString();
    const TResult opened = table.OpenTableFile(path);
    ASSERT_TRUE(opened.ok) << opened.message.toStdString();
    xbase::Table &t = table.engine();
    for (const Person &p : people) {
        ASSERT_TRUE(t.appendBlank().ok());
        ASSERT_TRUE(t.setFieldValue("FNAME", p.first).ok());
        ASSERT_TRUE(t.setFieldValue("LNAME", p.last).ok());
        ASSERT_TRUE(t.setFieldValue("CITY", p.city).ok());
        ASSERT_TRUE(t.setLogical("ISDEL", p.isdel).ok());
        ASSERT_TRUE(t.post().ok());
    }
    ASSERT_TRUE(table.setQuery(QStringLiteral("!ISDEL")).ok);
    (void)table.first(); // an empty file has no first record
}

// A letter whose paragraphs are `pages` (each starting a new page after the first).
inline std::unique_ptr<QTextDocument> letter(const QStringList &pages)
{
    auto document = std::make_unique<QTextDocument>();
    QTextCursor cursor(document.get());
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            QTextBlockFormat format;
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            cursor.insertBlock(format);
        }
        cursor.insertText(pages.at(i));
    }
    return document;
}

inline QString tool(const char *name)
{
    return QStandardPaths::findExecutable(QLatin1String(name));
}

inline QString runTool(const char *name, const QStringList &arguments)
{
    QProcess process;
    process.start(tool(name), arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// pdfinfo's page count; -1 when the file is not a PDF it reads.
inline int pdfPages(const QString &pdf)
{
    const QString info = runTool("pdfinfo", {pdf});
    for (const QString &line : info.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

// pdfinfo's "Page size:" line, e.g. "612 x 792 pts (letter)".
inline QString pdfPageSize(const QString &pdf)
{
    const QString info = runTool("pdfinfo", {pdf});
    for (const QString &line : info.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Page size:")))
            return line.mid(10).trimmed();
    return {};
}

// The text of each page, in order.
inline QStringList pdfPageTexts(const QString &pdf)
{
    QStringList pages =
        runTool("pdftotext", {QStringLiteral("-layout"), pdf, QStringLiteral("-")}).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    for (QString &p : pages)
        p = p.simplified();
    return pages;
}

} // namespace lettertest
