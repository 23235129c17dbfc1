// corvantis-db: looks into and repairs tables from the command line.
#include "DbTool.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return dbtool::run(args, std::cout, std::cerr, ::isatty(STDERR_FILENO) != 0);
}
