// The Select panel as a native dialog (template 104) over SelectionPanelLogic. Apply hands the
// choices to the logic, which sets the main dialog's list; the panel stays open and shows what
// came of it.
#pragma once

#include <functional>
#include <vector>

#include "shell/win32/Windows.h"
#include "zonesend/AirspaceSetupLogic.h"
#include "zonesend/SelectionPanelLogic.h"

namespace zonesend::win32 {

class SelectionDialog {
public:
    // `applied` runs after every Apply that changed the selection; `whileOpen` once the panel
    // shows (for tests and pictures).
    SelectionDialog(SelectionPanelLogic& panel, AirspaceSetupLogic& dialog, ProfileStore* profile,
                    std::function<void()> applied, std::function<void(HWND)> whileOpen = {});

    INT_PTR RunModal(HWND owner);
    void OnApply();

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void onInitDialog();
    void createTypeBoxes();
    void showChoices();
    void takeChoices();
    [[nodiscard]] std::string text(int controlId) const;
    void setText(int controlId, const std::string& text);

    SelectionPanelLogic& panel_;
    AirspaceSetupLogic& dialog_;
    ProfileStore* profile_;
    std::function<void()> applied_;
    std::function<void(HWND)> whileOpen_;
    HWND window_ = nullptr;
    std::vector<HWND> types_;
};

}  // namespace zonesend::win32
