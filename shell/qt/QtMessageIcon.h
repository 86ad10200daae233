// The message layer's icons as QMessageBox shows them.
#pragma once

#include <QMessageBox>

#include "seriallink/Messages.h"

namespace shell {

inline QMessageBox::Icon ToQtIcon(seriallink::MessageIcon icon) {
    switch (icon) {
        case seriallink::MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case seriallink::MessageIcon::Question:
            return QMessageBox::Question;
        case seriallink::MessageIcon::Information:
            return QMessageBox::Information;
        case seriallink::MessageIcon::Stop:
            return QMessageBox::Critical;
        case seriallink::MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace shell
