// corvantis-layout: looks into and rewrites layout files from the command line.
//   corvantis-layout dump FILE         each list and object, one Property=value line per entry
//   corvantis-layout rewrite FILE OUT  reads the file into surfaces of its kind, writes it back
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

    // The dump of a stream that was read without error.
    static QString dump(const QByteArray &bytes, bool report);
};
