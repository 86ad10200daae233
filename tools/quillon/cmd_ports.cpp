// quillon ports: the COM ports present now, as the programs would list them, with the device
// each one opens.
#include <algorithm>
#include <iostream>

#include "seriallink/ComPorts.h"
#include "tools/quillon/command.h"

namespace {

int runPorts(const std::vector<std::string>& args) {
    if (!args.empty()) return quillon::fail("ports takes no arguments", 2);
    std::vector<seriallink::PortDevice> ports;
    if (!seriallink::ListPortDevices(ports)) {
        // The listing is not possible here; the probe finds the ports all the same.
        std::vector<std::uint32_t> numbers;
        (void)seriallink::ProbeComPorts(numbers);
        for (std::uint32_t n : numbers) {
            ports.push_back({n, seriallink::DeviceOfPortName(seriallink::ComPortName(n))});
        }
    }
    std::stable_sort(ports.begin(), ports.end(),
                     [](const auto& a, const auto& b) { return a.number < b.number; });
    for (const seriallink::PortDevice& port : ports) {
        std::cout << seriallink::ComPortName(port.number) << '\t' << port.device << '\n';
    }
    return 0;
}

}  // namespace

quillon::Command quillon::portsCommand() {
    return {
        "ports", "ports",
        "List the present COM ports and their devices (KORVALIS_PORT_DIR overrides the system's)",
        runPorts};
}
