// quillon ports: the COM ports present now, as the programs would list them, with the device
// each one opens and what is known about it.
#include <algorithm>
#include <iostream>

#include "seriallink/ComPorts.h"
#include "tools/quillon/command.h"
#include "tools/quillon/json.h"
#include "tools/quillon/ports.h"
#include "tools/quillon/texts.h"

namespace {

std::string usbText(const quillon::PortDetails& details) {
    std::string text = details.usbId;
    for (const std::string* part : {&details.manufacturer, &details.product}) {
        if (!part->empty()) text += " " + *part;
    }
    return text;
}

int runPorts(const std::vector<std::string>& args) {
    if (!args.empty()) {
        return quillon::usageError(
            "ports", quillon::text("ports takes no arguments", "ports nimmt keine Argumente",
                                   "ports ne prend pas d'arguments"));
    }
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

    if (quillon::settings().json) {
        quillon::JsonWriter json(std::cout);
        json.beginObject().key("ports").beginArray();
        for (const seriallink::PortDevice& port : ports) {
            const quillon::PortDetails details = quillon::describePort(port.device);
            json.beginObject().key("name").value(seriallink::ComPortName(port.number));
            json.key("device").value(port.device);
            json.key("target").value(details.target.empty() ? port.device : details.target);
            json.key("aliases").beginArray();
            for (const auto& alias : details.aliases) json.value(alias);
            json.endArray();
            if (details.usbId.empty()) {
                json.key("usb").null();
            } else {
                json.key("usb").beginObject().key("id").value(details.usbId);
                json.key("manufacturer").value(details.manufacturer);
                json.key("product").value(details.product);
                json.key("serial").value(details.serial).endObject();
            }
            json.endObject();
        }
        json.endArray().endObject();
        return quillon::kExitOk;
    }
    for (const seriallink::PortDevice& port : ports) {
        const quillon::PortDetails details = quillon::describePort(port.device);
        std::string line = seriallink::ComPortName(port.number) + '\t' + port.device;
        if (!details.target.empty()) line += " -> " + details.target;
        if (!details.usbId.empty()) line += '\t' + usbText(details);
        std::cout << line << '\n';
        if (quillon::settings().verbose()) {
            for (const auto& alias : details.aliases) std::cout << "\t" << alias << '\n';
            if (!details.serial.empty()) {
                std::cout << quillon::text("\tserial number ", "\tSeriennummer ",
                                           "\tnuméro de série ")
                          << details.serial << '\n';
            }
        }
    }
    return quillon::kExitOk;
}

}  // namespace

quillon::Command quillon::portsCommand() {
    return {"ports",
            "ports",
#ifdef _WIN32
            // Windows lists its own ports; a folder of port links is the other systems' way.
            text("List the present COM ports, the device behind each and, for USB adapters, "
                 "their ids and names",
                 "Die vorhandenen COM-Ports auflisten, mit dem Gerät dahinter und bei "
                 "USB-Adaptern deren Kennungen und Namen",
                 "Lister les ports COM présents, le périphérique derrière chacun et, pour les "
                 "adaptateurs USB, leurs identifiants et noms"),
#else
            text("List the present COM ports, the device behind each and, for USB adapters, "
                 "their ids and names (KORVALIS_PORT_DIR overrides the system's ports)",
                 "Die vorhandenen COM-Ports auflisten, mit dem Gerät dahinter und bei "
                 "USB-Adaptern deren Kennungen und Namen (KORVALIS_PORT_DIR ersetzt die Ports "
                 "des Systems)",
                 "Lister les ports COM présents, le périphérique derrière chacun et, pour les "
                 "adaptateurs USB, leurs identifiants et noms (KORVALIS_PORT_DIR remplace les "
                 "ports du système)"),
#endif
            runPorts,
            {},
            {"quillon ports", "quillon ports -v", "quillon ports --json"},
            Json::Yes};
}
