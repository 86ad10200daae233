// The update on its worker thread: every report is carried out on the user-interface thread,
// the page and buttons end as the outcome says, and a failed update can be repeated.
#include <QProgressBar>

#include "WizardTestSupport.h"

namespace fwtest {
namespace {

struct Look {
    bool cancel;
    bool back;
    bool next;
};

class UpdateTest : public WizardTest {
protected:
    std::vector<bool> barOnUiThread;
    std::vector<Look> duringBoxes;

    void Start() {
        WalkTo(6);
        QObject::connect(
            dlg->progressPage()->progressBar(), &QProgressBar::valueChanged, dlg.get(),
            [this](int) { barOnUiThread.push_back(QThread::currentThread() == qApp->thread()); },
            Qt::DirectConnection);
        messages.onShow = [this] {
            duringBoxes.push_back({dlg->cancelButton()->isEnabled(), dlg->backButton()->isEnabled(),
                                   dlg->nextButton()->isEnabled()});
        };
        messages.shown.clear();
        ClickNext();
    }

    bool WaitForNext(const char* text) {
        return QTest::qWaitFor(
            [&] { return dlg->nextButton()->text() == text && !dlg->updateRunning(); }, 10000);
    }

    void ExpectEverythingOnUiThread() {
        for (const ShownBox& box : messages.shown) EXPECT_TRUE(box.onUiThread);
        ASSERT_FALSE(barOnUiThread.empty());
        for (bool onUi : barOnUiThread) EXPECT_TRUE(onUi);
        EXPECT_TRUE(loader.workedOffUiThread) << "the loader was driven from the worker";
    }
};

TEST_F(UpdateTest, SuccessIsReportedOnTheUiThread) {
    Start();
    ASSERT_TRUE(WaitForNext("Schliessen"));
    ExpectEverythingOnUiThread();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].request.text, "Update erfolgreich abgeschlossen");
    // A success reads as one: the program's name and the information icon.
    EXPECT_EQ(messages.shown[0].request.caption, "Downloader");
    EXPECT_EQ(messages.shown[0].request.icon, seriallink::MessageIcon::Information);
    ASSERT_EQ(duringBoxes.size(), 1u);
    EXPECT_FALSE(duringBoxes[0].next);
    EXPECT_FALSE(duringBoxes[0].back);
    EXPECT_FALSE(duringBoxes[0].cancel);

    flashwizard::Step6Dlg* page = dlg->progressPage();
    EXPECT_EQ(page->statusText(), "Update erfolgreich abgeschlossen");
    EXPECT_EQ(page->counterText(), "4/4");
    EXPECT_EQ(page->progressBar()->value(), 4);
    EXPECT_EQ(loader.records, 3);
    EXPECT_TRUE(dlg->nextButton()->isEnabled());
    EXPECT_FALSE(dlg->backButton()->isEnabled());
    EXPECT_FALSE(dlg->cancelButton()->isEnabled());
    EXPECT_TRUE(dlg->logic().updateDone());

    // Escape now leaves at once, as does "Schliessen".
    QTest::keyClick(dlg->nextButton(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(UpdateTest, ClosingDuringTheWorkersLastBoxWaitsForTheWorker) {
    Start();
    messages.onShow = [this] { dlg->close(); };  // the success box is open: updateDone is set
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dlg->isVisible(); }, 10000));
    EXPECT_FALSE(dlg->updateRunning());
    EXPECT_EQ(dlg->nextButton()->text(), "Schliessen") << "the worker got to its last report";
}

TEST_F(UpdateTest, FailureOffersToRepeatAndTheRepeatCanSucceed) {
    loader.refuseRecords = true;
    Start();
    ASSERT_TRUE(WaitForNext("Wiederholen"));
    ExpectEverythingOnUiThread();
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{
                  "Der Update Vorgang ist fehlgeschlagen.\n Stellen Sie sicher das alle "
                  "Verbindungen korrekt angeschlossen sind.\nSollte der Download wieder "
                  "fehlschlagen wenden Sie sich an Korvalis."});
    EXPECT_EQ(messages.shown[0].request.caption, "Fehler");
    EXPECT_EQ(dlg->progressPage()->statusText(), "Download fehlgeschlagen!");
    EXPECT_TRUE(dlg->nextButton()->isEnabled());
    EXPECT_TRUE(dlg->backButton()->isEnabled());
    EXPECT_FALSE(dlg->cancelButton()->isEnabled());
    EXPECT_TRUE(state.port->IsOpen());
    EXPECT_FALSE(dlg->logic().updateDone());

    // After a failed update the pilot may leave, once warned; No stays.
    messages.shown.clear();
    messages.answers = {MessageAnswer::No};
    QTest::keyClick(dlg->nextButton(), Qt::Key_Escape);
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"Der Update Vorgang darf nicht mehr abgebrochen werden.\n"
                                       "Wollen sie dennoch Abbrechen?"});
    EXPECT_TRUE(dlg->isVisible());

    loader.refuseRecords = false;
    messages.shown.clear();
    ClickNext();
    ASSERT_TRUE(WaitForNext("Schliessen"));
    EXPECT_EQ(messages.LastText(), "Update erfolgreich abgeschlossen");
    ClickNext();
    EXPECT_FALSE(dlg->isVisible());
}

TEST_F(UpdateTest, BackAfterAFailedUpdateShowsThePortPageAgain) {
    loader.refuseRecords = true;
    Start();
    ASSERT_TRUE(WaitForNext("Wiederholen"));
    ClickBack();
    EXPECT_EQ(dlg->logic().pageIndex(), flashwizard::kPortPage);
    EXPECT_EQ(dlg->nextButton()->text(), "Weiter >");
    ClickNext();
    EXPECT_EQ(dlg->progressPage()->statusText(), "Download fehlgeschlagen!")
        << "the last status stays until the next run";
}

}  // namespace
}  // namespace fwtest
