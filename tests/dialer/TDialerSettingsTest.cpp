#include "TDialerSettings.h"

#include "TIniFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

QString iniPath(const TempDir &dir)
{
    return QString::fromStdString(dir.file("CORVAN.ini"));
}

void writeText(const QString &path, const QByteArray &text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

TEST(TDialerSettings, MissingFileGivesTheDefaults)
{
    TempDir dir;
    const TDialerSettings s = TDialerSettings::load(TIniFile(iniPath(dir)));
    EXPECT_EQ(s, TDialerSettings{});
    EXPECT_TRUE(s.Prefix.isEmpty());
    EXPECT_TRUE(s.Init.isEmpty());
    EXPECT_EQ(s.Port, 0);
    EXPECT_EQ(s.Method, 0);
    EXPECT_FALSE(s.UseTAPI);
}

TEST(TDialerSettings, SavedValuesReadBackAndLandInTheDialingSection)
{
    TempDir dir;
    TIniFile ini(iniPath(dir));
    TDialerSettings s;
    s.Prefix = QStringLiteral("9,");
    s.Init = QStringLiteral("ATZ");
    s.Port = 2;
    s.Method = 1;
    s.UseTAPI = true;
    s.PortDevice = QStringLiteral("/dev/ttyUSB0");
    ASSERT_TRUE(s.save(ini));

    EXPECT_EQ(TDialerSettings::load(ini), s);
    EXPECT_EQ(ini.readString(QStringLiteral("Dialing"), QStringLiteral("Prefix")), QStringLiteral("9,"));
    EXPECT_EQ(ini.readString(QStringLiteral("Dialing"), QStringLiteral("Port")), QStringLiteral("2"));
    EXPECT_EQ(ini.readString(QStringLiteral("Dialing"), QStringLiteral("Method")), QStringLiteral("1"));
    EXPECT_EQ(ini.readString(QStringLiteral("Dialing"), QStringLiteral("UseTAPI")), QStringLiteral("1"));
}

struct StoredCase {
    const char *port;
    const char *method;
    const char *useTapi;
    int expectedPort;
    int expectedMethod;
    bool expectedUseTapi;
};

class DialerSettingsStored : public ::testing::TestWithParam<StoredCase>
{
};

// Values out of range are clamped to the nearest allowed one, so the port and method lists are
// never indexed past their ends; values that do not parse give the defaults.
TEST_P(DialerSettingsStored, ReadWithinTheirRanges)
{
    const StoredCase c = GetParam();
    TempDir dir;
    writeText(iniPath(dir), QByteArray("[Dialing]\nPort=") + c.port + "\nMethod=" + c.method +
                                "\nUseTAPI=" + c.useTapi + "\n");
    const TDialerSettings s = TDialerSettings::load(TIniFile(iniPath(dir)));
    EXPECT_EQ(s.Port, c.expectedPort);
    EXPECT_EQ(s.Method, c.expectedMethod);
    EXPECT_EQ(s.UseTAPI, c.expectedUseTapi);
}

INSTANTIATE_TEST_SUITE_P(Cases, DialerSettingsStored,
                         ::testing::Values(StoredCase{"3", "1", "1", 3, 1, true},
                                           StoredCase{"0", "0", "0", 0, 0, false},
                                           StoredCase{"4", "2", "2", 3, 1, true},
                                           StoredCase{"7", "5", "yes", 3, 1, false},
                                           StoredCase{"-1", "-3", "-1", 0, 0, true},
                                           StoredCase{"99999999999", "2147483647", "0", 3, 1, false},
                                           StoredCase{"COM2", "Pulse", "", 0, 0, false}));
