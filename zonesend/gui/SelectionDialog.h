// The Select panel: the choices of SelectionPanelLogic in widgets. Apply hands them to the logic,
// which sets the main dialog's list; the panel stays open and shows what came of it.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "zonesend/AirspaceSetupLogic.h"
#include "zonesend/SelectionPanelLogic.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace zonesend {

class SelectionDialog : public QDialog {
    Q_OBJECT
public:
    // `applied` runs after every Apply that changed the selection.
    SelectionDialog(SelectionPanelLogic& panel, AirspaceSetupLogic& dialog, ProfileStore* profile,
                    std::function<void()> applied, QWidget* parent = nullptr);

    void OnApply();

private:
    void showChoices();
    void takeChoices();

    SelectionPanelLogic& panel_;
    AirspaceSetupLogic& dialog_;
    ProfileStore* profile_;
    std::function<void()> applied_;
    QLineEdit* takeOff_ = nullptr;
    QLineEdit* radius_ = nullptr;
    QComboBox* radiusUnit_ = nullptr;
    std::vector<QCheckBox*> types_;
    QLineEdit* floor_ = nullptr;
    QComboBox* floorUnit_ = nullptr;
    QLineEdit* name_ = nullptr;
    QCheckBox* fit_ = nullptr;
    QLineEdit* simplify_ = nullptr;
    QLineEdit* flyingDate_ = nullptr;
    QCheckBox* leaveOutNotamOnly_ = nullptr;
    QPlainTextEdit* outcome_ = nullptr;
};

}  // namespace zonesend
