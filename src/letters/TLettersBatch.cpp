#include "TLettersBatch.h"

#include "TAddressSession.h"
#include "TBatchArguments.h"
#include "TFilterFile.h"
#include "TIniFile.h"
#include "TLetterPrint.h"
#include "TLetterTemplates.h"
#include "TMergeFields.h"
#include "TMergeTableRecord.h"
#include "TOutputRecords.h"
#include "TPdfPrinterService.h"
#include "TPrinterCalibration.h"
#include "TText.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTextDocument>
#include <QTextStream>

namespace {

struct Options {
    QString letter;
    QString file;
    QString filter;
    bool tagged = false;
    bool all = false;
    int copies = 1;
    QString pdf;
    QString pdfEach;
    QString printer;
};

// Counts the records a run went through.
class RecordCount : public TProgress
{
public:
    void setTotal(int) override {}
    void step() override { ++records; }
    bool cancelled() const override { return false; }
    int records = 0;
};

bool parse(const QStringList &args, Options &o, QString &error)
{
    TBatchArguments arguments(QStringLiteral("Unknown argument "));
    arguments.value("--letter", o.letter, false, true);
    arguments.value("--file", o.file, false, true);
    arguments.value("--filter", o.filter, false, true);
    arguments.flag("--tagged", o.tagged);
    arguments.flag("--all", o.all);
    arguments.number("--copies", 1, 999, o.copies,
                     QStringLiteral("--copies takes a whole number from 1 to 999"));
    arguments.value("--pdf", o.pdf, false, true);
    arguments.value("--pdf-each", o.pdfEach, false, true);
    arguments.value("--printer", o.printer, false, true);
    if (!arguments.parse(args, error))
        return false;
    if (o.letter.isEmpty()) {
        error = QStringLiteral("--letter is missing");
        return false;
    }
    if (int(!o.filter.isEmpty()) + int(o.tagged) + int(o.all) > 1) {
        error = QStringLiteral("Give one of --filter, --tagged and --all");
        return false;
    }
    if (int(!o.pdf.isEmpty()) + int(!o.pdfEach.isEmpty()) + int(!o.printer.isEmpty()) != 1) {
        error = QStringLiteral("Give one of --pdf, --pdf-each and --printer");
        return false;
    }
    return true;
}

} // namespace

TLettersBatch::TLettersBatch(QString programFolder, PrinterMaker printers)
    : m_programFolder(TBatchRun::folderOf(programFolder)), m_printers(std::move(printers))
{
}

QString TLettersBatch::usage()
{
    return QStringLiteral(
        "usage: corvantis-batch letters --letter NAME [--file ADDRESS.DBF]\n"
        "           [--filter FILE.FLT | --tagged | --all] [--copies N]\n"
        "           (--pdf OUT.pdf | --pdf-each FOLDER | --printer NAME)\n"
        "  --letter NAME     the letter's description in LETTER.DBF\n"
        "  --file            the address file (default: the last one opened, else DATA/add0001.DBF)\n"
        "  --filter FILE     the records matching a saved filter file\n"
        "  --tagged          the tagged records\n"
        "  --all             every record not deleted (the default)\n"
        "  --copies N        copies of each letter, 1 to 999 (default 1)\n"
        "  --pdf OUT.pdf     all letters in one PDF file\n"
        "  --pdf-each DIR    one PDF file per record, named after it\n"
        "  --printer NAME    the letters to a printer\n");
}

QString TLettersBatch::fileNameFor(const QString &nameLine, const QString &org, quint32 recno)
{
    QString name = TText::Trim(nameLine);
    if (name.isEmpty())
        name = TText::Trim(org);
    if (name.isEmpty())
        name = QStringLiteral("Record ") + QString::number(recno);
    for (QChar &c : name) {
        if (c.unicode() < 0x20 || c == QChar(0x7F) || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    // A name of dots alone would name a folder.
    if (name.startsWith(QLatin1Char('.')))
        name.replace(0, 1, QLatin1Char('_'));
    return name.left(120) + QStringLiteral(".pdf");
}

int TLettersBatch::run(const QStringList &args, QTextStream &out, QTextStream &err)
{
    Options o;
    QString error;
    if (!parse(args, o, error)) {
        err << error << '\n' << usage();
        return kBadUse;
    }

    // The letter.
    TLetterTemplates letters;
    TResult result = letters.open(m_programFolder);
    if (!result) {
        err << result.message << '\n';
        return kFailure;
    }
    const int row = letters.find(o.letter);
    if (row < 0) {
        err << QStringLiteral("There is no letter \"") << o.letter << QStringLiteral("\" in LETTER.DBF\n");
        return kFailure;
    }
    QTextDocument letter;
    result = letters.loadDocument(letters.rows().at(row).recno, letter);
    letters.close();
    if (!result) {
        err << QStringLiteral("The letter \"") << o.letter << QStringLiteral("\" cannot be read: ")
            << result.message << '\n';
        return kFailure;
    }

    // The address file and the records.
    TAddressSession session(m_programFolder + QStringLiteral("CORVAN.ini"));
    session.loadSettings();
    QString path = o.file;
    if (path.isEmpty())
        path = session.recentFiles().value(0);
    if (path.isEmpty())
        path = m_programFolder + QStringLiteral("DATA/add0001.DBF");
    const TOpenResult opened = session.open(path);
    if (opened.outcome == TOpenOutcome::NeedsRebuild) {
        session.abandonOpen();
        err << QStringLiteral("The indexes of ") << path
            << QStringLiteral(" need rebuilding: open the file in Corvantis and rebuild them first\n");
        return kFailure;
    }
    if (opened.outcome != TOpenOutcome::Opened) {
        err << opened.messages.join(QLatin1Char('\n')) << '\n';
        return kFailure;
    }
    TOutputRecordsChoice choice;
    choice.records = TRecordChoice::All;
    if (!o.filter.isEmpty() || o.tagged) {
        TFilterCriteria criteria;
        if (o.tagged) {
            criteria.setTagged(true);
        } else if (!TFilterFile::RestoreFilterFrom(o.filter, criteria, &error)) {
            err << error << '\n';
            return kFailure;
        }
        const TFilterOutcome filtered = session.setCriteria(criteria);
        if (filtered.dropped || filtered.count == 0) {
            err << (filtered.message.isEmpty() ? QStringLiteral("No records match the filter")
                                               : filtered.message)
                << '\n';
            return kFailure;
        }
        choice.records = TRecordChoice::MatchingFilter;
    }
    const TOutputStart start = TOutputRecords::apply(session, choice, 0);
    if (!start.result) {
        err << start.result.message << '\n';
        return kFailure;
    }
    if (!start.hasRecord) {
        err << QStringLiteral("There are no records to print\n");
        return kFailure;
    }
    TAddressTable &table = session.table();

    const auto report = [&](TLetterPrint &print, TLetterPrint::Outcome outcome) {
        if (outcome != TLetterPrint::Outcome::Completed) {
            err << print.message() << '\n';
            return false;
        }
        return true;
    };

    if (!o.pdfEach.isEmpty()) {
        if (!QDir().mkpath(o.pdfEach)) {
            err << QStringLiteral("Unable to create the folder ") << o.pdfEach << '\n';
            return kFailure;
        }
        QSet<QString> taken;
        int records = 0;
        int pages = 0;
        while (table.hasRecord()) {
            const TMergeTableRecord record(table);
            QString name = fileNameFor(TMergeFields::NameLine(record),
                                       record.fieldText(QStringLiteral("ORG")), table.recno());
            for (int n = 2; taken.contains(name.toLower()); ++n)
                name = fileNameFor(TMergeFields::NameLine(record), record.fieldText(QStringLiteral("ORG")),
                                   table.recno())
                           .chopped(4) +
                       QStringLiteral(" (") + QString::number(n) + QStringLiteral(").pdf");
            taken.insert(name.toLower());
            const QString file = QDir(o.pdfEach).filePath(name);
            TPdfPrinterService pdf(file);
            TLetterPrint print(letter, pdf);
            print.setTitle(o.letter);
            print.setCopies(o.copies);
            print.setOnlyCurrentRecord(true);
            print.setUsesLetterPaper(true);
            print.setCalibration(TPrinterCalibration::forService(TIniFile(session.settingsPath()), pdf));
            if (!report(print, print.run(table)))
                return kFailure;
            out << file << '\n';
            ++records;
            pages += print.pageCount();
            const TResult moved = table.next();
            if (!moved && !moved.isNotFound()) {
                err << moved.message << '\n';
                return kFailure;
            }
            if (!moved)
                break;
        }
        out << QStringLiteral("Printed ") << records << QStringLiteral(" letters, ") << pages
            << QStringLiteral(" pages, to ") << o.pdfEach << '\n';
        return kOk;
    }

    const std::unique_ptr<TPrinterService> service = TBatchRun::service(o.pdf, o.printer, m_printers, error);
    if (!service) {
        err << error << '\n';
        return kFailure;
    }
    const QString target = o.pdf.isEmpty() ? o.printer : o.pdf;
    TLetterPrint print(letter, *service);
    print.setTitle(o.letter);
    print.setCopies(o.copies);
    print.setUsesLetterPaper(!o.pdf.isEmpty());
    print.setCalibration(TPrinterCalibration::forService(TIniFile(session.settingsPath()), *service));
    RecordCount count;
    if (!report(print, print.run(table, count)))
        return kFailure;
    out << QStringLiteral("Printed ") << count.records << QStringLiteral(" letters, ") << print.pageCount()
        << QStringLiteral(" pages, to ") << target << '\n';
    return kOk;
}
