// COM port names, the Linux port map, enumeration through a port directory, list comparison,
// and the combo box operations.
#include <gtest/gtest.h>

#include <fstream>

#include "PtyPair.h"
#include "seriallink/ComPorts.h"
#include "seriallink/SerialPort.h"
#include "seriallink/testing/Recorders.h"

namespace seriallink::testing {
namespace {

using Numbers = std::vector<std::uint32_t>;

TEST(ComPortNames, NumbersOfDeviceNames) {
    const std::pair<const char*, std::optional<std::uint32_t>> cases[] = {
        {"COM1", 1},
        {"com7", 7},
        {"Com12", 12},
        {"COMX", std::nullopt},
        {"COM", std::nullopt},
        {"COM3A", std::nullopt},
        {"COM07", 7},
        {"LPT1", std::nullopt},
        {"COM-1", std::nullopt},
        {"COM99999999999", std::nullopt},
    };
    for (const auto& [name, number] : cases) {
        EXPECT_EQ(ComNumberOfName(name), number) << name;
    }
    EXPECT_EQ(ComPortName(7), "COM7");
    EXPECT_EQ(ComPortName(10), "COM10");
}

TEST(ComPortNames, LinuxNumberingRule) {
    const std::pair<const char*, std::optional<std::uint32_t>> cases[] = {
        {"ttyS0", 1},
        {"ttyS31", 32},
        {"ttyS32", std::nullopt},
        {"ttyUSB0", 33},
        {"ttyUSB63", 96},
        {"ttyACM0", 97},
        {"ttyACM63", 160},
        {"ttyAMA0", 161},
        {"rfcomm0", 177},
        {"rfcomm15", 192},
        {"tty0", std::nullopt},
        {"ttyS01", std::nullopt},
        {"ttyUSB", std::nullopt},
        {"pts", std::nullopt},
    };
    for (const auto& [name, number] : cases) {
        EXPECT_EQ(SystemPortNumber(name), number) << name;
    }
}

TEST(ComPortLists, CompareAndJoin) {
    Numbers added, removed, common;
    EXPECT_TRUE(ComparePortLists({1, 3, 5}, {1, 4, 5, 7}, added, removed, common));
    EXPECT_EQ(added, (Numbers{4, 7}));
    EXPECT_EQ(removed, (Numbers{3}));
    EXPECT_EQ(common, (Numbers{1, 5}));
    EXPECT_FALSE(ComparePortLists({2, 10}, {2, 10}, added, removed, common));
    EXPECT_TRUE(added.empty() && removed.empty());
    EXPECT_EQ(common, (Numbers{2, 10}));
    EXPECT_TRUE(ComparePortLists({}, {3}, added, removed, common));
    EXPECT_EQ(added, (Numbers{3}));
    EXPECT_TRUE(ComparePortLists({3}, {}, added, removed, common));
    EXPECT_EQ(removed, (Numbers{3}));

    EXPECT_EQ(JoinPortNames({4, 7}), "COM4, COM7");
    EXPECT_EQ(JoinPortNames({4}), "COM4");
    EXPECT_EQ(JoinPortNames({}), "");
}

TEST(ComPortCombo, FillAndSelectByPrefix) {
    FakeComboBox combo;
    EXPECT_FALSE(FillPortCombo(combo, {}));
    EXPECT_TRUE(FillPortCombo(combo, {3, 10}));
    EXPECT_EQ(combo.entries, (std::vector<std::string>{"COM3", "COM10"}));
    SelectPortInCombo(combo, 1);  // COM1 is a prefix of COM10
    EXPECT_EQ(combo.CurrentText(), "COM10");
    SelectPortInCombo(combo, 3);
    EXPECT_EQ(combo.CurrentText(), "COM3");
    combo.SetCurrentIndex(1);
    SelectPortInCombo(combo, 5);  // no match: the first entry
    EXPECT_EQ(combo.CurrentText(), "COM3");
    EXPECT_TRUE(SelectPrefixInCombo(combo, "com1"));
    EXPECT_EQ(combo.CurrentText(), "COM10");
    EXPECT_FALSE(SelectPrefixInCombo(combo, "COM4"));
    EXPECT_EQ(combo.CurrentText(), "COM10");
}

TEST(ComPortMap, PortDirectoryEntries) {
    PortDir dir;
    PtyPair com1(dir, "COM1");
    PtyPair com7(dir, "com7");
    PtyPair comx(dir, "COMX");
    PtyPair com(dir, "COM");
    PtyPair com3a(dir, "COM3A");
    std::ofstream(dir.Entry("COM9")) << "a regular file is no port";
    ASSERT_EQ(::symlink("/nonexistent/ttyUSB9", dir.Entry("COM11").c_str()), 0);

    ComPortList ports;
    ASSERT_TRUE(EnumerateComPorts(ports));
    EXPECT_EQ(ports, (ComPortList{1, 7}));
    EXPECT_EQ(DeviceOfPortName("COM7"), dir.Entry("com7"));
    EXPECT_EQ(DeviceOfPortName("COM1"), dir.Entry("COM1"));
    EXPECT_EQ(DeviceOfPortName("COM9"), "");

    SerialPort port;
    EXPECT_TRUE(port.Open("COM7", 9600));  // opened through com7
    EXPECT_FALSE(port.Open("COM11", 9600));
}

TEST(ComPortMap, PortsAppearAndDisappear) {
    PortDir dir;
    ComPortList ports;
    EXPECT_FALSE(EnumerateComPorts(ports));
    EXPECT_TRUE(ports.empty());
    {
        PtyPair com10(dir, "COM10");
        PtyPair com2(dir, "COM2");
        ASSERT_TRUE(EnumerateComPorts(ports));
        EXPECT_EQ(ports, (ComPortList{2, 10}));  // numeric order
        com10.Unplug();
        ASSERT_TRUE(EnumerateComPorts(ports));
        EXPECT_EQ(ports, (ComPortList{2}));
    }
    EXPECT_FALSE(EnumerateComPorts(ports));
}

TEST(ComPortMap, ProbeCountsBusyPorts) {
    PortDir dir;
    PtyPair com4(dir, "COM4");
    PtyPair com5(dir, "COM5");
    SerialPort holder;
    ASSERT_TRUE(holder.Open("COM5", 9600));
    std::vector<std::uint32_t> found;
    EXPECT_TRUE(ProbeComPorts(found));
    EXPECT_EQ(found, (std::vector<std::uint32_t>{4, 5}));
}

TEST(ComPortMap, MissingPortDirectoryHasNoPorts) {
    PortDir dir;
    ::setenv(kPortDirVariable, (dir.path() + "/missing").c_str(), 1);
    ComPortList ports{99};
    EXPECT_FALSE(EnumerateComPorts(ports));
    EXPECT_TRUE(ports.empty());
    std::vector<PortDevice> devices;
    EXPECT_FALSE(ListPortDevices(devices));
}

TEST(ComPortMap, SystemDevicesFollowTheRule) {
    ::unsetenv(kPortDirVariable);
    std::vector<PortDevice> devices;
    if (!ListPortDevices(devices)) GTEST_SKIP() << "no /sys/class/tty here";
    for (const PortDevice& device : devices) {
        const std::string tty = device.device.substr(device.device.rfind('/') + 1);
        EXPECT_EQ(SystemPortNumber(tty), device.number) << device.device;
        EXPECT_EQ(DeviceOfPortName(ComPortName(device.number)), device.device);
    }
}

}  // namespace
}  // namespace seriallink::testing
