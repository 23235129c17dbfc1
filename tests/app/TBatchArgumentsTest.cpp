#include "TBatchArguments.h"

#include <QTextStream>
#include <gtest/gtest.h>

namespace {

struct Parsed {
    bool ok = false;
    QString error;
    QString setup;
    bool tagged = false;
    int copies = 1;
    QString custom;
    int choices = 0;
};

Parsed parse(const QStringList &args)
{
    Parsed p;
    TBatchArguments a;
    a.value("--setup", p.setup, false, true);
    a.flag("--tagged", p.tagged, true);
    a.flag("--all", p.tagged, true);
    a.number("--copies", 1, 99, p.copies, QStringLiteral("--copies takes 1 to 99"));
    a.custom("--shape", [&p](const QString &v, QString &error) {
        if (v != QLatin1String("round")) {
            error = QStringLiteral("unknown shape: ") + v;
            return false;
        }
        p.custom = v;
        return true;
    });
    p.ok = a.parse(args, p.error);
    p.choices = a.choices();
    return p;
}

TEST(BatchArguments, OptionsAreReadAndFaultsNamed)
{
    const Parsed good = parse({"--setup", "Avery", "--tagged", "--copies", "3", "--shape", "round", "--all"});
    EXPECT_TRUE(good.ok) << good.error.toStdString();
    EXPECT_EQ(good.setup, QStringLiteral("Avery"));
    EXPECT_TRUE(good.tagged);
    EXPECT_EQ(good.copies, 3);
    EXPECT_EQ(good.custom, QStringLiteral("round"));
    EXPECT_EQ(good.choices, 2);

    const struct {
        QStringList args;
        const char *error;
    } faults[] = {
        {{"--bogus"}, "unknown argument: --bogus"},    {{"--setup"}, "--setup needs a value"},
        {{"--setup", ""}, "--setup needs a value"},    {{"--copies", "0"}, "--copies takes 1 to 99"},
        {{"--copies", "x"}, "--copies takes 1 to 99"}, {{"--shape", "square"}, "unknown shape: square"},
    };
    for (const auto &f : faults) {
        const Parsed p = parse(f.args);
        EXPECT_FALSE(p.ok) << f.error;
        EXPECT_EQ(p.error, QString::fromLatin1(f.error));
    }
}

TEST(BatchArguments, TheRecordChoiceRefusesMoreThanOne)
{
    const auto parseChoice = [](const QStringList &args, QString &error) {
        QString filter;
        bool tagged = false;
        bool all = false;
        TBatchArguments a;
        a.recordChoice(filter, tagged, all);
        return a.parse(args, error);
    };
    QString error;
    EXPECT_TRUE(parseChoice({"--filter", "A.FLT"}, error)) << error.toStdString();
    EXPECT_FALSE(parseChoice({"--tagged", "--filter", "A.FLT"}, error));
    EXPECT_EQ(error, QStringLiteral("--filter, --tagged and --all exclude each other"));
}

TEST(BatchArguments, ProgressShowsEveryNthStepAndEndsItsLine)
{
    QString text;
    QTextStream err(&text);
    TBatchProgress progress(err, 2, QStringLiteral("pages"));
    for (int i = 0; i < 5; ++i)
        progress.step();
    progress.finish();
    EXPECT_EQ(text, QStringLiteral("\r2 pages\r4 pages\n"));
    QString none;
    QTextStream quiet(&none);
    TBatchProgress few(quiet);
    few.step();
    few.finish();
    EXPECT_TRUE(none.isEmpty());
}

} // namespace
