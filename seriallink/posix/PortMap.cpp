// The Linux port map: which COM<n> names exist and which device each opens.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "seriallink/ComPorts.h"
#include "seriallink/SerialBackend.h"

namespace seriallink {
namespace {

constexpr const char* kSysTtyDir = "/sys/class/tty";
constexpr const char* kDevDir = "/dev";

[[nodiscard]] std::optional<std::string> PortDirectory() {
    const char* dir = std::getenv(kPortDirVariable);
    if (dir == nullptr || *dir == '\0') return std::nullopt;
    return std::string(dir);
}

[[nodiscard]] bool IsCharacterDevice(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);  // follows links
}

[[nodiscard]] bool PathExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// Entry names of a directory, sorted so that listings do not depend on readdir order.
[[nodiscard]] bool DirectoryEntries(const std::string& dir, std::vector<std::string>& names) {
    std::unique_ptr<DIR, int (*)(DIR*)> handle(::opendir(dir.c_str()), ::closedir);
    if (!handle) return false;
    while (const dirent* entry = ::readdir(handle.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return true;
}

// The 8250 driver registers ttyS0..ttyS31 whether or not a UART is there; those without one
// report port type 0 (unknown).
[[nodiscard]] bool HasUart(const std::string& ttyName) {
    if (ttyName.rfind("ttyS", 0) != 0) return true;
    std::ifstream type(std::string(kSysTtyDir) + "/" + ttyName + "/type");
    int value = 0;
    if (!(type >> value)) return true;
    return value != 0;
}

[[nodiscard]] bool ListDirectoryPorts(const std::string& dir, std::vector<PortDevice>& out) {
    std::vector<std::string> names;
    if (!DirectoryEntries(dir, names)) return false;
    for (const std::string& name : names) {
        const std::optional<std::uint32_t> number = ComNumberOfName(name);
        const std::string path = dir + "/" + name;
        if (number && IsCharacterDevice(path)) out.push_back({*number, path});
    }
    return true;
}

[[nodiscard]] bool ListSystemPorts(std::vector<PortDevice>& out) {
    std::vector<std::string> names;
    if (!DirectoryEntries(kSysTtyDir, names)) return false;
    for (const std::string& name : names) {
        const std::optional<std::uint32_t> number = SystemPortNumber(name);
        if (!number) continue;
        if (!PathExists(std::string(kSysTtyDir) + "/" + name + "/device")) continue;
        if (!HasUart(name)) continue;
        const std::string device = std::string(kDevDir) + "/" + name;
        if (IsCharacterDevice(device)) out.push_back({*number, device});
    }
    return true;
}

// The tty name of a system port number: the numbering rule read backwards.
[[nodiscard]] std::string SystemDeviceOfNumber(std::uint32_t number) {
    static constexpr std::string_view kPrefixes[] = {"ttyS", "ttyUSB", "ttyACM", "ttyAMA",
                                                     "rfcomm"};
    for (std::string_view prefix : kPrefixes) {
        // Find the family's first number by asking the rule for index 0.
        const std::string first = std::string(prefix) + "0";
        const std::optional<std::uint32_t> base = SystemPortNumber(first);
        if (!base || number < *base) continue;
        const std::string candidate = std::string(prefix) + std::to_string(number - *base);
        if (SystemPortNumber(candidate) == number) return std::string(kDevDir) + "/" + candidate;
    }
    return {};
}

}  // namespace

bool ListPortDevices(std::vector<PortDevice>& out) {
    out.clear();
    if (const std::optional<std::string> dir = PortDirectory()) {
        return ListDirectoryPorts(*dir, out);
    }
    return ListSystemPorts(out);
}

std::string DeviceOfPortName(std::string_view portName) {
    // A device path given as such (/dev/ttyUSB0, /dev/serial/by-id/...) opens itself.
    if (!portName.empty() && portName.front() == '/') return std::string(portName);
    const std::optional<std::uint32_t> number = ComNumberOfName(portName);
    if (!number) return {};
    if (const std::optional<std::string> dir = PortDirectory()) {
        // The entry spelled as the programs spell it first, then any other spelling of the
        // same number (com7, COM07).
        const std::string canonical = *dir + "/" + ComPortName(*number);
        if (IsCharacterDevice(canonical)) return canonical;
        std::vector<PortDevice> ports;
        if (!ListDirectoryPorts(*dir, ports)) return {};
        for (const PortDevice& port : ports) {
            if (port.number == *number) return port.device;
        }
        return {};
    }
    return SystemDeviceOfNumber(*number);
}

bool ListComDeviceNames(std::vector<std::uint32_t>& out) {
    std::vector<PortDevice> ports;
    if (!ListPortDevices(ports)) return false;
    for (const PortDevice& port : ports) out.push_back(port.number);
    return true;
}

bool ProbeComPorts(std::vector<std::uint32_t>& out) {
    std::unique_ptr<SerialBackend> backend = MakePlatformBackend();
    for (std::uint32_t n = 1; n <= kProbeLastPort; ++n) {
        const std::string name = ComPortName(n);
        if (DeviceOfPortName(name).empty()) continue;
        switch (backend->Open(DevicePathForPort(name))) {
            case OpenStatus::Ok:
                (void)backend->Close();
                out.push_back(n);
                break;
            case OpenStatus::Busy:  // in use by another program: it exists all the same
            case OpenStatus::Faulty:
            case OpenStatus::NoPermission:
                out.push_back(n);
                break;
            case OpenStatus::NotFound:
            case OpenStatus::Failed:
                break;
        }
    }
    return true;
}

}  // namespace seriallink
