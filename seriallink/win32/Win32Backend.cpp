// The Win32 back end and port enumeration: the communications interface used directly
// (CreateFileA, DCB, COMMTIMEOUTS, ReadFile, WriteFile), and the device-name listing and the
// probe of COM1..COM255. Built on Windows only.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "seriallink/ComPorts.h"
#include "seriallink/SerialBackend.h"

namespace seriallink {
namespace {

constexpr DWORD kDosDeviceBuffer = 65535;
constexpr DWORD kErrorDeviceNotFunctioning = 31;

[[nodiscard]] OpenStatus StatusOfError(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return OpenStatus::NotFound;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return OpenStatus::Busy;
        case kErrorDeviceNotFunctioning:
            return OpenStatus::Faulty;
        default:
            return OpenStatus::Failed;
    }
}

class Win32Backend : public SerialBackend {
public:
    ~Win32Backend() override { (void)Close(); }

    OpenStatus Open(const std::string& devicePath) override {
        (void)Close();
        HANDLE handle = ::CreateFileA(devicePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return StatusOfError(::GetLastError());
        handle_ = handle;
        return OpenStatus::Ok;
    }

    bool IsOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }

    bool GetLineSettings(LineSettings& out) override {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!IsOpen() || !::GetCommState(handle_, &dcb)) return false;
        out.baudRate = dcb.BaudRate;
        out.dataBits = dcb.ByteSize;
        out.parity = dcb.Parity == ODDPARITY    ? Parity::Odd
                     : dcb.Parity == EVENPARITY ? Parity::Even
                                                : Parity::None;
        out.stopBits = dcb.StopBits == TWOSTOPBITS ? StopBits::Two : StopBits::One;
        return true;
    }

    bool SetLineSettings(const LineSettings& settings) override {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!IsOpen() || !::GetCommState(handle_, &dcb)) return false;
        dcb.BaudRate = settings.baudRate;
        dcb.ByteSize = settings.dataBits;
        dcb.Parity = settings.parity == Parity::Odd    ? ODDPARITY
                     : settings.parity == Parity::Even ? EVENPARITY
                                                       : NOPARITY;
        dcb.StopBits = settings.stopBits == StopBits::Two ? TWOSTOPBITS : ONESTOPBIT;
        return ::SetCommState(handle_, &dcb) != 0;
    }

    bool GetTimeouts(Timeouts& out) override {
        COMMTIMEOUTS t{};
        if (!IsOpen() || !::GetCommTimeouts(handle_, &t)) return false;
        out = Timeouts{t.ReadIntervalTimeout, t.ReadTotalTimeoutMultiplier,
                       t.ReadTotalTimeoutConstant, t.WriteTotalTimeoutMultiplier,
                       t.WriteTotalTimeoutConstant};
        return true;
    }

    bool SetTimeouts(const Timeouts& timeouts) override {
        COMMTIMEOUTS t{timeouts.readInterval, timeouts.readTotalMultiplier,
                       timeouts.readTotalConstant, timeouts.writeTotalMultiplier,
                       timeouts.writeTotalConstant};
        return IsOpen() && ::SetCommTimeouts(handle_, &t) != 0;
    }

    bool Read(std::uint8_t* data, std::size_t count, std::size_t& got) override {
        DWORD n = 0;
        got = 0;
        if (!IsOpen() || !::ReadFile(handle_, data, static_cast<DWORD>(count), &n, nullptr)) {
            return false;
        }
        got = n;
        return true;
    }

    bool Write(const std::uint8_t* data, std::size_t count, std::size_t& written) override {
        DWORD n = 0;
        written = 0;
        if (!IsOpen() || !::WriteFile(handle_, data, static_cast<DWORD>(count), &n, nullptr)) {
            return false;
        }
        written = n;
        return true;
    }

    bool Close() override {
        if (!IsOpen()) return true;
        if (!::CloseHandle(handle_)) return false;
        handle_ = INVALID_HANDLE_VALUE;
        return true;
    }

    void Sleep(std::chrono::milliseconds duration) override {
        ::Sleep(static_cast<DWORD>(duration.count()));
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace

std::unique_ptr<SerialBackend> MakePlatformBackend() {
    return std::make_unique<Win32Backend>();
}

bool ListComDeviceNames(std::vector<std::uint32_t>& out) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#ifdef _MSC_VER
#pragma warning(suppress : 4996)  // deprecated, but it is the NT-family test this method needs
#endif
    if (!::GetVersionExA(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT) return false;
    std::vector<char> names(kDosDeviceBuffer);
    if (::QueryDosDeviceA(nullptr, names.data(), kDosDeviceBuffer) == 0) return false;
    for (const char* name = names.data(); *name != '\0'; name += std::strlen(name) + 1) {
        if (const std::optional<std::uint32_t> number = ComNumberOfName(name)) {
            out.push_back(*number);
        }
    }
    return true;
}

bool ProbeComPorts(std::vector<std::uint32_t>& out) {
    for (std::uint32_t n = 1; n <= kProbeLastPort; ++n) {
        char path[32];
        std::snprintf(path, sizeof path, "\\\\.\\COM%u", static_cast<unsigned>(n));
        HANDLE handle = ::CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      0, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle);
            out.push_back(n);
            continue;
        }
        const DWORD error = ::GetLastError();
        if (error == ERROR_ACCESS_DENIED || error == kErrorDeviceNotFunctioning ||
            error == ERROR_SHARING_VIOLATION) {
            out.push_back(n);
        }
    }
    return true;
}

bool ListPortDevices(std::vector<PortDevice>& out) {
    out.clear();
    std::vector<std::uint32_t> numbers;
    if (!ListComDeviceNames(numbers)) return false;
    for (std::uint32_t n : numbers) out.push_back({n, "\\\\.\\" + ComPortName(n)});
    return true;
}

std::string DeviceOfPortName(std::string_view portName) {
    return ComNumberOfName(portName) ? kDevicePathPrefix + std::string(portName) : std::string();
}

}  // namespace seriallink
