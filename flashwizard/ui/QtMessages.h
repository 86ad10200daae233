// The wizard's message boxes on the Qt shell's, with the Downloader's German Yes and No where it
// speaks German.
#pragma once

#include <QWidget>

#include "flashwizard/core/WizardStrings.h"
#include "flashwizard/frame/WizardMessages.h"
#include "shell/qt/QtMessageBoxes.h"

namespace flashwizard {

class QtMessages : public WizardMessages {
public:
    explicit QtMessages(QWidget* owner = nullptr) : boxes_(owner) {
        // The German Downloader says Ja and Nein whatever Qt's translations; the other languages
        // take Qt's own buttons, translated where Qt has the language.
        if (WizardStrings().language() == seriallink::Language::German) {
            boxes_.SetYesNoTexts(QStringLiteral("Ja"), QStringLiteral("Nein"));
        }
    }
    void SetOwner(QWidget* owner) { boxes_.SetOwner(owner); }

    seriallink::MessageAnswer ShowMessageBox(
        const seriallink::MessageBoxRequest& request) override {
        return boxes_.ShowMessageBox(request);
    }
    seriallink::MessageAnswer AskDefaultNo(const seriallink::MessageBoxRequest& request) override {
        return boxes_.AskDefaultNo(request);
    }

private:
    shell::QtMessageBoxes boxes_;
};

}  // namespace flashwizard
