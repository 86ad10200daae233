#include "shell/win32/LanguageCombo.h"

#include <shellapi.h>

#include "shell/win32/Text.h"

namespace shell::win32 {

void FillLanguageCombo(HWND combo, const LanguageChoice& choice) {
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const seriallink::Language language : LanguageChoice::Entries()) {
        ::SendMessageW(combo, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(Widen(seriallink::LanguageName(language)).c_str()));
    }
    ::SendMessageW(combo, CB_SETCURSEL, choice.SelectedIndex(), 0);
}

std::optional<std::size_t> PickedLanguage(HWND combo) {
    const LRESULT index = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR || index < 0) return std::nullopt;
    return static_cast<std::size_t>(index);
}

std::vector<std::string> ProgramArguments() {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (words == nullptr) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(Narrow(words[i]));
    ::LocalFree(words);
    return arguments;
}

}  // namespace shell::win32
