#include "flashwizard/ui/QtMessages.h"

#include <QMessageBox>
#include <QPushButton>

#include "shell/qt/QtMessageIcon.h"

namespace flashwizard {

seriallink::MessageAnswer QtMessages::ShowMessageBox(const seriallink::MessageBoxRequest& request) {
    return Show(request, false);
}

seriallink::MessageAnswer QtMessages::AskDefaultNo(const seriallink::MessageBoxRequest& request) {
    return Show(request, true);
}

seriallink::MessageAnswer QtMessages::Show(const seriallink::MessageBoxRequest& request,
                                           bool defaultNo) {
    QMessageBox box(shell::ToQtIcon(request.icon), QString::fromStdString(request.caption),
                    QString::fromStdString(request.text), QMessageBox::NoButton, owner_.data());
    box.setTextFormat(Qt::PlainText);
    if (request.buttons == seriallink::MessageButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return seriallink::MessageAnswer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    // The Downloader speaks German only, its buttons included.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Nein"));
    box.setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
    // Closing the box without an answer is a No, as Escape is in a Yes/No box.
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? seriallink::MessageAnswer::Yes
                                          : seriallink::MessageAnswer::No;
}

}  // namespace flashwizard
