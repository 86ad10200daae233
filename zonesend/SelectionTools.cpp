#include "zonesend/SelectionTools.h"

#include <algorithm>

namespace zonesend {

namespace {

bool contains(const std::vector<unsigned>& ascending, int line) {
    return line >= 0 &&
           std::binary_search(ascending.begin(), ascending.end(), static_cast<unsigned>(line));
}

}  // namespace

SelectionTools::SelectionTools(AirspaceSetupLogic& dialog, AirspaceSetupView& list,
                               SelectionToolsView& view, ProfileStore* profile)
    : dialog_(dialog), list_(list), view_(view), profile_(profile) {
    if (profile_ != nullptr) panel_.choices() = readSelectionChoices(*profile_);
}

void SelectionTools::OnOpenPanel() {
    // The file's own records give the types; reading them puts nothing back in the list.
    panel_.setFile(dialog_.fileAirspaces());
}

SelectionOutcome SelectionTools::OnApply() {
    SelectionOutcome outcome = panel_.OnApply(dialog_, profile_);
    if (outcome.problem == ChoiceProblem::None) refresh(true);
    return outcome;
}

void SelectionTools::OnListSelChange() {
    lineClicked_ = true;
    // A line the pilot has just unselected stays in view until the view is taken anew.
    refresh(false);
}

void SelectionTools::OnSelectionReplaced() {
    refresh(true);
}

void SelectionTools::OnFileReplaced() {
    panel_.forgetFile();
    // Nothing of the new file is clicked yet, whatever line the list's caret stands on.
    lineClicked_ = false;
    refresh(true);
    if (!showingMap_) view_.drawPreviewOf(nullptr);
}

void SelectionTools::OnMapToggle(bool on) {
    showingMap_ = on;
    view_.showMapToggle(on);
    if (on) {
        view_.drawMap(mapRequest());
        return;
    }
    const int caret = list_.caretIndex();
    const auto& records = dialog_.airspaces();
    view_.drawPreviewOf(caret >= 0 && static_cast<std::size_t>(caret) < records.size()
                            ? &records[static_cast<std::size_t>(caret)]
                            : nullptr);
}

void SelectionTools::OnSelectedOnly(bool on) {
    selectedOnly_ = on;
    view_.showSelectedOnly(on);
    if (on) {
        refresh(true);
    } else {
        view_.hideLines(std::vector<bool>(list_.listCount(), false));
    }
}

void SelectionTools::OnMarkCaretLine(LineMark mark) {
    const int caret = list_.caretIndex();
    if (caret >= 0) OnMarkLine(static_cast<unsigned>(caret), mark);
}

void SelectionTools::OnMarkLine(unsigned index, LineMark mark) {
    dialog_.setLineMark(index, dialog_.lineMark(index) == mark ? LineMark::None : mark);
}

MapRequest SelectionTools::mapRequest() const {
    std::vector<unsigned> lines;
    (void)list_.selectedLines(lines);
    const int caret = list_.caretIndex();
    // As it would be sent: the pieces of a cut airspace each, over the file's own outline.
    return selectionMapRequest(dialog_.fileAirspaces(), lines, caret, contains(lines, caret),
                               panel_, &dialog_);
}

std::string SelectionTools::airspaceInfo() const {
    if (!lineClicked_) return {};
    const int caret = list_.caretIndex();
    const auto& records = dialog_.fileAirspaces();
    if (caret < 0 || static_cast<std::size_t>(caret) >= records.size()) return {};
    return airspaceInfoText(records[static_cast<std::size_t>(caret)], dialog_.loadedFiles());
}

void SelectionTools::refresh(bool refilter) {
    view_.showAirspaceInfo(airspaceInfo());
    if (showingMap_) view_.drawMap(mapRequest());
    if (!refilter || !selectedOnly_) return;
    std::vector<unsigned> lines;
    (void)list_.selectedLines(lines);
    std::vector<bool> hidden(list_.listCount(), true);
    for (const unsigned line : lines) {
        if (line < hidden.size()) hidden[line] = false;
    }
    view_.hideLines(hidden);
}

}  // namespace zonesend
