// flashwizard.exe, the Quillon's firmware Downloader for Windows: a six-step wizard in German,
// English or French. Its one argument: --lang en|de|fr, the language of this run.
#include "shell/win32/Windows.h"

#include <vector>

#include "flashwizard/core/WizardStrings.h"
#include "flashwizard/win32/WinWizardApp.h"
#include "shell/LanguageSetting.h"
#include "shell/win32/LanguageCombo.h"
#include "shell/win32/RegistryProfileStore.h"
#include "shell/win32/ResourceStrings.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const shell::win32::RegistryProfileStore profile(
        flashwizard::WizardText(flashwizard::kStrCompanyKey), flashwizard::kApplicationName);
    const seriallink::Language language = shell::StartLanguage(
        shell::win32::ProgramArguments(), profile, shell::win32::UserInterfaceLanguage());
    // German is the wizard's own table; another language is read from the program's resources
    // and takes its place everywhere.
    std::vector<unsigned> ids;
    for (const seriallink::StringEntry& entry : flashwizard::WizardStringEntries()) {
        ids.push_back(entry.id);
    }
    const shell::win32::ResourceStringTable strings(instance, ids, flashwizard::kStrErrorCaption,
                                                    language);
    if (language != seriallink::Language::German) flashwizard::UseWizardStrings(&strings.table());
    // The port scan and the message layer load their texts from the installed table.
    seriallink::InstallStringTable(&flashwizard::WizardStrings());
    flashwizard::win32::WinWizardApp wizard(instance);
    return wizard.Run();
}
