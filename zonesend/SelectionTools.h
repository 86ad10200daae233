// The selection strip of the main window without its widgets: the Select panel's opening and
// Apply, the map of the selection, the clicked airspace's line, the pilot's marks on the list and
// the "Selected only" view. The Qt and Win32 windows show what it says and forward the pilot's
// actions, so one test of it covers both.
#pragma once

#include <string>
#include <vector>

#include "zonesend/AirspaceSetupLogic.h"
#include "zonesend/MapLayout.h"
#include "zonesend/SelectionPanelLogic.h"

namespace zonesend {

// What the strip shows besides the template's controls.
class SelectionToolsView {
public:
    virtual ~SelectionToolsView() = default;
    // The clicked airspace's full name and type under the list; empty for none.
    virtual void showAirspaceInfo(const std::string& text) = 0;
    // Draws the map of the selection in the preview area.
    virtual void drawMap(const MapRequest& request) = 0;
    // Puts the clicked airspace's own preview back in the preview area, or clears it.
    virtual void drawPreviewOf(const airspace::AirspaceRecord* airspace) = 0;
    // The state of the map toggle and of the "Selected only" check box.
    virtual void showMapToggle(bool on) = 0;
    virtual void showSelectedOnly(bool on) = 0;
    // Hides the lines marked true and shows the others; list indexes stay as they are.
    virtual void hideLines(const std::vector<bool>& hidden) = 0;
};

class SelectionTools {
public:
    // `profile` keeps the panel's choices; none when null.
    SelectionTools(AirspaceSetupLogic& dialog, AirspaceSetupView& list, SelectionToolsView& view,
                   ProfileStore* profile);

    [[nodiscard]] SelectionPanelLogic& panel() { return panel_; }
    [[nodiscard]] ProfileStore* profile() const { return profile_; }

    // "Select...": the panel's check boxes for the file in the dialog. The list, its sizes and
    // its selection stay as they are.
    void OnOpenPanel();
    // Apply in the panel: selects over the file, with the list's marks; the map, the airspace
    // line and the "Selected only" view follow. The outcome's problem says when nothing changed.
    SelectionOutcome OnApply();

    // After the pilot's clicks in the list.
    void OnListSelChange();
    // After Select All, Select None or a load: the "Selected only" view is taken anew too.
    void OnSelectionReplaced();
    // After another file replaced the list: nothing of the previous file stays on show (its
    // take-off and radius, its map, its clicked airspace).
    void OnFileReplaced();
    void OnMapToggle(bool on);
    void OnSelectedOnly(bool on);
    // Marks the line that has the focus, or takes the same mark off again.
    void OnMarkCaretLine(LineMark mark);
    void OnMarkLine(unsigned index, LineMark mark);

    // Whether the preview area shows the map (the views draw a single preview only without it).
    [[nodiscard]] bool showingMap() const { return showingMap_; }
    [[nodiscard]] bool selectedOnly() const { return selectedOnly_; }
    [[nodiscard]] MapRequest mapRequest() const;
    [[nodiscard]] std::string airspaceInfo() const;

private:
    void refresh(bool refilter);

    AirspaceSetupLogic& dialog_;
    AirspaceSetupView& list_;
    SelectionToolsView& view_;
    ProfileStore* profile_;
    SelectionPanelLogic panel_;
    bool showingMap_ = false;
    bool selectedOnly_ = false;
    // A line of the file now in the list was clicked: the airspace line names it from then on.
    bool lineClicked_ = false;
};

}  // namespace zonesend
