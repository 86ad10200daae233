// The new-port scan of both programs: what it selects, which buttons it switches, and which
// questions and notices it shows as ports come and go.
#include <gtest/gtest.h>

#include "seriallink/ComPorts.h"
#include "seriallink/testing/Recorders.h"

namespace seriallink::testing {
namespace {

// Small tables of our own with the scan's ids; the programs carry the real texts.
constexpr StringEntry kAirspaceStrings[] = {
    {135, "Error", "Fehler"},
    {136, "Info", "Info"},
    {137, "A new Com Port was found.\nShould it be selected?", "Neu?"},
    {138, "%d new Com Ports was found (%s).", "Es wurden %d neue Com Ports gefunden und zwar %s."},
};
constexpr StringEntry kWizardStrings[] = {
    {129, "", "Fehler"},
    {130, "", "Info"},
    {140, "", "Es wurde ein neues Com Port gefunden.\nSoll es automatisch ausgewählt werden?"},
    {142, "", "Es wurden %d neue Com Ports gefunden und zwar %s."},
    {143, "", "Es stehen keine Com Ports mehr zur Verfügung!"},
};

// The ports "present" at each scan.
class ScriptedPorts {
public:
    ComPortList now;
    PortEnumerator Enumerator() {
        return [this](ComPortList& out) {
            out = now;
            return !out.empty();
        };
    }
};

class AirspaceScan : public ::testing::Test {
protected:
    void SetUp() override { InstallStringTable(&table_); }
    void TearDown() override { InstallStringTable(nullptr); }
    void Scan() { RefreshPortCombo(dialog_, combo_, shown_, ports_.Enumerator()); }
    void Start(ComPortList ports, const char* selected) {
        ports_.now = ports;
        shown_ = ports;
        FillPortCombo(combo_, ports);
        if (*selected != '\0') {
            ASSERT_TRUE(SelectPrefixInCombo(combo_, selected));
        }
    }

    StringTable table_{kAirspaceStrings, 135, Language::English};
    FakeAirspaceDialog dialog_;
    FakeComboBox combo_;
    ComPortList shown_;
    ScriptedPorts ports_;
};

TEST_F(AirspaceScan, NothingChangedChangesNothing) {
    Start({1, 3}, "COM3");
    Scan();
    EXPECT_EQ(combo_.CurrentText(), "COM3");
    EXPECT_TRUE(dialog_.sendEnabled.empty());
    EXPECT_TRUE(dialog_.messages.shown.empty());
}

TEST_F(AirspaceScan, OneNewPortAsksAndYesSelectsIt) {
    Start({1, 3}, "COM3");
    ports_.now = {1, 3, 4};
    dialog_.messages.answers = {MessageAnswer::Yes};
    Scan();
    ASSERT_EQ(dialog_.messages.shown.size(), 1u);
    EXPECT_EQ(dialog_.messages.shown[0],
              (MessageBoxRequest{"A new Com Port was found.\nShould it be selected?", "Info",
                                 MessageButtons::YesNo, MessageIcon::None}));
    EXPECT_EQ(combo_.CurrentText(), "COM4");
    EXPECT_EQ(shown_, (ComPortList{1, 3, 4}));
    EXPECT_EQ(dialog_.sendEnabled, (std::vector<bool>{true}));
}

TEST_F(AirspaceScan, OneNewPortNoKeepsTheSelection) {
    Start({1, 3}, "COM3");
    ports_.now = {1, 3, 4};
    dialog_.messages.answers = {MessageAnswer::No};
    Scan();
    EXPECT_EQ(dialog_.messages.shown.size(), 1u);
    EXPECT_EQ(combo_.CurrentText(), "COM3");
}

TEST_F(AirspaceScan, OnlyPortIsSelectedWithoutQuestion) {
    Start({}, "");
    combo_.Clear();
    ports_.now = {5};
    Scan();
    EXPECT_TRUE(dialog_.messages.shown.empty());
    EXPECT_EQ(combo_.CurrentText(), "COM5");
    EXPECT_EQ(dialog_.sendEnabled, (std::vector<bool>{true}));
}

TEST_F(AirspaceScan, SeveralNewPortsAreAnnounced) {
    Start({1}, "COM1");
    ports_.now = {1, 4, 7, 9};
    Scan();
    ASSERT_EQ(dialog_.messages.shown.size(), 1u);
    EXPECT_EQ(dialog_.messages.shown[0],
              (MessageBoxRequest{"3 new Com Ports was found (COM4, COM7, COM9).", "Info",
                                 MessageButtons::Ok, MessageIcon::None}));
    EXPECT_EQ(combo_.CurrentText(), "COM1");
}

TEST_F(AirspaceScan, SelectionAfterAPortLeaves) {
    struct Case {
        const char* what;
        ComPortList before;
        const char* selected;
        const char* remembered;
        ComPortList after;
        const char* expected;
    };
    const Case cases[] = {
        {"previous selection stays", {1, 3, 5}, "COM3", "", {3, 5}, "COM3"},
        {"remembered name next", {1, 3, 5}, "COM1", "COM5", {3, 5}, "COM5"},
        {"remembered by prefix", {1, 3, 10}, "COM3", "COM1", {1, 10}, "COM1"},
        {"remembered COM1 finds COM10", {1, 3, 10}, "COM1", "COM1", {3, 10}, "COM10"},
        {"else the first entry", {1, 3, 5}, "COM1", "COM8", {3, 5}, "COM3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dialog_.messages.shown.clear();
        dialog_.remembered = c.remembered;
        Start(c.before, c.selected);
        ports_.now = c.after;
        Scan();
        EXPECT_EQ(combo_.CurrentText(), c.expected);
        EXPECT_TRUE(dialog_.messages.shown.empty());
    }
}

TEST_F(AirspaceScan, LastPortGoneDisablesSend) {
    Start({3}, "COM3");
    ports_.now = {};
    Scan();
    EXPECT_EQ(combo_.Count(), 0);
    EXPECT_EQ(dialog_.sendEnabled, (std::vector<bool>{false}));
    Scan();  // still none: disabled on every tick
    EXPECT_EQ(dialog_.sendEnabled, (std::vector<bool>{false, false}));
    EXPECT_TRUE(dialog_.messages.shown.empty());
}

class WizardScan : public ::testing::Test {
protected:
    void SetUp() override { InstallStringTable(&table_); }
    void TearDown() override { InstallStringTable(nullptr); }
    void Scan() { RefreshPortCombo(dialog_, combo_, shown_, ports_.Enumerator()); }

    StringTable table_{kWizardStrings, 129, Language::German};
    FakeWizardDialog dialog_;
    FakeComboBox combo_;
    ComPortList shown_;
    ScriptedPorts ports_;
};

TEST_F(WizardScan, LastPortGoneShowsErrorAndOffersBack) {
    shown_ = {3};
    FillPortCombo(combo_, shown_);
    combo_.SetCurrentIndex(0);
    ports_.now = {};
    Scan();
    EXPECT_EQ(dialog_.nextEnabled, (std::vector<bool>{false}));
    EXPECT_EQ(dialog_.backEnabled, (std::vector<bool>{true}));
    ASSERT_EQ(dialog_.messages.shown.size(), 1u);
    EXPECT_EQ(dialog_.messages.shown[0],
              (MessageBoxRequest{"Es stehen keine Com Ports mehr zur Verfügung!", "Fehler",
                                 MessageButtons::Ok, MessageIcon::Exclamation}));
    Scan();  // unchanged: nothing more
    EXPECT_EQ(dialog_.messages.shown.size(), 1u);
}

TEST_F(WizardScan, PortsBackEnableNextAndAsk) {
    ports_.now = {3, 6};
    shown_ = {3};
    FillPortCombo(combo_, shown_);
    combo_.SetCurrentIndex(0);
    dialog_.messages.answers = {MessageAnswer::Yes};
    Scan();
    EXPECT_EQ(dialog_.nextEnabled, (std::vector<bool>{true}));
    EXPECT_EQ(dialog_.backEnabled, (std::vector<bool>{false}));
    ASSERT_EQ(dialog_.messages.shown.size(), 1u);
    EXPECT_EQ(dialog_.messages.shown[0].caption, "Info");
    EXPECT_EQ(dialog_.messages.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(combo_.CurrentText(), "COM6");

    ports_.now = {3, 6, 8, 9};
    Scan();
    ASSERT_EQ(dialog_.messages.shown.size(), 2u);
    EXPECT_EQ(dialog_.messages.shown[1].text,
              "Es wurden 2 neue Com Ports gefunden und zwar COM8, COM9.");
    EXPECT_EQ(combo_.CurrentText(), "COM6");
}

TEST_F(WizardScan, UnchangedPortsDoNothing) {
    ports_.now = {};
    Scan();
    EXPECT_TRUE(dialog_.nextEnabled.empty());
    EXPECT_TRUE(dialog_.messages.shown.empty());
}

}  // namespace
}  // namespace seriallink::testing
