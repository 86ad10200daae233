// The main window of zonesend: the controls of the dialog template, laid out in dialog units,
// forwarding every event to AirspaceSetupLogic.
#pragma once

#include <QDialog>
#include <QFont>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "shell/qt/QtDialogUnits.h"
#include "zonesend/AirspaceSetupLogic.h"
#include "zonesend/DialogTemplate.h"
#include "zonesend/SelectionPanelLogic.h"
#include "zonesend/SelectionTools.h"

class QCheckBox;
class QComboBox;
class QResizeEvent;
class QLabel;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;

namespace zonesend {

class MapCanvas;

// The Select panel, the capacity bar, the map and the airspace line, in a strip below the
// template's controls. Off, the window is the template alone.
struct SelectionToolOptions {
    bool shown = false;
    // Where the Select panel remembers its choices; none when null.
    ProfileStore* profile = nullptr;
};

class AirspaceSetupDialog : public QDialog, public AirspaceSetupView, public SelectionToolsView {
    Q_OBJECT
public:
    struct Options {
        AirspaceSetupLogic::Services services;
        // Stand-ins for the platform's boxes; the real ones when empty.
        std::function<std::optional<std::string>(const std::string& title,
                                                 const std::string& filter)>
            chooseFile;
        std::function<seriallink::MessageAnswer(const seriallink::MessageBoxRequest&)> messageBox;
        std::function<void()> aboutBox;
        SelectionToolOptions selectionTools;
        // The fixed-pitch font of the list and its header; chosen from the system's when empty.
        std::optional<QFont> listFont;
    };

    explicit AirspaceSetupDialog(AirspaceSetupApp& app, Options options = {},
                                 QWidget* parent = nullptr);
    ~AirspaceSetupDialog() override;

    [[nodiscard]] AirspaceSetupLogic& logic() { return *logic_; }
    // The preview as last drawn (null before the first selection change), and where it shows.
    [[nodiscard]] const QImage& previewImage() const { return preview_; }
    [[nodiscard]] QRect previewRect() const { return previewRect_; }
    [[nodiscard]] const shell::QtDialogUnits& baseUnits() const { return baseUnits_; }
    [[nodiscard]] const QFont& listFont() const { return listFont_; }
    [[nodiscard]] SelectionPanelLogic& selectionPanel() { return tools_->panel(); }
    // The strip's logic; null without the strip.
    [[nodiscard]] SelectionTools* selectionTools() { return tools_.get(); }
    // Opens the Select panel modally; `whileOpen` runs once it shows (for tests and pictures).
    void OnSelect(const std::function<void(QDialog&)>& whileOpen = {});
    // Shows the whole selection on the map (true) or the clicked airspace alone (false).
    void showMap(bool on);
    [[nodiscard]] bool showingMap() const { return tools_ && tools_->showingMap(); }
    // The map widget (null without the selection tools) and where it stands: the preview area at
    // the first size, and larger as the window grows.
    [[nodiscard]] MapCanvas* mapCanvas() const { return map_; }
    [[nodiscard]] QRect mapRect() const;

    // AirspaceSetupView
    seriallink::MessageAnswer ShowMessageBox(const seriallink::MessageBoxRequest& request) override;
    void setControlText(int controlId, const std::string& text) override;
    void setTitleText(const std::string& text) override;
    void addAboutMenuItem(const std::string& text) override;
    void enableControl(int controlId, bool enable) override;
    seriallink::PortComboBox& portCombo() override;
    void clearList() override;
    void addListLine(const std::string& text) override;
    void addListLines(const std::vector<std::string>& lines) override;
    unsigned listCount() const override;
    void setLineSelected(unsigned index, bool selected) override;
    void setAllLinesSelected(bool selected) override;
    bool selectedLines(std::vector<unsigned>& out) const override;
    int caretIndex() const override;
    void applyListFont() override;
    void computePreviewRect() override;
    void drawPreview(const airspace::AirspaceRecord& airspace) override;
    void setListLine(unsigned index, const std::string& text) override;
    void fileReplaced() override;
    void showLineMark(unsigned index, LineMark mark) override;
    std::optional<std::string> chooseFile(const std::string& title,
                                          const std::string& filter) override;
    int startRepeatingTimer(int timerId, int periodMs) override;
    void stopRepeatingTimer(int identifier) override;
    bool isTopLevelActive() const override;
    void showAboutBox() override;

    // SelectionToolsView
    void showAirspaceInfo(const std::string& text) override;
    void drawMap(const MapRequest& request) override;
    void drawPreviewOf(const airspace::AirspaceRecord* airspace) override;
    void showMapToggle(bool on) override;
    void showSelectedOnly(bool on) override;
    void hideLines(const std::vector<bool>& hidden) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class ComboAdapter;

    void createControls();
    [[nodiscard]] QWidget* control(int controlId) const;
    void onListSelectionChanged();
    void createSelectionTools();
    void createListMarks();
    void paintPreview(const airspace::AirspaceRecord& airspace);
    void drawSelectionMap();
    void rememberFirstLayout();

    Options options_;
    shell::QtDialogUnits baseUnits_;
    QFont listFont_;
    std::map<int, QWidget*> controls_;
    QListWidget* list_ = nullptr;
    QComboBox* combo_ = nullptr;
    std::unique_ptr<ComboAdapter> comboAdapter_;
    QRect previewRect_;
    QImage preview_;
    std::map<int, int> timers_;  // Qt timer id -> the dialog's own timer id
    bool changingSelection_ = false;
    std::unique_ptr<AirspaceSetupLogic> logic_;
    std::unique_ptr<SelectionTools> tools_;
    QProgressBar* capacity_ = nullptr;
    QPalette capacityPalette_;  // the bar's own colours, under the store's size
    QLabel* airspaceInfo_ = nullptr;
    QPushButton* mapToggle_ = nullptr;
    QCheckBox* selectedOnly_ = nullptr;
    MapCanvas* map_ = nullptr;
    // The window's first size and its controls' places then, from which it grows.
    QSize firstSize_;
    std::vector<std::pair<QWidget*, QRect>> firstPlaces_;
    int firstListBottom_ = 0;
};

}  // namespace zonesend
