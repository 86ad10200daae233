#include "zonesend/AirspaceSetupLogic.h"

#include <algorithm>
#include <cstdio>

#include "airspace/AirspaceFile.h"
#include "zonesend/DialogTemplate.h"
#include "zonesend/Strings.h"

namespace zonesend {

namespace {

std::string decimalText(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    return text;
}

}  // namespace

std::string toDisplayUtf8(std::string_view text) {
    if (airspace::isValidUtf8(text)) return std::string(text);
    std::string out;
    out.reserve(text.size() * 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out.push_back(c);
        } else {
            out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return out;
}

std::string noAirspaceText(const std::string& path) {
    return seriallink::FormatText(seriallink::LoadString(ids::kNoAirspaceInFile),
                                  {toDisplayUtf8(path)});
}

std::string listLineWithSize(const airspace::AirspaceRecord& record, std::size_t bytes) {
    std::string line = record.listLine();
    // The size stands last, left-aligned in at least four columns.
    const std::size_t ownWidth =
        std::max<std::size_t>(4, std::to_string(record.encodedSize()).size());
    line.resize(line.size() - std::min(ownWidth, line.size()));
    std::string size = std::to_string(bytes);
    if (size.size() < 4) size.append(4 - size.size(), ' ');
    return line + size;
}

std::string fileLineText(const std::vector<std::string>& files) {
    std::string line;
    for (const std::string& file : files) line += (line.empty() ? "" : "; ") + file;
    return line;
}

std::string loadFailureText(const airspace::LoadResult& result) {
    if (result.status == airspace::LoadStatus::SystemError) return result.systemErrorText;
    return seriallink::LoadString(ids::kFileReadError);
}

AirspaceSetupLogic::AirspaceSetupLogic(AirspaceSetupApp& app, AirspaceSetupView& view,
                                       Services services)
    : app_(app), view_(view), services_(std::move(services)) {}

bool AirspaceSetupLogic::OnInitDialog() {
    const std::string aboutItem = seriallink::LoadString(ids::kAboutMenuItem);
    if (!aboutItem.empty()) view_.addAboutMenuItem(aboutItem);

    // Start-up goes on without ports: the scan enables sending once one appears.
    const bool anyPort = services_.enumerate ? services_.enumerate(shownPorts_)
                                             : seriallink::EnumerateComPorts(shownPorts_);
    if (!anyPort) seriallink::ShowError(this, ids::kNoComPort);
    seriallink::PortComboBox& combo = view_.portCombo();
    seriallink::FillPortCombo(combo, shownPorts_);
    const bool remembered =
        !app_.commPort.empty() && seriallink::SelectPrefixInCombo(combo, app_.commPort);
    if (!remembered && !shownPorts_.empty()) combo.SetCurrentIndex(0);

    if (portScanTimer_ != 0) {
        view_.stopRepeatingTimer(portScanTimer_);
        portScanTimer_ = 0;
    }
    portScanTimer_ = view_.startRepeatingTimer(kPortScanTimerId, kPortScanPeriodMs);

    view_.setControlText(kIdFileLine, seriallink::LoadString(ids::kNoFileSelected));
    view_.applyListFont();
    view_.setControlText(kIdHeaderLine,
                         airspace::airspaceListHeader(seriallink::LoadString(ids::kHeaderClass),
                                                      seriallink::LoadString(ids::kHeaderName),
                                                      seriallink::LoadString(ids::kHeaderFloor),
                                                      seriallink::LoadString(ids::kHeaderCeiling),
                                                      seriallink::LoadString(ids::kHeaderSize)));
    view_.computePreviewRect();

    view_.setTitleText(seriallink::LoadString(ids::kWindowTitle));
    static constexpr struct {
        int control;
        unsigned text;
    } kTexts[] = {
        {kIdFileLabel, ids::kFileLabel},
        {kIdBlocksLabel, ids::kBlocksLabel},
        {kIdBytesLabel, ids::kBytesLabel},
        {kIdPortLabel, ids::kPortLabel},
        {kIdLoadFile, ids::kLoadFileButton},
        {kIdSelectAll, ids::kSelectAllButton},
        {kIdSelectNone, ids::kSelectNoneButton},
        {kIdSendAirspace, ids::kSendButton},
        {kIdExit, ids::kExitButton},
    };
    for (const auto& entry : kTexts) {
        view_.setControlText(entry.control, seriallink::LoadString(entry.text));
    }
    return true;
}

void AirspaceSetupLogic::OnSendAirspace() {
    UploadSelection selection;
    std::vector<unsigned> indexes;
    if (!view_.selectedLines(indexes)) {
        selection.listError = true;
    } else {
        // Each line's outlines in list order: the file's, or what a fit made of them.
        for (const unsigned index : indexes) {
            for (const airspace::AirspaceRecord* outline : sentOutlines(index, indexes)) {
                selection.airspaces.push_back(outline);
            }
        }
    }
    AirspaceUpload upload(this, sending_, services_.timing);
    const std::string portName = uploadPortName();
    lastUploadOutcome_ = upload.run(selection, portName, app_.baudRate);
    // The port that took the airspaces is the one to offer next time, also when the pilot left
    // the preselected entry as it was and never touched the combo box.
    if (lastUploadOutcome_ == UploadOutcome::Succeeded) app_.commPort = portName;
}

std::string AirspaceSetupLogic::uploadPortName() const {
    // Without any port listed the remembered name is tried; it may belong to a port that the
    // enumeration cannot see.
    const seriallink::PortComboBox& combo = view_.portCombo();
    if (combo.Count() == 0) return app_.commPort;
    const int current = combo.CurrentIndex();
    return combo.EntryText(current >= 0 ? current : 0);
}

void AirspaceSetupLogic::OnLoadFile() {
    const std::optional<std::string> path =
        view_.chooseFile(seriallink::LoadString(ids::kSelectFileTitle), kFileFilter);
    if (!path) return;
    airspace::LoadResult result = airspace::loadAirspaceFile(*path);
    // A file that gives nothing to list changes nothing: the previous files stay as they were,
    // with their file line, selection and totals, so that what the dialog shows always belongs
    // together.
    if (!checkLoaded(result, *path)) {
        app_.rememberFile(*path, false);
        return;
    }
    app_.rememberFile(*path, true);
    selectedBytes_ = 0;
    limitWarned_ = false;
    view_.setControlText(kIdBlocksValue, "0");
    view_.setControlText(kIdBytesValue, "0");
    files_ = {*path};
    view_.setControlText(kIdFileLine, toDisplayUtf8(fileLineText(files_)));

    view_.clearList();
    sentLines_.clear();
    airspaceByIndex_ = std::move(result.records);
    fileRecords_ = airspaceByIndex_;
    marks_.assign(airspaceByIndex_.size(), LineMark::None);
    std::vector<std::string> lines;
    lines.reserve(airspaceByIndex_.size());
    for (const airspace::AirspaceRecord& record : airspaceByIndex_) {
        lines.push_back(toDisplayUtf8(record.listLine()));
    }
    view_.addListLines(lines);
    view_.fileReplaced();
}

void AirspaceSetupLogic::OnAddFile() {
    if (files_.empty()) {
        OnLoadFile();
        return;
    }
    const std::optional<std::string> path =
        view_.chooseFile(seriallink::LoadString(ids::kSelectFileTitle), kFileFilter);
    // A file already in the list would add nothing but its name.
    if (!path || std::find(files_.begin(), files_.end(), *path) != files_.end()) return;
    addAirspaceFile(*path);
}

void AirspaceSetupLogic::addAirspaceFile(const std::string& path) {
    airspace::LoadResult result = airspace::loadAirspaceFile(path);
    // A file that gives nothing to list adds nothing, after saying why.
    if (!checkLoaded(result, path)) return;
    // Duplicates are found among the files' own records. The earlier lines keep their indexes,
    // marks and what a fit sends for them; the selection and its totals stay, the new lines come
    // unselected.
    const std::size_t first = fileRecords_.size();
    (void)airspace::appendAirspaces(fileRecords_, std::move(result.records), files_.size());
    files_.push_back(path);
    for (std::size_t i = 0; i < first && i < airspaceByIndex_.size(); ++i) {
        airspaceByIndex_[i].alsoInFiles = fileRecords_[i].alsoInFiles;
    }
    airspaceByIndex_.insert(airspaceByIndex_.end(),
                            fileRecords_.begin() + static_cast<std::ptrdiff_t>(first),
                            fileRecords_.end());
    marks_.resize(fileRecords_.size(), LineMark::None);
    view_.setControlText(kIdFileLine, toDisplayUtf8(fileLineText(files_)));
    std::vector<std::string> lines;
    lines.reserve(fileRecords_.size() - first);
    for (std::size_t i = first; i < fileRecords_.size(); ++i) {
        lines.push_back(toDisplayUtf8(fileRecords_[i].listLine()));
    }
    view_.addListLines(lines);
}

bool AirspaceSetupLogic::checkLoaded(const airspace::LoadResult& result, const std::string& path) {
    switch (result.status) {
        case airspace::LoadStatus::SystemError:
            ShowMessageBox({result.systemErrorText, seriallink::LoadString(ids::kErrorCaption),
                            seriallink::MessageButtons::Ok, seriallink::MessageIcon::Exclamation});
            return false;
        case airspace::LoadStatus::ReadFailed:
            seriallink::ShowError(this, ids::kFileReadError);
            return false;
        case airspace::LoadStatus::Ok:
            break;
    }
    // A HEX file, a picture or an empty file reads without fault but holds no "AC" line.
    if (result.records.empty()) {
        seriallink::ShowErrorText(this, noAirspaceText(path));
        return false;
    }
    return true;
}

void AirspaceSetupLogic::OnSelectAll() {
    const unsigned count = view_.listCount();
    std::vector<unsigned> all;
    for (unsigned i = 0; i < count; ++i) all.push_back(i);
    view_.setAllLinesSelected(true);
    selectedBytes_ = selectedSentBytes(all);
    // Select All warns every time: the pilot asked for everything at once.
    if (overLimit()) {
        limitWarned_ = true;
        seriallink::ShowError(this, ids::kTooMuchData);
    }
    showTotals();
}

void AirspaceSetupLogic::OnSelectNone() {
    view_.setAllLinesSelected(false);
    selectedBytes_ = 0;
    limitWarned_ = false;
    view_.setControlText(kIdBlocksValue, "0");
    view_.setControlText(kIdBytesValue, "0");
}

void AirspaceSetupLogic::OnListSelChange() {
    selectedBytes_ = 0;
    std::vector<unsigned> indexes;
    if (!view_.selectedLines(indexes)) {
        seriallink::ShowError(this, ids::kSelectionError);
        return;
    }
    selectedBytes_ = selectedSentBytes(indexes);
    const int caret = view_.caretIndex();
    // Once per file and selection history: a pilot trimming the selection click by click is
    // not to be interrupted on every click above the limit.
    if (!limitWarned_ && overLimit()) {
        limitWarned_ = true;
        seriallink::ShowError(this, ids::kTooMuchData);
    }
    showTotals();
    if (caret >= 0 && static_cast<std::size_t>(caret) < airspaceByIndex_.size()) {
        view_.drawPreview(airspaceByIndex_[static_cast<std::size_t>(caret)]);
    }
}

void AirspaceSetupLogic::applySelection(
    const std::vector<std::size_t>& selected,
    std::vector<std::pair<std::size_t, airspace::AirspaceRecord>> replacements) {
    std::map<std::size_t, SentLine> sentLines;
    for (auto& [index, record] : replacements) {
        sentLines[index].outlines.push_back(std::move(record));
    }
    applySentLines(selected, std::move(sentLines));
}

void AirspaceSetupLogic::applySentLines(const std::vector<std::size_t>& selected,
                                        std::map<std::size_t, SentLine> sentLines) {
    // The lines of the fit before go back to the file's own records and texts first.
    for (const auto& [index, line] : sentLines_) {
        airspaceByIndex_[index] = fileRecords_[index];
        if (sentLines.count(index) == 0) {
            view_.setListLine(static_cast<unsigned>(index), shownListLine(index));
        }
    }
    sentLines_.clear();
    for (auto& [index, line] : sentLines) {
        if (index >= airspaceByIndex_.size()) continue;
        if (line.sharedWith && *line.sharedWith >= airspaceByIndex_.size()) line.sharedWith.reset();
        // A line sent as one other outline shows it, in the preview and the list alike.
        if (!line.sharedWith && line.outlines.size() == 1) {
            airspaceByIndex_[index] = line.outlines.front();
        }
        sentLines_.emplace(index, std::move(line));
        view_.setListLine(static_cast<unsigned>(index), shownListLine(index));
    }
    const unsigned count = view_.listCount();
    auto next = selected.begin();
    for (unsigned i = 0; i < count; ++i) {
        const bool on = next != selected.end() && *next == i;
        if (on) ++next;
        view_.setLineSelected(i, on);
    }
    OnListSelChange();
}

std::vector<const airspace::AirspaceRecord*> AirspaceSetupLogic::sentOutlines(
    std::size_t index, const std::vector<unsigned>& selected) const {
    std::vector<const airspace::AirspaceRecord*> outlines;
    if (index >= airspaceByIndex_.size()) return outlines;
    const auto found = sentLines_.find(index);
    if (found == sentLines_.end()) {
        outlines.push_back(&airspaceByIndex_[index]);
        return outlines;
    }
    std::size_t owner = index;
    if (found->second.sharedWith) {
        owner = *found->second.sharedWith;
        // Sent once: by the line it shares with, while that one goes too.
        if (std::binary_search(selected.begin(), selected.end(), static_cast<unsigned>(owner))) {
            return outlines;
        }
    }
    const auto own = sentLines_.find(owner);
    if (own == sentLines_.end() || own->second.sharedWith) {
        outlines.push_back(&airspaceByIndex_[owner]);
        return outlines;
    }
    for (const airspace::AirspaceRecord& outline : own->second.outlines) {
        outlines.push_back(&outline);
    }
    return outlines;
}

std::vector<bool> AirspaceSetupLogic::cutEdgesOf(const airspace::AirspaceRecord* outline) const {
    for (const auto& [index, line] : sentLines_) {
        for (std::size_t i = 0; i < line.outlines.size() && i < line.cutEdges.size(); ++i) {
            if (&line.outlines[i] == outline) return line.cutEdges[i];
        }
    }
    return {};
}

std::uint32_t AirspaceSetupLogic::sentBytes(const std::vector<unsigned>& selected) const {
    return selectedSentBytes(selected);
}

std::uint32_t AirspaceSetupLogic::selectedSentBytes(const std::vector<unsigned>& selected) const {
    std::uint32_t bytes = 0;
    for (const unsigned index : selected) {
        for (const airspace::AirspaceRecord* outline : sentOutlines(index, selected)) {
            bytes += static_cast<std::uint32_t>(outline->encodedSize());
        }
    }
    return bytes;
}

std::string AirspaceSetupLogic::shownListLine(std::size_t index) const {
    if (sentLines_.count(index) == 0) return toDisplayUtf8(airspaceByIndex_[index].listLine());
    // The file's columns with the bytes the line sends on its own: its simplified outline, all
    // its pieces, or the outline it shares.
    std::size_t bytes = 0;
    for (const airspace::AirspaceRecord* outline : sentOutlines(index, {})) {
        bytes += outline->encodedSize();
    }
    return toDisplayUtf8(listLineWithSize(fileRecords_[index], bytes));
}

void AirspaceSetupLogic::setLineMark(std::size_t index, LineMark mark) {
    if (index >= marks_.size() || marks_[index] == mark) return;
    marks_[index] = mark;
    view_.showLineMark(static_cast<unsigned>(index), mark);
}

std::vector<std::size_t> AirspaceSetupLogic::linesMarked(LineMark mark) const {
    std::vector<std::size_t> lines;
    for (std::size_t i = 0; i < marks_.size(); ++i) {
        if (marks_[i] == mark) lines.push_back(i);
    }
    return lines;
}

void AirspaceSetupLogic::OnPortSelChange() {
    seriallink::PortComboBox& combo = view_.portCombo();
    if (combo.Count() > 0) app_.commPort = combo.EntryText(combo.CurrentIndex());
}

void AirspaceSetupLogic::OnTimer(int timerId) {
    if (timerId != kPortScanTimerId) return;
    // Not while the upload holds the port, and not while another window (a message box, the
    // file dialog) is in front: the scan may ask a question of its own.
    if (sending_ || !view_.isTopLevelActive()) return;
    seriallink::RefreshPortCombo(*this, view_.portCombo(), shownPorts_, services_.enumerate);
}

void AirspaceSetupLogic::OnDestroy() {
    if (portScanTimer_ != 0) {
        view_.stopRepeatingTimer(portScanTimer_);
        portScanTimer_ = 0;
    }
    airspaceByIndex_.clear();
    fileRecords_.clear();
    sentLines_.clear();
    marks_.clear();
    files_.clear();
}

void AirspaceSetupLogic::OnSysCommand(unsigned commandId) {
    if ((commandId & 0xFFF0u) == kAboutCommand) view_.showAboutBox();
}

seriallink::MessageAnswer AirspaceSetupLogic::ShowMessageBox(
    const seriallink::MessageBoxRequest& request) {
    return view_.ShowMessageBox(request);
}

void AirspaceSetupLogic::EnableSendButton(bool enable) {
    view_.enableControl(kIdSendAirspace, enable);
}

void AirspaceSetupLogic::showTotals() {
    view_.setControlText(kIdBlocksValue, decimalText(blocksUsed(selectedBytes_)));
    view_.setControlText(kIdBytesValue, decimalText(selectedBytes_));
}

}  // namespace zonesend
