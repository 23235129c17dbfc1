#include "TEnvelopePreferences.h"

#include "TBaseReport.h"
#include "TIniFile.h"

namespace {

const QString kFeed = QStringLiteral("Envelope Feed");
const QString kPrinter = QStringLiteral("Envelope Printer");

int inRange(int value, int low, int high, int fallback)
{
    return value >= low && value <= high ? value : fallback;
}

} // namespace

TEnvelopeFeedValues TEnvelopePreferences::readFeed(const TIniFile &ini)
{
    const TEnvelopeFeedValues d;
    TEnvelopeFeedValues v;
    v.Orientation =
        inRange(ini.readInteger(kFeed, QStringLiteral("Orientation"), d.Orientation), 0, 1, d.Orientation);
    v.Facing = inRange(ini.readInteger(kFeed, QStringLiteral("Facing"), d.Facing), 0, 1, d.Facing);
    v.Position = inRange(ini.readInteger(kFeed, QStringLiteral("Position"), d.Position), 0, 2, d.Position);
    v.ClockWise = ini.readBool(kFeed, QStringLiteral("ClockWiseRotation"), d.ClockWise);
    return v;
}

TEnvelopePrinterValues TEnvelopePreferences::current(const TBaseReport &job)
{
    TEnvelopePrinterValues v;
    const QStringList printers = job.PrinterNames();
    const int printer = job.SelectedPrinter();
    if (printer >= 0 && printer < printers.size())
        v.printer = printers.at(printer);
    const QStringList bins = job.BinNames();
    const int bin = job.CurrentBinIndex();
    if (bin >= 0 && bin < bins.size())
        v.bin = bins.at(bin);
    const QStringList papers = job.PaperNames();
    const int paper = job.CurrentPaperIndex();
    if (paper >= 0 && paper < papers.size())
        v.paper = papers.at(paper);
    v.orientation = job.DeviceOrientation() == 0 ? 0 : 1;
    return v;
}

TEnvelopePrinterValues TEnvelopePreferences::readPrinter(const TIniFile &ini, const TBaseReport &job)
{
    const TEnvelopePrinterValues now = current(job);
    TEnvelopePrinterValues v;
    v.printer = ini.readString(kPrinter, QStringLiteral("Printer"));
    v.bin = ini.readString(kPrinter, QStringLiteral("Bin"));
    v.paper = ini.readString(kPrinter, QStringLiteral("Paper"));
    v.orientation = ini.readInteger(kPrinter, QStringLiteral("Orientation"), now.orientation);
    if (v.printer.isEmpty())
        v.printer = now.printer;
    if (v.bin.isEmpty())
        v.bin = now.bin;
    if (v.paper.isEmpty())
        v.paper = now.paper;
    return v;
}

QString TEnvelopePreferences::printerName(const QString &stored)
{
    const int on = int(stored.indexOf(QStringLiteral(" ON "), 0, Qt::CaseInsensitive));
    return on < 0 ? stored : stored.left(on);
}

void TEnvelopePreferences::apply(const TEnvelopePrinterValues &values, TBaseReport &job)
{
    const QString name = printerName(values.printer);
    const int index = int(job.PrinterNames().indexOf(name));
    if (index >= 0 && index != job.SelectedPrinter())
        job.setSelectedPrinter(index);
    // A source or paper the printer does not offer leaves the current one.
    if (!values.bin.isEmpty())
        (void)job.SelectBinByName(values.bin);
    if (!values.paper.isEmpty())
        (void)job.SelectPaperByName(values.paper);
    job.setOrientation(values.orientation != 0 ? TBaseReport::poLandScape : TBaseReport::poPortrait);
}

TEnvelopeFeedValues TEnvelopePreferences::load(const TIniFile &ini, TBaseReport &job)
{
    const TEnvelopeFeedValues feed = readFeed(ini);
    apply(readPrinter(ini, job), job);
    return feed;
}

bool TEnvelopePreferences::save(TIniFile &ini, const TEnvelopeFeedValues &feed, const TBaseReport &job)
{
    const TEnvelopePrinterValues now = current(job);
    const bool feedWritten = ini.writeStrings(
        kFeed,
        {{QStringLiteral("Orientation"), QString::number(feed.Orientation)},
         {QStringLiteral("Facing"), QString::number(feed.Facing)},
         {QStringLiteral("Position"), QString::number(feed.Position)},
         {QStringLiteral("ClockWiseRotation"), feed.ClockWise ? QStringLiteral("1") : QStringLiteral("0")}});
    const bool printerWritten =
        ini.writeStrings(kPrinter, {{QStringLiteral("Printer"), now.printer},
                                    {QStringLiteral("Bin"), now.bin},
                                    {QStringLiteral("Paper"), now.paper},
                                    {QStringLiteral("Orientation"), QString::number(now.orientation)}});
    return feedWritten && printerWritten;
}
