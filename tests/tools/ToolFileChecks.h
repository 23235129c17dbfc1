// What every data tool leaves behind: an address file the engine's check finds sound (the same
// check "corvantis-db check" runs) and no temporary index file in the folders it used.
#pragma once

#include "SmallAddressFile.h"
#include "TProgress.h"
#include "Table.h"

#include <QDir>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>

namespace toolcheck {

// Closes the session's file, then checks it with a table of its own.
inline void expectSoundFile(TAddressSession &session)
{
    const std::string path = session.path().toStdString();
    session.close();
    xbase::Table table;
    ASSERT_TRUE(table.open(path, xbase::OpenMode::ReadOnly).ok());
    xbase::CheckReport report;
    ASSERT_TRUE(table.check(report).ok());
    EXPECT_TRUE(report.faults.empty()) << report.faults.front();
}

// The ".idx" files left anywhere below `folder`.
inline QStringList indexFilesIn(const QString &folder)
{
    QStringList out;
    QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.idx"), QStringLiteral("*.IDX")}, QDir::Files))
        out << name;
    for (const QString &sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        out << indexFilesIn(folder + QLatin1Char('/') + sub);
    return out;
}

// A progress that cancels after `steps` steps.
class CancelAfter : public TProgress
{
public:
    explicit CancelAfter(int steps) : m_left(steps) {}
    void setTotal(int) override {}
    void step() override { --m_left; }
    bool cancelled() const override { return m_left <= 0; }

private:
    int m_left;
};

} // namespace toolcheck
