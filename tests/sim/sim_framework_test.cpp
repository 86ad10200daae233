// The simulator's command line and its port link.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "SimHarness.h"

namespace quillon_sim::testing {
namespace {

TEST(SimArgs, UsageErrors) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--com", "3", "--role", "store"}, "required"},
        {{"--port-dir", "/tmp/x", "--role", "store"}, "required"},
        {{"--port-dir", "/tmp/x", "--com", "3", "--role", "printer"}, "unknown role"},
        {{"--port-dir", "/tmp/x", "--com", "0", "--role", "store"}, "--com"},
        {{"--port-dir", "/tmp/x", "--com", "3", "--role", "store", "--refuse", "1"}, "K:T"},
        {{"--port-dir", "/tmp/x", "--com", "3", "--role", "store", "--drop", "2"}, "fraction"},
        {{"--port-dir", "/tmp/x", "--com", "3", "--role", "store", "--model", "832"},
         "unknown option --model"},
        {{"--port-dir", "/tmp/x", "--com", "3", "--role", "store", "--free"}, "needs a value"},
    };
    for (const auto& [args, message] : cases) {
        SimOptions options;
        std::string error;
        EXPECT_FALSE(ParseSimArgs(kTestRoles, args, options, error));
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

TEST(SimArgs, OptionsReachFaultsAndRole) {
    SimOptions options;
    std::string error;
    ASSERT_TRUE(ParseSimArgs(
        kTestRoles,
        {"--port-dir", "/tmp/x",   "--com",  "4",        "--role", "store",  "--free",         "17",
         "--dump",     "--refuse", "3:2",    "--refuse", "5:1",    "--pace", "--vanish-after", "9",
         "--seed",     "42",       "--drop", "0.25"},
        options, error))
        << error;
    EXPECT_EQ(options.com, 4u);
    EXPECT_EQ(options.roleOptions.Get("free", ""), "17");
    EXPECT_TRUE(options.roleOptions.Has("dump"));
    EXPECT_EQ(options.faults.refuse.size(), 2u);
    EXPECT_EQ(options.faults.refuse[1], (std::pair<std::uint32_t, int>{5, 1}));
    EXPECT_TRUE(options.pace);
    EXPECT_EQ(options.faults.vanishAfter, 9);
    EXPECT_EQ(options.faults.seed, 42u);
    EXPECT_DOUBLE_EQ(options.faults.dropFraction, 0.25);
}

TEST(SimPort, LinkComesAndGoes) {
    SimHarness sim;
    // A link left by a killed simulator is replaced.
    ASSERT_EQ(::symlink("/dev/pts/nonexistent", sim.dir().Entry("COM3").c_str()), 0);
    ASSERT_TRUE(sim.Start({"--role", "store"}));
    seriallink::ComPortList ports;
    ASSERT_TRUE(seriallink::EnumerateComPorts(ports));
    EXPECT_EQ(ports, (seriallink::ComPortList{3}));
    sim.Stop();
    struct stat st {};
    EXPECT_NE(::lstat(sim.dir().Entry("COM3").c_str(), &st), 0);
    EXPECT_FALSE(seriallink::EnumerateComPorts(ports));
}

TEST(SimPort, RoleOptionsAreChecked) {
    SimOptions options;
    std::string error;
    ASSERT_TRUE(ParseSimArgs(
        kTestRoles, {"--port-dir", "/tmp/x", "--com", "3", "--role", "store", "--free", "300"},
        options, error));
    Simulator sim(options);
    EXPECT_FALSE(sim.Start(error));
    EXPECT_NE(error.find("--free"), std::string::npos) << error;
}

}  // namespace
}  // namespace quillon_sim::testing
