// The About box: the program's version and a line about it, from the string table, and the
// language the program speaks from its next start.
#pragma once

#include <QDialog>

#include "shell/qt/QtDialogUnits.h"
#include "zonesend/AirspaceSetupApp.h"
#include "zonesend/DialogTemplate.h"

namespace zonesend {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    // profile: where the language choice is remembered (null: the choice is not remembered).
    explicit AboutDialog(const shell::QtDialogUnits& units, QWidget* parent = nullptr,
                         ProfileStore* profile = nullptr);
};

// The dialog font: "MS Sans Serif" 8 pt where installed, the system's sans serif at 8 pt
// otherwise.
[[nodiscard]] QFont dialogFont();
// A template rectangle in pixels.
[[nodiscard]] QRect pixelRect(const shell::QtDialogUnits& units, const DialogUnitRect& place);
[[nodiscard]] QIcon applicationIcon();

}  // namespace zonesend
