// The application object of zonesend: the two values it remembers between runs.
#pragma once

#include <cstdint>
#include <string>

#include "shell/ProfileStore.h"

namespace zonesend {

// Where the remembered values live: the per-user settings store in the program, the same
// location in the command line, an in-memory copy in tests.
using ProfileStore = shell::ProfileStore;

inline constexpr const char* kProgramName = "zonesend";
inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kCommPortValue = "CommPort";
inline constexpr const char* kBaudRateValue = "Baudrate";
inline constexpr std::uint32_t kDefaultBaudRate = 57600;

// Only the rates a serial driver commonly offers are taken from the profile: the profile is
// edited by hand, and a mistyped rate would otherwise leave the pilot with a silent instrument.
[[nodiscard]] bool isAcceptedBaudRate(std::int64_t rate);

// The stored "Baudrate", or the default when it is absent or not an accepted rate.
[[nodiscard]] std::uint32_t readBaudRate(const ProfileStore& profile);

class AirspaceSetupApp {
public:
    std::string commPort;
    std::uint32_t baudRate = kDefaultBaudRate;

    // Start-up: take both values from the profile.
    void readSettings(const ProfileStore& profile);
    // Normal end: write both values back, the validated rate included.
    void writeSettings(ProfileStore& profile) const;
};

}  // namespace zonesend
