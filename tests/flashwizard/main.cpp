#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>

#include "flashwizard/core/WizardStrings.h"
#include "gtest/gtest.h"

int main(int argc, char** argv) {
    // Test discovery runs this program at build time, where no display may exist.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    seriallink::InstallStringTable(&flashwizard::WizardStrings());
    // The profile goes to a directory of the run's own, never the user's.
    QTemporaryDir profileDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, profileDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, profileDir.path());
    return RUN_ALL_TESTS();
}
