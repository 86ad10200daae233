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
#include "bench/NationalAirspace.h"
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
    // English and German as they always were, and French beside them (English where an id has
    // no French yet).
    for (const auto language : seriallink::kLanguages) {
        const auto table = zonesend::win32::loadProgramStrings(GetModuleHandleW(nullptr), language);
        const seriallink::StringTable expected = zonesend::makeStringTable(language);
        EXPECT_EQ(table->size(), zonesend::stringEntries().size());
        for (const seriallink::StringEntry& entry : zonesend::stringEntries()) {
            EXPECT_EQ(table->table().Load(entry.id), expected.Load(entry.id)) << entry.id;
        }
    }
    EXPECT_EQ(shell::win32::LanguageOfLangId(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_AUSTRIAN)),
              seriallink::Language::German);
    EXPECT_EQ(shell::win32::LanguageOfLangId(MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH_CANADIAN)),
              seriallink::Language::French);
    EXPECT_EQ(shell::win32::LanguageOfLangId(MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN)),
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
    std::string fileToLoad = samplePath();
    std::unique_ptr<AirspaceSetupDialog> dialog;

    AirspaceSetupDialog::Options options() {
        AirspaceSetupDialog::Options o;
        o.services.enumerate = [](seriallink::ComPortList& out) {
            out = {3, 12};
            return true;
        };
        o.chooseFile = [this](const std::string&, const std::string&) {
            return std::optional<std::string>(fileToLoad);
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
    // Centred on the screen's work area, whatever the resolution.
    RECT frame;
    GetWindowRect(dialog->window(), &frame);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    // Wider or taller than the screen, it keeps its caption and left edge on it.
    if (frame.right - frame.left <= work.right - work.left) {
        EXPECT_LE(std::abs((frame.left + frame.right) - (work.left + work.right)), 2);
    } else {
        EXPECT_EQ(frame.left, work.left);
    }
    if (frame.bottom - frame.top <= work.bottom - work.top) {
        EXPECT_LE(std::abs((frame.top + frame.bottom) - (work.top + work.bottom)), 2);
    } else {
        EXPECT_EQ(frame.top, work.top);
    }
    HDC screen = GetDC(nullptr);
    std::printf("main window: %ld x %ld pixels at %d DPI\n", frame.right - frame.left,
                frame.bottom - frame.top, GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);

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
std::string g_seenTitle, g_seenVersion, g_seenLanguages;

// A timer procedure keeps the system's calling convention, which a lambda cannot name on x86.
void CALLBACK answerAboutBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND about = GetActiveWindow();
    if (about == nullptr || GetDlgItem(about, zonesend::kIdAboutVersion) == nullptr) return;
    g_seenTitle = windowText(about);
    g_seenVersion = windowText(GetDlgItem(about, zonesend::kIdAboutVersion));
    // The language list: its entries, the one shown marked with "*".
    HWND list = GetDlgItem(about, zonesend::kIdAboutLanguage);
    g_seenLanguages = windowText(GetDlgItem(about, zonesend::kIdAboutLanguageLabel));
    for (LRESULT i = 0; i < SendMessageW(list, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t entry[32] = {};
        SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
        g_seenLanguages += " " + shell::win32::Narrow(entry) +
                           (SendMessageW(list, CB_GETCURSEL, 0, 0) == i ? "*" : "");
    }
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
    EXPECT_EQ(g_seenLanguages, "Language: English* Deutsch Français");
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
    // The map window stands on the preview area; a larger frame gives it and the list the room
    // while the top row stays; back at the first size every control is where it was.
    const auto place = [&](HWND child) {
        RECT at{};
        GetWindowRect(child, &at);
        MapWindowPoints(nullptr, dialog->window(), reinterpret_cast<POINT*>(&at), 2);
        return at;
    };
    const auto same = [](const RECT& a, const RECT& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    HWND mapWindow = dialog->mapWindow().window();
    ASSERT_NE(mapWindow, nullptr);
    const RECT mapFirst = place(mapWindow);
    const RECT listFirst = place(dialog->control(zonesend::kIdAirspaceList));
    const RECT exitFirst = place(dialog->control(zonesend::kIdExit));
    EXPECT_EQ(mapFirst.right - mapFirst.left,
              dialog->previewRect().right - dialog->previewRect().left);
    RECT frame{}, client{};
    GetWindowRect(dialog->window(), &frame);
    GetClientRect(dialog->window(), &client);
    const auto resize = [&](int dw, int dh) {
        SetWindowPos(dialog->window(), nullptr, 0, 0, frame.right - frame.left + dw,
                     frame.bottom - frame.top + dh, SWP_NOMOVE | SWP_NOZORDER);
        pumpMessages();
    };
    // The room the window gained, whatever the screen lets it have.
    resize(120, 80);
    RECT grown{};
    GetClientRect(dialog->window(), &grown);
    const LONG dw = grown.right - client.right, dh = grown.bottom - client.bottom;
    EXPECT_GT(dw, 0);
    EXPECT_GT(dh, 0);
    EXPECT_EQ(place(mapWindow).right - mapFirst.right, dw);
    EXPECT_EQ(place(mapWindow).bottom - mapFirst.bottom, dh);
    EXPECT_EQ(place(dialog->control(zonesend::kIdAirspaceList)).bottom - listFirst.bottom, dh);
    EXPECT_TRUE(same(place(dialog->control(zonesend::kIdExit)), exitFirst));
    GetObjectW(dialog->previewBitmap(), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, mapFirst.right - mapFirst.left + dw);
    // An arrow key looks east; "Whole selection" frames every outline.
    const double east = dialog->mapWindow().navigator().view().panEastKm;
    SendMessageW(mapWindow, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_GT(dialog->mapWindow().navigator().view().panEastKm, east);
    SendMessageW(GetDlgItem(mapWindow, 1), BM_CLICK, 0, 0);
    EXPECT_TRUE(dialog->mapWindow().navigator().wholeSelection());
    resize(0, 0);
    EXPECT_TRUE(same(place(mapWindow), mapFirst));
    EXPECT_TRUE(same(place(dialog->control(zonesend::kIdAirspaceList)), listFirst));
    click(zonesend::kIdMapToggle);
    EXPECT_FALSE(dialog->showingMap());

    // Insert on the current line marks it "Always include"; its text stays the file's.
    const auto lineText = [&](int row) {
        std::wstring line(static_cast<std::size_t>(sendToList(LB_GETTEXTLEN, row, 0)) + 1, L'\0');
        line.resize(static_cast<std::size_t>(
            sendToList(LB_GETTEXT, row, reinterpret_cast<LPARAM>(line.data()))));
        return line;
    };
    const std::wstring before = lineText(1);
    sendToList(LB_SETCARETINDEX, 1, FALSE);
    sendToList(WM_KEYDOWN, VK_INSERT, 0);
    EXPECT_EQ(dialog->logic().lineMark(1), zonesend::LineMark::AlwaysInclude);
    EXPECT_EQ(lineText(1), before);
    // "Selected only": the list box holds the selected lines, each still its own line.
    const std::wstring third = lineText(3);
    const auto lineCount = dialog->logic().fileAirspaces().size();
    click(zonesend::kIdSelectNone);
    clickLine(1);
    clickLine(3);
    click(zonesend::kIdSelectedOnly);
    EXPECT_EQ(sendToList(LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(lineText(1), third);
    ASSERT_TRUE(dialog->selectedLines(lines));
    EXPECT_EQ(lines, (std::vector<unsigned>{1, 3}));
    EXPECT_EQ(dialog->listCount(), lineCount);
    click(zonesend::kIdSelectedOnly);
    EXPECT_EQ(sendToList(LB_GETCOUNT, 0, 0), static_cast<LRESULT>(lineCount));
    ASSERT_TRUE(dialog->selectedLines(lines));
    EXPECT_EQ(lines, (std::vector<unsigned>{1, 3}));
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
    const std::string neighbour = std::string(folder) + "quillon-add-file.openair";
    fileToLoad = neighbour;
    {
        std::ofstream out(neighbour, std::ios::binary);
        out << "* VERSION: 2.0\r\n* WRITTEN_BY: test\r\nAC G\r\nAY GLIDING_SECTOR\r\n"
               "AN Neighbour sector\r\nAX 7000\r\nAL GND\r\nAH FL100\r\n"
               "DP 46:30:00 N 007:00:00 E\r\nDP 46:31:00 N 007:00:00 E\r\n"
               "DP 46:31:00 N 007:01:00 E\r\nDP 46:30:00 N 007:00:00 E";
    }
    click(zonesend::kIdAddFile);
    EXPECT_EQ(sendToList(LB_GETCOUNT, 0, 0), sampleLines + 1);
    EXPECT_EQ(text(zonesend::kIdFileLine), samplePath() + "; " + neighbour);
    clickLine(static_cast<int>(sampleLines));
    const std::string info = text(zonesend::kIdAirspaceInfo);
    EXPECT_NE(info.find("Gliding sector (GSEC)"), std::string::npos) << info;
    EXPECT_NE(info.find("transponder 7000, from quillon-add-file.openair"), std::string::npos)
        << info;

    fileToLoad = samplePath();
    click(zonesend::kIdLoadFile);
    EXPECT_EQ(sendToList(LB_GETCOUNT, 0, 0), sampleLines);
    EXPECT_EQ(text(zonesend::kIdFileLine), samplePath());
    std::remove(neighbour.c_str());
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
    EXPECT_EQ(shown[0].caption, "Airspace Setup");
    EXPECT_EQ(shownTypes.back(), static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(dialog->logic().lastUploadOutcome(), zonesend::UploadOutcome::Succeeded);
}

// A file written into the system's temporary folder under a name of the test's choice (UTF-8);
// removed with its folder at the end.
class TempFile {
public:
    TempFile(const std::string& folder, const std::string& name, const std::string& contents) {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + Widen(folder);
        CreateDirectoryW(folder_.c_str(), nullptr);
        path_ = folder_ + L"\\" + Widen(name);
        HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
        CloseHandle(file);
    }
    ~TempFile() {
        DeleteFileW(path_.c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    [[nodiscard]] std::string path() const { return Narrow(path_); }

private:
    std::wstring folder_, path_;
};

// Files under names with letters beyond ASCII open (the program runs in the UTF-8 code page);
// a file that gives nothing to list says why and leaves the previous one whole, list, totals,
// file line and preview; a second good file shows nothing of the first.
TEST_F(DialogTest, FileNamesWrongFilesAndASecondFile) {
    EXPECT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
    const airspace::LoadResult sample = airspace::loadAirspaceFile(samplePath());
    ASSERT_EQ(sample.status, airspace::LoadStatus::Ok);
    std::string demo;
    {
        HANDLE file = CreateFileW(Widen(samplePath()).c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        char buffer[65536];
        DWORD got = 0;
        while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
            demo.append(buffer, got);
        }
        CloseHandle(file);
    }
    const TempFile german("Lufträume-é", "Zonen Süd.txt", demo);
    const std::string triangles =
        "AC R\r\nAN Zone Est\r\nAL GND\r\nAH FL50\r\nDP 45:00:00 N 006:00:00 E\r\n"
        "DP 45:05:00 N 006:00:00 E\r\nDP 45:05:00 N 006:05:00 E\r\n"
        "AC Q\r\nAN Zone Ouest\r\nAL GND\r\nAH 2000m\r\nDP 45:00:00 N 005:50:00 E\r\n"
        "DP 45:05:00 N 005:50:00 E\r\nDP 45:05:00 N 005:55:00 E\r\n";
    const TempFile french("Données", "Espaces aériens.txt", triangles);
    const TempFile hex("Lufträume-é", "firmware.hex", ":00000001FF\r\n");
    const TempFile empty("Lufträume-é", "leer.txt", "");
    toolsShown = true;
    ASSERT_NE(open(), nullptr);
    shown.clear();

    fileToLoad = german.path();
    click(zonesend::kIdLoadFile);
    EXPECT_TRUE(shown.empty()) << (shown.empty() ? "" : shown[0].text);
    ASSERT_EQ(sendToList(LB_GETCOUNT, 0, 0), static_cast<LRESULT>(sample.records.size()));
    EXPECT_EQ(text(zonesend::kIdFileLine), german.path());
    clickLine(1);
    clickLine(3);
    const std::string bytes = text(zonesend::kIdBytesValue);
    HBITMAP preview = dialog->previewBitmap();
    ASSERT_NE(preview, nullptr);

    const std::string missing = german.path() + ".gone";
    const struct {
        std::string path;
        std::string text;  // empty: the system's own text
    } wrong[] = {
        {missing, ""},
        {hex.path(), "No airspace was found in this file: is this an OpenAir file?\n" + hex.path()},
        {empty.path(),
         "No airspace was found in this file: is this an OpenAir file?\n" + empty.path()},
    };
    for (const auto& w : wrong) {
        shown.clear();
        fileToLoad = w.path;
        click(zonesend::kIdLoadFile);
        ASSERT_EQ(shown.size(), 1u) << w.path;
        if (w.text.empty()) {
            EXPECT_FALSE(shown[0].text.empty());
        } else {
            EXPECT_EQ(shown[0].text, w.text);
        }
        EXPECT_EQ(text(zonesend::kIdFileLine), german.path());
        EXPECT_EQ(sendToList(LB_GETCOUNT, 0, 0), static_cast<LRESULT>(sample.records.size()));
        EXPECT_EQ(sendToList(LB_GETSELCOUNT, 0, 0), 2);
        EXPECT_EQ(text(zonesend::kIdBytesValue), bytes);
        EXPECT_EQ(dialog->previewBitmap(), preview);
    }

    shown.clear();
    fileToLoad = french.path();
    click(zonesend::kIdLoadFile);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(text(zonesend::kIdFileLine), french.path());
    EXPECT_EQ(sendToList(LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(dialog->previewBitmap(), nullptr);
    EXPECT_EQ(text(zonesend::kIdAirspaceInfo), "");
    EXPECT_EQ(text(zonesend::kIdBytesValue), "0");
}

// The Select panel: centred over the main window, every German label whole, and the last row
// of type boxes clear of its group's border.
TEST_F(DialogTest, SelectPanelLayout) {
    StringsInstalled german(seriallink::Language::German);
    toolsShown = true;
    ASSERT_NE(open(), nullptr);
    click(zonesend::kIdLoadFile);
    RECT owner;
    GetWindowRect(dialog->window(), &owner);
    RECT panelFrame{};
    std::vector<std::string> clipped;
    RECT group{}, lastBox{};
    dialog->OnSelect([&](HWND panel) {
        GetWindowRect(panel, &panelFrame);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(panel, WM_GETFONT, 0, 0));
        HDC dc = GetDC(panel);
        const HGDIOBJ previous = SelectObject(dc, font);
        for (const int id :
             {IDC_SELECT_TAKEOFF_LABEL, IDC_SELECT_RADIUS_LABEL, IDC_SELECT_TYPES_LABEL,
              IDC_SELECT_FLOOR_LABEL, IDC_SELECT_NAME_LABEL, IDC_SELECT_SIMPLIFY_LABEL}) {
            const std::wstring label = Widen(windowText(GetDlgItem(panel, id)));
            SIZE extent{};
            GetTextExtentPoint32W(dc, label.c_str(), static_cast<int>(label.size()), &extent);
            RECT place;
            GetClientRect(GetDlgItem(panel, id), &place);
            if (extent.cx > place.right) clipped.push_back(Narrow(label));
        }
        SelectObject(dc, previous);
        ReleaseDC(panel, dc);
        GetWindowRect(GetDlgItem(panel, IDC_SELECT_TYPES), &group);
        int last = IDC_SELECT_FIRST_TYPE;
        while (GetDlgItem(panel, last + 1) != nullptr) ++last;
        GetWindowRect(GetDlgItem(panel, last), &lastBox);
        PostMessageW(panel, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_TRUE(clipped.empty()) << clipped.front();
    EXPECT_LE(std::abs((panelFrame.left + panelFrame.right) - (owner.left + owner.right)), 2);
    EXPECT_LE(std::abs((panelFrame.top + panelFrame.bottom) - (owner.top + owner.bottom)), 2);
    EXPECT_LT(lastBox.bottom, group.bottom - 2);
}

// A national file of 1,600 airspaces, filled into the list and all selected: both must feel
// immediate. The times are printed for comparison between the toolkits.
TEST_F(DialogTest, ANationalFileFillsTheListAndSelectsAllQuickly) {
    const TempFile national("quillon-national", "national.txt",
                            airspace::bench::NationalAirspace(1).file(1600));
    fileToLoad = national.path();
    ASSERT_NE(open(), nullptr);
    shown.clear();
    const DWORD started = GetTickCount();
    click(zonesend::kIdLoadFile);
    const DWORD filled = GetTickCount();
    click(zonesend::kIdSelectAll);
    const DWORD selected = GetTickCount();
    EXPECT_EQ(sendToList(LB_GETCOUNT, 0, 0), 1600);
    EXPECT_EQ(sendToList(LB_GETSELCOUNT, 0, 0), 1600);
    std::printf("national file: list filled in %lu ms, Select All in %lu ms\n",
                static_cast<unsigned long>(filled - started),
                static_cast<unsigned long>(selected - filled));
    EXPECT_LT(selected - filled, 2000u);
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
