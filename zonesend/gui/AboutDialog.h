// The About box: the program's version and a line about it, from the string table.
#pragma once

#include <QDialog>

#include "zonesend/DialogTemplate.h"

namespace zonesend {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(const DialogBaseUnits& units, QWidget* parent = nullptr);
};

// The dialog font ("MS Sans Serif" 8 pt where installed, the system's sans serif at 8 pt
// otherwise) and the base units it gives.
[[nodiscard]] QFont dialogFont();
[[nodiscard]] DialogBaseUnits baseUnitsOf(const QFont& font);
[[nodiscard]] QIcon applicationIcon();

}  // namespace zonesend
