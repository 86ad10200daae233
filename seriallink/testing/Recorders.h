// Test stand-ins for the user-facing interfaces of seriallink: a message-box recorder with
// scripted answers, a port combo box, a scan dialog, and a back end whose sleeps are recorded.
#pragma once

#include <chrono>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "seriallink/ComPorts.h"
#include "seriallink/ForwardingBackend.h"
#include "seriallink/Messages.h"

namespace seriallink::testing {

class MessageRecorder : public MessageOwner {
public:
    std::vector<MessageBoxRequest> shown;
    std::deque<MessageAnswer> answers;  // given in turn to Yes/No boxes; Yes when empty

    MessageAnswer ShowMessageBox(const MessageBoxRequest& request) override {
        shown.push_back(request);
        if (request.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
        if (answers.empty()) return MessageAnswer::Yes;
        MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class FakeComboBox : public PortComboBox {
public:
    std::vector<std::string> entries;
    int current = -1;

    void Clear() override {
        entries.clear();
        current = -1;
    }
    void AddEntry(const std::string& text) override { entries.push_back(text); }
    int Count() const override { return static_cast<int>(entries.size()); }
    std::string EntryText(int index) const override {
        return index >= 0 && index < Count() ? entries[static_cast<std::size_t>(index)] : "";
    }
    int CurrentIndex() const override { return current; }
    void SetCurrentIndex(int index) override { current = index < Count() ? index : -1; }
    [[nodiscard]] std::string CurrentText() const { return EntryText(current); }
};

// Records what the scan did to zonesend's dialog.
class FakeAirspaceDialog : public AirspaceScanDialog {
public:
    MessageRecorder messages;
    std::string remembered;
    std::vector<bool> sendEnabled;  // every EnableSendButton call

    MessageAnswer ShowMessageBox(const MessageBoxRequest& request) override {
        return messages.ShowMessageBox(request);
    }
    std::string RememberedPortName() const override { return remembered; }
    void EnableSendButton(bool enable) override { sendEnabled.push_back(enable); }
};

// Records what the scan did to flashwizard's port page and frame.
class FakeWizardDialog : public WizardScanDialog {
public:
    MessageRecorder messages;
    std::string remembered;
    std::vector<bool> nextEnabled;
    std::vector<bool> backEnabled;

    MessageAnswer ShowMessageBox(const MessageBoxRequest& request) override {
        return messages.ShowMessageBox(request);
    }
    std::string RememberedPortName() const override { return remembered; }
    void EnableNextButton(bool enable) override { nextEnabled.push_back(enable); }
    void EnableBackButton(bool enable) override { backEnabled.push_back(enable); }
};

// Another back end (usually the platform's, on a pseudo-terminal) whose sleeps are recorded and,
// unless really is set, skipped: the pauses of a real exchange checked without spending them.
class SleepRecordingBackend : public ForwardingBackend {
public:
    SleepRecordingBackend(std::unique_ptr<SerialBackend> inner,
                          std::vector<std::chrono::milliseconds>& sleeps, bool really = false)
        : ForwardingBackend(std::move(inner)), sleeps_(sleeps), really_(really) {}

    void Sleep(std::chrono::milliseconds duration) override {
        sleeps_.push_back(duration);
        if (really_) inner().Sleep(duration);
    }

private:
    std::vector<std::chrono::milliseconds>& sleeps_;
    bool really_;
};

}  // namespace seriallink::testing
