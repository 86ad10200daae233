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

void AirspaceSetupApp::readSettings(const ProfileStore& profile) {
    commPort = profile.readText(kSettingsSection, kCommPortValue, "");
    baudRate = readBaudRate(profile);
}

void AirspaceSetupApp::writeSettings(ProfileStore& profile) const {
    profile.writeText(kSettingsSection, kCommPortValue, commPort);
    profile.writeInteger(kSettingsSection, kBaudRateValue, baudRate);
}

}  // namespace zonesend
