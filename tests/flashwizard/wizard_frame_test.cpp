// The frame: buttons, Next text and window title on every step, Next's checks, Back, Enter, and
// the cancel rules with their questions and refusals.
#include <QKeyEvent>
#include <QLineEdit>

#include "WizardTestSupport.h"

namespace fwtest {
namespace {

using flashwizard::kPortPage;
using flashwizard::kProgressPage;

struct FrameLook {
    bool cancel;
    bool back;
    bool next;
    const char* nextText;
};

void ExpectLook(flashwizard::WizardDlg& dlg, int step, const FrameLook& look) {
    SCOPED_TRACE("step " + std::to_string(step));
    EXPECT_EQ(dlg.logic().pageIndex(), step - 1);
    EXPECT_EQ(dlg.windowTitle().toStdString(),
              "Korvalis Downloader " + std::to_string(step) + ". Schritt");
    EXPECT_EQ(dlg.cancelButton()->isEnabled(), look.cancel);
    EXPECT_EQ(dlg.backButton()->isEnabled(), look.back);
    EXPECT_EQ(dlg.nextButton()->isEnabled(), look.next);
    EXPECT_EQ(dlg.nextButton()->text().toStdString(), look.nextText);
    for (int i = 0; i < flashwizard::kPageCount; ++i) {
        EXPECT_EQ(dlg.page(i)->isVisible(), i == step - 1) << "page " << i + 1;
    }
}

TEST_F(WizardTest, EveryStepShowsItsButtonsTitleAndPage) {
    const FrameLook looks[] = {
        {true, false, true, "Weiter >"},       // 1
        {true, true, true, "Weiter >"},        // 2
        {true, true, true, "Weiter >"},        // 3
        {true, true, true, "Weiter >"},        // 4
        {false, false, true, "Weiter >"},      // 5: no way back past download mode
        {false, true, true, "Fertigstellen"},  // 6
    };
    MakeWizard();
    for (int step = 1; step <= 6; ++step) {
        WalkTo(step);
        ExpectLook(*dlg, step, looks[step - 1]);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WizardTest, FileStepRefusesToGoOnWithoutAValidHexFile) {
    struct Case {
        const char* name;
        std::string path;
        const char* text;
    };
    const std::string notHex = WriteFile("notes.txt", "Dies ist keine HEX Datei\r\n");
    const std::string halfHex =
        WriteFile("half.hex", HexRecord(0, {1, 2, 3}) + "\r\n:1000zz\r\n:00000001FF\r\n");
    const Case cases[] = {
        {"empty name", "", "Es muss eine Datei gewählt sein!"},
        {"missing file", dir.filePath("QLX_V99.HEX").toStdString(),
         "Die angegebene Datei ist nicht vorhanden!"},
        {"text file", notHex,
         "Die gewählte Datei ist keine gültige .HEX Datei!\nBitte wählen Sie eine korrekte "
         "Datei.\nVersuchen Sie die Datei erneut von www.korvalis.example zu laden."},
        {"bad record", halfHex,
         "Die gewählte Datei ist keine gültige .HEX Datei!\nBitte wählen Sie eine korrekte "
         "Datei.\nVersuchen Sie die Datei erneut von www.korvalis.example zu laden."},
    };
    WalkTo(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        dlg->fileStep()->pathEdit()->setText(QString::fromStdString(c.path));
        ClickNext();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].request.text, c.text);
        EXPECT_EQ(messages.shown[0].request.caption, "Fehler");
        EXPECT_EQ(messages.shown[0].request.icon, seriallink::MessageIcon::Exclamation);
        ExpectLook(*dlg, 2, {true, true, true, "Weiter >"});
        EXPECT_TRUE(state.hexLines.empty()) << "a refused file must leave no records behind";
    }
    dlg->fileStep()->pathEdit()->setText(QString::fromStdString(WriteFirmware(2)));
    ClickNext();
    EXPECT_EQ(dlg->logic().pageIndex(), 2);
    EXPECT_EQ(state.hexLines.size(), 3u);
    EXPECT_EQ(state.hexLines.back(), ":00000001FF");
}

TEST_F(WizardTest, StepsThreeAndFourRefuseWhenNoPortIsPresent) {
    const char* noPort =
        "Es wurde kein Port für eine Verbindung zum Quillon gefunden.\nFalls Sie über USB "
        "updaten wollen stellen Sie sicher das das Kabel korrekt angeschlossen ist.";
    for (int step : {3, 4}) {
        SCOPED_TRACE(step);
        present = {1};
        dlg.reset();
        messages.shown.clear();
        WalkTo(step);
        present.clear();
        ClickNext();
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{noPort});
        ExpectLook(*dlg, step, {true, true, true, "Weiter >"});
    }
}

TEST_F(WizardTest, PortsAreRememberedAtStartAndWhenLeavingStepsThreeAndFour) {
    present = {1};
    WalkTo(3);
    EXPECT_EQ(state.portsAtStart, (seriallink::ComPortList{1}));
    present = {1, 4};  // the USB cable plugged in on step 3
    WalkTo(4);
    EXPECT_EQ(state.portsAfterConnect, (seriallink::ComPortList{1, 4}));
    present = {1, 4, 6};
    WalkTo(5);
    EXPECT_EQ(state.portsAfterConnect, (seriallink::ComPortList{1, 4, 6}));
    EXPECT_EQ(dlg->portStep()->combo()->currentText(), "COM4");
    EXPECT_EQ(state.portName, "COM4");
}

TEST_F(WizardTest, DeviceSearchTriesFiveTimesWithItsStatusLine) {
    loader.silent = true;
    std::vector<std::string> statusAtRequest;
    auto answer = loader.line.onWrite;
    loader.line.onWrite = [&](const std::string& sent, seriallink::testing::FakeLine& line) {
        statusAtRequest.push_back(dlg->statusLine()->text().toStdString());
        answer(sent, line);
    };
    WalkTo(5);
    ClickNext();
    EXPECT_EQ(statusAtRequest,
              (std::vector<std::string>{
                  "Nach Quillon wird gesucht...", "2. Versuch den Quillon zu finden",
                  "3. Versuch den Quillon zu finden", "4. Versuch den Quillon zu finden",
                  "5. Versuch den Quillon zu finden"}));
    EXPECT_EQ(dlg->statusLine()->text(), "");
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"Es ist kein Quillon an diesem Port angeschlossen\noder "
                                       "der Quillon befindet sich nicht im Downloadmodus."});
    EXPECT_TRUE(dlg->logic().searchFailed());
    ExpectLook(*dlg, 5, {false, false, true, "Weiter >"});
    EXPECT_EQ(loader.line.lastPath, "//./COM1");
    EXPECT_EQ(loader.line.line.baudRate, 9600u);
}

TEST_F(WizardTest, DeviceSearchOutcomes) {
    struct Case {
        const char* name;
        std::function<void(FakeLoader&)> arrange;
        const char* text;  // empty: the search succeeds
        bool searchFailedAfter;
    };
    const Case cases[] = {
        {"port cannot be opened", [](FakeLoader& l) { l.line.present = false; },
         "Das gewählte Com Port konnte nicht geöffnet werden.", true},
        {"wrong device", [](FakeLoader& l) { l.identReply = std::string(25, 'x'); },
         "Es ist ein falschen Gerät an diesem Port angeschlossen.", true},
        {"write fails", [](FakeLoader& l) { l.line.failWrite = true; }, "Datenübertragungs Fehler.",
         true},
        {"found", [](FakeLoader&) {}, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        loader.line.present = true;
        loader.line.failWrite = false;
        loader.identReply.clear();
        messages.shown.clear();
        WalkTo(5);
        // A failed earlier search: an unopened port must not change that.
        loader.silent = true;
        ClickNext();
        loader.silent = false;
        messages.shown.clear();
        c.arrange(loader);
        ClickNext();
        if (*c.text == '\0') {
            EXPECT_TRUE(messages.shown.empty());
            ExpectLook(*dlg, 6, {false, true, true, "Fertigstellen"});
        } else {
            EXPECT_EQ(messages.Texts(), std::vector<std::string>{c.text});
            ExpectLook(*dlg, 5, {false, false, true, "Weiter >"});
        }
        EXPECT_EQ(dlg->logic().searchFailed(), c.searchFailedAfter);
    }
}

TEST_F(WizardTest, BackFromStepSixRestoresNextAndKeepsBackOffOnStepFive) {
    WalkTo(6);
    ClickBack();
    ExpectLook(*dlg, 5, {false, false, true, "Weiter >"});
    ClickNext();
    ExpectLook(*dlg, 6, {false, true, true, "Fertigstellen"});
}

TEST_F(WizardTest, BackWalksDownToStepOne) {
    WalkTo(4);
    ClickBack();
    ExpectLook(*dlg, 3, {true, true, true, "Weiter >"});
    ClickBack();
    ClickBack();
    ExpectLook(*dlg, 1, {true, false, true, "Weiter >"});
}

// Enter presses the focused button, as on Windows, and does nothing where no button has the
// focus: it never closes or hides anything by itself.
TEST_F(WizardTest, EnterPressesOnlyAFocusedButton) {
    for (int step = 1; step <= 6; ++step) {
        WalkTo(step);
        if (step == 2)
            dlg->fileStep()->pathEdit()->setText(QString::fromStdString(WriteFirmware()));
        dlg->setFocus();
        QTest::keyClick(dlg.get(), Qt::Key_Return);
        EXPECT_EQ(dlg->logic().pageIndex(), step - 1);
        EXPECT_TRUE(dlg->isVisible());
        if (step == 6) break;  // Next there starts the update
        dlg->nextButton()->setFocus();
        QTest::keyClick(dlg->nextButton(), step % 2 == 0 ? Qt::Key_Enter : Qt::Key_Return);
        EXPECT_EQ(dlg->logic().pageIndex(), step) << "Enter on Next, step " << step;
    }
    EXPECT_TRUE(messages.shown.empty());
}

// ---------------------------------------------------------------------------------------------
// Cancel rules: the button, Escape and the close box all lead to the same question or refusal.

enum class Way { Button, Escape, CloseBox };

void Cancel(flashwizard::WizardDlg& dlg, Way way) {
    switch (way) {
        case Way::Button:
            QTest::mouseClick(dlg.cancelButton(), Qt::LeftButton);
            break;
        case Way::Escape:
            dlg.nextButton()->setFocus();
            QTest::keyClick(dlg.nextButton(), Qt::Key_Escape);
            break;
        case Way::CloseBox:
            dlg.close();
            break;
    }
}

TEST_F(WizardTest, LeavingStepsOneToFourAsksFirst) {
    for (Way way : {Way::Button, Way::Escape, Way::CloseBox}) {
        for (int step = 1; step <= 4; ++step) {
            SCOPED_TRACE("step " + std::to_string(step) + " way " +
                         std::to_string(static_cast<int>(way)));
            TearDown();
            messages.shown.clear();
            WalkTo(step);
            messages.answers = {MessageAnswer::No};
            Cancel(*dlg, way);
            ASSERT_EQ(messages.shown.size(), 1u);
            const MessageBoxRequest& box = messages.shown[0].request;
            EXPECT_EQ(box.text,
                      "Wollen Sie das Updateprogramm wirklich abbrechen?\nSie können das Update "
                      "jederzeit erneut durchführen.");
            EXPECT_EQ(box.caption, "Setup beenden");
            EXPECT_EQ(box.buttons, seriallink::MessageButtons::YesNo);
            EXPECT_EQ(box.icon, seriallink::MessageIcon::None);
            EXPECT_TRUE(dlg->isVisible());
            EXPECT_EQ(dlg->logic().pageIndex(), step - 1);

            messages.answers = {MessageAnswer::Yes};
            Cancel(*dlg, way);
            EXPECT_FALSE(dlg->isVisible());
            EXPECT_EQ(dlg->result(), QDialog::Rejected);
        }
    }
}

// From step 5 on the pilot may always leave while no update runs, after the warning whose
// default is No; the instrument may sit in download mode, after a failed update even erased.
TEST_F(WizardTest, StepsFiveAndSixWarnBeforeLeaving) {
    enum class Stage { BeforeSearch, FailedSearch, FoundSearch, BeforeUpdate, FailedUpdate };
    for (Way way : {Way::Button, Way::Escape, Way::CloseBox}) {
        for (Stage stage : {Stage::BeforeSearch, Stage::FailedSearch, Stage::FoundSearch,
                            Stage::BeforeUpdate, Stage::FailedUpdate}) {
            SCOPED_TRACE("stage " + std::to_string(static_cast<int>(stage)) + " way " +
                         std::to_string(static_cast<int>(way)));
            TearDown();
            loader.silent = stage == Stage::FailedSearch;
            loader.refuseRecords = stage == Stage::FailedUpdate;
            WalkTo(stage == Stage::BeforeSearch || stage == Stage::FailedSearch ? 5 : 6);
            if (stage == Stage::FailedSearch) ClickNext();
            if (stage == Stage::FoundSearch) ClickBack();
            if (stage == Stage::FailedUpdate) {
                ClickNext();
                ASSERT_TRUE(QTest::qWaitFor([this] { return !dlg->updateRunning(); }, 10000));
                QTest::qWait(20);  // the worker's last reports
            }
            // The button stays disabled on steps 5 and 6 as the frame shows them.
            if (way == Way::Button) {
                EXPECT_FALSE(dlg->cancelButton()->isEnabled());
                continue;
            }
            messages.shown.clear();
            messages.answers = {MessageAnswer::No};
            Cancel(*dlg, way);
            ASSERT_EQ(messages.shown.size(), 1u);
            const ShownBox& box = messages.shown[0];
            EXPECT_EQ(box.request.text,
                      "Der Update Vorgang darf nicht mehr abgebrochen werden.\nWollen sie dennoch "
                      "Abbrechen?");
            EXPECT_EQ(box.request.caption, "Achtung");
            EXPECT_EQ(box.request.buttons, seriallink::MessageButtons::YesNo);
            EXPECT_EQ(box.request.icon, seriallink::MessageIcon::Exclamation);
            EXPECT_TRUE(box.defaultNo);
            EXPECT_TRUE(dlg->isVisible());
            messages.answers = {MessageAnswer::Yes};
            Cancel(*dlg, way);
            EXPECT_FALSE(dlg->isVisible());
        }
    }
}

// Only while the worker holds the port is leaving refused.
TEST_F(WizardTest, ARunningUpdateRefusesToBeLeft) {
    const std::string refusal = "Der Update Vorgang darf nicht mehr abgebrochen werden.";
    WalkTo(6);
    loader.refuseRecords = true;
    bool tried = false;
    messages.onShow = [&] {
        // The worker waits for its last box: the update still runs.
        if (tried || messages.LastText() == refusal) return;
        tried = true;
        Cancel(*dlg, Way::CloseBox);
    };
    ClickNext();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dlg->updateRunning(); }, 10000));
    messages.onShow = nullptr;
    ASSERT_TRUE(tried);
    ASSERT_GE(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].request.text, refusal);
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(WizardTest, EscapeInsideAPageNeitherHidesItNorLeaves) {
    WalkTo(2);
    QLineEdit* edit = dlg->fileStep()->pathEdit();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Escape);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(dlg->fileStep()->isVisible());
    EXPECT_TRUE(dlg->isVisible());
}

}  // namespace
}  // namespace fwtest
