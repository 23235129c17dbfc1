// The label setups of LABEL.DBF: one row per setup with its sheet geometry and the name of its
// layout file in "sysdata". The "Print Labels" window owns one while it is open; the table is
// open exclusively meanwhile. Rows with the delete mark are hidden; the list is in the order of
// the DESCRIPT tag. Every change posts the row only after its layout file is in place, so a
// row never names a file that was not written.
#pragma once

#include "TLabelSetup.h"
#include "TResult.h"

#include <Table.h>

#include <QString>
#include <QVector>

#include <functional>

struct TLabelSetupRow {
    quint32 recno = 0;
    QString description;
    QString sheetName; // TPLDESCRIP, or "[User Defined]"
};

class TLabelSetups
{
public:
    // Writes the layout to the file at the path it is handed; a failure leaves any file that
    // was there as it was.
    using LayoutWriter = std::function<TResult(const QString &path)>;

    // The window's questions and messages.
    static QString deleteQuestion(const QString &description)
    {
        return QStringLiteral("Delete \"") + description + QStringLiteral("\"?");
    }
    static QString cloneQuestion(const QString &description)
    {
        return QStringLiteral("Clone \"") + description + QStringLiteral("\"?");
    }
    static QString removedFileMessage()
    {
        return QStringLiteral("Label definition file has been removed from the sysdata directory");
    }
    static QString noFreeNameMessage()
    {
        return QStringLiteral("Every layout file name from BIN00001.L to BIN99999.L is in use");
    }
    // "Clone of :" + description, cut to 50 characters.
    static QString cloneDescription(const QString &description);

    // Opens (or creates) "sysdata/LABEL.DBF" below `programFolder`; the failure message is
    // "Unable to Open or Create LABEL.DBF". Requires: not open.
    TResult open(const QString &programFolder);
    void close();
    bool isOpen() const { return m_table.isOpen(); }
    // The "sysdata" folder of the program folder.
    const QString &folder() const { return m_folder; }

    const QVector<TLabelSetupRow> &rows() const { return m_rows; }
    bool isEmpty() const { return m_rows.isEmpty(); }
    // The list row of record `recno`, or -1.
    int rowOf(quint32 recno) const;

    // Fills `out` from row `recno`. A row whose counts, sizes or pitches cannot make a sheet
    // fails with a message naming the setup and the column; `out` is then left as it was.
    TResult ReadLabelSetup(quint32 recno, TLabelSetup &out) const;
    // Every column of the table's current row (in edit or append state) from `setup`; the
    // caller posts it. Lengths are written with 3 decimals.
    static TResult WriteLabelSetup(xbase::Table &table, const TLabelSetup &setup);
    // The geometry and stock columns of the current row of LABEL.DBF or LBLTPL.DBF
    // (`labelColumns` adds TPLDESCRIP and BINARY), unchecked.
    static TResult readColumns(const xbase::Table &table, TLabelSetup &out, bool labelColumns);
    // The message for a row whose `column` is out of range.
    static QString invalidRowMessage(const QString &description, const QString &column);

    // The path of `binary` in "sysdata", or empty when it is not a layout file name
    // ("BIN" + five digits + ".L"), so a damaged row never reaches another file.
    QString layoutPath(const QString &binary) const;
    bool layoutExists(const QString &binary) const;
    // The first layout file name that neither exists in "sysdata" nor is named by any row of
    // the table (deleted rows included); fails with noFreeNameMessage() when all are taken.
    TResult NextLayoutFileName(QString &out) const;

    // Saves `setup` as row `recno` (0 appends a new row, whose number `recno` then receives):
    // first `writeLayout` writes the layout file "sysdata/" + setup.Binary, then the row is
    // written and posted. A failed write leaves the table as it was; a failed post removes a
    // layout file that was new.
    TResult save(TLabelSetup &setup, quint32 &recno, const LayoutWriter &writeLayout);
    // Appends a copy of row `recno` described cloneDescription() with a layout file of its own
    // that holds the bytes of the row's layout, which must load first: a missing file fails
    // with removedFileMessage(), a damaged one with the reader's message; nothing is added
    // then. `newRecno` receives the new row's number. `pixelsPerInch` is the resolution of the
    // surface the layout is read into.
    TResult clone(quint32 recno, double pixelsPerInch, quint32 *newRecno = nullptr);
    // Sets the delete mark of row `recno` and deletes its layout file from "sysdata" when the
    // row names a layout file and no other row names the same file.
    TResult remove(quint32 recno);

private:
    TResult readRows();
    TResult goTo(quint32 recno) const;
    // The BINARY values of every record of the table.
    TResult namesInUse(QSet<QString> &out, quint32 except = 0) const;

    mutable xbase::Table m_table;
    QString m_folder;
    QVector<TLabelSetupRow> m_rows;
};
