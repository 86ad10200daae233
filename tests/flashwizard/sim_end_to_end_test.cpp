// The whole wizard against the simulated instrument on a pseudo-terminal: the system's port
// list (the port map), the real serial port layer, the update on its worker thread, and the
// program memory the simulated loader ends up with.
#include <QDir>
#include <QFile>
#include <cstdlib>
#include <map>
#include <thread>

#include "WizardTestSupport.h"

#include "tools/sim/Simulator.h"

namespace fwtest {
namespace {

// Address -> byte of the data records of HEX lines.
std::map<unsigned, unsigned> HexImage(const std::vector<std::string>& lines) {
    std::map<unsigned, unsigned> image;
    for (const std::string& line : lines) {
        if (line.size() < 11 || line[0] != ':' || line.substr(7, 2) != "00") continue;
        const unsigned count = std::stoul(line.substr(1, 2), nullptr, 16);
        const unsigned address = std::stoul(line.substr(3, 4), nullptr, 16);
        for (unsigned i = 0; i < count; ++i) {
            image[address + i] = std::stoul(line.substr(9 + 2 * i, 2), nullptr, 16);
        }
    }
    return image;
}

std::vector<std::string> ReadLines(const QString& path) {
    QFile file(path);
    std::vector<std::string> lines;
    if (!file.open(QIODevice::ReadOnly)) return lines;
    while (!file.atEnd()) {
        lines.push_back(QString::fromLatin1(file.readLine()).trimmed().toStdString());
    }
    return lines;
}

// Runs the wizard from step 1 to "Schliessen" against a simulated loader of chip model 832 and
// returns the simulated program memory as HEX lines.
void UpdateSimulatedInstrument(const flashwizard::LoaderTiming& timing, const QString& firmwarePath,
                               const char* counter, std::vector<std::string>& image) {
    QTemporaryDir dir;
    const QString portDir = dir.filePath("ports");
    ASSERT_TRUE(QDir().mkpath(portDir));
    const QString imagePath = dir.filePath("image.hex");

    quillon_sim::SimOptions options;
    std::string error;
    const quillon_sim::RoleInfo roles[] = {quillon_sim::LoaderRoleInfo()};
    ASSERT_TRUE(quillon_sim::ParseSimArgs(
        roles,
        {"--port-dir", portDir.toStdString(), "--com", "7", "--role", "loader", "--model", "832",
         "--image", imagePath.toStdString(), "--quiet"},
        options, error))
        << error;
    quillon_sim::Simulator simulator(std::move(options));
    ASSERT_TRUE(simulator.Start(error)) << error;
    std::thread serving([&simulator] { simulator.Run(); });

    const char* previousMap = std::getenv("KORVALIS_PORT_DIR");
    const std::string restore = previousMap ? previousMap : "";
    setenv("KORVALIS_PORT_DIR", portDir.toLocal8Bit().constData(), 1);

    RecordingMessages messages;
    flashwizard::WizardState state;  // the platform's port, through the port map
    flashwizard::WizardEnvironment environment;
    environment.messages = &messages;
    environment.timing = timing;
    {
        flashwizard::WizardDlg dlg(state, environment);
        dlg.show();
        EXPECT_EQ(state.portsAtStart, (seriallink::ComPortList{7}));
        // No ASSERT from here on: the simulator must be stopped whatever happens.
        for (int step = 1; step <= 5; ++step) {
            if (step == 2) dlg.fileStep()->pathEdit()->setText(firmwarePath);
            QTest::mouseClick(dlg.nextButton(), Qt::LeftButton);
            if (dlg.logic().pageIndex() != step) {
                ADD_FAILURE() << "stuck on step " << step << ": " << messages.LastText();
                break;
            }
        }
        if (dlg.logic().pageIndex() == flashwizard::kProgressPage) {
            EXPECT_EQ(state.portName, "COM7");
            EXPECT_EQ(dlg.logic().link().chipModel, 832u);
            QTest::mouseClick(dlg.nextButton(), Qt::LeftButton);
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return dlg.nextButton()->text() == "Schliessen" && !dlg.updateRunning(); },
                60000))
                << "ended with: " << dlg.progressPage()->statusText().toStdString();
            EXPECT_EQ(messages.LastText(), "Update erfolgreich abgeschlossen");
            EXPECT_EQ(dlg.progressPage()->counterText().toStdString(), counter);
        }
        (void)QTest::qWaitFor([&] { return !dlg.updateRunning(); }, 60000);
        EXPECT_FALSE(state.port->IsOpen());
    }

    simulator.Stop();
    serving.join();
    if (previousMap) {
        setenv("KORVALIS_PORT_DIR", restore.c_str(), 1);
    } else {
        unsetenv("KORVALIS_PORT_DIR");
    }
    image = ReadLines(imagePath);
}

TEST(SimEndToEnd, WizardUpdatesTheSimulatedInstrument) {
    std::string firmware;
    std::vector<std::string> records;
    for (unsigned i = 0; i < 20; ++i) {
        std::vector<unsigned> data;
        for (unsigned b = 0; b < 16; ++b) data.push_back((i * 16 + b) * 7 % 256);
        records.push_back(HexRecord(0x0400 + i * 16, data));
        firmware += records.back() + "\r\n";
    }
    firmware += ":00000001FF\r\n";
    QTemporaryDir dir;
    const QString firmwarePath = dir.filePath("QLX_V12.HEX");
    {
        QFile file(firmwarePath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(firmware.c_str());
    }
    std::vector<std::string> image;
    UpdateSimulatedInstrument(flashwizard::LoaderTiming::Scaled(10), firmwarePath, "21/21", image);
    EXPECT_EQ(HexImage(image), HexImage(records));
}

// The product's own pauses and time-outs, once, with the sample firmware.
TEST(SimEndToEnd, RealTimingsWithTheSampleFirmware) {
    const QString firmwarePath = QStringLiteral(QUILLON_SAMPLES_DIR "/demo-firmware.hex");
    std::vector<std::string> image;
    UpdateSimulatedInstrument(flashwizard::LoaderTiming{}, firmwarePath, "37/37", image);
    EXPECT_EQ(HexImage(image), HexImage(ReadLines(firmwarePath)));
}

}  // namespace
}  // namespace fwtest
