#include "flashwizard/core/FirmwareCheck.h"

#include "flashwizard/core/WizardStrings.h"

namespace flashwizard {

bool CheckFirmwareFile(const std::string& firmwarePath, std::vector<std::string>& hexLines,
                       seriallink::MessageOwner* owner, seriallink::HexVerdict* verdict) {
    if (firmwarePath.empty()) {
        ShowWizardError(owner, kStrNoFileChosen);
        return false;
    }
    if (!seriallink::FileExists(firmwarePath)) {
        ShowWizardError(owner, kStrFileMissing);
        return false;
    }
    const seriallink::HexVerdict found = seriallink::ReadHexFile(firmwarePath, hexLines);
    if (verdict != nullptr) *verdict = found;
    if (!found.ok()) {
        // A half-read file must not reach the download.
        hexLines.clear();
        ShowWizardError(owner, kStrFileNotHex);
        return false;
    }
    return true;
}

}  // namespace flashwizard
