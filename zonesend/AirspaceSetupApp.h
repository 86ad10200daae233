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
// Beside those two: the last airspace file that loaded, and the folder it was chosen in.
inline constexpr const char* kLastFileValue = "LastAirspaceFile";
inline constexpr const char* kLastFolderValue = "LastAirspaceFolder";

// Only the rates a serial driver commonly offers are taken from the profile: the profile is
// edited by hand, and a mistyped rate would otherwise leave the pilot with a silent instrument.
[[nodiscard]] bool isAcceptedBaudRate(std::int64_t rate);

// The stored "Baudrate", or the default when it is absent or not an accepted rate.
[[nodiscard]] std::uint32_t readBaudRate(const ProfileStore& profile);

// The folder part of a path ("C:\\Luftraum\\alpen.txt" -> "C:\\Luftraum"); empty without one.
[[nodiscard]] std::string folderOf(const std::string& path);

class AirspaceSetupApp {
public:
    std::string commPort;
    std::uint32_t baudRate = kDefaultBaudRate;
    std::string lastFile;
    std::string lastFolder;

    // Start-up: take the values from the profile.
    void readSettings(const ProfileStore& profile);
    // Normal end: write the values back, the validated rate included. The last file and folder
    // are written once a file was ever chosen.
    void writeSettings(ProfileStore& profile) const;
    // A file was chosen in the file dialog; loaded says whether it gave a list.
    void rememberFile(const std::string& path, bool loaded);
    // Where the file dialog opens: the last file (selected in its folder), else the last folder.
    [[nodiscard]] std::string fileDialogStart() const;
};

}  // namespace zonesend
