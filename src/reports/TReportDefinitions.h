// The designed reports of REPORT.DBF: one row per report with its description (DESCRIPT), the
// page it is laid out on (LAYOUT) and the name of its layout file in the sysdata folder
// (BINARY). The layout file holds the objects of the header, detail and footer bands as three
// lists, then the report settings as a fourth. The report window and the batch run each own
// one while they work with designed reports; REPORT.DBF is open exclusively meanwhile.
#pragma once

#include "TReportSettings.h"
#include "TResult.h"

#include <Table.h>

#include <QByteArray>
#include <QString>
#include <QVector>

#include <functional>

class TGBasePanel;
class TGOwner;

struct TReportRow {
    quint32 recno = 0;
    QString description;
    QString layout;
    QString binary;
};

class TReportDefinitions
{
public:
    static constexpr int kDescriptionLength = 60;
    static constexpr int kLayoutLength = 60;

    // The description and layout text of a report made with "New".
    static QString newDescription() { return QStringLiteral("<new report>"); }
    static QString newLayout() { return QStringLiteral("Letter Size, Portrait"); }
    static QString deleteQuestion(const QString &description)
    {
        return QStringLiteral("Delete \"") + description + QStringLiteral("\"?");
    }
    static QString cloneQuestion(const QString &description)
    {
        return QStringLiteral("Clone \"") + description + QStringLiteral("\"?");
    }
    // "Clone of " + description, cut to the field's 60 characters.
    static QString cloneDescription(const QString &description);

    // Opens (or creates) "sysdata/REPORT.DBF" below `programFolder`, in record order, rows
    // with the delete mark left out. Requires: not open.
    TResult open(const QString &programFolder);
    void close();
    bool isOpen() const { return m_table.isOpen(); }
    // The sysdata folder the layout files live in.
    const QString &folder() const { return m_folder; }

    const QVector<TReportRow> &rows() const { return m_rows; }
    bool isEmpty() const { return m_rows.isEmpty(); }
    // The row of the first report described `description` (exactly, else without regard to
    // case); -1 when none.
    int find(const QString &description) const;
    // The layout file of `row`, found without regard to case; empty when BINARY is not a layout
    // file name (a damaged row never reaches another file).
    QString layoutPath(const TReportRow &row) const;

    // The name a new layout file gets: the first BIN00001.R … BIN99999.R neither in the folder
    // nor named by any row, so a row whose file went missing never shares a file with a new
    // one. Empty when all are taken.
    QString NextReportBinaryName() const;

    // Empties the three bands and resets `settings` to the defaults at its pixels per inch,
    // then, when the row's layout file exists, reads its objects into the bands and its
    // settings list into `settings`. The settings change only when the whole list was read;
    // a damaged file fails with its message and leaves the bands empty and the defaults.
    TResult LoadReport(const TReportRow &row, TGOwner *owner, TGBasePanel &header, TGBasePanel &detail,
                       TGBasePanel &footer, TReportSettings &settings) const;
    static TResult LoadReportFile(const QString &path, TGOwner *owner, TGBasePanel &header,
                                  TGBasePanel &detail, TGBasePanel &footer, TReportSettings &settings);

    // The bytes of a layout file: the three bands' objects (data values cleared) and the list.
    static QByteArray reportBytes(TGBasePanel &header, TGBasePanel &detail, TGBasePanel &footer,
                                  const TReportSettings &settings);

    // Stores a report: with `isNew` a row is appended with a new file name, else row `recno`
    // is changed. The layout file is written first (through a temporary file that replaces
    // the old one only when whole), the row posted only after; a failed write leaves the row
    // and the old file as they were. `savedRecno` receives the row's record number.
    TResult SaveReport(bool isNew, quint32 recno, const QString &description, const QString &layout,
                       TGBasePanel &header, TGBasePanel &detail, TGBasePanel &footer,
                       const TReportSettings &settings, quint32 *savedRecno = nullptr);
    // Marks row `recno` deleted and removes its layout file when it has one.
    TResult remove(quint32 recno);
    // Copies row `recno`'s layout file byte for byte under a new name, then appends a row
    // "Clone of …" with the same layout text and that name. A file that is missing or cannot
    // be copied is reported and appends nothing.
    TResult clone(quint32 recno, quint32 *newRecno = nullptr);

    // How layout files are written (tests fail writes on purpose): replaces the file at `path`
    // with `bytes` or leaves it as it was.
    using FileWriter = std::function<TResult(const QString &path, const QByteArray &bytes)>;
    void setFileWriter(FileWriter writer) { m_writeFile = std::move(writer); }
    static TResult writeFileAtomically(const QString &path, const QByteArray &bytes);

private:
    TResult readRows();
    TResult goTo(quint32 recno) const;
    const TReportRow *row(quint32 recno) const;
    TResult store(const QString &description, const QString &layout, const QString &binary);

    mutable xbase::Table m_table;
    QString m_folder;
    QVector<TReportRow> m_rows;
    FileWriter m_writeFile = &TReportDefinitions::writeFileAtomically;
};
