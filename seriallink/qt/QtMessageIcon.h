// The message layer's icons as QMessageBox shows them. Header-only, so that the seriallink
// library itself stays free of Qt; only the Qt programs include it.
#pragma once

#include <QMessageBox>

#include "seriallink/Messages.h"

namespace seriallink {

inline QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace seriallink
