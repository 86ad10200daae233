// The main dialog of zonesend without its widgets: what every handler does, step by step. The
// widgets (AirspaceSetupDialog) show the state and forward the pilot's actions here.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "airspace/AirspaceRecord.h"
#include "seriallink/ComPorts.h"
#include "seriallink/Messages.h"
#include "zonesend/AirspaceSetupApp.h"
#include "zonesend/AirspaceUpload.h"

namespace zonesend {

inline constexpr unsigned kMaxBlocks = airspace::kDeviceBlockCount;  // 228
inline constexpr int kPortScanTimerId = 1;
inline constexpr int kPortScanPeriodMs = 1000;
inline constexpr unsigned kAboutCommand = 16;
// OpenAir files first: national files come as .txt, .air and .openair.
inline constexpr const char* kFileFilter =
    "OpenAir Files (*.txt;*.air;*.openair)|*.txt;*.air;*.openair|Text Files (*.txt)|*.txt|"
    "All Files (*.*)|*.*||";

// How a line goes to the instrument once a fit has changed it.
struct SentLine {
    // Each sent as an outline of its own: a simplified outline, or the pieces of a cut one.
    std::vector<airspace::AirspaceRecord> outlines;
    // Per outline, the edges the cut to the flying area made (as airspace::SentOutline has them);
    // may be shorter than `outlines` where none were cut.
    std::vector<std::vector<bool>> cutEdges;
    // The line whose identical outline this one shares: it sends nothing while that line is
    // sent too, and that line's outlines otherwise.
    std::optional<std::size_t> sharedWith;
};

// The pilot's mark on a line, for the fit: taken before anything else, or never.
enum class LineMark { None, AlwaysInclude, NeverInclude };

// The dialog's controls, as the logic sees them. Texts are UTF-8.
class AirspaceSetupView : public seriallink::MessageOwner {
public:
    virtual void setControlText(int controlId, const std::string& text) = 0;
    virtual void setTitleText(const std::string& text) = 0;
    // Adds the About item (command 16) to the window's menu, after a separator.
    virtual void addAboutMenuItem(const std::string& text) = 0;
    virtual void enableControl(int controlId, bool enable) = 0;
    [[nodiscard]] virtual seriallink::PortComboBox& portCombo() = 0;

    // The airspace list, a multiple-selection list box.
    virtual void clearList() = 0;
    virtual void addListLine(const std::string& text) = 0;
    // A whole file's lines at once; a list box fills faster when it redraws once at the end.
    virtual void addListLines(const std::vector<std::string>& lines) {
        for (const std::string& line : lines) addListLine(line);
    }
    [[nodiscard]] virtual unsigned listCount() const = 0;
    virtual void setLineSelected(unsigned index, bool selected) = 0;
    // Every line at once, as Select All and Select None do it.
    virtual void setAllLinesSelected(bool selected) {
        for (unsigned i = 0; i < listCount(); ++i) setLineSelected(i, selected);
    }
    // The selected lines, ascending; false when the list cannot tell.
    [[nodiscard]] virtual bool selectedLines(std::vector<unsigned>& out) const = 0;
    // The line that has the focus; -1 when none.
    [[nodiscard]] virtual int caretIndex() const = 0;

    // The fixed-pitch font of the list and its header line.
    virtual void applyListFont() = 0;
    // Fixes the preview area from the window's geometry; called once at start.
    virtual void computePreviewRect() = 0;
    virtual void drawPreview(const airspace::AirspaceRecord& airspace) = 0;
    // Replaces the text of one list line, keeping its selection. Only a selection that sends a
    // line's airspace in another encoding changes its line.
    virtual void setListLine(unsigned index, const std::string& text) { (void)index, (void)text; }
    // The list now shows another file: whatever was shown of the previous file's airspaces (the
    // preview or map, the line about the clicked airspace, the take-off of the last Apply) goes.
    virtual void fileReplaced() {}
    // Shows the pilot's mark on a line beside its text, which stays as it is.
    virtual void showLineMark(unsigned index, LineMark mark) { (void)index, (void)mark; }

    // The platform's file-open dialog; nothing when the pilot cancels.
    [[nodiscard]] virtual std::optional<std::string> chooseFile(const std::string& title,
                                                                const std::string& filter) = 0;
    // Starts a repeating timer; returns its identifier, never 0.
    [[nodiscard]] virtual int startRepeatingTimer(int timerId, int periodMs) = 0;
    virtual void stopRepeatingTimer(int identifier) = 0;
    // True when the dialog's top-level window is the active window.
    [[nodiscard]] virtual bool isTopLevelActive() const = 0;
    virtual void showAboutBox() = 0;
};

// Shows text as UTF-8: kept when it is valid UTF-8, otherwise read as Latin-1, the two ways
// airspace files are written.
[[nodiscard]] std::string toDisplayUtf8(std::string_view text);

// The text of a file that holds no airspace: most likely not an OpenAir file at all.
[[nodiscard]] std::string noAirspaceText(const std::string& path);
// The record's list line with `bytes` in its size column.
[[nodiscard]] std::string listLineWithSize(const airspace::AirspaceRecord& record,
                                           std::size_t bytes);

// The file line: the one file's full path, or every loaded file's, separated by "; ".
[[nodiscard]] std::string fileLineText(const std::vector<std::string>& files);

// The text a failed load shows: the system's own text, or string 104 when the file could not be
// read whole.
[[nodiscard]] std::string loadFailureText(const airspace::LoadResult& result);

// Blocks for a byte count: started 14-byte blocks of the selection as a whole.
[[nodiscard]] constexpr std::uint32_t blocksUsed(std::uint32_t bytes) {
    return (bytes + static_cast<std::uint32_t>(kBlockSize) - 1) /
           static_cast<std::uint32_t>(kBlockSize);
}

class AirspaceSetupLogic : private seriallink::AirspaceScanDialog {
public:
    struct Services {
        UploadTiming timing{};
        seriallink::PortEnumerator enumerate;  // EnumerateComPorts when empty
    };

    AirspaceSetupLogic(AirspaceSetupApp& app, AirspaceSetupView& view, Services services);
    AirspaceSetupLogic(AirspaceSetupApp& app, AirspaceSetupView& view)
        : AirspaceSetupLogic(app, view, Services{}) {}

    bool OnInitDialog();
    void OnSendAirspace();
    void OnLoadFile();
    // Appends another file's airspaces to the list; one already listed from an earlier file is
    // not listed again. With no file loaded yet, the same as OnLoadFile.
    void OnAddFile();
    void OnSelectAll();
    void OnSelectNone();
    void OnListSelChange();
    void OnPortSelChange();
    void OnTimer(int timerId);
    void OnDestroy();
    void OnSysCommand(unsigned commandId);

    // What the dialog holds, for the widgets and for tests.
    [[nodiscard]] const std::vector<airspace::AirspaceRecord>& airspaces() const {
        return airspaceByIndex_;
    }
    [[nodiscard]] std::uint32_t selectedBytes() const { return selectedBytes_; }
    [[nodiscard]] bool limitWarned() const { return limitWarned_; }
    [[nodiscard]] bool sending() const { return sending_; }
    [[nodiscard]] const seriallink::ComPortList& shownPorts() const { return shownPorts_; }
    [[nodiscard]] UploadOutcome lastUploadOutcome() const { return lastUploadOutcome_; }
    // The files whose airspaces are listed, in the order they were loaded; a record's fileIndex
    // points here.
    [[nodiscard]] const std::vector<std::string>& loadedFiles() const { return files_; }

    // The records as the file gives them, whatever a fit sends in their place. Reading them
    // changes nothing: the list keeps its lines, sizes and selection.
    [[nodiscard]] const std::vector<airspace::AirspaceRecord>& fileAirspaces() const {
        return fileRecords_;
    }
    // Selects exactly the `selected` lines (ascending), sends and shows `replacements` in place
    // of the file's encodings of their lines, and updates the totals and the limit warning as a
    // change of selection by the pilot does.
    void applySelection(const std::vector<std::size_t>& selected,
                        std::vector<std::pair<std::size_t, airspace::AirspaceRecord>> replacements);
    // The same for a fit whose lines may send several outlines, or none while the line they
    // share theirs with is sent too.
    void applySentLines(const std::vector<std::size_t>& selected,
                        std::map<std::size_t, SentLine> sentLines);
    // True when the line is sent with another encoding than the file's own.
    [[nodiscard]] bool replaced(std::size_t index) const { return sentLines_.count(index) != 0; }
    // What the line sends when it is selected together with the `selected` lines (ascending):
    // the file's record, a fit's outlines, or nothing when it shares a selected line's outline.
    [[nodiscard]] std::vector<const airspace::AirspaceRecord*> sentOutlines(
        std::size_t index, const std::vector<unsigned>& selected) const;
    // The cut edges of one of the outlines sentOutlines() gives; empty where none were cut.
    [[nodiscard]] std::vector<bool> cutEdgesOf(const airspace::AirspaceRecord* outline) const;
    // The bytes the selected lines send, shared outlines counted once.
    [[nodiscard]] std::uint32_t sentBytes(const std::vector<unsigned>& selected) const;

    // The pilot's marks for the fit, one per line; cleared by a new file.
    [[nodiscard]] LineMark lineMark(std::size_t index) const {
        return index < marks_.size() ? marks_[index] : LineMark::None;
    }
    void setLineMark(std::size_t index, LineMark mark);
    [[nodiscard]] std::vector<std::size_t> linesMarked(LineMark mark) const;
    // What a fit made of the line; null while it is sent as the file has it.
    [[nodiscard]] const SentLine* sentLine(std::size_t index) const {
        const auto found = sentLines_.find(index);
        return found == sentLines_.end() ? nullptr : &found->second;
    }
    // The file's own record of a line sent with another encoding; null for any other line.
    [[nodiscard]] const airspace::AirspaceRecord* fileRecordOf(std::size_t index) const {
        return replaced(index) && index < fileRecords_.size() ? &fileRecords_[index] : nullptr;
    }
    // The remembered values, as the file dialog needs them.
    [[nodiscard]] const AirspaceSetupApp& app() const { return app_; }

private:
    // seriallink::AirspaceScanDialog, for the port scan.
    seriallink::MessageAnswer ShowMessageBox(const seriallink::MessageBoxRequest& request) override;
    std::string RememberedPortName() const override { return app_.commPort; }
    void EnableSendButton(bool enable) override;

    // False, after telling the pilot why, when the file gives no airspace to list.
    [[nodiscard]] bool checkLoaded(const airspace::LoadResult& result, const std::string& path);
    void addAirspaceFile(const std::string& path);
    void showTotals();
    [[nodiscard]] std::uint32_t selectedSentBytes(const std::vector<unsigned>& selected) const;
    [[nodiscard]] std::string shownListLine(std::size_t index) const;
    [[nodiscard]] bool overLimit() const { return blocksUsed(selectedBytes_) > kMaxBlocks; }
    [[nodiscard]] std::string uploadPortName() const;

    AirspaceSetupApp& app_;
    AirspaceSetupView& view_;
    Services services_;

    // Records of the loaded file, indexed by list line; a line a fit sends as one other outline
    // holds that outline.
    std::vector<airspace::AirspaceRecord> airspaceByIndex_;
    // The loaded files' own records, never changed by a fit.
    std::vector<airspace::AirspaceRecord> fileRecords_;
    // The lines a fit changed.
    std::map<std::size_t, SentLine> sentLines_;
    std::vector<LineMark> marks_;
    // The files whose airspaces are listed, in the order they were loaded.
    std::vector<std::string> files_;
    std::uint32_t selectedBytes_ = 0;
    bool limitWarned_ = false;
    bool sending_ = false;
    int portScanTimer_ = 0;
    seriallink::ComPortList shownPorts_;
    UploadOutcome lastUploadOutcome_ = UploadOutcome::NothingSelected;
};

}  // namespace zonesend
