#include "shell/qt/QtMessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>

#include "shell/qt/QtMessageIcon.h"

namespace shell {

void QtMessageBoxes::SetYesNoTexts(QString yes, QString no) {
    yesText_ = std::move(yes);
    noText_ = std::move(no);
}

seriallink::MessageAnswer QtMessageBoxes::ShowMessageBox(
    const seriallink::MessageBoxRequest& request) {
    return Show(request, false);
}

seriallink::MessageAnswer QtMessageBoxes::AskDefaultNo(
    const seriallink::MessageBoxRequest& request) {
    return Show(request, true);
}

seriallink::MessageAnswer QtMessageBoxes::Show(const seriallink::MessageBoxRequest& request,
                                               bool defaultNo) {
    QMessageBox box(ToQtIcon(request.icon), QString::fromStdString(request.caption),
                    QString::fromStdString(request.text), QMessageBox::NoButton, owner_.data());
    // Texts come from string tables, file names and the system: never markup.
    box.setTextFormat(Qt::PlainText);
    if (request.buttons == seriallink::MessageButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return seriallink::MessageAnswer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    if (!yesText_.isEmpty()) box.button(QMessageBox::Yes)->setText(yesText_);
    if (!noText_.isEmpty()) box.button(QMessageBox::No)->setText(noText_);
    box.setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
    // Closing the box without an answer is a No, as Escape is in a Yes/No box.
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? seriallink::MessageAnswer::Yes
                                          : seriallink::MessageAnswer::No;
}

}  // namespace shell
