#include "tools/quillon/ports.h"

#include <filesystem>
#include <fstream>

#include "seriallink/ComPorts.h"
#include "tools/quillon/texts.h"

namespace quillon {
namespace fs = std::filesystem;
namespace {

std::string canonicalOf(const std::string& path) {
    std::error_code error;
    const fs::path resolved = fs::canonical(path, error);
    return error ? std::string() : resolved.string();
}

std::string firstLineOf(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

}  // namespace

bool resolvePortArgument(const std::string& given, std::string& portName) {
    std::string name = given;
    // The Win32 spelling of a device, \\.\COM12, names the same port.
    if (name.rfind("\\\\.\\", 0) == 0) name = name.substr(4);
    if (seriallink::ComNumberOfName(name)) {
        portName = name;
        return true;
    }
    if (name.empty() || name.front() != '/') return false;
    // The same device under its COM name, so that the programs' rules for COM names (their
    // length limit, the rate of a remembered port) apply as for a chosen one.
    const std::string device = canonicalOf(name);
    std::vector<seriallink::PortDevice> ports;
    if (!device.empty() && seriallink::ListPortDevices(ports)) {
        for (const auto& port : ports) {
            if (canonicalOf(port.device) == device) {
                portName = seriallink::ComPortName(port.number);
                return true;
            }
        }
    }
    portName = device.empty() ? name : device;
    return true;
}

std::string portArgumentRefusal() {
    return text("--port needs COMn or a device path such as /dev/ttyUSB0",
                "--port braucht COMn oder einen Gerätepfad wie /dev/ttyUSB0",
                "--port attend COMn ou un chemin de périphérique comme /dev/ttyUSB0");
}

std::string portOptionHelp() {
    return text("COMn, or a device such as /dev/ttyUSB0 or /dev/serial/by-id/...",
                "COMn oder ein Gerät wie /dev/ttyUSB0 oder /dev/serial/by-id/...",
                "COMn, ou un périphérique comme /dev/ttyUSB0 ou /dev/serial/by-id/...");
}

std::string openFailureText(const std::string& given, const std::string& portName,
                            seriallink::OpenStatus status) {
    using seriallink::OpenStatus;
    std::string where = given;
    const std::string device = seriallink::DeviceOfPortName(portName);
    if (!device.empty() && device != given) where += " (" + device + ")";
    std::string cause;
    switch (status) {
        case OpenStatus::NotFound:
            cause = text("no such port (is the cable plugged in?)",
                         "kein solcher Port (ist das Kabel eingesteckt?)",
                         "port inexistant (le câble est-il branché ?)");
            break;
        case OpenStatus::Busy:
            cause = text("busy: another program holds it", "belegt: ein anderes Programm hält ihn",
                         "occupé : un autre programme le tient");
            break;
        case OpenStatus::NoPermission:
            cause = text(
                "no permission: add your user to the group 'dialout' (sudo usermod -aG "
                "dialout $USER) and log in again",
                "keine Berechtigung: den Benutzer in die Gruppe 'dialout' aufnehmen "
                "(sudo usermod -aG dialout $USER) und neu anmelden",
                "pas la permission : ajoutez votre utilisateur au groupe 'dialout' (sudo usermod "
                "-aG dialout $USER) puis reconnectez-vous");
            break;
        case OpenStatus::Faulty:
            cause = text("the device does not work", "das Gerät funktioniert nicht",
                         "le périphérique ne fonctionne pas");
            break;
        case OpenStatus::Failed:
        case OpenStatus::Ok:
            cause = text("it could not be set up as a serial port",
                         "er ließ sich nicht als serieller Port einrichten",
                         "impossible de le configurer comme port série");
            break;
    }
    return where + ": " + cause;
}

PortDetails describePort(const std::string& device) {
    PortDetails details;
    const std::string resolved = canonicalOf(device);
    if (!resolved.empty() && resolved != device) details.target = resolved;
    if (resolved.empty()) return details;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/dev/serial/by-id", error)) {
        if (canonicalOf(entry.path().string()) == resolved) {
            details.aliases.push_back(entry.path().string());
        }
    }
    // /sys/class/tty/ttyUSB0/device is the USB interface; the device with the ids and the
    // strings is one of its parents.
    const fs::path sysDevice =
        fs::path("/sys/class/tty") / fs::path(resolved).filename() / "device";
    fs::path dir = fs::canonical(sysDevice, error);
    for (int level = 0; !error && level < 4 && !dir.empty() && dir != dir.root_path(); ++level) {
        if (fs::exists(dir / "idVendor", error)) {
            details.usbId = firstLineOf(dir / "idVendor") + ":" + firstLineOf(dir / "idProduct");
            details.manufacturer = firstLineOf(dir / "manufacturer");
            details.product = firstLineOf(dir / "product");
            details.serial = firstLineOf(dir / "serial");
            break;
        }
        dir = dir.parent_path();
    }
    return details;
}

}  // namespace quillon
