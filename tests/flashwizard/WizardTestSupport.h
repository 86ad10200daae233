// What the wizard tests share: a message recorder that also notes the thread each box came on, a
// scripted loader on the fake port, HEX files, and a wizard with fake ports ready to walk.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <deque>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "flashwizard/core/LoaderTiming.h"
#include "flashwizard/frame/WizardMessages.h"
#include "flashwizard/frame/WizardState.h"
#include "flashwizard/ui/Step5Dlg.h"
#include "flashwizard/ui/StepPages.h"
#include "flashwizard/ui/WizardDlg.h"
#include "gtest/gtest.h"
#include "seriallink/testing/FakeBackend.h"

namespace fwtest {

using seriallink::MessageAnswer;
using seriallink::MessageBoxRequest;

struct ShownBox {
    MessageBoxRequest request;
    bool defaultNo = false;
    bool onUiThread = false;
};

class RecordingMessages : public flashwizard::WizardMessages {
public:
    std::vector<ShownBox> shown;
    std::deque<MessageAnswer> answers;  // for Yes/No boxes in turn; Yes when empty
    std::function<void()> onShow;       // runs as each box appears, before it is answered

    MessageAnswer ShowMessageBox(const MessageBoxRequest& request) override {
        return Record(request, false);
    }
    MessageAnswer AskDefaultNo(const MessageBoxRequest& request) override {
        return Record(request, true);
    }
    [[nodiscard]] std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const ShownBox& box : shown) texts.push_back(box.request.text);
        return texts;
    }
    [[nodiscard]] std::string LastText() const {
        return shown.empty() ? std::string() : shown.back().request.text;
    }

private:
    MessageAnswer Record(const MessageBoxRequest& request, bool defaultNo) {
        shown.push_back({request, defaultNo, QThread::currentThread() == qApp->thread()});
        if (onShow) onShow();
        if (request.buttons == seriallink::MessageButtons::Ok) return MessageAnswer::Ok;
        if (answers.empty()) return MessageAnswer::Yes;
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// The 25-byte identification reply of a loader chip 800 + model digits.
inline std::string IdentReply(unsigned model) {
    std::string reply = "ADI 8" + std::to_string(model % 100) + "   V2.1\r\n";
    reply.append(8, '\0');
    unsigned sum = 0;
    for (unsigned char byte : reply) sum += byte;
    reply.push_back(static_cast<char>((0x100 - sum % 0x100) % 0x100));
    return reply;
}

// A loader behind the fake port: answers identification and acknowledges every packet, unless
// told to stay silent or to refuse.
struct FakeLoader {
    seriallink::testing::FakeLine line;
    unsigned model = 832;
    bool silent = false;
    bool refuseRecords = false;
    std::string identReply;  // when not empty, the reply instead of the model's
    int records = 0;
    bool workedOffUiThread = false;

    FakeLoader() {
        line.onWrite = [this](const std::string& sent, seriallink::testing::FakeLine& l) {
            workedOffUiThread = QThread::currentThread() != qApp->thread();
            if (silent) return;
            if (sent.size() == 4 && sent[0] == '!' && sent[1] == 'Z') {
                l.Feed(identReply.empty() ? IdentReply(model) : identReply);
                return;
            }
            const bool record = sent.size() > 3 && sent[3] == 'W';
            if (record) ++records;
            l.Feed(std::string(1, record && refuseRecords ? '\x07' : '\x06'));
        };
    }
};

// The product's own waits; on the fake line every one of them is taken as done at once.
inline flashwizard::LoaderTiming InstantTiming() {
    return flashwizard::LoaderTiming{};
}

inline std::string HexRecord(unsigned address, const std::vector<unsigned>& data) {
    unsigned sum = static_cast<unsigned>(data.size()) + (address >> 8) + (address & 0xFF);
    char buffer[16];
    std::string line = ":";
    std::snprintf(buffer, sizeof buffer, "%02X%04X00", static_cast<unsigned>(data.size()), address);
    line += buffer;
    for (unsigned byte : data) {
        std::snprintf(buffer, sizeof buffer, "%02X", byte);
        line += buffer;
        sum += byte;
    }
    std::snprintf(buffer, sizeof buffer, "%02X", (0x100 - sum % 0x100) % 0x100);
    return line + buffer;
}

class WizardTest : public ::testing::Test {
protected:
    RecordingMessages messages;
    FakeLoader loader;
    seriallink::ComPortList present{1};  // what the fake system lists, changed by tests
    flashwizard::WizardState state;
    std::unique_ptr<flashwizard::WizardDlg> dlg;
    QTemporaryDir dir;

    void SetUp() override {
        state.port = std::make_unique<seriallink::SerialPort>(loader.line.MakeBackend());
    }

    void TearDown() override {
        if (dlg) {
            // A test may end while the update still reports; let it finish first.
            (void)QTest::qWaitFor([this] { return !dlg->updateRunning(); }, 10000);
            dlg.reset();
        }
    }

    flashwizard::WizardDlg& MakeWizard() {
        flashwizard::WizardEnvironment environment;
        environment.messages = &messages;
        environment.timing = InstantTiming();
        environment.enumerate = [this](seriallink::ComPortList& out) {
            out = present;
            return !out.empty();
        };
        dlg = std::make_unique<flashwizard::WizardDlg>(state, environment);
        dlg->show();
        return *dlg;
    }

    std::string WriteFile(const std::string& name, const std::string& content) {
        const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    std::string WriteFirmware(int records = 3) {
        std::string content;
        for (int i = 0; i < records; ++i) {
            content +=
                HexRecord(0x100 * static_cast<unsigned>(i), {1, 2, 3, 4, 5, 6, 7, 8}) + "\r\n";
        }
        return WriteFile("QLX_V12.HEX", content + ":00000001FF\r\n");
    }

    void ClickNext() { QTest::mouseClick(dlg->nextButton(), Qt::LeftButton); }
    void ClickBack() { QTest::mouseClick(dlg->backButton(), Qt::LeftButton); }
    void ClickCancel() { QTest::mouseClick(dlg->cancelButton(), Qt::LeftButton); }

    // From step 1 to the given step (1-based) with a valid file and the ports of `present`.
    void WalkTo(int step) {
        if (!dlg) MakeWizard();
        while (dlg->logic().pageIndex() + 1 < step) {
            const int before = dlg->logic().pageIndex();
            if (before == 1)
                dlg->fileStep()->pathEdit()->setText(QString::fromStdString(WriteFirmware()));
            ClickNext();
            ASSERT_EQ(dlg->logic().pageIndex(), before + 1) << "stuck on step " << before + 1;
        }
    }
};

}  // namespace fwtest
