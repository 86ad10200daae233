// The Downloader's About box on Qt: the program's name and version as page 1 shows them, and the
// language of its next start.
#pragma once

#include <QDialog>

#include "shell/ProfileStore.h"

namespace flashwizard {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    // profile: where the language choice is remembered (null: not remembered).
    AboutBox(QWidget* parent, shell::ProfileStore* profile);
};

}  // namespace flashwizard
