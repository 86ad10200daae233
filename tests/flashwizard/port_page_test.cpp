// The port page: its opening selection from the two port snapshots, and the once-a-second
// refresh with its question, notice and the Next/Back rules when the last port goes.
#include "WizardTestSupport.h"
#include "flashwizard/frame/PortPage.h"
#include "seriallink/testing/Recorders.h"

namespace fwtest {
namespace {

class RecordingButtons : public flashwizard::FrameButtons {
public:
    std::vector<bool> next;
    std::vector<bool> back;
    void EnableNext(bool enabled) override { next.push_back(enabled); }
    void EnableBack(bool enabled) override { back.push_back(enabled); }
};

class PortPageTest : public ::testing::Test {
protected:
    RecordingMessages messages;
    RecordingButtons buttons;
    flashwizard::WizardState state;
    seriallink::ComPortList present;
    QWidget window;
    std::unique_ptr<flashwizard::Step5Dlg> page;

    void SetUp() override {
        page = std::make_unique<flashwizard::Step5Dlg>(&window, state, messages, buttons,
                                                       [this](seriallink::ComPortList& out) {
                                                           out = present;
                                                           return !out.empty();
                                                       });
    }

    std::vector<std::string> Entries() const {
        std::vector<std::string> entries;
        for (int i = 0; i < page->combo()->count(); ++i) {
            entries.push_back(page->combo()->itemText(i).toStdString());
        }
        return entries;
    }

    void ShowWith(seriallink::ComPortList atStart, seriallink::ComPortList afterConnect,
                  std::string portName) {
        state.portsAtStart = std::move(atStart);
        state.portsAfterConnect = std::move(afterConnect);
        present = state.portsAfterConnect;
        state.portName = std::move(portName);
        page->OnPageShown();
    }
};

TEST_F(PortPageTest, OpeningSelection) {
    struct Case {
        const char* name;
        seriallink::ComPortList atStart;
        seriallink::ComPortList afterConnect;
        const char* remembered;
        const char* selected;
        const char* info;
    };
    const Case cases[] = {
        {"USB cable created COM4",
         {1},
         {1, 4},
         "",
         "COM4",
         "Information: Im Schritt 3 wurde ein neues Com Port gefunden. Dieses ist nun "
         "automatisch ausgewählt."},
        {"two new ports",
         {1},
         {1, 4, 6},
         "COM1",
         "COM4",
         "Information: Im Schritt 3 wurden 2 neue Com Ports gefunden (COM4, COM6).\nDas Erste "
         "davon wurde automatisch ausgewählt."},
        {"remembered port present", {1, 2}, {1, 2}, "COM2", "COM2", ""},
        {"remembered port gone", {10, 12}, {10, 12}, "COM2", "COM10", ""},
        {"remembered name is a prefix", {10, 12}, {10, 12}, "COM1", "COM10", ""},
        {"nothing remembered", {3, 5}, {3, 5}, "", "COM3", ""},
        {"only port, even if new", {}, {4}, "COM9", "COM4", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        ShowWith(c.atStart, c.afterConnect, c.remembered);
        EXPECT_EQ(page->combo()->currentText().toStdString(), c.selected);
        EXPECT_EQ(state.portName, c.selected) << "stored without the pilot touching the list";
        EXPECT_EQ(page->info()->text().toStdString(), c.info);
        EXPECT_EQ(page->logic().shownPorts(), c.afterConnect);
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_TRUE(page->logic().timerRunning());
        page->OnPageHidden();
        EXPECT_FALSE(page->logic().timerRunning());
    }
}

TEST_F(PortPageTest, EveryShowingStartsAgainFromTheSnapshot) {
    ShowWith({1}, {1, 4}, "");
    present = {1, 4, 7};
    messages.answers = {MessageAnswer::No};
    page->logic().OnTimer();
    page->OnPageHidden();
    page->OnPageShown();
    EXPECT_EQ(Entries(), (std::vector<std::string>{"COM1", "COM4"}));
    EXPECT_EQ(state.portName, "COM4");
}

TEST_F(PortPageTest, PilotsChoiceIsStored) {
    ShowWith({1}, {1, 4}, "");
    page->combo()->setCurrentIndex(0);
    emit page->combo()->activated(0);
    EXPECT_EQ(state.portName, "COM1");
}

TEST_F(PortPageTest, SecondCableAsksWhetherToSelectIt) {
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        SCOPED_TRACE(answer == MessageAnswer::Yes ? "Yes" : "No");
        SetUp();
        messages.shown.clear();
        buttons = RecordingButtons{};
        ShowWith({1, 3}, {1, 3}, "COM3");
        present = {1, 3, 5};
        messages.answers = {answer};
        page->logic().OnTimer();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].request.text,
                  "Es wurde ein neues Com Port gefunden.\nSoll es automatisch ausgewählt "
                  "werden?");
        EXPECT_EQ(messages.shown[0].request.caption, "Info");
        EXPECT_EQ(messages.shown[0].request.buttons, seriallink::MessageButtons::YesNo);
        EXPECT_EQ(Entries(), (std::vector<std::string>{"COM1", "COM3", "COM5"}));
        const char* expected = answer == MessageAnswer::Yes ? "COM5" : "COM3";
        EXPECT_EQ(page->combo()->currentText().toStdString(), expected);
        EXPECT_EQ(state.portName, expected);
        EXPECT_EQ(buttons.next, std::vector<bool>{true});
        EXPECT_EQ(buttons.back, std::vector<bool>{false});

        page->logic().OnTimer();  // nothing changed since: no second question
        EXPECT_EQ(messages.shown.size(), 1u);
    }
}

TEST_F(PortPageTest, SeveralNewPortsAreOnlyNoticed) {
    ShowWith({1, 3}, {1, 3}, "COM3");
    present = {1, 3, 4, 7};
    page->logic().OnTimer();
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"Es wurden 2 neue Com Ports gefunden und zwar COM4, COM7."});
    EXPECT_EQ(messages.shown[0].request.buttons, seriallink::MessageButtons::Ok);
    EXPECT_EQ(page->combo()->currentText(), "COM3");
}

TEST_F(PortPageTest, LastPortGoneBlocksNextUntilAPortReturns) {
    ShowWith({1}, {1, 4}, "");
    present = {};
    page->logic().OnTimer();
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"Es stehen keine Com Ports mehr zur Verfügung!\nStellen Sie "
                                       "sicher das der Quillon korrekt angeschlossen ist."});
    EXPECT_EQ(buttons.next, std::vector<bool>{false});
    EXPECT_EQ(buttons.back, std::vector<bool>{true});
    EXPECT_EQ(page->combo()->count(), 0);
    EXPECT_EQ(state.portName, "COM4") << "an empty list keeps the last name";

    page->logic().OnTimer();  // still none: the box comes once per change
    EXPECT_EQ(messages.shown.size(), 1u);

    present = {4};
    page->logic().OnTimer();
    EXPECT_EQ(buttons.next, (std::vector<bool>{false, true}));
    EXPECT_EQ(buttons.back, (std::vector<bool>{true, false}));
    EXPECT_EQ(page->combo()->currentText(), "COM4");
    EXPECT_EQ(messages.shown.size(), 1u) << "the only port returning is selected without asking";
}

TEST_F(PortPageTest, RefreshRunsEverySecondOnlyWhileShown) {
    ShowWith({1}, {1}, "COM1");
    present = {1, 2};
    messages.answers = {MessageAnswer::No};
    EXPECT_TRUE(QTest::qWaitFor([this] { return page->combo()->count() == 2; }, 2500));
    EXPECT_EQ(messages.shown.size(), 1u);

    page->OnPageHidden();
    present = {1, 2, 3};
    QTest::qWait(1300);
    EXPECT_EQ(page->combo()->count(), 2) << "no refresh while the page is hidden";
}

// A system that has no timer to give: the page says so with the stop icon and carries on
// without its refresh.
TEST(PortPageLogic, NoTimerIsReportedWithTheStopIcon) {
    class NoTimerView : public flashwizard::PortPageView {
    public:
        seriallink::testing::FakeComboBox combo;
        std::string info;
        void Clear() override { combo.Clear(); }
        void AddEntry(const std::string& text) override { combo.AddEntry(text); }
        int Count() const override { return combo.Count(); }
        std::string EntryText(int index) const override { return combo.EntryText(index); }
        int CurrentIndex() const override { return combo.CurrentIndex(); }
        void SetCurrentIndex(int index) override { combo.SetCurrentIndex(index); }
        void SetInfoText(const std::string& text) override { info = text; }
        bool StartRefreshTimer(int) override { return false; }
        void StopRefreshTimer() override {}
    } view;
    class NoButtons : public flashwizard::FrameButtons {
        void EnableNext(bool) override {}
        void EnableBack(bool) override {}
    } buttons;
    RecordingMessages messages;
    flashwizard::WizardState state;
    state.portsAfterConnect = {3};
    flashwizard::PortPage page(state, view, messages, buttons);
    page.OnShown();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.LastText(), "Es sind keine Timer verfügbar");
    EXPECT_EQ(messages.shown[0].request.icon, seriallink::MessageIcon::Stop);
    EXPECT_FALSE(page.timerRunning());
    EXPECT_EQ(view.combo.CurrentText(), "COM3");
}

}  // namespace
}  // namespace fwtest
