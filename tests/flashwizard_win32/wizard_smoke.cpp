// Drives flashwizard.exe under Wine by control ids, as a pilot would click it: the file checks
// of step 2, Next and Back through all six pages, the port list of step 5, the device search
// and a whole update against the simulated loader on a COM port of the Wine prefix, then the
// remembered port in the registry; then the wizard in English (--lang en), its About box and
// the language chosen there for the next start. With --shots DIR it saves a picture of every
// page.
//
//   wizard_smoke FLASHWIZARD.EXE FIRMWARE.HEX COMn [--shots DIR] [--lang en|de|fr]
//
// The walk speaks the system's language (English under a plain Wine); with --lang it runs in
// that language (the program gets the same option) and the language runs are left out.
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
    // The About box: page 1's first line, the language list with the language shown selected.
    // With pick, that entry is chosen and the note about the next start is expected.
    void ExpectAbout(const std::string& what, const std::string& text, int shownIndex,
                     int pick = -1) const {
        HWND about = nullptr;
        if (!WaitFor([&] { return (about = Box()) != nullptr; }, kStepTimeoutMs)) {
            Check(false, what + ": no About box");
            return;
        }
        HWND list = ::GetDlgItem(about, IDC_LANGUAGE);
        Check(Text(::GetDlgItem(about, IDC_ABOUT_TEXT)) == text &&
                  ::SendMessageW(list, CB_GETCOUNT, 0, 0) == 3 &&
                  ::SendMessageW(list, CB_GETCURSEL, 0, 0) == shownIndex,
              what + ": \"" + Text(::GetDlgItem(about, IDC_ABOUT_TEXT)) + "\", language " +
                  std::to_string(::SendMessageW(list, CB_GETCURSEL, 0, 0)));
        if (pick >= 0) {
            ::SendMessageW(list, CB_SETCURSEL, pick, 0);
            ::PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE, CBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(list));
            HWND note = nullptr;
            Check(WaitFor([&] { return (note = TopLevel(false, about)) != nullptr; },
                          kStepTimeoutMs) &&
                      BoxText(note) == WizardText(flashwizard::kStrLanguageNote),
                  what + ": the note \"" + (note ? BoxText(note) : std::string()) + "\"");
            if (note != nullptr) ::PostMessageW(note, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            Check(WaitFor([&] { return ::IsWindowEnabled(about) != 0; }, kStepTimeoutMs),
                  what + ": note closed");
        }
        ::PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        Check(WaitFor([&] { return !::IsWindow(about); }, kStepTimeoutMs), what + ": closed");
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
        if (box == nullptr) return {};
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
    // except: a dialog not to be found (a box opened over it is).
    [[nodiscard]] HWND TopLevel(bool wantFrame, HWND except = nullptr) const {
        struct Search {
            const Wizard* self;
            bool wantFrame;
            HWND except;
            HWND found;
        } search{this, wantFrame, except, nullptr};
        ::EnumWindows(
            [](HWND window, LPARAM data) CALLBACK -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                ::GetWindowThreadProcessId(window, &owner);
                wchar_t name[32] = {};
                ::GetClassNameW(window, name, 32);
                if (owner != s->self->processId_ || lstrcmpW(name, L"#32770") != 0 ||
                    !::IsWindowVisible(window) || window == s->except) {
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
    // The German table as the wizard always had it, and the English and French ones beside it.
    for (const seriallink::Language language : seriallink::kLanguages) {
        const LANGID resources = shell::win32::ResourceLanguage(language);
        const seriallink::StringTable& table = flashwizard::WizardStringsIn(language);
        int same = 0;
        for (const seriallink::StringEntry& entry : flashwizard::WizardStringEntries()) {
            std::string text;
            const bool found = shell::win32::LoadResourceString(module, entry.id, resources, text);
            if (found && text == table.Load(entry.id)) {
                ++same;
            } else {
                Check(false, "string " + std::to_string(entry.id) + " is \"" + text + "\", not \"" +
                                 table.Load(entry.id) + "\"");
            }
        }
        Check(same == static_cast<int>(flashwizard::WizardStringEntries().size()),
              std::string("string table in ") + seriallink::LanguageName(language) + ": " +
                  std::to_string(same) + " as the wizard's");
    }
    for (int id : {IDB_HAND_ON_OFF, IDB_BACK_DOWNLOAD, IDB_DOWNLOAD_BUTTON, IDB_COTTON_BUD,
                   IDB_SERIAL_PLUG, IDB_USB_PLUG}) {
        Check(::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2)) != nullptr,
              "bitmap " + std::to_string(id));
    }
    ::FreeLibrary(module);
}

// What Yes reads in a box of the wizard.
const char* YesText(seriallink::Language language) {
    switch (language) {
        case seriallink::Language::German:
            return "&Ja";
        case seriallink::Language::French:
            return "&Oui";
        case seriallink::Language::English:
            break;
    }
    return "&Yes";
}

std::string Remembered(const wchar_t* name) {
    wchar_t value[64] = {};
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, value,
                       &size) != ERROR_SUCCESS) {
        return "(none)";
    }
    return Narrow(value);
}

std::string RememberedPort() {
    return Remembered(L"CommPort");
}

// Starts the wizard with the given arguments; null when it did not start.
HANDLE StartWizard(const std::string& exePath, const std::string& arguments, DWORD& processId) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + Widen(exePath) + L"\"" + Widen(arguments);
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return nullptr;
    }
    ::CloseHandle(process.hThread);
    processId = process.dwProcessId;
    return process.hProcess;
}

// The wizard in the language the system does not speak: German under an English system
// (--lang de), English under a German one. Its frame, page 1, About box and boxes speak that
// language; the About box chooses French, which the next start without --lang speaks. Each run
// is left on step 1 with Cancel and Yes.
void LanguageRuns(const std::string& exePath) {
    using namespace flashwizard;
    struct Run {
        const char* arguments;
        seriallink::Language language;
        int shownIndex;
        int pick;  // the About box's pick, -1 none
    };
    const bool germanSystem = shell::win32::UserInterfaceLanguage() == seriallink::Language::German;
    const Run runs[] = {
        germanSystem ? Run{" --lang en", seriallink::Language::English, 0, 2}
                     : Run{" --lang de", seriallink::Language::German, 1, 2},
        {"", seriallink::Language::French, 2, -1},
    };
    for (const auto& run : runs) {
        UseWizardStrings(&WizardStringsIn(run.language));
        const std::string name = seriallink::LanguageName(run.language);
        DWORD processId = 0;
        HANDLE process = StartWizard(exePath, run.arguments, processId);
        Wizard wizard(processId);
        if (process == nullptr || !wizard.FindFrame()) {
            Check(false, name + ": the wizard window appeared");
            if (process != nullptr) ::TerminateProcess(process, 1);
            continue;
        }
        Check(wizard.WaitForStep(1), name + ": step 1 title \"" + wizard.Title() + "\"");
        Check(wizard.ItemText(IDC_CANCEL_BUTTON) == PageText(kStrFrameButtons, 0) &&
                  wizard.ItemText(IDC_BACK) == PageText(kStrFrameButtons, 1) &&
                  wizard.ItemText(IDC_NEXT) == WizardText(kStrNext),
              name + ": buttons " + wizard.ItemText(IDC_BACK) + " " + wizard.ItemText(IDC_NEXT) +
                  " " + wizard.ItemText(IDC_CANCEL_BUTTON));
        ::PostMessageW(wizard.frame(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        wizard.ExpectAbout(name + ": About box", PageText(kStrWelcomePage, 0), run.shownIndex,
                           run.pick);
        wizard.Click(IDC_CANCEL_BUTTON);
        wizard.ExpectBox(name + ": Cancel on step 1", WizardText(kStrQuitQuestion),
                         WizardText(kStrQuitCaption), IDYES, kStepTimeoutMs, [&](HWND box) {
                             Check(Text(::GetDlgItem(box, IDYES)) == YesText(run.language),
                                   name + ": Yes reads " + Text(::GetDlgItem(box, IDYES)));
                         });
        const bool ended = ::WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
        Check(ended, name + ": Yes ends the program");
        if (!ended) ::TerminateProcess(process, 1);
        ::CloseHandle(process);
    }
    UseWizardStrings(nullptr);
    Check(Remembered(L"Language") == "fr", "Language in the registry: " + Remembered(L"Language"));
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"Language");
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
    // The descriptions of the wizard's filter text, in its language.
    std::string expected;
    const std::string filterText = WizardText(flashwizard::kStrBrowseFilter);
    for (std::size_t at = 0, part = 0; at < filterText.size(); ++part) {
        const std::size_t bar = filterText.find('|', at);
        if (bar == std::string::npos || bar == at) break;
        if (part % 2 == 0) expected += filterText.substr(at, bar - at) + "|";
        at = bar + 1;
    }
    Check(filters == expected && ::SendMessageW(types, CB_GETCURSEL, 0, 0) == 0,
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
    const seriallink::Language language = WizardStrings().language();
    const std::string error = WizardText(kStrErrorCaption);

    Check(wizard.WaitForStep(1), "step 1 title");
    Check(!wizard.Enabled(IDC_BACK) && wizard.Enabled(IDC_CANCEL_BUTTON), "step 1 buttons");
    wizard.Click(IDC_CANCEL_BUTTON);
    wizard.ExpectBox("Cancel on step 1", WizardText(kStrQuitQuestion), WizardText(kStrQuitCaption),
                     IDNO, kStepTimeoutMs, [&](HWND box) {
                         Check(Text(::GetDlgItem(box, IDYES)) == YesText(language),
                               "the question asks in the wizard's language");
                     });
    Check(wizard.WaitForStep(1), "No keeps the wizard on step 1");
    ::PostMessageW(wizard.frame(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    for (std::size_t i = 0; i < std::size(seriallink::kLanguages); ++i) {
        if (seriallink::kLanguages[i] != language) continue;
        wizard.ExpectAbout("About item of the system menu", PageText(kStrWelcomePage, 0),
                           static_cast<int>(i));
    }
    if (language == seriallink::Language::German) {
        Check(PageText(kStrWelcomePage, 0) == "KORVALIS DOWNLOADER (deutsch)\nV1.2",
              "page 1 says deutsch");
    }
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
    Check(wizard.ItemText(IDC_NEXT) == WizardText(kStrFinish), "Next reads Fertigstellen (Finish)");
    Check(wizard.ItemText(IDC_PORT_SENTENCE).find(" " + port + " ") != std::string::npos,
          "step 6 names the port: " + wizard.ItemText(IDC_PORT_SENTENCE));
    Check(wizard.ItemText(IDC_FIRMWARE_PATH) == firmware, "step 6 names the file");
    wizard.Click(IDC_BACK);
    Check(wizard.WaitForStep(5), "Back from step 6");
    Check(wizard.ItemText(IDC_NEXT) == WizardText(kStrNext) && !wizard.Enabled(IDC_BACK),
          "step 5 again: Weiter > (Next), Back disabled");
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
        "Next reads Schliessen (Close)");
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
    std::string shots;
    std::string lang;
    for (std::size_t i = 4; i + 1 < args.size(); i += 2) {
        if (args[i] == "--shots") shots = args[i + 1];
        if (args[i] == "--lang") lang = args[i + 1];
    }
    // The walk speaks the language given, else the system's, as the program does.
    flashwizard::UseWizardStrings(&flashwizard::WizardStringsIn(
        seriallink::LanguageOfCode(lang).value_or(shell::win32::UserInterfaceLanguage())));

    CheckStringTable(exePath);
    CheckIconSizes(exePath);
    // A first run: nothing remembered.
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"CommPort");
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"Language");

    DWORD processId = 0;
    HANDLE process = StartWizard(exePath, lang.empty() ? "" : " --lang " + lang, processId);
    if (process == nullptr) {
        Check(false, "flashwizard.exe started");
        return 1;
    }
    Wizard wizard(processId);
    if (wizard.FindFrame()) {
        WalkAndUpdate(wizard, exePath, firmware, port, shots);
    } else {
        Check(false, "the wizard window appeared");
    }
    const bool ended = ::WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    Check(ended, "Schliessen ends the program");
    if (!ended) ::TerminateProcess(process, 1);
    ::CloseHandle(process);
    Check(RememberedPort() == port, "CommPort in the registry: " + RememberedPort());

    if (lang.empty()) {
        LanguageRuns(exePath);
        Check(RememberedPort() == port,
              "CommPort unchanged by the language runs: " + RememberedPort());
    }

    std::printf("%s (%d failed)\n", failures == 0 ? "PASS" : "FAIL", failures);
    return failures == 0 ? 0 : 1;
}
