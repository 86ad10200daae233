// The layout of zonesend's two dialogs, in dialog units; the Qt shell converts them to pixels.
#pragma once

#include <span>
#include <string_view>

#include "zonesend/PixelRect.h"

namespace zonesend {

// Control ids of the main dialog; the widgets carry them as object names so that tests and
// accessibility tools can find them.
enum ControlId : int {
    kIdOk = 1,
    kIdExit = 2,
    kIdSendAirspace = 1000,
    kIdAirspaceList = 1003,
    kIdLoadFile = 1004,
    kIdPortCombo = 1005,
    kIdFileLine = 1006,
    kIdHeaderLine = 1009,
    kIdSelectAll = 1010,
    kIdSelectNone = 1011,
    kIdBlocksLabel = 1012,
    kIdBlocksValue = 1013,
    kIdBytesLabel = 1014,
    kIdBytesValue = 1015,
    kIdFileLabel = 1016,
    kIdPortLabel = 1017,
    kIdAboutVersion = 1018,
    kIdAboutText = 1019,
    kIdAboutIcon = -1,
    kIdAboutLanguageLabel = 1040,
    kIdAboutLanguage = 1041,
    // The selection strip below the template.
    kIdSelect = 1030,
    kIdMapToggle = 1031,
    kIdCapacityBar = 1032,
    kIdAirspaceInfo = 1033,
    kIdSelectedOnly = 1034,
    kIdMapWindow = 1035,
    kIdAddFile = 1036,
};

enum class ControlKind {
    PushButton,
    DefaultPushButton,
    Label,
    RightLabel,
    ListBox,
    ComboBox,
    Icon
};

struct DialogUnitRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct ControlTemplate {
    int id;
    ControlKind kind;
    std::string_view text;  // the template's own text, replaced from the string table at start
    DialogUnitRect place;
};

// Main dialog (resource 102): controls in template order, which is also the tab order.
inline constexpr DialogUnitRect kMainDialogSize{0, 0, 530, 302};
[[nodiscard]] std::span<const ControlTemplate> mainDialogControls();

// The selection strip, added below the main dialog's template when the window has one: the
// Select button, the map toggle, the capacity bar under the totals, the "Selected only" view of
// the list, "Add File" (which appends another file to the list, where "Load File" replaces it),
// and on a row of its own the clicked airspace's full name, type, times, radio and file.
inline constexpr int kSelectionStripHeight = 32;
inline constexpr DialogUnitRect kSelectButtonPlace{7, 304, 64, 14};
inline constexpr DialogUnitRect kMapTogglePlace{75, 304, 46, 14};
inline constexpr DialogUnitRect kCapacityBarPlace{125, 305, 110, 12};
inline constexpr DialogUnitRect kSelectedOnlyPlace{241, 306, 64, 10};
inline constexpr DialogUnitRect kAddFilePlace{309, 304, 87, 14};
inline constexpr DialogUnitRect kAirspaceInfoPlace{7, 320, 518, 8};

// With the selection strip, the window may grow beyond its first size, and the room it gains goes
// to the map and the list; at its first size every control stands where the template puts it.
// Controls below the list move down with the bottom edge, the file line and the airspace line
// widen with it, the list grows taller, the map grows both ways, everything else stays. `first`
// is a control's place at the first size, `firstListBottom` the list's bottom then, and the
// growth (dw, dh) is counted from the first size (never below 0).
[[nodiscard]] PixelRect grownControlPlace(int controlId, const PixelRect& first,
                                          int firstListBottom, int dw, int dh);
[[nodiscard]] PixelRect grownMapPlace(const PixelRect& previewRect, int dw, int dh);

// About box (resource 100).
inline constexpr DialogUnitRect kAboutDialogSize{0, 0, 235, 55};
[[nodiscard]] std::span<const ControlTemplate> aboutDialogControls();
// The language row under the About box's text line (string 300 and the list of languages).
inline constexpr DialogUnitRect kAboutLanguageLabelPlace{40, 40, 40, 8};
inline constexpr DialogUnitRect kAboutLanguagePlace{82, 38, 90, 60};

}  // namespace zonesend
