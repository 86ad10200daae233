// The layout of zonesend's two dialogs, in dialog units; the Qt shell converts them to pixels.
#pragma once

#include <span>
#include <string_view>

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

// About box (resource 100).
inline constexpr DialogUnitRect kAboutDialogSize{0, 0, 235, 55};
[[nodiscard]] std::span<const ControlTemplate> aboutDialogControls();

}  // namespace zonesend
