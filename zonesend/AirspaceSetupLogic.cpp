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
        for (const unsigned index : indexes) {
            if (index < airspaceByIndex_.size()) {
                selection.airspaces.push_back(&airspaceByIndex_[index]);
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
    selectedBytes_ = 0;
    limitWarned_ = false;
    view_.setControlText(kIdBlocksValue, "0");
    view_.setControlText(kIdBytesValue, "0");
    view_.setControlText(kIdFileLine, toDisplayUtf8(*path));
    loadAirspaceFile(*path);
}

bool AirspaceSetupLogic::readAirspaceFile(const std::string& path, airspace::LoadResult& result) {
    result = airspace::loadAirspaceFile(path);
    if (result.status == airspace::LoadStatus::SystemError) {
        ShowMessageBox({result.systemErrorText, seriallink::LoadString(ids::kErrorCaption),
                        seriallink::MessageButtons::Ok, seriallink::MessageIcon::Exclamation});
        return false;
    }
    if (result.status == airspace::LoadStatus::ReadFailed) {
        seriallink::ShowError(this, ids::kFileReadError);
        return false;
    }
    return true;
}

void AirspaceSetupLogic::loadAirspaceFile(const std::string& path) {
    airspace::LoadResult result;
    if (!readAirspaceFile(path, result)) return;
    view_.clearList();
    fileEncodings_.clear();
    files_ = {path};
    airspaceByIndex_ = std::move(result.records);
    for (const airspace::AirspaceRecord& record : airspaceByIndex_) {
        view_.addListLine(toDisplayUtf8(record.listLine()));
    }
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
    airspace::LoadResult result;
    if (!readAirspaceFile(path, result)) return;
    // Duplicates are found by the files' own encodings, so simplified lines go back to theirs;
    // the selection stays, and its totals follow.
    if (!fileEncodings_.empty()) {
        (void)fileAirspaces();
        selectedBytes_ = 0;
        std::vector<unsigned> indexes;
        if (view_.selectedLines(indexes)) {
            for (const unsigned index : indexes) {
                if (index < airspaceByIndex_.size()) {
                    selectedBytes_ +=
                        static_cast<std::uint32_t>(airspaceByIndex_[index].encodedSize());
                }
            }
        }
        showTotals();
    }
    const std::size_t first = airspaceByIndex_.size();
    (void)airspace::appendAirspaces(airspaceByIndex_, std::move(result.records), files_.size());
    files_.push_back(path);
    view_.setControlText(kIdFileLine, toDisplayUtf8(fileLineText(files_)));
    for (std::size_t i = first; i < airspaceByIndex_.size(); ++i) {
        view_.addListLine(toDisplayUtf8(airspaceByIndex_[i].listLine()));
    }
}

void AirspaceSetupLogic::OnSelectAll() {
    selectedBytes_ = 0;
    const unsigned count = view_.listCount();
    for (unsigned i = 0; i < count; ++i) {
        if (i < airspaceByIndex_.size()) {
            selectedBytes_ += static_cast<std::uint32_t>(airspaceByIndex_[i].encodedSize());
        }
        view_.setLineSelected(i, true);
    }
    // Select All warns every time: the pilot asked for everything at once.
    if (overLimit()) {
        limitWarned_ = true;
        seriallink::ShowError(this, ids::kTooMuchData);
    }
    showTotals();
}

void AirspaceSetupLogic::OnSelectNone() {
    const unsigned count = view_.listCount();
    for (unsigned i = 0; i < count; ++i) view_.setLineSelected(i, false);
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
    for (const unsigned index : indexes) {
        if (index < airspaceByIndex_.size()) {
            selectedBytes_ += static_cast<std::uint32_t>(airspaceByIndex_[index].encodedSize());
        }
    }
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

const std::vector<airspace::AirspaceRecord>& AirspaceSetupLogic::fileAirspaces() {
    for (auto& [index, record] : fileEncodings_) {
        airspaceByIndex_[index] = std::move(record);
        view_.setListLine(static_cast<unsigned>(index),
                          toDisplayUtf8(airspaceByIndex_[index].listLine()));
    }
    fileEncodings_.clear();
    return airspaceByIndex_;
}

void AirspaceSetupLogic::applySelection(
    const std::vector<std::size_t>& selected,
    std::vector<std::pair<std::size_t, airspace::AirspaceRecord>> replacements) {
    (void)fileAirspaces();
    for (auto& [index, record] : replacements) {
        if (index >= airspaceByIndex_.size()) continue;
        fileEncodings_.emplace(index, std::move(airspaceByIndex_[index]));
        airspaceByIndex_[index] = std::move(record);
        view_.setListLine(static_cast<unsigned>(index),
                          toDisplayUtf8(airspaceByIndex_[index].listLine()));
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
    fileEncodings_.clear();
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
