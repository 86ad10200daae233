#include "tools/quillon/flash_texts.h"

#include "flashwizard/core/WizardStrings.h"
#include "tools/quillon/texts.h"

namespace quillon {

void useFlashTexts() {
    // The wizard's own tables: the command line reports an update in the Downloader's words.
    flashwizard::UseWizardStrings(language() == seriallink::Language::German
                                      ? nullptr
                                      : &flashwizard::WizardStringsIn(language()));
}

}  // namespace quillon
