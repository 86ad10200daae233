// zonesend's Windows dialog, made from its own resources and driven by control ids the way the
// system's controls report to it: both string tables against the program's table, the template's
// controls where the dialog units put them, a file loaded and lines selected with LB_SETSEL, the
// totals, the preview, the About box, and the settings round trip through the registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "seriallink/Messages.h"
#include "shell/win32/DialogUnits.h"
#include "shell/win32/RegistryProfileStore.h"
#include "shell/win32/Text.h"
#include "zonesend/DialogTemplate.h"
#include "zonesend/Strings.h"
#include "zonesend/win32/AirspaceSetupDialog.h"
#include "zonesend/win32/ProgramStrings.h"
#include "zonesend/win32/resource.h"

namespace {

using shell::win32::Narrow;
using shell::win32::Widen;
using zonesend::win32::AirspaceSetupDialog;

constexpr const char* kTestCompany = "KorvalisSmokeTest";

// The sample by its Windows name: Wine's drive Z: is the Unix root.
std::string samplePath() {
    std::string path = std::string("Z:") + QUILLON_SOURCE_DIR + "/samples/demo.txt";
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

// Lets the dialog paint and handle what was posted to it.
void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

class StringsInstalled {
public:
    explicit StringsInstalled(seriallink::Language language)
        : table_(zonesend::win32::loadProgramStrings(GetModuleHandleW(nullptr), language)) {
        seriallink::InstallStringTable(&table_->table());
    }
    ~StringsInstalled() { seriallink::InstallStringTable(nullptr); }

private:
    std::unique_ptr<shell::win32::ResourceStringTable> table_;
};

TEST(ResourceStrings, BothTablesHoldEveryTextOfTheProgram) {
    for (const auto language : {seriallink::Language::English, seriallink::Language::German}) {
        const auto table = zonesend::win32::loadProgramStrings(GetModuleHandleW(nullptr), language);
        EXPECT_EQ(table->size(), zonesend::stringEntries().size());
        for (const seriallink::StringEntry& entry : zonesend::stringEntries()) {
            const std::string_view expected =
                language == seriallink::Language::English ? entry.english : entry.german;
            EXPECT_EQ(table->table().Load(entry.id), expected) << entry.id;
        }
    }
    EXPECT_EQ(shell::win32::LanguageOfLangId(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_AUSTRIAN)),
              seriallink::Language::German);
    EXPECT_EQ(shell::win32::LanguageOfLangId(MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)),
              seriallink::Language::English);
}

class DialogTest : public ::testing::Test {
protected:
    StringsInstalled strings{seriallink::Language::English};
    zonesend::AirspaceSetupApp app;
    std::vector<seriallink::MessageBoxRequest> shown;
    std::vector<UINT> shownTypes;
    int aboutShown = 0;
    bool toolsShown = false;
    std::string nextFile;  // what the file dialog answers; the sample when empty
    std::unique_ptr<AirspaceSetupDialog> dialog;

    AirspaceSetupDialog::Options options() {
        AirspaceSetupDialog::Options o;
        o.services.enumerate = [](seriallink::ComPortList& out) {
            out = {3, 12};
            return true;
        };
        o.chooseFile = [this](const std::string&, const std::string&) {
            return std::optional<std::string>(nextFile.empty() ? samplePath() : nextFile);
        };
        o.messageBox = [this](HWND, const seriallink::MessageBoxRequest& request, UINT type) {
            shown.push_back(request);
            shownTypes.push_back(type);
            return IDOK;
        };
        o.aboutBox = [this] { ++aboutShown; };
        o.selectionTools.shown = toolsShown;
        return o;
    }
    HWND open() {
        dialog = std::make_unique<AirspaceSetupDialog>(app, options());
        HWND window = dialog->CreateModeless();
        pumpMessages();
        return window;
    }
    std::string text(int id) const { return windowText(dialog->control(id)); }
    LRESULT sendToList(UINT message, WPARAM wParam, LPARAM lParam) {
        return SendMessageW(dialog->control(zonesend::kIdAirspaceList), message, wParam, lParam);
    }
    // What the list box tells its dialog after the pilot's click on a line.
    void clickLine(int line) {
        const BOOL selected = sendToList(LB_GETSEL, static_cast<WPARAM>(line), 0) > 0;
        sendToList(LB_SETSEL, !selected, line);
        sendToList(LB_SETCARETINDEX, static_cast<WPARAM>(line), FALSE);
        SendMessageW(dialog->window(), WM_COMMAND,
                     MAKEWPARAM(zonesend::kIdAirspaceList, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(dialog->control(zonesend::kIdAirspaceList)));
    }
    void click(int id) { SendMessageW(dialog->control(id), BM_CLICK, 0, 0); }
};

TEST_F(DialogTest, ControlsStandWhereTheTemplatePutsThem) {
    ASSERT_NE(open(), nullptr);
    const auto units = shell::win32::DialogUnits::OfDialog(dialog->window());
    for (const zonesend::ControlTemplate& item : zonesend::mainDialogControls()) {
        HWND control = dialog->control(item.id);
        ASSERT_NE(control, nullptr) << item.id;
        RECT place;
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, dialog->window(), reinterpret_cast<POINT*>(&place), 2);
        const RECT expected =
            units.Rect(item.place.x, item.place.y, item.place.width, item.place.height);
        EXPECT_EQ(place.left, expected.left) << item.id;
        EXPECT_EQ(place.top, expected.top) << item.id;
        EXPECT_EQ(place.right, expected.right) << item.id;
        // A closed drop-down list is one line high whatever its template height.
        if (item.kind != zonesend::ControlKind::ComboBox) {
            EXPECT_EQ(place.bottom, expected.bottom) << item.id;
        }
    }
    // The template's order is the tab order: Exit first, the bytes value last.
    EXPECT_EQ(GetNextDlgTabItem(dialog->window(), nullptr, FALSE),
              dialog->control(zonesend::kIdExit));

    EXPECT_EQ(windowText(dialog->window()), "Airspace Setup");
    EXPECT_EQ(text(zonesend::kIdLoadFile), "Load File");
    EXPECT_EQ(text(zonesend::kIdSelectAll), "Select &All");
    EXPECT_EQ(text(zonesend::kIdExit), "Exit");
    EXPECT_EQ(text(zonesend::kIdFileLine), "No file selected");
    EXPECT_EQ(text(zonesend::kIdHeaderLine).substr(0, 11), "Class Name ");

    HMENU menu = GetSystemMenu(dialog->window(), FALSE);
    wchar_t item[64] = {};
    ASSERT_GT(GetMenuStringW(menu, zonesend::kAboutCommand, item, 64, MF_BYCOMMAND), 0);
    EXPECT_EQ(Narrow(item), "Inf&o about Airspace...");
    SendMessageW(dialog->window(), WM_SYSCOMMAND, zonesend::kAboutCommand, 0);
    EXPECT_EQ(aboutShown, 1);

    // The list and the header share a fixed-pitch font, so the columns line up.
    HFONT font = dialog->listFont();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(SendMessageW(dialog->control(zonesend::kIdAirspaceList), WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(font));
    HDC dc = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
}

TEST_F(DialogTest, LoadSelectTotalsAndPreview) {
    app.commPort = "com12";
    ASSERT_NE(open(), nullptr);
    HWND combo = dialog->control(zonesend::kIdPortCombo);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);  // remembered, letter case aside

    click(zonesend::kIdLoadFile);
    const airspace::LoadResult sample = airspace::loadAirspaceFile(samplePath());
    ASSERT_EQ(sample.status, airspace::LoadStatus::Ok);
    ASSERT_GE(sample.records.size(), 4u);
    EXPECT_EQ(sendToList(LB_GETCOUNT, 0, 0), static_cast<LRESULT>(sample.records.size()));
    EXPECT_EQ(text(zonesend::kIdFileLine), samplePath());
    EXPECT_TRUE(shown.empty());

    // Nothing drawn before the first selection change.
    EXPECT_EQ(dialog->previewBitmap(), nullptr);
    clickLine(0);
    clickLine(2);
    const std::size_t bytes = sample.records[0].encodedSize() + sample.records[2].encodedSize();
    EXPECT_EQ(text(zonesend::kIdBytesValue), std::to_string(bytes));
    EXPECT_EQ(text(zonesend::kIdBlocksValue), std::to_string((bytes + 13) / 14));

    // The preview of the line clicked last, in the area right of the list.
    HBITMAP preview = dialog->previewBitmap();
    ASSERT_NE(preview, nullptr);
    const zonesend::PixelRect& area = dialog->previewRect();
    RECT list;
    GetWindowRect(dialog->control(zonesend::kIdAirspaceList), &list);
    MapWindowPoints(nullptr, dialog->window(), reinterpret_cast<POINT*>(&list), 2);
    EXPECT_EQ(area.left, list.right + 2);
    BITMAP info{};
    GetObjectW(preview, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, area.right - area.left);
    EXPECT_EQ(info.bmHeight, area.bottom - area.top);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(info.bmWidth) * info.bmHeight);
    std::memcpy(pixels.data(), info.bmBits, pixels.size() * 4);
    const auto black = std::count(pixels.begin(), pixels.end(), 0u);
    // The frame alone is 2 * (width + height) pixels; name, bar and outline add to it.
    EXPECT_GT(black, 2 * (info.bmWidth + info.bmHeight) + 200);
    EXPECT_EQ(pixels[0], 0u);                                                  // the frame's corner
    EXPECT_EQ(pixels[static_cast<std::size_t>(info.bmWidth) + 1], 0xFFFFFFu);  // white inside

    // Deselecting a line draws that line's preview all the same.
    clickLine(0);
    EXPECT_NE(dialog->previewBitmap(), preview);
    EXPECT_EQ(text(zonesend::kIdBytesValue), std::to_string(sample.records[2].encodedSize()));

    click(zonesend::kIdSelectAll);
    std::size_t all = 0;
    for (const auto& record : sample.records) all += record.encodedSize();
    EXPECT_EQ(text(zonesend::kIdBytesValue), std::to_string(all));
    EXPECT_EQ(sendToList(LB_GETSELCOUNT, 0, 0), static_cast<LRESULT>(sample.records.size()));
    click(zonesend::kIdSelectNone);
    EXPECT_EQ(text(zonesend::kIdBytesValue), "0");
    EXPECT_EQ(text(zonesend::kIdBlocksValue), "0");
    EXPECT_EQ(sendToList(LB_GETSELCOUNT, 0, 0), 0);

    // Sending nothing says so, under the error caption with the exclamation icon.
    click(zonesend::kIdSendAirspace);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "No data selected");
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shownTypes[0], static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));

    // The pilot's choice of port is remembered.
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    SendMessageW(dialog->window(), WM_COMMAND, MAKEWPARAM(zonesend::kIdPortCombo, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(app.commPort, "COM3");
}

TEST_F(DialogTest, GermanTable) {
    StringsInstalled german(seriallink::Language::German);
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(text(zonesend::kIdLoadFile), "Öffne Datei");
    EXPECT_EQ(text(zonesend::kIdBlocksLabel), "Blöcke benötigt:");
    EXPECT_EQ(text(zonesend::kIdExit), "Beenden");
    EXPECT_EQ(text(zonesend::kIdFileLine), "Keine Datei gewählt");
    click(zonesend::kIdSendAirspace);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Keine Daten gewählt");
    EXPECT_EQ(shown[0].caption, "Fehler");
}

// What the About box showed, read by the timer that answers it.
std::string g_seenTitle, g_seenVersion;

// A timer procedure keeps the system's calling convention, which a lambda cannot name on x86.
void CALLBACK answerAboutBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND about = GetActiveWindow();
    if (about == nullptr || GetDlgItem(about, zonesend::kIdAboutVersion) == nullptr) return;
    g_seenTitle = windowText(about);
    g_seenVersion = windowText(GetDlgItem(about, zonesend::kIdAboutVersion));
    PostMessageW(about, WM_COMMAND, IDOK, 0);
}

// The real About box, answered by a timer while its own modal loop runs.
TEST_F(DialogTest, AboutBoxShowsTheVersion) {
    ASSERT_NE(open(), nullptr);
    g_seenTitle.clear();
    g_seenVersion.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, answerAboutBox);
    zonesend::win32::showAboutBox(dialog->window());
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_seenTitle, "Info about Airspace");
    EXPECT_EQ(g_seenVersion, "Airspace Version 0.9");
}

// The strip below the template: the Select panel's Apply sets the list, the capacity bar follows
// "Bytes used", and the map toggle draws the whole selection in colour.
TEST_F(DialogTest, SelectionStripDrivesTheList) {
    toolsShown = true;
    ASSERT_NE(open(), nullptr);
    for (const int id : {zonesend::kIdSelect, zonesend::kIdMapToggle, zonesend::kIdCapacityBar,
                         zonesend::kIdAirspaceInfo}) {
        EXPECT_NE(dialog->control(id), nullptr) << id;
    }
    EXPECT_EQ(text(zonesend::kIdSelect), "Select...");
    click(zonesend::kIdLoadFile);
    clickLine(1);
    EXPECT_EQ(std::to_string(dialog->capacityShown()), text(zonesend::kIdBytesValue));
    EXPECT_NE(text(zonesend::kIdAirspaceInfo), "");

    std::string outcome;
    std::vector<std::string> typeBoxes;
    dialog->OnSelect([&](HWND panel) {
        for (int id = IDC_SELECT_FIRST_TYPE; GetDlgItem(panel, id) != nullptr; ++id) {
            typeBoxes.push_back(windowText(GetDlgItem(panel, id)));
        }
        SetDlgItemTextW(panel, IDC_SELECT_NAME, L"Vessa");
        SendMessageW(GetDlgItem(panel, IDOK), BM_CLICK, 0, 0);
        outcome = windowText(GetDlgItem(panel, IDC_SELECT_OUTCOME));
        PostMessageW(panel, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(typeBoxes.size(), dialog->selectionPanel().types().size());
    EXPECT_EQ(dialog->selectionPanel().choices().nameContains, "Vessa");
    ASSERT_FALSE(outcome.empty());
    std::string expected;
    for (const char c : dialog->selectionPanel().lastText()) {
        if (c == '\n') expected.push_back('\r');
        expected.push_back(c);
    }
    EXPECT_EQ(outcome, expected);
    // What the list now selects is what the totals and the bar say.
    std::vector<unsigned> lines;
    ASSERT_TRUE(dialog->selectedLines(lines));
    std::size_t bytes = 0;
    for (const unsigned line : lines) bytes += dialog->logic().airspaces()[line].encodedSize();
    EXPECT_EQ(text(zonesend::kIdBytesValue), std::to_string(bytes));
    EXPECT_EQ(dialog->capacityShown(), bytes);

    click(zonesend::kIdSelectAll);
    click(zonesend::kIdMapToggle);
    EXPECT_TRUE(dialog->showingMap());
    HBITMAP map = dialog->previewBitmap();
    ASSERT_NE(map, nullptr);
    BITMAP info{};
    GetObjectW(map, sizeof info, &info);
    const auto* pixels = static_cast<const std::uint32_t*>(info.bmBits);
    const std::size_t count = static_cast<std::size_t>(info.bmWidth) * info.bmHeight;
    // Outlines are blue: neither black, white nor grey.
    const auto coloured = std::count_if(pixels, pixels + count, [](std::uint32_t p) {
        const auto r = (p >> 16) & 0xFF, b = p & 0xFF;
        return b > r + 40;
    });
    EXPECT_GT(coloured, 100);
    click(zonesend::kIdMapToggle);
    EXPECT_FALSE(dialog->showingMap());
}

// "Add File" in the strip appends another file: the sample again adds nothing (every airspace is
// listed once), a neighbour's file adds its own; the file line names every file, the info line
// the file of a line. "Load File" replaces them all.
TEST_F(DialogTest, AddFileAppendsAnotherFile) {
    toolsShown = true;
    ASSERT_NE(open(), nullptr);
    HWND add = dialog->control(zonesend::kIdAddFile);
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(text(zonesend::kIdAddFile), "Add File");
    // Below the template: no control of the template moves.
    const auto units = shell::win32::DialogUnits::OfDialog(dialog->window());
    RECT place;
    GetWindowRect(add, &place);
    MapWindowPoints(nullptr, dialog->window(), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.top, units.Rect(0, zonesend::kAddFilePlace.y, 1, 1).top);

    click(zonesend::kIdLoadFile);
    const LRESULT sampleLines = sendToList(LB_GETCOUNT, 0, 0);
    ASSERT_GT(sampleLines, 0);
    click(zonesend::kIdAddFile);  // the same file again: nothing to add
    EXPECT_EQ(sendToList(LB_GETCOUNT, 0, 0), sampleLines);
    EXPECT_EQ(text(zonesend::kIdFileLine), samplePath());

    char folder[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, folder), 0u);
    nextFile = std::string(folder) + "quillon-add-file.openair";
    {
        std::ofstream out(nextFile, std::ios::binary);
        out << "* VERSION: 2.0\r\n* WRITTEN_BY: test\r\nAC G\r\nAY GLIDING_SECTOR\r\n"
               "AN Neighbour sector\r\nAX 7000\r\nAL GND\r\nAH FL100\r\n"
               "DP 46:30:00 N 007:00:00 E\r\nDP 46:31:00 N 007:00:00 E\r\n"
               "DP 46:31:00 N 007:01:00 E\r\nDP 46:30:00 N 007:00:00 E";
    }
    click(zonesend::kIdAddFile);
    EXPECT_EQ(sendToList(LB_GETCOUNT, 0, 0), sampleLines + 1);
    EXPECT_EQ(text(zonesend::kIdFileLine), samplePath() + "; " + nextFile);
    clickLine(static_cast<int>(sampleLines));
    const std::string info = text(zonesend::kIdAirspaceInfo);
    EXPECT_NE(info.find("Gliding sector (GSEC)"), std::string::npos) << info;
    EXPECT_NE(info.find("transponder 7000, from quillon-add-file.openair"), std::string::npos)
        << info;

    nextFile.clear();
    click(zonesend::kIdLoadFile);
    EXPECT_EQ(sendToList(LB_GETCOUNT, 0, 0), sampleLines);
    EXPECT_EQ(text(zonesend::kIdFileLine), samplePath());
    std::remove((std::string(folder) + "quillon-add-file.openair").c_str());
}

// An upload from the dialog to the simulated instrument, through a COM port of the Wine prefix
// linked to the simulator's pseudo-terminal (dialog_send_test.sh sets it up and names it).
TEST_F(DialogTest, SendsTheSelectionThroughARealPort) {
    const char* port = std::getenv("ZONESEND_SEND_PORT");
    if (port == nullptr) GTEST_SKIP() << "no simulator port named (ZONESEND_SEND_PORT)";
    app.commPort = port;
    AirspaceSetupDialog::Options o = options();
    o.services.enumerate = [](seriallink::ComPortList& out) {
        out.clear();
        return false;
    };
    dialog = std::make_unique<AirspaceSetupDialog>(app, o);
    ASSERT_NE(dialog->CreateModeless(), nullptr);
    pumpMessages();
    shown.clear();  // "No Com Port is available" at start
    click(zonesend::kIdLoadFile);
    clickLine(1);
    clickLine(4);
    click(zonesend::kIdSendAirspace);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Download succeded");
    EXPECT_EQ(dialog->logic().lastUploadOutcome(), zonesend::UploadOutcome::Succeeded);
}

class ProfileTest : public DialogTest {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KorvalisSmokeTest"); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KorvalisSmokeTest"); }
    HKEY settingsKey() {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\KorvalisSmokeTest\\zonesend\\Settings", 0,
                        nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        return key;
    }
    void putText(const wchar_t* name, const std::wstring& value) {
        HKEY key = settingsKey();
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    void putQword(const wchar_t* name, unsigned long long value) {
        HKEY key = settingsKey();
        RegSetValueExW(key, name, 0, REG_QWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
        RegCloseKey(key);
    }
    DWORD storedType(const wchar_t* name) {
        HKEY key = settingsKey();
        DWORD type = REG_NONE;
        RegQueryValueExW(key, name, nullptr, &type, nullptr, nullptr);
        RegCloseKey(key);
        return type;
    }
};

TEST_F(ProfileTest, StoredValuesOfEveryKindAreRead) {
    shell::win32::RegistryProfileStore profile(kTestCompany, "zonesend");
    EXPECT_EQ(profile.SectionKeyPath("Settings"),
              L"Software\\KorvalisSmokeTest\\zonesend\\Settings");
    EXPECT_EQ(zonesend::readBaudRate(profile), 57600u);  // nothing stored
    const struct {
        bool asText;
        std::wstring text;
        unsigned long long number;
        std::uint32_t expected;
    } cases[] = {
        {true, L"115200", 0, 115200}, {true, L" 9600 ", 0, 9600},   {true, L"fast", 0, 57600},
        {true, L"12345", 0, 57600},   {false, L"", 256000, 256000}, {false, L"", 1ull << 40, 57600},
    };
    for (const auto& c : cases) {
        if (c.asText) {
            putText(L"Baudrate", c.text);
        } else {
            putQword(L"Baudrate", c.number);
        }
        EXPECT_EQ(zonesend::readBaudRate(profile), c.expected) << Narrow(c.text) << c.number;
    }
}

TEST_F(ProfileTest, TheProgramReadsAtStartAndWritesAtTheEnd) {
    putText(L"CommPort", L"COM12");
    putText(L"Baudrate", L"115200");
    shell::win32::RegistryProfileStore profile(kTestCompany, "zonesend");

    AirspaceSetupDialog::Options o = options();
    std::string selectedAtStart;
    o.created = [&](AirspaceSetupDialog& shown) {
        HWND combo = shown.control(zonesend::kIdPortCombo);
        selectedAtStart = shell::win32::ComboBoxPortList(combo).EntryText(
            static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)));
        // The pilot picks COM3 and leaves with Exit.
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
        PostMessageW(shown.window(), WM_COMMAND, MAKEWPARAM(zonesend::kIdPortCombo, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
        PostMessageW(shown.control(zonesend::kIdExit), BM_CLICK, 0, 0);
    };
    EXPECT_EQ(zonesend::win32::runAirspaceSetup(app, profile, std::move(o)), 0);
    EXPECT_EQ(selectedAtStart, "COM12");
    EXPECT_EQ(profile.readText("Settings", "CommPort", ""), "COM3");
    EXPECT_EQ(storedType(L"CommPort"), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(profile.readInteger("Settings", "Baudrate", 0), 115200);
    // Written the way the system's profile functions write a number.
    EXPECT_EQ(storedType(L"Baudrate"), static_cast<DWORD>(REG_DWORD));
}

}  // namespace
