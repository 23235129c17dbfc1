// The arguments of a command-line print run ("corvantis-batch labels ..." and the others): each
// command names its options (flags, values, whole numbers in a range) and where each goes, then
// reads its arguments in one walk. Options of a choice group (the record choices) are counted,
// and more than one of them is refused with the group's message. What must be given, and which
// options exclude each other beyond the group, the command checks itself afterwards.
#pragma once

#include "TProgress.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QTextStream;
class TPrinterService;

class TBatchArguments
{
public:
    // `unknown` starts the message for an argument no option takes (the argument follows it).
    explicit TBatchArguments(QString unknown = QStringLiteral("unknown argument: "));

    // --name alone sets `into`.
    void flag(const char *name, bool &into, bool choice = false);
    // --name VALUE sets `into`; with `nonEmpty` an empty VALUE counts as missing.
    void value(const char *name, QString &into, bool choice = false, bool nonEmpty = false);
    // --name N sets `into` to a whole number from `low` to `high`, else fails with `outOfRange`.
    void number(const char *name, int low, int high, int &into, const QString &outOfRange);
    // --name alone calls `use` (with an empty value).
    void flagUsing(const char *name, std::function<bool(const QString &value, QString &error)> use,
                   bool choice = false);
    // --name VALUE handed to `use`, which answers false with the error set for a value it refuses.
    void custom(const char *name, std::function<bool(const QString &value, QString &error)> use,
                bool choice = false);

    // The message that refuses more than one option of the choice group (none: not refused).
    void excludeEachOther(QString message) { m_conflict = std::move(message); }
    // The record choice of the print runs, one choice group that refuses more than one:
    // --filter FILE.FLT, --tagged, --all.
    void recordChoice(QString &filterFile, bool &tagged, bool &all);

    // Reads `args`; false with `error` set for an unknown argument, a missing or refused value,
    // or more than one option of the choice group when that is refused.
    bool parse(const QStringList &args, QString &error);
    // Options of the choice group that were given.
    int choices() const { return m_choices; }

private:
    enum class Kind { Flag, Value, Custom };
    struct Option {
        QString name;
        Kind kind;
        bool choice;
        bool nonEmpty;
        std::function<bool(const QString &value, QString &error)> use;
    };
    QString m_unknown;
    QString m_conflict;
    std::vector<Option> m_options;
    int m_choices = 0;
};

// How far a command-line run got, on its error stream every `every` steps ("1000 steps"),
// ended with a new line by finish() when anything was shown.
class TBatchProgress : public TProgress
{
public:
    explicit TBatchProgress(QTextStream &err, int every = 1000, QString unit = QStringLiteral("steps"))
        : m_err(err), m_every(every), m_unit(std::move(unit))
    {
    }
    void setTotal(int) override {}
    void step() override;
    bool cancelled() const override { return false; }
    void finish();

private:
    QTextStream &m_err;
    int m_every;
    QString m_unit;
    int m_steps = 0;
    bool m_shown = false;
};

// What the print runs share around their work: the program folder, and the printer service
// the output goes to.
class TBatchRun
{
public:
    using PrinterMaker = std::function<std::unique_ptr<TPrinterService>(const QString &name, QString &error)>;

    // The start every print command makes: with "--help" among `args` the usage goes to
    // `out` (answer 0); arguments `parse` refuses go to `err` with the usage (answer 2);
    // else -1, to go on.
    static int start(const QStringList &args, const QString &usage, QTextStream &out, QTextStream &err,
                     const std::function<bool(QString &error)> &parse);
    // `programFolder` with its closing "/".
    static QString folderOf(const QString &programFolder);
    // A PDF file's service when `pdf` is given, else the system printer `printer` made by
    // `printers`; null with `error` set when there is no such printer.
    static std::unique_ptr<TPrinterService> service(const QString &pdf, const QString &printer,
                                                    const PrinterMaker &printers, QString &error);
};
