// corvantis-db: looks into and repairs tables, and creates, imports into and exports address
// files, from the command line.
#include "DbTool.h"
#ifdef CORVANTIS_DB_TRANSFER
#include "DbTransfer.h"

#include <QCoreApplication>
#endif

#include <iostream>
#include <unistd.h>

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool bar = ::isatty(STDERR_FILENO) != 0;
#ifdef CORVANTIS_DB_TRANSFER
    if (!args.empty() && dbtool::isTransferCommand(args[0])) {
        // The program folder (settings, field lengths) is found from the running program.
        QCoreApplication app(argc, argv);
        return dbtool::runTransfer(args, std::cout, std::cerr, bar);
    }
#endif
    return dbtool::run(args, std::cout, std::cerr, bar);
}
