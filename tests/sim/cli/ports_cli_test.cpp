// quillon ports, the built program: what it prints with and without a port directory.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <sstream>

#include "seriallink/ComPorts.h"
#include "tests/sim/SimHarness.h"

namespace quillon_sim::testing {
namespace {

// Runs the command and returns its standard output; status gets the exit status.
std::string RunCommand(const std::string& command, int& status) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, pipe) != nullptr) output += chunk;
    status = ::pclose(pipe);
    return output;
}

TEST(QuillonPorts, ListsThePortDirectory) {
    SimHarness sim;
    ASSERT_TRUE(sim.Start({"--role", "store"}, 12));
    seriallink::testing::PtyPair com2(sim.dir(), "com2");
    int status = -1;
    const std::string output = RunCommand(QUILLON_BINARY " ports", status);
    EXPECT_EQ(status, 0);
    // Each entry with the device it leads to.
    const std::regex listing("COM2\t" + sim.dir().Entry("com2") + " -> /dev/pts/\\d+\nCOM12\t" +
                             sim.dir().Entry("COM12") + " -> /dev/pts/\\d+\n");
    EXPECT_TRUE(std::regex_match(output, listing)) << output;
}

TEST(QuillonPorts, SendTakesEveryNameOfAPortAndSaysWhyOneDoesNotOpen) {
    SimHarness sim;
    ASSERT_TRUE(sim.Start({"--role", "store"}, 12));
    const std::string entry = sim.dir().Entry("COM12");
    const std::string device = std::filesystem::canonical(entry).string();
    // Like a /dev/serial/by-id name: a link somewhere else to the same device.
    const std::string byId = sim.dir().path() + "-usb-Korvalis_Quillon-if00";
    ASSERT_EQ(::symlink(device.c_str(), byId.c_str()), 0);
    const std::string send =
        QUILLON_BINARY " send " QUILLON_SAMPLES_DIR "/demo.txt --all --baud 57600 --port ";
    const struct {
        std::string port;
        int status;
        std::string error;  // on standard error, after "quillon: "
    } cases[] = {
        {"COM12", 0, ""},
        {entry, 0, ""},
        {byId, 0, ""},
        {device, 0, ""},
        {"COM13", 1, "COM13: no such port (is the cable plugged in?)"},
        {"COM12", 1, "COM12 (" + entry + "): busy: another program holds it"},
        {"ttyUSB0", 2, "--port needs COMn or a device path such as /dev/ttyUSB0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        const bool hold = c.error.find("busy") != std::string::npos;
        // Another program's hold on the port is its advisory lock.
        const int held = hold ? ::open(device.c_str(), O_RDWR | O_NOCTTY) : -1;
        if (hold) {
            ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
        }
        int status = -1;
        const std::string output = RunCommand(send + "'" + c.port + "' 2>&1", status);
        if (held >= 0) ::close(held);
        EXPECT_EQ(WEXITSTATUS(status), c.status) << output;
        if (!c.error.empty()) {
            EXPECT_NE(output.find("quillon: " + c.error + "\n"), std::string::npos) << output;
        }
    }
    ::unlink(byId.c_str());
}

TEST(QuillonPorts, ListsTheSystemsSerialDevicesByTheRule) {
    ::unsetenv(seriallink::kPortDirVariable);
    int status = -1;
    const std::string output = RunCommand(QUILLON_BINARY " ports", status);
    EXPECT_EQ(status, 0);
    std::istringstream lines(output);
    std::string line;
    const std::regex format(R"(COM(\d+)\t/dev/(\w+))");
    while (std::getline(lines, line)) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, format)) << line;
        EXPECT_EQ(seriallink::SystemPortNumber(match[2].str()),
                  static_cast<std::uint32_t>(std::stoul(match[1].str())))
            << line;
    }
    (void)RunCommand(QUILLON_BINARY " ports extra 2>/dev/null", status);
    EXPECT_NE(status, 0);
}

}  // namespace
}  // namespace quillon_sim::testing
