#include "shell/qt/QtLanguageChoice.h"

#include <QLabel>

namespace shell {

QComboBox* AddLanguageChoice(QWidget* dialog, const QRect& labelPlace, const QRect& comboPlace,
                             const QString& label, std::unique_ptr<LanguageChoice> choice,
                             std::function<void()> note) {
    auto* caption = new QLabel(label, dialog);
    caption->setObjectName(QStringLiteral("languageLabel"));
    caption->setTextFormat(Qt::PlainText);
    caption->setGeometry(labelPlace);
    auto* combo = new QComboBox(dialog);
    combo->setObjectName(QStringLiteral("language"));
    for (const seriallink::Language language : LanguageChoice::Entries()) {
        combo->addItem(QString::fromUtf8(seriallink::LanguageName(language)));
    }
    combo->setCurrentIndex(static_cast<int>(choice->SelectedIndex()));
    // A combo box is as high as its font wants; the template gives the dropped list's height.
    combo->setGeometry(comboPlace.x(), comboPlace.y(), comboPlace.width(),
                       combo->sizeHint().height());
    caption->setBuddy(combo);
    QObject::connect(
        combo, &QComboBox::activated, combo,
        [owned = std::shared_ptr<LanguageChoice>(std::move(choice)),
         note = std::move(note)](int index) {
            if (index >= 0 && owned->OnChosen(static_cast<std::size_t>(index)) && note) {
                note();
            }
        });
    return combo;
}

}  // namespace shell
