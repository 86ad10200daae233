// The Downloader's texts for the command line: the wizard's own German table under a German
// locale, else an English table with the same ids.
#pragma once

namespace quillon {

// Puts the English table in place of the wizard's unless the pilot's language is German.
void useFlashTexts();

}  // namespace quillon
