#include "shell/qt/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace shell {

std::unique_ptr<QTranslator> InstallQtTranslations(seriallink::Language language) {
    if (language == seriallink::Language::English) return nullptr;
    const QLocale locale = language == seriallink::Language::French
                               ? QLocale(QLocale::French, QLocale::France)
                               : QLocale(QLocale::German, QLocale::Germany);
    auto translator = std::make_unique<QTranslator>();
    // "qtbase" holds the texts of the widgets both programs show; "qt" would pull in the
    // translations of every Qt module.
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator.get())) {
        return nullptr;
    }
    return translator;
}

}  // namespace shell
