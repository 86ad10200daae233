// Port names as the command line takes them, what lies behind a port, and why one did not open.
#pragma once

#include <string>
#include <vector>

#include "seriallink/SerialBackend.h"

namespace quillon {

// What --port gave, turned into the name the port layers open: "COM5" as it is; a device path
// (/dev/ttyUSB0, a /dev/serial/by-id/... link, an entry of the port directory) becomes the
// COM name of the same device where the port map has one, else stays the path. false when the
// text is neither.
[[nodiscard]] bool resolvePortArgument(const std::string& given, std::string& portName);

// The usage error for a --port that resolvePortArgument refused, and the option's help line.
[[nodiscard]] std::string portArgumentRefusal();
[[nodiscard]] std::string portOptionHelp();

// The line after "Can not open port": the port as given, the device it means, and the cause.
[[nodiscard]] std::string openFailureText(const std::string& given, const std::string& portName,
                                          seriallink::OpenStatus status);

// What the system says about a port's device: where its links lead and, for a USB adapter, the
// adapter's ids and names from sysfs. Fields stay empty where nothing is known.
struct PortDetails {
    std::string target;                // the device a link resolves to, when it is a link
    std::vector<std::string> aliases;  // /dev/serial/by-id names of the same device
    std::string usbId;                 // "0403:6001"
    std::string manufacturer;          // "FTDI"
    std::string product;               // "FT232R USB UART"
    std::string serial;
};
[[nodiscard]] PortDetails describePort(const std::string& device);

}  // namespace quillon
