// The main window of zonesend as a native dialog: the controls come from dialog template 102,
// every event goes to AirspaceSetupLogic, and the logic's view calls become messages to the
// controls.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "shell/win32/MessageBoxOwner.h"
#include "shell/win32/PortComboBox.h"
#include "shell/win32/Windows.h"
#include "zonesend/AirspaceSetupLogic.h"
#include "zonesend/PreviewPicture.h"
#include "zonesend/SelectionPanelLogic.h"
#include "zonesend/SelectionTools.h"
#include "zonesend/win32/MapWindow.h"

namespace zonesend::win32 {

// The Select panel, the capacity bar, the map and the airspace line, in a strip below the
// template's controls. Off, the window is the template alone.
struct SelectionToolOptions {
    bool shown = false;
    // Where the Select panel remembers its choices; none when null.
    ProfileStore* profile = nullptr;
};

class AirspaceSetupDialog : public AirspaceSetupView, public SelectionToolsView {
public:
    struct Options {
        AirspaceSetupLogic::Services services;
        // Stand-ins for the platform's boxes; the real ones when empty.
        std::function<std::optional<std::string>(const std::string& title,
                                                 const std::string& filter)>
            chooseFile;
        shell::win32::MessageBoxOwner::BoxFunction messageBox;
        std::function<void()> aboutBox;
        // Called once the window and its controls exist, before the dialog is first shown.
        std::function<void(AirspaceSetupDialog&)> created;
        SelectionToolOptions selectionTools;
    };

    AirspaceSetupDialog(AirspaceSetupApp& app, Options options = {});
    ~AirspaceSetupDialog() override;
    AirspaceSetupDialog(const AirspaceSetupDialog&) = delete;
    AirspaceSetupDialog& operator=(const AirspaceSetupDialog&) = delete;

    // Runs the dialog modally and returns IDOK or IDCANCEL.
    INT_PTR RunModal(HWND parent = nullptr);
    // Makes the dialog without a modal loop of its own (for tests); it ends with DestroyWindow.
    [[nodiscard]] HWND CreateModeless(HWND parent = nullptr);

    [[nodiscard]] HWND window() const { return window_; }
    [[nodiscard]] HWND control(int controlId) const { return GetDlgItem(window_, controlId); }
    [[nodiscard]] AirspaceSetupLogic& logic() { return *logic_; }
    // The preview as last drawn (null before the first selection change), and where it shows.
    [[nodiscard]] HBITMAP previewBitmap() const { return showingMap() ? map_.bitmap() : preview_; }
    [[nodiscard]] const PixelRect& previewRect() const { return previewRect_; }
    [[nodiscard]] HFONT listFont() const { return listFont_; }
    [[nodiscard]] SelectionPanelLogic& selectionPanel() { return tools_->panel(); }
    // The strip's logic; null without the strip.
    [[nodiscard]] SelectionTools* selectionTools() { return tools_.get(); }
    // Opens the Select panel modally; `whileOpen` runs once it shows (for tests and pictures).
    void OnSelect(const std::function<void(HWND)>& whileOpen = {});
    // Shows the whole selection on the map (true) or the clicked airspace alone (false).
    void showMap(bool on);
    [[nodiscard]] bool showingMap() const { return tools_ && tools_->showingMap(); }
    // The map window and where it stands: the preview area at the first size, and larger as the
    // window grows.
    [[nodiscard]] MapWindow& mapWindow() { return map_; }
    [[nodiscard]] PixelRect mapRect() const;
    // What the capacity bar shows: bytes of the selection.
    [[nodiscard]] std::uint32_t capacityShown() const { return capacityUsed_; }

    // AirspaceSetupView
    seriallink::MessageAnswer ShowMessageBox(const seriallink::MessageBoxRequest& request) override;
    void setControlText(int controlId, const std::string& text) override;
    void setTitleText(const std::string& text) override;
    void addAboutMenuItem(const std::string& text) override;
    void enableControl(int controlId, bool enable) override;
    seriallink::PortComboBox& portCombo() override { return combo_; }
    void clearList() override;
    void addListLine(const std::string& text) override;
    void addListLines(const std::vector<std::string>& lines) override;
    unsigned listCount() const override;
    void setLineSelected(unsigned index, bool selected) override;
    void setAllLinesSelected(bool selected) override;
    bool selectedLines(std::vector<unsigned>& out) const override;
    int caretIndex() const override;
    void applyListFont() override;
    void computePreviewRect() override;
    void drawPreview(const airspace::AirspaceRecord& airspace) override;
    void setListLine(unsigned index, const std::string& text) override;
    void fileReplaced() override;
    void showLineMark(unsigned index, LineMark mark) override;
    std::optional<std::string> chooseFile(const std::string& title,
                                          const std::string& filter) override;
    int startRepeatingTimer(int timerId, int periodMs) override;
    void stopRepeatingTimer(int identifier) override;
    bool isTopLevelActive() const override;
    void showAboutBox() override;

    // SelectionToolsView
    void showAirspaceInfo(const std::string& text) override;
    void drawMap(const MapRequest& request) override;
    void drawPreviewOf(const airspace::AirspaceRecord* airspace) override;
    void showMapToggle(bool on) override;
    void showSelectedOnly(bool on) override;
    void hideLines(const std::vector<bool>& hidden) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void onInitDialog();
    void onCommand(int controlId, int notification);
    void onPaint();
    void onDestroy();
    [[nodiscard]] RECT childRect(int controlId) const;
    void createSelectionTools();
    void makeMarkableList();
    void paintPreview(const airspace::AirspaceRecord& airspace);
    void drawCapacityBar(const DRAWITEMSTRUCT& item) const;
    void drawListLine(const DRAWITEMSTRUCT& item) const;
    void onListContextMenu(LPARAM at);
    // Keeps a new line's text and mark for the marks and the "Selected only" view.
    void rememberLine(const std::wstring& wide);
    // The list box's row of a line, -1 while the line is hidden, and the line of a row.
    [[nodiscard]] int rowOf(unsigned index) const;
    [[nodiscard]] unsigned lineOf(int row) const;
    // Puts a newly drawn preview or map on show, in place of the one before.
    void showPicture(HBITMAP picture);
    void drawSelectionMap();
    void rememberFirstLayout();
    void onSize();

    AirspaceSetupApp& app_;
    Options options_;
    HWND window_ = nullptr;
    bool modal_ = true;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HFONT listFont_ = nullptr;
    HBITMAP preview_ = nullptr;
    PixelRect previewRect_;
    shell::win32::MessageBoxOwner messages_;
    shell::win32::ComboBoxPortList combo_;
    std::unique_ptr<AirspaceSetupLogic> logic_;
    std::unique_ptr<SelectionTools> tools_;
    bool hasTools_ = false;
    std::uint32_t capacityUsed_ = 0;
    // The list with the strip: owner-drawn lines that show the pilot's marks, and the
    // "Selected only" view. While lines are hidden the list box holds the shown ones only; the
    // view keeps every line's text and the selection of the hidden ones.
    std::vector<std::wstring> lineTexts_;
    std::vector<LineMark> lineMarks_;
    std::vector<int> rowLines_;         // row -> line while filtered; empty: row = line
    std::vector<bool> hiddenSelected_;  // per line, while it is hidden
    std::vector<bool> hidden_;          // per line
    std::size_t hiddenCount_ = 0;
    HFONT alwaysFont_ = nullptr;
    HFONT neverFont_ = nullptr;
    MapWindow map_{[this] { return tools_ ? tools_->mapRequest() : MapRequest{}; }};
    // The window's first size and its controls' places then, from which it grows.
    SIZE firstClient_{};
    SIZE firstFrame_{};
    std::vector<std::pair<HWND, PixelRect>> firstPlaces_;
    int firstListBottom_ = 0;
};

// The About box, dialog template 100, with its texts from the string table and the language
// list; profile is where a language choice is remembered (null: not remembered).
void showAboutBox(HWND owner, ProfileStore* profile = nullptr);

// The whole program: the profile is read, the dialog runs modally, and a normal end writes the
// profile back. The string table must be installed before.
int runAirspaceSetup(AirspaceSetupApp& app, ProfileStore& profile,
                     AirspaceSetupDialog::Options options = {});

}  // namespace zonesend::win32
