#include "flashwizard/core/FirmwareCheck.h"

#include "flashwizard/core/WizardStrings.h"
#include "seriallink/HexFile.h"

namespace flashwizard {

bool CheckFirmwareFile(const std::string& firmwarePath, std::vector<std::string>& hexLines,
                       seriallink::MessageOwner* owner) {
    if (firmwarePath.empty()) {
        ShowWizardError(owner, kStrNoFileChosen);
        return false;
    }
    if (!seriallink::FileExists(firmwarePath)) {
        ShowWizardError(owner, kStrFileMissing);
        return false;
    }
    if (!seriallink::LoadHexFile(firmwarePath, hexLines)) {
        // A half-read file must not reach the download.
        hexLines.clear();
        ShowWizardError(owner, kStrFileNotHex);
        return false;
    }
    return true;
}

}  // namespace flashwizard
