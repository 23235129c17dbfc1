// corvantis-layout: looks into and rewrites layout files (see LayoutTool.h).
#include "LayoutTool.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    return LayoutTool::run(arguments, out, err);
}
