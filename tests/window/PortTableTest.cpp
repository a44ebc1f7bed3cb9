// Port numbers and devices: the order of the system's devices, the GRADEL_PORTS table, and
// telling whether a port exists without opening it.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

#include "window/PortTable.h"

TEST(PortTable, DevicesSortInNaturalOrder) {
    QStringList devices = {"/dev/ttyUSB0", "/dev/ttyS10", "/dev/ttyS2",    "/dev/ttyACM1",
                           "/dev/ttyS1",   "/dev/ttyS0",  "/dev/ttyUSB10", "/dev/ttyUSB9"};
    std::sort(devices.begin(), devices.end(), &PortTable::NaturalLess);
    EXPECT_EQ(devices,
              (QStringList{"/dev/ttyACM1", "/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS10",
                           "/dev/ttyUSB0", "/dev/ttyUSB9", "/dev/ttyUSB10"}));
    EXPECT_FALSE(PortTable::NaturalLess("/dev/ttyS1", "/dev/ttyS1"));
    EXPECT_TRUE(PortTable::NaturalLess("/dev/ttyS", "/dev/ttyS0"));
}

TEST(PortTable, PortNExistsOnlyForAnAccessibleCharacterDevice) {
    QTemporaryDir dir;
    const QString plain = dir.filePath("plain");
    QFile f(plain);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    QStringList devices = {"/dev/null", dir.filePath("missing"), plain, dir.path()};
    while (devices.size() < 17) devices << "/dev/null";
    const PortTable table(devices);
    const std::pair<int, bool> cases[] = {
        {0, false},  {1, true},   {2, false},  {3, false},  // a plain file is no port
        {4, false},                                         // nor a directory
        {5, true},   {16, true},  {17, false},              // beyond the 16 ports
        {-1, false}, {18, false},
    };
    for (const auto& [n, exists] : cases) EXPECT_EQ(table.PortExists(n), exists) << n;
    EXPECT_EQ(table.Device(1), "/dev/null");
    EXPECT_EQ(table.Device(0), "");
    EXPECT_EQ(table.Device(18), "");
}

TEST(PortTable, GradelPortsReplacesTheSystemList) {
    qputenv("GRADEL_PORTS", "/dev/serial/by-id/box::/dev/pts/7:");
    const PortTable table = PortTable::FromSystem();
    qunsetenv("GRADEL_PORTS");
    EXPECT_EQ(table.Devices(), (QStringList{"/dev/serial/by-id/box", "/dev/pts/7"}));
    EXPECT_EQ(table.Device(2), "/dev/pts/7");
}

TEST(PortTable, PutFirstMakesADevicePortOneAndMovesTheOthersUp) {
    PortTable table({"/dev/ttyS0", "/dev/pts/3", "/dev/ttyUSB0"});
    table.PutFirst("/dev/pts/3");
    EXPECT_EQ(table.Devices(), (QStringList{"/dev/pts/3", "/dev/ttyS0", "/dev/ttyUSB0"}));
    table.PutFirst("/dev/pts/9");
    EXPECT_EQ(table.Devices(),
              (QStringList{"/dev/pts/9", "/dev/pts/3", "/dev/ttyS0", "/dev/ttyUSB0"}));
}
