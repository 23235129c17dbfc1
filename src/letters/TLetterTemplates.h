// The letter templates of LETTER.DBF: one record per letter with its description (DESCRIPT,
// 50 characters) and its RTF text (the RTF memo). The letter list window and the batch
// command each own one for as long as they work with letters; the table is open exclusively
// meanwhile. Rows are in record order; records with the delete mark are not shown.
#pragma once

#include "TResult.h"

#include <Table.h>

#include <QString>
#include <QVector>

class QTextDocument;

struct TLetterRow {
    quint32 recno = 0;
    QString description;
};

class TLetterTemplates
{
public:
    static constexpr int kDescriptionLength = 50;

    // The window's questions and the description a new letter and a clone get.
    static QString untitled() { return QStringLiteral("{untitled}"); }
    static QString deleteQuestion(const QString &description)
    {
        return QStringLiteral("Delete \"") + description + QStringLiteral("\"?");
    }
    static QString cloneQuestion(const QString &description)
    {
        return QStringLiteral("Clone \"") + description + QStringLiteral("\"?");
    }
    // "Clone of " + description, cut to the field's 50 characters.
    static QString cloneDescription(const QString &description);

    // Opens (or creates) "sysdata/LETTER.DBF" below `programFolder`; the failure message is
    // "Unable to Open or Create LETTER.DBF". Requires: not open.
    TResult open(const QString &programFolder);
    void close();
    bool isOpen() const { return m_table.isOpen(); }

    // The letters, in record order.
    const QVector<TLetterRow> &rows() const { return m_rows; }
    bool isEmpty() const { return m_rows.isEmpty(); }
    // The row of the first letter whose description is `description` (compared without regard
    // to case when no row matches exactly); -1 when none.
    int find(const QString &description) const;

    // The stored RTF text of letter `recno`, as it is.
    TResult rtfText(quint32 recno, QString &out) const;
    // Fills `document` from letter `recno`'s text; a text that is not readable RTF fails with
    // Corruption and leaves the document as it was.
    TResult loadDocument(quint32 recno, QTextDocument &document) const;

    // Appends a letter with `description` (cut to 50 characters) and the memo text of
    // `document` (the storing rule applied); `recno` receives its number.
    TResult append(const QString &description, const QTextDocument &document, quint32 *recno = nullptr);
    // Stores `description` and `document` into letter `recno`.
    TResult modify(quint32 recno, const QString &description, const QTextDocument &document);
    // Sets the delete mark of letter `recno`.
    TResult remove(quint32 recno);
    // Appends a copy of letter `recno`'s text as it is stored, described cloneDescription().
    TResult clone(quint32 recno, quint32 *newRecno = nullptr);

private:
    TResult readRows();
    TResult store(const QString &description, const QString &memo);
    TResult goTo(quint32 recno) const;

    mutable xbase::Table m_table;
    QVector<TLetterRow> m_rows;
};
