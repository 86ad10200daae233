// quillon ports, the built program: what it prints with and without a port directory.
#include <gtest/gtest.h>

#include <cstdio>
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
    EXPECT_EQ(output,
              "COM2\t" + sim.dir().Entry("com2") + "\nCOM12\t" + sim.dir().Entry("COM12") + "\n");
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
