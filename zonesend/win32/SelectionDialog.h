// The Select panel as a native dialog (template 104) over SelectionPanelLogic. Apply hands the
// choices to the logic, which sets the main dialog's list; the panel stays open and shows what
// came of it.
#pragma once

#include <functional>
#include <vector>

#include "shell/win32/Windows.h"
#include "zonesend/SelectionTools.h"

namespace zonesend::win32 {

class SelectionDialog {
public:
    // `whileOpen` runs once the panel shows (for tests and pictures).
    explicit SelectionDialog(SelectionTools& tools, std::function<void(HWND)> whileOpen = {});

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

    void showAutoState();

    SelectionTools& tools_;
    SelectionPanelLogic& panel_;
    std::function<void(HWND)> whileOpen_;
    HWND window_ = nullptr;
    std::vector<HWND> types_;
};

}  // namespace zonesend::win32
