#include "zonesend/AirspaceSetupApp.h"

#include <algorithm>
#include <array>

namespace zonesend {

namespace {

constexpr std::array<std::int64_t, 15> kAcceptedBaudRates = {110,   300,   600,    1200,   2400,
                                                             4800,  9600,  14400,  19200,  38400,
                                                             56000, 57600, 115200, 128000, 256000};

}  // namespace

bool isAcceptedBaudRate(std::int64_t rate) {
    return std::find(kAcceptedBaudRates.begin(), kAcceptedBaudRates.end(), rate) !=
           kAcceptedBaudRates.end();
}

std::uint32_t readBaudRate(const ProfileStore& profile) {
    const std::int64_t stored = profile.readInteger(kSettingsSection, kBaudRateValue,
                                                    static_cast<std::int64_t>(kDefaultBaudRate));
    return isAcceptedBaudRate(stored) ? static_cast<std::uint32_t>(stored) : kDefaultBaudRate;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return "";
    // The root keeps its separator ("/", "C:\\").
    if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

void AirspaceSetupApp::readSettings(const ProfileStore& profile) {
    commPort = profile.readText(kSettingsSection, kCommPortValue, "");
    baudRate = readBaudRate(profile);
    lastFile = profile.readText(kSettingsSection, kLastFileValue, "");
    lastFolder = profile.readText(kSettingsSection, kLastFolderValue, "");
}

void AirspaceSetupApp::writeSettings(ProfileStore& profile) const {
    profile.writeText(kSettingsSection, kCommPortValue, commPort);
    profile.writeInteger(kSettingsSection, kBaudRateValue, baudRate);
    if (lastFile.empty() && lastFolder.empty()) return;
    profile.writeText(kSettingsSection, kLastFileValue, lastFile);
    profile.writeText(kSettingsSection, kLastFolderValue, lastFolder);
}

void AirspaceSetupApp::rememberFile(const std::string& path, bool loaded) {
    // The folder is where the pilot looks next time even when this file was the wrong one.
    const std::string folder = folderOf(path);
    if (!folder.empty()) lastFolder = folder;
    if (loaded) {
        lastFile = path;
    } else if (folderOf(lastFile) != lastFolder) {
        lastFile.clear();
    }
}

std::string AirspaceSetupApp::fileDialogStart() const {
    return lastFile.empty() ? lastFolder : lastFile;
}

}  // namespace zonesend
