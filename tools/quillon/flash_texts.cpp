#include "tools/quillon/flash_texts.h"

#include "flashwizard/core/WizardStrings.h"
#include "tools/quillon/texts.h"

namespace quillon {
namespace {

// The same ids, numbers and line breaks as the wizard's table, so that every format finds its
// arguments in the same order.
const seriallink::StringEntry kEnglish[] = {
    {129, "Error", ""},
    {130, "Info", ""},
    {131, "Korvalis Downloader step %d", ""},
    {132, "Quit setup", ""},
    {133,
     "Do you really want to quit the update program?\nYou can run the update again at any time.",
     ""},
    {134, "There is not enough memory available!", ""},
    {135, "Please choose a HEX file", ""},
    {136, "Intel Hex File (*.hex)|*.hex|All Files (*.*)|*.*||", ""},
    {137,
     "No port for a connection to the Quillon was found.\nIf you update over USB, make sure the "
     "cable is connected properly.",
     ""},
    {138, "Korvalis", ""},
    {139, "Information: a new COM port was found in step 3. It is now selected.", ""},
    {140, "A new COM port was found.\nShall it be selected?", ""},
    {141,
     "Information: %d new COM ports were found in step 3 (%s).\nThe first of them is now "
     "selected.",
     ""},
    {142, "%d new COM ports were found: %s.", ""},
    {143, "There are no COM ports left!\nMake sure the Quillon is connected properly.", ""},
    {144, "There are no timers available", ""},
    {145, "A file must be chosen!", ""},
    {146, "The given file does not exist!", ""},
    {147,
     "The chosen file is not a valid .HEX file!\nPlease choose a correct file.\nTry loading the "
     "file again from " KORVALIS_WEB_ADDRESS ".",
     ""},
    {148, "The update must not be cancelled any more.", ""},
    {149, "Finish", ""},
    {150, "Next >", ""},
    {151, "Searching for the Quillon...", ""},
    {152, "Attempt %d to find the Quillon", ""},
    {153, "There is no Quillon connected to this port\nor the Quillon is not in download mode.",
     ""},
    {154, "A wrong device is connected to this port.", ""},
    {155, "Data transfer error.", ""},
    {156, "The chosen COM port could not be opened.", ""},
    {157, "will be loaded into the Quillon over port %s with \"Finish\".", ""},
    {158, "Reset of the Quillon", ""},
    {159, "Attempt %d to reset the Quillon", ""},
    {160, "Erasing the old program code", ""},
    {161, "Attempt %d to erase the old program code", ""},
    {162, "Download", ""},
    {163, "Download attempt %d", ""},
    {164, "Download attempt %d of line %d", ""},
    {165, "Download failed!", ""},
    {166,
     "The update failed.\n Make sure all connections are plugged in properly.\nIf the download "
     "fails again, contact Korvalis.",
     ""},
    {167, "Switching to fast download mode", ""},
    {168, "Attempt %d to switch to fast download mode", ""},
    {169, "Switching to slow download mode", ""},
    {170, "Attempt %d to switch to slow download mode", ""},
    {171, "Starting the program", ""},
    {172, "Attempt %d to start the program", ""},
    {173, "Deactivating the boot loader", ""},
    {174, "Attempt %d to deactivate the boot loader", ""},
    {175, "Update completed successfully", ""},
    {176, "Close", ""},
    {177, "Repeat", ""},
    {178, "The update must not be cancelled any more.\nDo you want to cancel anyway?", ""},
    {179, "Attention", ""},
    {182, "Downloader", ""},
};

}  // namespace

void useFlashTexts() {
    static const seriallink::StringTable english(kEnglish, flashwizard::kStrErrorCaption,
                                                 seriallink::Language::English);
    flashwizard::UseWizardStrings(language() == seriallink::Language::German ? nullptr : &english);
}

}  // namespace quillon
