// The "letters" command of corvantis-batch: prints one letter of LETTER.DBF for the records of
// an address file without opening a window, to one PDF file, to one PDF file per record (for
// sending by e-mail) or to a printer. The batch main hands it the arguments and the streams;
// tests call it the same way.
//
//   letters --letter NAME [--file ADDRESS.DBF] [--filter FILE.FLT | --tagged | --all]
//           [--copies N] (--pdf OUT.pdf | --pdf-each FOLDER | --printer NAME)
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QTextStream;
class TPrinterService;

class TLettersBatch
{
public:
    enum ExitCode { kOk = 0, kFailure = 1, kBadUse = 2 };

    // Makes the printing service of the printer named `name`; null with `error` set when there
    // is no such printer. The batch main gives one over the system's printers.
    using PrinterMaker = std::function<std::unique_ptr<TPrinterService>(const QString &name, QString &error)>;

    // `programFolder` holds CORVAN.ini, DATA/ and sysdata/ (with a trailing "/").
    explicit TLettersBatch(QString programFolder, PrinterMaker printers = {});

    // Runs the command; `args` excludes the program and the command name. What was printed
    // goes to `out`, failures to `err` (bad use prints the usage there too).
    int run(const QStringList &args, QTextStream &out, QTextStream &err);

    static QString usage();
    // The name of the PDF file of one record: its name line, else its organisation, else
    // "Record " + its number, with the characters a file name cannot hold replaced by "_".
    static QString fileNameFor(const QString &nameLine, const QString &org, quint32 recno);

private:
    QString m_programFolder;
    PrinterMaker m_printers;
};
