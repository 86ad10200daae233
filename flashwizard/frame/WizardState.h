// What the wizard's pages, its frame and the update worker share for one run.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "flashwizard/core/LinkState.h"
#include "seriallink/ComPorts.h"
#include "seriallink/SerialPort.h"

namespace flashwizard {

// The program's name: the caption of its own message boxes and its profile key.
inline constexpr const char* kApplicationName = "flashwizard";
// The profile value, beside "CommPort", of the last firmware file the wizard accepted.
inline constexpr const char* kLastHexFileKey = "LastHexFile";

struct WizardState {
    // The chosen COM port (e.g. "COM3"); remembered in the profile between runs.
    std::string portName;
    // The program's one port object. Tests hand in a port on a fake back end.
    std::unique_ptr<seriallink::SerialPort> port = std::make_unique<seriallink::SerialPort>();
    std::string firmwarePath;
    // The last firmware file that passed the check, in this run or an earlier one: where the
    // file dialog opens.
    std::string lastFirmwarePath;
    // The validated records of the firmware file, the end record last.
    std::vector<std::string> hexLines;
    // Ports present when the wizard opened, and when the pilot left steps 3 and 4: a port found
    // only in the second list is most likely the instrument's USB cable.
    seriallink::ComPortList portsAtStart;
    seriallink::ComPortList portsAfterConnect;
};

}  // namespace flashwizard
