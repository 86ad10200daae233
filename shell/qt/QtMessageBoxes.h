// The message boxes of both Qt programs: a request of the message layer shown as a modal
// QMessageBox owned by one of the program's windows.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "seriallink/Messages.h"

namespace shell {

class QtMessageBoxes : public seriallink::MessageOwner {
public:
    explicit QtMessageBoxes(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }
    // The texts of the Yes and No buttons. Empty (the default): Qt's own, in the language of
    // the installed Qt translation. A program that speaks one language only sets its own.
    void SetYesNoTexts(QString yes, QString no);

    seriallink::MessageAnswer ShowMessageBox(const seriallink::MessageBoxRequest& request) override;
    // A Yes/No question whose default button is No.
    [[nodiscard]] seriallink::MessageAnswer AskDefaultNo(
        const seriallink::MessageBoxRequest& request);

private:
    [[nodiscard]] seriallink::MessageAnswer Show(const seriallink::MessageBoxRequest& request,
                                                 bool defaultNo);

    QPointer<QWidget> owner_;
    QString yesText_;
    QString noText_;
};

}  // namespace shell
