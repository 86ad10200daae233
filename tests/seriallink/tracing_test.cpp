// The hex trace of a port: every transfer seen once, as a person reads it.
#include <gtest/gtest.h>

#include "seriallink/SerialPort.h"
#include "seriallink/TracingBackend.h"
#include "seriallink/testing/FakeBackend.h"

namespace seriallink::testing {
namespace {

TEST(Tracing, ExchangeAsAPersonReadsIt) {
    FakeLine line;
    std::vector<std::string> trace;
    SerialPort port(MakeTracingBackend(
        line.MakeBackend(), [&](const TraceEvent& event) { trace.push_back(FormatTrace(event)); }));
    ASSERT_TRUE(port.Open("COM4", 9600));
    line.onWrite = [](const std::string&, FakeLine& l) { l.Feed("\x06"); };
    std::string reply;
    ASSERT_TRUE(port.TransactFixed("\x07\x0E\x01\x43\xBC", reply, 1, 3,
                                   std::chrono::milliseconds(0), std::chrono::milliseconds(500)));
    EXPECT_FALSE(port.ReadFixed(reply, 1));  // released: closed, nothing traced
    EXPECT_EQ(trace,
              (std::vector<std::string>{"OPEN //./COM4", "LINE 9600 8N1", "RX (none of 1000)",
                                        "TX 07 0E 01 43 BC", "RX 06", "CLOSE"}));
}

}  // namespace
}  // namespace seriallink::testing
