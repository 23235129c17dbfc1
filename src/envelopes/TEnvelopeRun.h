// One envelope run: the layout of an envelope surface drawn once per record, one envelope per
// page, at the place on the page the feed settings give. The envelope window (through the
// print status window) and a batch run create one per run; the run draws through any print
// job, printing to the printer (or its PDF) or recording for the preview, and reports each
// page to the job's progress, whose cancel stops it before the next record.
#pragma once

#include "TEnvelopePreferences.h"
#include "TPrinterCalibration.h"
#include "Units.h"

class TAddressTable;
class TBaseReport;
class TEnvelopePanel;

struct TEnvelopeRunOptions {
    InchSize envelope;        // the setup's envelope, width and height
    TEnvelopeFeedValues feed; // how the printer takes it
    bool onlyCurrent = false; // print the current record alone, leaving the record pointer
    bool previewing = false;  // mark the printable area of each page (the preview only)
    // The correction of the printer the envelopes go to (TPrinterCalibration::forService); a
    // recording for the preview is never corrected.
    TPrinterCalibration calibration;
};

class TEnvelopeRun
{
public:
    // `surface` holds the layout and has the address data set; it and `table` must outlive
    // the run. The table is on the record the run starts with.
    TEnvelopeRun(TEnvelopePanel &surface, TAddressTable &table, const TEnvelopeRunOptions &options);

    // The job settings of an envelope run: title "Corvantis", inches, MarginLeft 0.5, line
    // height by the font, the paper of size code `code` (the envelope itself as a custom size
    // where the service has no such paper), landscape when the feed orientation is landscape.
    // False when no paper could be selected.
    static bool prepareJob(TBaseReport &job, int code, InchSize envelope, const TEnvelopeFeedValues &feed);

    // Sets the job's OnBeforePrint and OnPrint to this run and clears its other callbacks;
    // a job printing on a printer takes the run's calibration.
    // Requires: the run outlives the job's RunJob.
    void attach(TBaseReport &job);

    // Envelopes drawn by the last run.
    int envelopes() const { return m_count; }
    // Where the last run put each envelope's top-left corner on the page.
    InchPoint offset() const { return m_offset; }

    // The callbacks, also callable directly.
    void BeforePrintEnvelope(TBaseReport &job);
    void PrintEnvelope(TBaseReport &job);

private:
    TEnvelopePanel &m_surface;
    TAddressTable &m_table;
    TEnvelopeRunOptions m_options;
    InchPoint m_offset;
    int m_count = 0;
};
