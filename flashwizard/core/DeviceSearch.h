// The search for the instrument's loader behind Next on the port page: open the chosen port at
// 9600 baud and identify the loader, up to five times.
#pragma once

#include <string>

#include "flashwizard/core/LinkState.h"
#include "flashwizard/core/LoaderProtocol.h"
#include "flashwizard/core/LoaderTiming.h"
#include "seriallink/Messages.h"

namespace seriallink {
class SerialPort;
}

namespace flashwizard {

inline constexpr int kSearchAttempts = 5;

// The frame's status line (control 1010), written while the search runs.
class StatusLine {
public:
    virtual ~StatusLine() = default;
    virtual void SetStatusLine(const std::string& text) = 0;
};

enum class SearchOutcome {
    PortNotOpened,  // box 156 shown; searchFailed left as it was
    NotFound,       // box 154, 153 or 155 shown; searchFailed = true
    Found,          // searchFailed = false: the frame sets Next to "Fertigstellen", goes to step 6
};

class DeviceSearch {
public:
    DeviceSearch(seriallink::SerialPort& port, LinkState& link, StatusLine& statusLine,
                 seriallink::MessageOwner* owner, const LoaderTiming& timing = LoaderTiming{})
        : port_(port), link_(link), statusLine_(statusLine), owner_(owner), timing_(timing) {}

    // Blocks for up to five identifications, 500 ms apart.
    [[nodiscard]] SearchOutcome Run(const std::string& portName, bool& searchFailed);

    // IdentifyLoader's result of the last attempt (kCommFailure when the port did not open).
    [[nodiscard]] IdentifyResult lastResult() const { return lastResult_; }
    [[nodiscard]] int attempts() const { return attempts_; }

private:
    seriallink::SerialPort& port_;
    LinkState& link_;
    StatusLine& statusLine_;
    seriallink::MessageOwner* owner_;
    LoaderTiming timing_;
    IdentifyResult lastResult_ = kCommFailure;
    int attempts_ = 0;
};

}  // namespace flashwizard
