// corvantis-layout: looks into and rewrites layout files from the command line.
//   corvantis-layout dump FILE         each list and object, one Property=value line per entry
//   corvantis-layout rewrite FILE OUT  reads the file into surfaces of its kind, writes it back
//   corvantis-layout barcode postnet ZIPTEXT [ADDRESS] [--type 5|9|11]   POSTNET bars, F and H
//   corvantis-layout barcode fim A|B|C                                    the FIM's 17 columns, 1 a bar
//   corvantis-layout barcode imb TRACKING [ROUTING]                       Intelligent Mail bars, F A D T
// The kind comes from the extension: ".L" label, ".E" envelope, ".R" report (four lists); any
// other name is read as one list with the classes of every surface.
#pragma once

#include <QStringList>
#include <QTextStream>

class LayoutTool
{
public:
    // Runs one command; the exit status: 0 done, 1 the file could not be read or written,
    // 2 wrong arguments.
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);

    // The barcode commands (arguments after "barcode"): the bars on one line, as the shared
    // barcode fixtures write them. Input that makes no barcode gives a message and status 1.
    static int runBarcode(const QStringList &arguments, QTextStream &out, QTextStream &err);

    // The dump of a stream that was read without error.
    static QString dump(const QByteArray &bytes, bool report);
};
