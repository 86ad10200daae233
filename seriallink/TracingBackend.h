// A back end that passes everything to another one and reports each transfer to a trace sink:
// the one place where the bytes crossing the port are seen, whatever protocol runs above.
//
//     seriallink::SerialPort port(seriallink::MakeTracingBackend(
//         seriallink::MakePlatformBackend(),
//         [](const seriallink::TraceEvent& e) { std::cerr << seriallink::FormatTrace(e) << '\n';
//         }));
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "seriallink/SerialBackend.h"

namespace seriallink {

struct TraceEvent {
    enum class Kind { Open, Close, Line, Write, Read };
    Kind kind;
    bool ok = true;
    std::string text;                 // Open: the path; Line: "57600 8N1"
    std::vector<std::uint8_t> bytes;  // Write: what was written; Read: what arrived
    std::size_t requested = 0;        // Read: the count asked for
};

using TraceSink = std::function<void(const TraceEvent&)>;

// "40 6E 2E": bytes as traces and logs show them.
[[nodiscard]] std::string HexDump(std::span<const std::uint8_t> bytes);

[[nodiscard]] std::unique_ptr<SerialBackend> MakeTracingBackend(
    std::unique_ptr<SerialBackend> inner, TraceSink sink);

// One line for a person: "TX 40 6E 2E", "RX 40 E4 A4", "RX (none of 3)", "OPEN //./COM3".
[[nodiscard]] std::string FormatTrace(const TraceEvent& event);

}  // namespace seriallink
