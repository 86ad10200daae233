#include "zonesend/DialogTemplate.h"

#include <algorithm>
#include <array>

namespace zonesend {

namespace {

using K = ControlKind;

constexpr std::array<ControlTemplate, 15> kMainControls = {{
    {kIdExit, K::PushButton, "Exit", {436, 25, 87, 14}},
    {kIdSendAirspace, K::PushButton, "Send Airspace", {436, 8, 87, 14}},
    {kIdPortLabel, K::RightLabel, "Port:", {241, 28, 32, 8}},
    {kIdAirspaceList, K::ListBox, "", {7, 16, 230, 268}},
    {kIdFileLabel, K::RightLabel, "File:", {3, 293, 30, 8}},
    {kIdLoadFile, K::PushButton, "Load File", {246, 8, 87, 14}},
    {kIdFileLine, K::Label, "No file selected", {37, 293, 488, 8}},
    {kIdPortCombo, K::ComboBox, "", {276, 26, 48, 109}},
    {kIdHeaderLine, K::Label, "Header", {9, 7, 229, 8}},
    {kIdSelectAll, K::PushButton, "Select &All", {340, 8, 87, 14}},
    {kIdSelectNone, K::PushButton, "Select &None", {340, 25, 87, 14}},
    {kIdBlocksLabel, K::RightLabel, "Blocks used:", {53, 285, 72, 8}},
    {kIdBlocksValue, K::Label, "0", {126, 285, 22, 8}},
    {kIdBytesLabel, K::RightLabel, "Bytes used:", {152, 285, 50, 8}},
    {kIdBytesValue, K::Label, "0", {203, 285, 32, 8}},
}};

constexpr std::array<ControlTemplate, 4> kAboutControls = {{
    {kIdAboutIcon, K::Icon, "", {11, 17, 20, 20}},
    {kIdAboutVersion, K::Label, "Airspace Version 0.9", {40, 10, 136, 8}},
    {kIdAboutText, K::Label, "", {40, 25, 188, 8}},
    {kIdOk, K::DefaultPushButton, "OK", {178, 7, 50, 14}},
}};

}  // namespace

std::span<const ControlTemplate> mainDialogControls() {
    return kMainControls;
}

PixelRect grownControlPlace(int controlId, const PixelRect& first, int firstListBottom, int dw,
                            int dh) {
    dw = std::max(0, dw);
    dh = std::max(0, dh);
    PixelRect place = first;
    if (controlId == kIdAirspaceList) {
        place.bottom += dh;
    } else if (first.top >= firstListBottom) {
        place.top += dh;
        place.bottom += dh;
        if (controlId == kIdFileLine || controlId == kIdAirspaceInfo) place.right += dw;
    }
    return place;
}

PixelRect grownMapPlace(const PixelRect& previewRect, int dw, int dh) {
    return {previewRect.left, previewRect.top, previewRect.right + std::max(0, dw),
            previewRect.bottom + std::max(0, dh)};
}

std::span<const ControlTemplate> aboutDialogControls() {
    return kAboutControls;
}

}  // namespace zonesend
