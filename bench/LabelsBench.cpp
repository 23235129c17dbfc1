// Times what the template chooser waits for when it opens: reading the whole gLabels template
// library (when installed), and finding the next free layout file name in a sysdata folder of
// 2,000 layout files. Prints one line per figure in CPU time.
#include "TGlabelsTemplates.h"
#include "TLayoutFileName.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

namespace {

double cpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = TGlabelsTemplates::defaultFolder();
    if (QDir(folder).exists()) {
        const int runs = 5;
        const double start = cpuSeconds();
        int listed = 0;
        for (int i = 0; i < runs; ++i) {
            TGlabelsTemplates t;
            t.read(folder);
            listed = static_cast<int>(t.templates().size());
        }
        std::printf("gLabels library read (%d sheets listed): %.1f ms\n", listed,
                    (cpuSeconds() - start) * 1000.0 / runs);
    } else {
        std::printf("gLabels library read: skipped, glabels-data is not installed\n");
    }

    QTemporaryDir dir;
    QSet<QString> names;
    for (int i = 1; i <= 2000; ++i) {
        const QString name = QStringLiteral("BIN%1.L").arg(i, 5, 10, QLatin1Char('0'));
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::WriteOnly))
            f.write("x");
        names.insert(name);
    }
    const double start = cpuSeconds();
    QString next;
    for (int i = 0; i < 20; ++i)
        next = TLayoutFileName::firstUnused(dir.path(), TGSurfaceKind::Label, names);
    std::printf("next layout name after 2,000 files (%s): %.2f ms\n", qPrintable(next),
                (cpuSeconds() - start) * 1000.0 / 20);
    return 0;
}
