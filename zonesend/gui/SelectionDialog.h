// The Select panel: the choices of SelectionPanelLogic in widgets. Apply hands them to the logic,
// which sets the main dialog's list; the panel stays open and shows what came of it.
#pragma once

#include <QDialog>
#include <vector>

#include "zonesend/SelectionTools.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace zonesend {

class SelectionDialog : public QDialog {
    Q_OBJECT
public:
    SelectionDialog(SelectionTools& tools, QWidget* parent = nullptr);

    void OnApply();

private:
    void showChoices();
    void takeChoices();

    SelectionTools& tools_;
    SelectionPanelLogic& panel_;
    QLineEdit* takeOff_ = nullptr;
    QLineEdit* radius_ = nullptr;
    QComboBox* radiusUnit_ = nullptr;
    std::vector<QCheckBox*> types_;
    QLineEdit* floor_ = nullptr;
    QComboBox* floorUnit_ = nullptr;
    QLineEdit* name_ = nullptr;
    QCheckBox* fit_ = nullptr;
    QLineEdit* simplify_ = nullptr;
    QCheckBox* autoSimplify_ = nullptr;
    QLineEdit* autoCeiling_ = nullptr;
    QCheckBox* clip_ = nullptr;
    QLineEdit* preferred_ = nullptr;
    QLineEdit* flyingDate_ = nullptr;
    QCheckBox* leaveOutNotamOnly_ = nullptr;
    QPlainTextEdit* outcome_ = nullptr;
};

}  // namespace zonesend
