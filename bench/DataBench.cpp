// Times the settings file the way the windows use it: every read and write opens, parses and
// closes the file. Prints one line per operation with the mean time.
#include "TAddingPrefs.h"
#include "TFieldLengths.h"
#include "TIniFile.h"
#include "TWindowPlacement.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

void timeIt(const char *name, int runs, const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i)
        work();
    const double micros = double(timer.nsecsElapsed()) / 1000.0 / runs;
    std::printf("%-52s %10.1f us\n", name, micros);
}

// A settings file as a long-used installation has it: every section of the program, about
// 150 lines.
QByteArray typicalFile()
{
    QByteArray text;
    for (const char *section :
         {"Adding", "Misc", "MRU", "NewFileFieldLengths", "Label", "Envelope", "Envelope Feed",
          "Envelope Printer", "Letter", "Dialing", "TAddressMain_Placement", "TAddressBrowseForm_Placement",
          "TPreviewForm_Placement", "TReportDesigner_Placement"}) {
        text += QByteArray("[") + section + "]\r\n";
        for (int k = 0; k < 10; ++k)
            text += "Key" + QByteArray::number(k) + "=Value " + QByteArray::number(k) + "\r\n";
        text += "\r\n";
    }
    return text;
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("CORVAN.ini"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        f.write(typicalFile());
    }
    TIniFile ini(path);
    TAddingPrefs prefs;
    timeIt("load adding preferences (29 keys, 150-line file)", 200, [&] { prefs = TAddingPrefs::load(ini); });
    timeIt("save adding preferences (one write)", 200, [&] { prefs.save(ini); });
    timeIt("load field lengths (18 keys)", 200, [&] { TFieldLengths::load(ini); });
    timeIt("load + save a window placement", 200, [&] {
        TWindowPlacement::load(ini, QStringLiteral("TAddressMain"), 96, false)
            .save(ini, QStringLiteral("TAddressMain"), 96);
    });

    // The largest file still read: 4 MiB of short lines.
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        QByteArray big = "[Adding]\nPlugDate=1\n";
        while (big.size() < TIniFile::kMaxBytes - 32)
            big += "[Section" + QByteArray::number(big.size()) + "]\nKey=Value\n";
        f.write(big);
    }
    timeIt("read one key from a 4 MiB file", 5,
           [&] { ini.readBool(QStringLiteral("Adding"), QStringLiteral("PlugDate"), false); });
    timeIt("write one key into a 4 MiB file", 5,
           [&] { ini.writeBool(QStringLiteral("Adding"), QStringLiteral("PlugDate"), true); });
    return 0;
}
