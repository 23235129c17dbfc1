// corvantis-batch: prints outputs from the command line. The first argument names the command;
// each command's logic lives in its own library and gets the remaining arguments.
#include "TEnvelopesBatch.h"
#include "TLabelsBatch.h"
#include "TLettersBatch.h"
#include "TProgramFolder.h"
#include "TQtPrinterService.h"
#include "TReportsBatch.h"

#include <QApplication>
#include <QPrinterInfo>
#include <QTextStream>

#include <cstdio>

namespace {

std::unique_ptr<TPrinterService> systemPrinter(const QString &name, QString &error)
{
    auto service = std::make_unique<TQtPrinterService>(QString());
    const qsizetype index = service->printerNames().indexOf(name);
    if (index < 0) {
        error = QStringLiteral("There is no printer ") + name;
        return nullptr;
    }
    service->setSelectedPrinter(static_cast<int>(index));
    return service;
}

QString commands()
{
    return QStringLiteral(
        "usage: corvantis-batch COMMAND ARGUMENTS...\ncommands:\n  labels    print label sheets of "
        "address records (corvantis-batch labels --help)\n  envelopes print envelopes for address records "
        "(corvantis-batch envelopes --help)\n  letters   print a letter for "
        "address records (corvantis-batch letters --help)\n  reports   print a built-in or designed "
        "report of address records to PDF (corvantis-batch reports --help)\n");
}

} // namespace

int main(int argc, char **argv)
{
    // No window is shown: without a display the offscreen platform serves.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    if (command == QLatin1String("letters")) {
        if (args.contains(QLatin1String("--help"))) {
            out << TLettersBatch::usage();
            return 0;
        }
        return TLettersBatch(TProgramFolder::path(), systemPrinter).run(args, out, err);
    }
    if (command == QLatin1String("labels"))
        return TLabelsBatch::run(args, TProgramFolder::path(), out, err, systemPrinter);
    if (command == QLatin1String("envelopes"))
        return TEnvelopesBatch::run(args, TProgramFolder::path(), out, err, systemPrinter);
    if (command == QLatin1String("reports"))
        return TReportsBatch::run(args, TProgramFolder::path(), out, err);
    err << (command.isEmpty() ? QString() : QStringLiteral("Unknown command ") + command + QLatin1Char('\n'))
        << commands();
    return 2;
}
