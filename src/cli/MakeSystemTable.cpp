// corvantis-mksys: makes one of the system tables the program ships (LBLTPL, CSZ) from its
// list in reference/. Used by the build; fails (and leaves no table behind) when a row does
// not fit the table's fields.
//
//   corvantis-mksys TABLE LIST.csv OUT.DBF
#include "TSystemTableMaker.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "Usage: corvantis-mksys TABLE LIST.csv OUT.DBF\n");
        return 2;
    }
    const QString name = QString::fromLocal8Bit(argv[1]);
    TSystemTable table;
    if (!TSystemTableMaker::tableNamed(name, table)) {
        std::fprintf(stderr, "corvantis-mksys: unknown table %s\n", name.toLocal8Bit().constData());
        return 1;
    }
    const TResult made =
        TSystemTableMaker::make(table, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (!made) {
        std::fprintf(stderr, "corvantis-mksys: %s\n", made.message.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
