// Walks the wizard through its six steps against a scripted loader and saves a picture of each
// page, with a drawn title bar carrying the window's title (under a bare X server there is no
// window manager to draw one). Usage: flashwizard_screenshots OUTPUT_DIR [en|de|fr]
// (German, the wizard's own language, unless another is given).
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <iostream>
#include <optional>

#include "flashwizard/core/WizardStrings.h"
#include "flashwizard/ui/Step5Dlg.h"
#include "flashwizard/ui/StepPages.h"
#include "flashwizard/ui/WizardDlg.h"
#include "seriallink/testing/FakeBackend.h"
#include "tests/common/TitleBarGrab.h"

namespace {

class SilentMessages : public flashwizard::WizardMessages {
public:
    seriallink::MessageAnswer ShowMessageBox(const seriallink::MessageBoxRequest&) override {
        return seriallink::MessageAnswer::Yes;
    }
    seriallink::MessageAnswer AskDefaultNo(const seriallink::MessageBoxRequest&) override {
        return seriallink::MessageAnswer::No;
    }
};

std::string IdentReply() {
    std::string reply = "ADI 832   V2.1\r\n";
    reply.append(8, '\0');
    unsigned sum = 0;
    for (unsigned char byte : reply) sum += byte;
    reply.push_back(static_cast<char>((0x100 - sum % 0x100) % 0x100));
    return reply;
}

QImage WithTitleBar(QWidget& window) {
    QPixmap icon(18, 18);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    QSvgRenderer(QStringLiteral(":/flashwizard.svg")).render(&painter);
    painter.end();
    return testsupport::WithTitleBar(window, QIcon(icon));
}

}  // namespace

int main(int argc, char* argv[]) {
    const auto language = argc == 3 ? seriallink::LanguageOfCode(argv[2])
                                    : std::optional(seriallink::Language::German);
    if ((argc != 2 && argc != 3) || !language) {
        std::fprintf(stderr, "usage: flashwizard_screenshots OUTPUT_DIR [en|de|fr]\n");
        return 2;
    }
    QApplication application(argc, argv);
    if (*language != seriallink::Language::German) {
        flashwizard::UseWizardStrings(&flashwizard::WizardStringsIn(*language));
    }
    seriallink::InstallStringTable(&flashwizard::WizardStrings());
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) return 1;

    seriallink::testing::FakeLine line;
    line.onWrite = [](const std::string& sent, seriallink::testing::FakeLine& l) {
        l.Feed(sent.size() == 4 && sent[0] == '!' ? IdentReply() : std::string("\x06"));
    };
    flashwizard::WizardState state;
    state.port = std::make_unique<seriallink::SerialPort>(line.MakeBackend());
    seriallink::ComPortList present{1};

    SilentMessages messages;
    flashwizard::WizardEnvironment environment;
    environment.messages = &messages;
    environment.enumerate = [&present](seriallink::ComPortList& ports) {
        ports = present;
        return !ports.empty();
    };
    flashwizard::WizardDlg dlg(state, environment);
    dlg.show();

    // The pages show a path as a pilot's would look; the file checked behind it is a real one.
    const QString shownPath = QStringLiteral(
        "/home/pilot/Dokumente/Gleitschirm/Instrumente/Korvalis Quillon/Firmware-Updates/2026/"
        "Frühjahr/"
        "QLX_V12.HEX");
    QTemporaryDir scratch;
    const QString firmware = scratch.filePath(QStringLiteral("QLX_V12.HEX"));
    {
        QFile file(firmware);
        if (!file.open(QIODevice::WriteOnly)) return 1;
        file.write(":0400000001020304F2\r\n:00000001FF\r\n");
    }
    bool ok = true;
    for (int step = 1; step <= 6; ++step) {
        if (step == 2) dlg.fileStep()->pathEdit()->setText(shownPath);
        if (step == 6) {
            dlg.progressPage()->SetProgress(0, 1472);
            dlg.progressPage()->SetProgress(583, 0);
            dlg.progressPage()->SetStatus(
                QString::fromStdString(flashwizard::WizardText(flashwizard::kStrDownload)));
            // As while the update runs: the worker has taken Next and Back away.
            dlg.EnableNext(false);
            dlg.EnableBack(false);
        }
        QApplication::processEvents();
        const QString name = out.filePath(QStringLiteral("flashwizard-step%1.png").arg(step));
        ok = WithTitleBar(dlg).save(name) && ok;
        std::cout << name.toStdString() << '\n';
        if (step == 6) break;
        if (step == 2) dlg.fileStep()->pathEdit()->setText(firmware);
        if (step == 3) present = {1, 4};  // the USB cable plugged in on step 3
        dlg.nextButton()->click();
        if (dlg.logic().pageIndex() != step) {
            std::fprintf(stderr, "the wizard stayed on step %d\n", step);
            return 1;
        }
        if (step == 2) dlg.fileStep()->pathEdit()->setText(shownPath);
    }
    return ok ? 0 : 1;
}
