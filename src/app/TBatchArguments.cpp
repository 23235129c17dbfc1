#include "TBatchArguments.h"

#include "TPdfPrinterService.h"

#include <QTextStream>

#include <utility>

TBatchArguments::TBatchArguments(QString unknown) : m_unknown(std::move(unknown)) {}

void TBatchArguments::flag(const char *name, bool &into, bool choice)
{
    m_options.push_back(
        {QString::fromLatin1(name), Kind::Flag, choice, false, [&into](const QString &, QString &) {
             into = true;
             return true;
         }});
}

void TBatchArguments::flagUsing(const char *name, std::function<bool(const QString &, QString &)> use,
                                bool choice)
{
    m_options.push_back({QString::fromLatin1(name), Kind::Flag, choice, false, std::move(use)});
}

void TBatchArguments::value(const char *name, QString &into, bool choice, bool nonEmpty)
{
    m_options.push_back(
        {QString::fromLatin1(name), Kind::Value, choice, nonEmpty, [&into](const QString &v, QString &) {
             into = v;
             return true;
         }});
}

void TBatchArguments::number(const char *name, int low, int high, int &into, const QString &outOfRange)
{
    custom(name, [low, high, &into, outOfRange](const QString &v, QString &error) {
        bool ok = false;
        const int n = v.toInt(&ok);
        if (!ok || n < low || n > high) {
            error = outOfRange;
            return false;
        }
        into = n;
        return true;
    });
}

void TBatchArguments::custom(const char *name, std::function<bool(const QString &, QString &)> use,
                             bool choice)
{
    m_options.push_back({QString::fromLatin1(name), Kind::Custom, choice, false, std::move(use)});
}

void TBatchArguments::recordChoice(QString &filterFile, bool &tagged, bool &all)
{
    value("--filter", filterFile, true);
    flag("--tagged", tagged, true);
    flag("--all", all, true);
    excludeEachOther(QStringLiteral("--filter, --tagged and --all exclude each other"));
}

bool TBatchArguments::parse(const QStringList &args, QString &error)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        const Option *option = nullptr;
        for (const Option &o : m_options)
            if (o.name == a)
                option = &o;
        if (!option) {
            error = m_unknown + a;
            return false;
        }
        QString v;
        if (option->kind != Kind::Flag) {
            if (i + 1 >= args.size() || (option->nonEmpty && args.at(i + 1).isEmpty())) {
                error = a + QStringLiteral(" needs a value");
                return false;
            }
            v = args.at(++i);
        }
        if (!option->use(v, error))
            return false;
        if (option->choice)
            ++m_choices;
    }
    if (m_choices > 1 && !m_conflict.isEmpty()) {
        error = m_conflict;
        return false;
    }
    return true;
}

void TBatchProgress::step()
{
    if (++m_steps % m_every == 0) {
        m_err << '\r' << m_steps << ' ' << m_unit << Qt::flush;
        m_shown = true;
    }
}

void TBatchProgress::finish()
{
    if (m_shown)
        m_err << '\n';
}

int TBatchRun::start(const QStringList &args, const QString &usage, QTextStream &out, QTextStream &err,
                     const std::function<bool(QString &error)> &parse)
{
    if (args.contains(QLatin1String("--help"))) {
        out << usage << '\n';
        return 0;
    }
    QString error;
    if (!parse(error)) {
        err << error << '\n' << usage << '\n';
        return 2;
    }
    return -1;
}

QString TBatchRun::folderOf(const QString &programFolder)
{
    return programFolder.endsWith(QLatin1Char('/')) ? programFolder : programFolder + QLatin1Char('/');
}

std::unique_ptr<TPrinterService> TBatchRun::service(const QString &pdf, const QString &printer,
                                                    const PrinterMaker &printers, QString &error)
{
    if (!pdf.isEmpty())
        return std::make_unique<TPdfPrinterService>(pdf);
    std::unique_ptr<TPrinterService> made;
    if (printers)
        made = printers(printer, error);
    if (!made && error.isEmpty())
        error = QStringLiteral("There is no printer ") + printer;
    return made;
}
