// The envelope setups of ENVELOPE.DBF: one row per setup with its description (DESCRIPT, the
// first 50 characters used), its size code (NUMBER) and the name of its layout file in
// "sysdata" (BINARY, "BIN" + five digits + ".E"). The envelope window owns one while it is
// open; the table is open exclusively meanwhile. Rows are in the order of the DESCRIPT tag;
// rows with the delete mark are not shown. Every change keeps row and layout file in step:
// a layout is written before the row that names it is posted, and a row is added only when
// its layout file exists.
#pragma once

#include "TResult.h"

#include <Table.h>

#include <QString>
#include <QVector>

class TGBasePanel;

struct TEnvelopeRow {
    quint32 recno = 0; // 0: not in the table yet
    QString description;
    int number = 0; // the stored size code, known or not
    QString binary;
};

class TEnvelopeSetups
{
public:
    static constexpr int kDescriptionLength = 50;

    // The window's questions, messages and the description a clone gets.
    static QString deleteQuestion(const QString &description)
    {
        return QStringLiteral("Delete \"") + description + QStringLiteral("\"?");
    }
    static QString cloneQuestion(const QString &description)
    {
        return QStringLiteral("Clone \"") + description + QStringLiteral("\"?");
    }
    static QString missingLayoutMessage()
    {
        return QStringLiteral("Envelope definition file has been removed from the sysdata directory");
    }
    // The notice when a setup names a size code that is not an envelope size.
    static QString unknownSizeMessage(const QString &description);
    // "Clone of " + description, cut to 50 characters.
    static QString cloneDescription(const QString &description);

    // Opens (or creates) "sysdata/ENVELOPE.DBF" below `programFolder`. Requires: not open.
    TResult open(const QString &programFolder);
    void close();
    bool isOpen() const { return m_table.isOpen(); }

    const QVector<TEnvelopeRow> &rows() const { return m_rows; }
    // The row of record `recno`; -1 when it is not shown.
    int indexOf(quint32 recno) const;

    // The sysdata folder, with a trailing "/".
    const QString &folder() const { return m_folder; }
    // The path of layout file `binary` in the sysdata folder (found without regard to case);
    // empty for a name that is not a layout file name, so a damaged row never reaches
    // another file.
    QString layoutPath(const QString &binary) const;
    bool hasLayoutFile(const QString &binary) const;
    // The first "BIN#####.E" neither in the folder nor named by a row; empty when all are taken.
    QString nextBinaryName() const;

    // Saves a setup: the layout of `surface` goes to row.binary first (through a temporary
    // file, so a failure leaves the old layout), then the row is written and posted (appended
    // when row.recno is 0; row.recno then receives its number). A failed post of a new row
    // removes the layout file it had just written. Requires: row.binary a layout file name.
    TResult save(TEnvelopeRow &row, TGBasePanel &surface);
    // Deletes the row, then its layout file (only a layout file name is ever removed).
    TResult remove(quint32 recno);
    // Copies the row's layout file to a new name and appends a row naming it, described
    // cloneDescription(), with the same size code. A layout file that cannot be copied
    // (missing, unreadable, the copy not written) adds no row and answers why.
    TResult clone(quint32 recno, quint32 *newRecno = nullptr);

private:
    TResult readRows();
    TResult store(const TEnvelopeRow &row);
    TResult goTo(quint32 recno);

    xbase::Table m_table;
    QString m_folder;
    QVector<TEnvelopeRow> m_rows;
};
