// Helpers of the transfer tests: a fresh address file, a progress that cancels after N steps,
// and Python run as an outside reader or writer.
#pragma once

#include "SmallAddressFile.h"
#include "TAddressTable.h"
#include "TProgress.h"
#include "TempDir.h"

#include <QProcess>
#include <QString>
#include <QStringList>

// Cancels once `after` steps were made (never with -1).
class TStopAfter : public TProgress
{
public:
    explicit TStopAfter(int after = -1) : m_after(after) {}
    void setTotal(int items) override { total = items; }
    void step() override { ++steps; }
    bool cancelled() const override { return m_after >= 0 && steps >= m_after; }
    int steps = 0;
    int total = 0;

private:
    int m_after;
};

// Runs a Python script with the system interpreter (which has the DBF modules); its output.
inline QString runPython(const QString &script, bool *ok = nullptr)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script});
    p.waitForFinished(120000);
    if (ok)
        *ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return QString::fromUtf8(p.readAllStandardOutput()) + QString::fromUtf8(p.readAllStandardError());
}

inline bool hasPython(const char *module)
{
    bool ok = false;
    runPython(QStringLiteral("import ") + QString::fromLatin1(module), &ok);
    return ok;
}

// An empty address file at `folder`/ADD0001.DBF, opened exclusively in `table`.
inline bool openEmpty(const TempDir &dir, TAddressTable &table, const std::vector<smallfile::Record> &records = {})
{
    const QString path = QString::fromStdString(dir.file("ADD0001.DBF"));
    return smallfile::create(path, records) && table.OpenTableFile(path).ok;
}

// Every visible record's values of `names`, in record order, joined by "|".
inline QStringList rows(TAddressTable &table, const QStringList &names)
{
    QStringList out;
    for (bool more = table.first().ok; more; more = table.next().ok) {
        QStringList v;
        for (const QString &n : names)
            v << table.value(n);
        out << v.join(QLatin1Char('|'));
    }
    return out;
}
