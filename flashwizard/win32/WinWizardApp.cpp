#include "flashwizard/win32/WinWizardApp.h"

#include <commctrl.h>

#include "flashwizard/core/WizardStrings.h"
#include "flashwizard/win32/WinText.h"

namespace flashwizard::win32 {

namespace {

std::wstring SettingsKeyPath() {
    return Widen("Software\\" + WizardText(kStrCompanyKey) + "\\" + kApplicationName + "\\" +
                 WinWizardApp::kSection);
}

std::string ReadProfileText(const char* name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath().c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return {};
    }
    std::wstring value(512, L'\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    const LONG status = ::RegQueryValueExW(key, Widen(name).c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE*>(value.data()), &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ) return {};
    value.resize(size / sizeof(wchar_t));
    while (!value.empty() && value.back() == L'\0') value.pop_back();
    return Narrow(value);
}

void WriteProfileText(const char* name, const std::string& text) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKeyPath().c_str(), 0, nullptr, 0, KEY_WRITE,
                          nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    const std::wstring value = Widen(text);
    (void)::RegSetValueExW(key, Widen(name).c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
}

}  // namespace

void WinWizardApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    state_.portName = ReadProfileText(kPortKey);
}

void WinWizardApp::ExitInstance() {
    WriteProfileText(kPortKey, state_.portName);
}

int WinWizardApp::Run() {
    InitInstance();
    {
        WinWizardDlg frame(state_, instance_, environment_);
        frame.RunModal();
    }
    ExitInstance();
    if (state_.port->IsOpen()) (void)state_.port->Close();
    return 0;
}

}  // namespace flashwizard::win32
