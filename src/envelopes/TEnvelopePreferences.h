// How envelopes go into the printer and which printer takes them: the feed values (sections
// "Envelope Feed") and the printer, source, paper and orientation ("Envelope Printer") of the
// settings file, read before every envelope run and applied to the run's print job. The
// envelope window and the batch run read and write them through these functions; stateless.
#pragma once

#include <QString>

class TBaseReport;
class TIniFile;

// The feed values: how an envelope lies as it is fed, where it sits in the feeder, which side
// is up, and whether the printer turns the page clockwise.
struct TEnvelopeFeedValues {
    enum { Portrait = 0, Landscape = 1 };
    enum { FaceUp = 0, FaceDown = 1 };
    enum { Left = 0, Right = 1, Center = 2 };

    int Orientation = Landscape;
    int Facing = FaceDown;
    int Position = Center;
    bool ClockWise = false;

    friend bool operator==(const TEnvelopeFeedValues &a, const TEnvelopeFeedValues &b)
    {
        return a.Orientation == b.Orientation && a.Facing == b.Facing && a.Position == b.Position &&
               a.ClockWise == b.ClockWise;
    }
};

// The printer set-up kept for envelopes.
struct TEnvelopePrinterValues {
    QString printer;
    QString bin;
    QString paper;
    int orientation = 0; // 0 portrait, 1 landscape
};

class TEnvelopePreferences
{
public:
    // The feed values of the settings file. A value outside its range (a hand-edited or
    // damaged file) takes its default, so placement never works from a value it cannot mean.
    static TEnvelopeFeedValues readFeed(const TIniFile &ini);
    // The printer values of the settings file; a missing or empty name, and a missing
    // orientation, are the job's current ones.
    static TEnvelopePrinterValues readPrinter(const TIniFile &ini, const TBaseReport &job);
    // The job's current printer, source, paper and orientation.
    static TEnvelopePrinterValues current(const TBaseReport &job);

    // The printer name of a stored name, without any part from " ON " onward (the match
    // ignores case): "Laser ON LPT1:" gives "Laser".
    static QString printerName(const QString &stored);

    // Selects the printer named by `values` (when installed), its source and paper (when not
    // empty) and the orientation: landscape for any orientation but 0.
    static void apply(const TEnvelopePrinterValues &values, TBaseReport &job);

    // LoadPreferences: reads both sections and applies the printer values to `job`.
    static TEnvelopeFeedValues load(const TIniFile &ini, TBaseReport &job);
    // SavePreferences: writes the feed values and the job's current printer values. False
    // when the settings file could not be written (it is then as it was).
    static bool save(TIniFile &ini, const TEnvelopeFeedValues &feed, const TBaseReport &job);
};
