// One label run: the layout of a label surface drawn once per record (or per copy) at the
// selected positions of each sheet, row by row, a new sheet when one is full; with a presort,
// the records come group by group from PRESORT.PSL with one header label before each group.
// The "Print Labels" window (through the print status window) and the batch printer create one
// per run; the run draws through any print job, printing or recording for the preview, reads
// one record at a time through the table's query and order, and steps the job's progress after
// each label, whose cancel ends the run after that label.
#pragma once

#include "TLabelSetup.h"
#include "TPresortRange.h"
#include "TPrinterCalibration.h"
#include "TResult.h"
#include "Units.h"

#include <QString>
#include <QStringList>
#include <QVector>

class TAddressTable;
class TBaseReport;
class TGLabelPanel;

struct TLabelRunOptions {
    TLabelSetup setup;
    // Which positions of every sheet receive labels, index = row * NbrAcross + column; sized to
    // the sheet by sizedMask(). Empty: every position.
    QVector<bool> PositionMask;
    int NumberOfEach = 1;     // labels per record, 1 to 99 (a presorted run prints one)
    bool onlyCurrent = false; // the current record alone, leaving the record pointer
    bool presort = false;
    QString presortPath;        // PRESORT.PSL, read when `presort` is set
    QStringList presortLines;   // the list itself, used when presortPath is empty
    int startPosition = 0;      // the first sheet's positions before it stay empty
    TPresortRange presortRange; // the records the tally counted
    bool previewing = false;    // the status line says "Preparing Preview Page"
    // The correction of the printer the labels go to (TPrinterCalibration::forService); a
    // recording for the preview is never corrected.
    TPrinterCalibration calibration;
};

class TLabelRun
{
public:
    // `surface` holds the layout and has the address data set; it and `table` must outlive the
    // run. The table is on the record the run starts with.
    TLabelRun(TGLabelPanel &surface, TAddressTable &table, const TLabelRunOptions &options);

    static QString noPositionMessage()
    {
        return QStringLiteral("You must select at least one card to print");
    }

    // `mask` made exactly `count` entries long: entries kept, new ones selected, so a mask from
    // a smaller sheet leaves the added positions in use and one from a bigger sheet drops the
    // positions this sheet lacks.
    static QVector<bool> sizedMask(const QVector<bool> &mask, int count);
    // Whether a position of the sheet is selected; a run without one would fill blank sheets
    // forever, so the run refuses to start.
    static bool hasSelectedPosition(const QVector<bool> &mask, int count);

    // Loads the setup's layout file into `surface` after clearing it. A missing file fails
    // with "Label definition file has been removed from the sysdata directory", a damaged one
    // with the reader's message; the surface is then left empty, so nothing blank is printed.
    static TResult loadLayout(TGLabelPanel &surface, const QString &layoutPath);

    // The job settings of a label run: title "Corvantis", inches, line height by the font, the
    // paper of the setup ("LTR"/"LTRL" Letter, "A4"/"A4L" A4, "A5" A5, any other the sheet as a
    // custom size) and the orientation. A custom size on a printer whose device name holds
    // "HPFDJ" is not set at all (that driver takes it wrongly). False when the paper size is
    // not confirmed: not set, or set but the printer's page differs from the sheet by more
    // than 0.05 in either way.
    static bool prepareJob(TBaseReport &job, const TLabelSetup &setup);
    // The question asked when prepareJob() could not confirm the paper of `setup`.
    static QString paperQuestion(const TLabelSetup &setup);

    // Sets the job's OnBeforePrint and OnPrint to this run and clears its other callbacks;
    // a job printing on a printer takes the run's calibration.
    // Requires: the run outlives the job's RunJob.
    void attach(TBaseReport &job);

    // The callbacks, also callable directly. PrintLabels refuses (result()) a mask with no
    // position of the sheet selected and a presort list it cannot read.
    void BeforePrintLabels(TBaseReport &job);
    void PrintLabels(TBaseReport &job);

    // What the last run did: record labels and header labels drawn, and its failure (the
    // message) when it did not start or an engine failure ended it.
    int labels() const { return m_labels; }
    int headers() const { return m_headers; }
    const TResult &result() const { return m_result; }

private:
    TGLabelPanel &m_surface;
    TAddressTable &m_table;
    TLabelRunOptions m_options;
    TResult m_result;
    int m_labels = 0;
    int m_headers = 0;
};
