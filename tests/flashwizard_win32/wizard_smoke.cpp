// Drives flashwizard.exe under Wine by control ids, as a pilot would click it: the file checks
// of step 2, Next and Back through all six pages, the port list of step 5, the device search
// and a whole update against the simulated loader on a COM port of the Wine prefix, then the
// remembered port in the registry. With --shots DIR it saves a picture of every page.
//
//   wizard_smoke FLASHWIZARD.EXE FIRMWARE.HEX COMn [--shots DIR]
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "flashwizard/core/WizardStrings.h"
#include "flashwizard/frame/WizardState.h"
#include "flashwizard/win32/resource.h"
#include "shell/win32/ResourceStrings.h"
#include "shell/win32/Text.h"
#include "shell/win32/Windows.h"

#include <shellapi.h>

namespace {

using flashwizard::WizardText;
using shell::win32::Narrow;
using shell::win32::Widen;

constexpr DWORD kPollMs = 20;
constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kStepTimeoutMs = 5000;
constexpr DWORD kSearchTimeoutMs = 30000;
constexpr DWORD kUpdateTimeoutMs = 120000;
const wchar_t* const kSettingsKey = L"Software\\Korvalis\\flashwizard\\Settings";

int failures = 0;

void Check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!ok) ++failures;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (::GetTickCount64() > end) return false;
        ::Sleep(kPollMs);
    }
    return true;
}

std::string Text(HWND window) {
    wchar_t buffer[4096] = {};
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer),
                          SMTO_ABORTIFHUNG, 2000, &length);
    return Narrow(buffer);
}

class Wizard {
public:
    explicit Wizard(DWORD processId) : processId_(processId) {}

    [[nodiscard]] bool FindFrame() {
        return WaitFor([this] { return (frame_ = TopLevel(true)) != nullptr; }, kStartTimeoutMs);
    }
    [[nodiscard]] HWND frame() const { return frame_; }

    // A control of the frame or of one of its pages; ids are unique across them.
    [[nodiscard]] HWND Item(int id) const {
        struct Search {
            int id;
            HWND found;
        } search{id, nullptr};
        ::EnumChildWindows(
            frame_,
            [](HWND child, LPARAM data) CALLBACK -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                if (::GetDlgCtrlID(child) != s->id || !::IsWindowVisible(child)) return TRUE;
                s->found = child;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    [[nodiscard]] std::string ItemText(int id) const { return Text(Item(id)); }
    [[nodiscard]] bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != 0; }
    [[nodiscard]] std::string Title() const { return Text(frame_); }

    // Posted, not sent: the handler may open a modal box and would not return before it closes.
    void Click(int id) const {
        HWND control = Item(id);
        ::PostMessageW(::GetParent(control), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(control));
    }
    void Key(int id, WPARAM key) const { ::PostMessageW(Item(id), WM_KEYDOWN, key, 0); }
    void SetItemText(int id, const std::string& text) const {
        const std::wstring wide = Widen(text);
        ::SendMessageW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }

    [[nodiscard]] bool WaitForStep(int step, DWORD timeoutMs = kStepTimeoutMs) const {
        const std::string title = WizardText(flashwizard::kStrWindowTitle, {step});
        return WaitFor([&] { return Title() == title; }, timeoutMs);
    }

    // The message box now open over the wizard, or null.
    [[nodiscard]] HWND Box() const { return TopLevel(false); }
    // Waits for a box, checks its text and caption, and answers it with the button answer.
    void ExpectBox(const std::string& what, const std::string& text, const std::string& caption,
                   int answer = IDOK, DWORD timeoutMs = kStepTimeoutMs,
                   const std::function<void(HWND)>& inspect = {}) const {
        HWND box = nullptr;
        if (!WaitFor([&] { return (box = Box()) != nullptr; }, timeoutMs)) {
            Check(false, what + ": no message box");
            return;
        }
        const std::string shown = BoxText(box);
        Check(shown == text && Text(box) == caption,
              what + ": box \"" + shown + "\" under \"" + Text(box) + "\"");
        if (inspect) inspect(box);
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(box, answer)));
        Check(WaitFor([&] { return !::IsWindow(box); }, kStepTimeoutMs), what + ": box closed");
    }
    void ExpectNoBox(const std::string& what, DWORD waitMs = 600) const {
        ::Sleep(waitMs);
        Check(Box() == nullptr && ::IsWindowVisible(frame_), what);
    }

    [[nodiscard]] std::vector<std::string> ComboEntries() const {
        HWND combo = Item(IDC_PORT_COMBO);
        std::vector<std::string> entries;
        const auto count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t entry[64] = {};
            ::SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
            entries.push_back(Narrow(entry));
        }
        return entries;
    }
    // As the pilot picks it: the selection, then the notification the list sends its page.
    void PickPort(int index) const {
        HWND combo = Item(IDC_PORT_COMBO);
        ::SendMessageW(combo, CB_SETCURSEL, index, 0);
        ::PostMessageW(::GetParent(combo), WM_COMMAND, MAKEWPARAM(IDC_PORT_COMBO, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(combo));
    }

    // The window with its frame, as the screen shows it, into a 24-bit BMP file.
    void Shot(const std::string& folder, int step) const {
        if (folder.empty()) return;
        ::Sleep(400);  // let the page finish painting
        RECT rect;
        ::GetWindowRect(frame_, &rect);
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        HDC screen = ::GetDC(nullptr);
        HDC memory = ::CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        ::GdiFlush();
        const DWORD rowBytes = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
        const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;  // "BM"
        file.bfOffBits = sizeof file + sizeof info.bmiHeader;
        file.bfSize = file.bfOffBits + imageBytes;
        const std::string path = folder + "\\flashwizard-step" + std::to_string(step) + ".bmp";
        std::ofstream out(std::filesystem::path(Widen(path)), std::ios::binary);
        out.write(reinterpret_cast<const char*>(&file), sizeof file);
        out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
        out.write(static_cast<const char*>(bits), imageBytes);
        Check(out.good(), "picture of step " + std::to_string(step) + " saved");
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
        ::ReleaseDC(nullptr, screen);
    }

private:
    [[nodiscard]] static std::string BoxText(HWND box) {
        std::string text;
        ::EnumChildWindows(
            box,
            [](HWND child, LPARAM data) CALLBACK -> BOOL {
                wchar_t name[32] = {};
                ::GetClassNameW(child, name, 32);
                const std::string shown = Text(child);
                if (lstrcmpiW(name, L"Static") == 0 && !shown.empty()) {
                    *reinterpret_cast<std::string*>(data) = shown;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&text));
        return text;
    }

    // The wizard's frame (wantFrame) or another dialog of its process, such as a message box.
    [[nodiscard]] HWND TopLevel(bool wantFrame) const {
        struct Search {
            const Wizard* self;
            bool wantFrame;
            HWND found;
        } search{this, wantFrame, nullptr};
        ::EnumWindows(
            [](HWND window, LPARAM data) CALLBACK -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                ::GetWindowThreadProcessId(window, &owner);
                wchar_t name[32] = {};
                ::GetClassNameW(window, name, 32);
                if (owner != s->self->processId_ || lstrcmpW(name, L"#32770") != 0 ||
                    !::IsWindowVisible(window)) {
                    return TRUE;
                }
                const bool isFrame = ::GetDlgItem(window, IDC_NEXT) != nullptr;
                if (isFrame != s->wantFrame) return TRUE;
                s->found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    DWORD processId_;
    HWND frame_ = nullptr;
};

// Every text of the program's string table is the wizard's own, byte for byte.
// The icon comes in every size up to 256 pixels (an icon directory writes 256 as 0).
void CheckIconSizes(const std::string& exePath) {
    HMODULE module = ::LoadLibraryExW(Widen(exePath).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) return;
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(IDI_FLASHWIZARD), RT_GROUP_ICON);
    const auto* group =
        found ? static_cast<const BYTE*>(::LockResource(::LoadResource(module, found))) : nullptr;
    std::vector<int> sizes;
    if (group != nullptr) {
        // GRPICONDIR: reserved, type, count; then 14-byte entries starting with width, height.
        const int count = group[4] | (group[5] << 8);
        for (int i = 0; i < count; ++i) {
            const int width = group[6 + 14 * i];
            sizes.push_back(width == 0 ? 256 : width);
        }
    }
    ::FreeLibrary(module);
    for (const int size : {16, 32, 48, 256}) {
        Check(std::find(sizes.begin(), sizes.end(), size) != sizes.end(),
              "the icon has " + std::to_string(size) + " pixels");
    }
}

void CheckStringTable(const std::string& exePath) {
    HMODULE module = ::LoadLibraryExW(Widen(exePath).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    Check(module != nullptr, "program resources readable");
    if (module == nullptr) return;
    const LANGID german = shell::win32::ResourceLanguage(seriallink::Language::German);
    int same = 0;
    // 129-179, and the program's name; 180 and 181 are the About item's own.
    std::vector<unsigned> ids;
    for (unsigned id = flashwizard::kStrErrorCaption; id <= flashwizard::kStrAttentionCaption; ++id)
        ids.push_back(id);
    ids.push_back(flashwizard::kStrProgramName);
    for (const unsigned id : ids) {
        std::string text;
        const bool found = shell::win32::LoadResourceString(module, id, german, text);
        const std::string expected = flashwizard::WizardStrings().Load(id);
        if (found && text == expected) {
            ++same;
        } else {
            Check(false, "string " + std::to_string(id) + " is \"" + text + "\", not \"" +
                             expected + "\"");
        }
    }
    Check(same == 52,
          "string table 129-179, 182: " + std::to_string(same) + " of 52 as the wizard's");
    for (int id : {IDB_HAND_ON_OFF, IDB_BACK_DOWNLOAD, IDB_DOWNLOAD_BUTTON, IDB_COTTON_BUD,
                   IDB_SERIAL_PLUG, IDB_USB_PLUG}) {
        Check(::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2)) != nullptr,
              "bitmap " + std::to_string(id));
    }
    ::FreeLibrary(module);
}

std::string RememberedPort() {
    wchar_t value[64] = {};
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, L"CommPort", RRF_RT_REG_SZ, nullptr, value,
                       &size) != ERROR_SUCCESS) {
        return "(none)";
    }
    return Narrow(value);
}

int CountRecords(const std::string& path) {
    std::ifstream in(std::filesystem::path(Widen(path)));
    int lines = 0;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] == ':') ++lines;
    }
    return lines;
}

// "..." opens the system's open-file dialog with the wizard's title and filters; the file typed
// into it and confirmed lands in the edit.
void ChooseWithBrowse(const Wizard& wizard, const std::string& firmware) {
    constexpr int kFileTypeList = 0x470;  // cmb1 of the system's dialog template
    constexpr int kFileNameList = 0x47c;  // cmb13
    wizard.Click(IDC_BROWSE);
    HWND dialog = nullptr;
    const bool opened = WaitFor([&] { return (dialog = wizard.Box()) != nullptr; }, kStepTimeoutMs);
    Check(opened && Text(dialog) == WizardText(flashwizard::kStrBrowseTitle),
          "open-file dialog \"" + (opened ? Text(dialog) : std::string()) + "\"");
    if (!opened) return;
    HWND types = ::GetDlgItem(dialog, kFileTypeList);
    std::string filters;
    for (LRESULT i = 0; i < ::SendMessageW(types, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t entry[128] = {};
        ::SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
        filters += Narrow(entry) + "|";
    }
    Check(filters == "Intel Hex File (*.hex)|All Files (*.*)|" &&
              ::SendMessageW(types, CB_GETCURSEL, 0, 0) == 0,
          "its filters: " + filters);
    const std::wstring name = Widen(firmware);
    ::SendMessageW(::GetDlgItem(dialog, kFileNameList), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(name.c_str()));
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    Check(WaitFor([&] { return !::IsWindow(dialog); }, kStepTimeoutMs), "open-file dialog closed");
}

void WalkAndUpdate(Wizard& wizard, const std::string& exePath, const std::string& firmware,
                   const std::string& port, const std::string& shots) {
    using namespace flashwizard;
    const std::string error = WizardText(kStrErrorCaption);

    Check(wizard.WaitForStep(1), "step 1 title");
    Check(!wizard.Enabled(IDC_BACK) && wizard.Enabled(IDC_CANCEL_BUTTON), "step 1 buttons");
    wizard.Click(IDC_CANCEL_BUTTON);
    wizard.ExpectBox("Cancel on step 1", WizardText(kStrQuitQuestion), WizardText(kStrQuitCaption),
                     IDNO, kStepTimeoutMs, [](HWND box) {
                         Check(Text(::GetDlgItem(box, IDYES)) == "&Ja" &&
                                   Text(::GetDlgItem(box, IDNO)) == "&Nein",
                               "the question asks in German");
                     });
    Check(wizard.WaitForStep(1), "No keeps the wizard on step 1");
    ::PostMessageW(wizard.frame(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    wizard.ExpectBox("About item of the system menu", "KORVALIS DOWNLOADER (deutsch)\nV1.2",
                     kApplicationName);
    wizard.Shot(shots, 1);

    wizard.Click(IDC_NEXT);
    Check(wizard.WaitForStep(2), "step 2 title");
    wizard.Click(IDC_NEXT);
    wizard.ExpectBox("empty file name", WizardText(kStrNoFileChosen), error);
    wizard.SetItemText(IDC_PATH_EDIT, firmware + ".missing");
    wizard.Click(IDC_NEXT);
    wizard.ExpectBox("missing file", WizardText(kStrFileMissing), error);
    wizard.SetItemText(IDC_PATH_EDIT, exePath);
    wizard.Click(IDC_NEXT);
    wizard.ExpectBox("a file that is not HEX", WizardText(kStrFileNotHex), error);
    wizard.Key(IDC_PATH_EDIT, VK_ESCAPE);
    wizard.ExpectNoBox("Escape in the file name does nothing");
    ChooseWithBrowse(wizard, firmware);
    Check(wizard.ItemText(IDC_PATH_EDIT) == firmware, "the chosen file in the edit");
    Check(wizard.Title() == WizardText(kStrWindowTitle, {2}), "still on step 2");
    wizard.Shot(shots, 2);

    wizard.Click(IDC_NEXT);
    Check(wizard.WaitForStep(3), "step 3 title");
    wizard.Shot(shots, 3);
    wizard.Click(IDC_BACK);
    Check(wizard.WaitForStep(2), "Back to step 2");
    Check(wizard.ItemText(IDC_PATH_EDIT) == firmware, "the file name stays");
    wizard.Click(IDC_NEXT);
    Check(wizard.WaitForStep(3), "step 3 again");
    wizard.Click(IDC_NEXT);
    Check(wizard.WaitForStep(4), "step 4 title");
    wizard.Shot(shots, 4);
    wizard.Click(IDC_NEXT);
    Check(wizard.WaitForStep(5), "step 5 title");
    Check(
        !wizard.Enabled(IDC_BACK) && !wizard.Enabled(IDC_CANCEL_BUTTON) && wizard.Enabled(IDC_NEXT),
        "step 5 buttons");

    const std::vector<std::string> ports = wizard.ComboEntries();
    int index = -1;
    std::string listed;
    for (size_t i = 0; i < ports.size(); ++i) {
        listed += ports[i] + " ";
        if (ports[i] == port) index = static_cast<int>(i);
    }
    Check(index >= 0, "step 5 lists " + port + ": " + listed);
    if (index < 0) return;
    wizard.PickPort(index);
    wizard.Key(IDC_NEXT, VK_ESCAPE);
    // No update runs yet: leaving is allowed after the warning, and No stays on the page.
    wizard.ExpectBox("Escape on step 5", WizardText(kStrCancelQuestion),
                     WizardText(kStrAttentionCaption), IDNO);
    wizard.Shot(shots, 5);

    wizard.Click(IDC_NEXT);
    Check(wizard.WaitForStep(6, kSearchTimeoutMs), "the loader found: step 6");
    Check(wizard.ItemText(IDC_NEXT) == WizardText(kStrFinish), "Next reads Fertigstellen");
    Check(wizard.ItemText(IDC_PORT_SENTENCE).find("Port " + port + " ") != std::string::npos,
          "step 6 names the port: " + wizard.ItemText(IDC_PORT_SENTENCE));
    Check(wizard.ItemText(IDC_FIRMWARE_PATH) == firmware, "step 6 names the file");
    wizard.Click(IDC_BACK);
    Check(wizard.WaitForStep(5), "Back from step 6");
    Check(wizard.ItemText(IDC_NEXT) == WizardText(kStrNext) && !wizard.Enabled(IDC_BACK),
          "step 5 again: Weiter >, Back disabled");
    wizard.Click(IDC_NEXT);
    Check(wizard.WaitForStep(6, kSearchTimeoutMs), "step 6 again");

    wizard.Click(IDC_NEXT);
    // A success under the program's name, not the file's.
    wizard.ExpectBox("update", WizardText(kStrUpdateDone), WizardText(kStrProgramName), IDOK,
                     kUpdateTimeoutMs);
    const int records = CountRecords(firmware);
    const std::string counter = std::to_string(records) + "/" + std::to_string(records);
    Check(
        WaitFor([&] { return wizard.ItemText(IDC_NEXT) == WizardText(kStrClose); }, kStepTimeoutMs),
        "Next reads Schliessen");
    Check(wizard.ItemText(IDC_COUNTER) == counter, "counter " + wizard.ItemText(IDC_COUNTER));
    Check(wizard.ItemText(IDC_STATUS) == WizardText(kStrUpdateDone), "status line");
    Check(!wizard.Enabled(IDC_BACK), "Back stays disabled");
    wizard.Shot(shots, 6);
    wizard.Click(IDC_NEXT);
}

}  // namespace

int main() {
    // The arguments as UTF-8, whatever the system's narrow code page: file names may hold umlauts.
    int argc = 0;
    LPWSTR* wideArgs = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) args.push_back(Narrow(wideArgs[i]));
    ::LocalFree(wideArgs);
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: wizard_smoke FLASHWIZARD.EXE FIRMWARE.HEX COMn [--shots DIR]\n");
        return 2;
    }
    const std::string exePath = args[1];
    const std::string firmware = args[2];
    const std::string port = args[3];
    const std::string shots = argc >= 6 && args[4] == "--shots" ? args[5] : "";

    CheckStringTable(exePath);
    CheckIconSizes(exePath);
    // A first run: nothing remembered.
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"CommPort");

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + Widen(exePath) + L"\"";
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        Check(false, "flashwizard.exe started");
        return 1;
    }
    Wizard wizard(process.dwProcessId);
    if (wizard.FindFrame()) {
        WalkAndUpdate(wizard, exePath, firmware, port, shots);
    } else {
        Check(false, "the wizard window appeared");
    }
    const bool ended = ::WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0;
    Check(ended, "Schliessen ends the program");
    if (!ended) ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    Check(RememberedPort() == port, "CommPort in the registry: " + RememberedPort());

    std::printf("%s (%d failed)\n", failures == 0 ? "PASS" : "FAIL", failures);
    return failures == 0 ? 0 : 1;
}
