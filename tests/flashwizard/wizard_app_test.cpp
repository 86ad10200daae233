// The application object: the remembered port and last firmware file are read at start and
// written back whichever way the wizard ends.
#include <QSettings>

#include "WizardTestSupport.h"
#include "flashwizard/ui/WizardApp.h"

namespace fwtest {
namespace {

QString StoredPort() {
    QSettings profile("Korvalis", "flashwizard");
    return profile.value("Settings/CommPort", "<none>").toString();
}

QString StoredHexFile() {
    QSettings profile("Korvalis", "flashwizard");
    return profile.value("Settings/LastHexFile", "<none>").toString();
}

void ClearProfile() {
    QSettings profile("Korvalis", "flashwizard");
    profile.clear();
    profile.sync();
}

struct AppRun {
    RecordingMessages messages;
    FakeLoader loader;
    seriallink::ComPortList present;
    flashwizard::WizardApp app;

    AppRun()
        : app([this] {
              flashwizard::WizardEnvironment environment;
              environment.messages = &messages;
              environment.timing = InstantTiming();
              environment.enumerate = [this](seriallink::ComPortList& out) {
                  out = present;
                  return !out.empty();
              };
              return environment;
          }()) {
        app.state().port = std::make_unique<seriallink::SerialPort>(loader.line.MakeBackend());
    }
};

TEST(WizardApp, FirstRunRemembersThePortChosenBeforeCancelling) {
    ClearProfile();
    AppRun run;
    run.present = {4};
    run.app.InitInstance();
    EXPECT_EQ(run.app.state().portName, "");
    flashwizard::WizardDlg& dlg = run.app.CreateFrame();
    EXPECT_EQ(run.app.progressPage(), dlg.progressPage());
    dlg.show();
    std::ofstream(QDir::temp().filePath("fw_app_test.hex").toStdString()) << ":00000001FF\r\n";
    for (int step = 1; step < 5; ++step) {
        if (step == 2) {
            dlg.fileStep()->pathEdit()->setText(QDir::temp().filePath("fw_app_test.hex"));
        }
        QTest::mouseClick(dlg.nextButton(), Qt::LeftButton);
    }
    ASSERT_EQ(dlg.logic().pageIndex(), flashwizard::kPortPage);
    run.loader.silent = true;
    QTest::mouseClick(dlg.nextButton(), Qt::LeftButton);  // search fails
    run.messages.answers = {MessageAnswer::Yes};
    dlg.close();  // question 178, answered Yes
    EXPECT_FALSE(dlg.isVisible());
    run.app.ExitInstance();
    EXPECT_EQ(StoredPort(), "COM4");
    // The file that passed the check is offered next time; the port stays as it was.
    EXPECT_EQ(StoredHexFile(), QDir::temp().filePath("fw_app_test.hex"));
}

TEST(WizardApp, RunEndedOnStepOneWritesBackWhatItRead) {
    ClearProfile();
    {
        QSettings profile("Korvalis", "flashwizard");
        profile.setValue("Settings/CommPort", "COM2");
        profile.setValue("Settings/LastHexFile", "/data/QLX_V12.HEX");
    }
    AppRun run;
    run.app.InitInstance();
    EXPECT_EQ(run.app.state().portName, "COM2");
    EXPECT_EQ(run.app.state().lastFirmwarePath, "/data/QLX_V12.HEX");
    flashwizard::WizardDlg& dlg = run.app.CreateFrame();
    dlg.show();
    QTest::mouseClick(dlg.cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    run.app.ExitInstance();
    EXPECT_EQ(StoredPort(), "COM2");
    EXPECT_EQ(StoredHexFile(), "/data/QLX_V12.HEX");
}

}  // namespace
}  // namespace fwtest
