// The About boxes' language row on Qt: a label and a list of the three languages, which
// remembers the pilot's pick and tells when it applies.
#pragma once

#include <QComboBox>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "shell/LanguageSetting.h"

namespace shell {

// Adds the row to dialog at the given places; the combo box is named "language". note is
// called after a pick that applies at the next start. The choice is owned by the combo box.
QComboBox* AddLanguageChoice(QWidget* dialog, const QRect& labelPlace, const QRect& comboPlace,
                             const QString& label, std::unique_ptr<LanguageChoice> choice,
                             std::function<void()> note);

}  // namespace shell
