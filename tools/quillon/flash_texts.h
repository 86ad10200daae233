// The Downloader's texts for the command line: the wizard's own table in the pilot's language.
#pragma once

namespace quillon {

// Puts the wizard's table in the command line's language in place of its German one.
void useFlashTexts();

}  // namespace quillon
