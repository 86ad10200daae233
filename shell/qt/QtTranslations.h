// Qt's own texts (the file dialog, the standard buttons of message boxes) in a program's
// language, from the translations Qt ships (Debian: qt6-translations-l10n).
#pragma once

#include <QTranslator>
#include <memory>

#include "seriallink/Messages.h"

namespace shell {

// Installs Qt's translation for language in the application and returns it; it stays in force
// while the returned object lives. Null for English (Qt's own language) and when no translation
// is installed on the system: Qt's texts then stay English.
[[nodiscard]] std::unique_ptr<QTranslator> InstallQtTranslations(seriallink::Language language);

}  // namespace shell
