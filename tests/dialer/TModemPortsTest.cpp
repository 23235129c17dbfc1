#include "TModemPorts.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <QFile>

TEST(TModemPorts, ComPortsAreTheFirstFourSerialDevices)
{
    const QList<TModemPort> ports = TModemPorts::available(QStringLiteral("/nonexistent-device-folder"));
    ASSERT_EQ(ports.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ports[i].caption, QStringLiteral("COM %1").arg(i + 1));
        EXPECT_EQ(ports[i].device, QStringLiteral("/dev/ttyS%1").arg(i));
        EXPECT_EQ(ports[i].comIndex, i);
        EXPECT_EQ(TModemPorts::portName(ports[i]), QStringLiteral("COM%1").arg(i + 1));
    }
}

TEST(TModemPorts, ComIndexOutsideTheFourIsTheNearestPort)
{
    EXPECT_EQ(TModemPorts::com(-5).device, QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(TModemPorts::com(4).device, QStringLiteral("/dev/ttyS3"));
    EXPECT_EQ(TModemPorts::com(1000).comIndex, 3);
}

TEST(TModemPorts, UsbModemsPresentFollowInTheOrderOfTheirNumbers)
{
    TempDir dir;
    for (const char *name :
         {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyUSB0", "ttyUSBx", "ttyS9", "ttyACM", "ttyUSB1a"}) {
        QFile file(QString::fromStdString(dir.file(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString folder = QString::fromStdString(dir.path());
    const QList<TModemPort> ports = TModemPorts::available(folder);
    QStringList devices;
    for (int i = 4; i < ports.size(); ++i) {
        devices << ports[i].device;
        EXPECT_EQ(ports[i].comIndex, -1);
        EXPECT_EQ(ports[i].caption, ports[i].device);
        EXPECT_EQ(TModemPorts::portName(ports[i]), ports[i].device);
    }
    EXPECT_EQ(devices,
              (QStringList{folder + QStringLiteral("/ttyACM0"), folder + QStringLiteral("/ttyUSB0"),
                           folder + QStringLiteral("/ttyUSB2"), folder + QStringLiteral("/ttyUSB10")}));
}
