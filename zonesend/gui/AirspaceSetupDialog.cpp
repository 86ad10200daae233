#include "zonesend/gui/AirspaceSetupDialog.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStringList>
#include <QTimer>
#include <QTimerEvent>

#include "shell/qt/QtMessageBoxes.h"
#include "zonesend/Strings.h"
#include "zonesend/gui/AboutDialog.h"
#include "zonesend/gui/SelectionDialog.h"
#include "zonesend/preview/MapPainter.h"
#include "zonesend/preview/PreviewDrawing.h"

namespace zonesend {

namespace {

constexpr int kListPointSize = 8;
const QString kListFace = QStringLiteral("Lucida Console");

QString qtText(const std::string& text) {
    return QString::fromStdString(text);
}

// "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||" as a Qt filter list. "*.*" becomes "*" so that
// files without an extension are listed, as the pattern means.
QString qtFileFilter(const std::string& filter) {
    const QStringList parts = qtText(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QString description = parts[i].section(QLatin1Char('('), 0, 0).trimmed();
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

// The fixed-pitch list font: "Lucida Console" where installed, else the system's fixed font,
// both at 8 pt, so that the list columns stand under the header's.
QFont makeListFont() {
    QFont font(kListFace, kListPointSize);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    const QFontInfo info(font);
    if (info.family() == kListFace && info.fixedPitch()) return font;
    font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(kListPointSize);
    return font;
}

}  // namespace

class AirspaceSetupDialog::ComboAdapter : public seriallink::PortComboBox {
public:
    explicit ComboAdapter(QComboBox& combo) : combo_(combo) {}
    void Clear() override { combo_.clear(); }
    void AddEntry(const std::string& text) override { combo_.addItem(qtText(text)); }
    int Count() const override { return combo_.count(); }
    std::string EntryText(int index) const override {
        return index >= 0 && index < combo_.count() ? combo_.itemText(index).toStdString() : "";
    }
    int CurrentIndex() const override { return combo_.currentIndex(); }
    void SetCurrentIndex(int index) override { combo_.setCurrentIndex(index); }

private:
    QComboBox& combo_;
};

AirspaceSetupDialog::AirspaceSetupDialog(AirspaceSetupApp& app, Options options, QWidget* parent)
    : QDialog(parent), options_(std::move(options)), baseUnits_(dialogFont()) {
    setFont(dialogFont());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(applicationIcon());
    setSizeGripEnabled(false);
    resize(baseUnits_.Size(kMainDialogSize.width, kMainDialogSize.height));
    createControls();
    if (options_.selectionTools.shown) createSelectionTools();

    logic_ = std::make_unique<AirspaceSetupLogic>(app, *this, options_.services);
    logic_->OnInitDialog();
}

void AirspaceSetupDialog::createSelectionTools() {
    resize(width(), baseUnits_.Y(kMainDialogSize.height + kSelectionStripHeight));
    if (options_.selectionTools.profile != nullptr)
        panel_.choices() = readSelectionChoices(*options_.selectionTools.profile);

    auto* select = new QPushButton(qtText(seriallink::LoadString(ids::kSelectButton)), this);
    select->setObjectName(QString::number(kIdSelect));
    select->setAutoDefault(false);
    select->setGeometry(pixelRect(baseUnits_, kSelectButtonPlace));
    connect(select, &QPushButton::clicked, this, [this] { OnSelect(); });

    mapToggle_ = new QPushButton(qtText(seriallink::LoadString(ids::kMapToggle)), this);
    mapToggle_->setObjectName(QString::number(kIdMapToggle));
    mapToggle_->setAutoDefault(false);
    mapToggle_->setCheckable(true);
    mapToggle_->setGeometry(pixelRect(baseUnits_, kMapTogglePlace));
    connect(mapToggle_, &QPushButton::toggled, this, [this](bool on) { showMap(on); });

    auto* addFile = new QPushButton(qtText(seriallink::LoadString(ids::kAddFileButton)), this);
    addFile->setObjectName(QString::number(kIdAddFile));
    addFile->setAutoDefault(false);
    addFile->setGeometry(pixelRect(baseUnits_, kAddFilePlace));
    connect(addFile, &QPushButton::clicked, this, [this] {
        logic_->OnAddFile();
        if (showingMap_) drawSelectionMap();
    });

    capacity_ = new QProgressBar(this);
    capacity_->setObjectName(QString::number(kIdCapacityBar));
    capacity_->setRange(0, static_cast<int>(kDeviceCapacity));
    capacity_->setTextVisible(true);
    capacity_->setAlignment(Qt::AlignCenter);
    capacity_->setGeometry(pixelRect(baseUnits_, kCapacityBarPlace));

    airspaceInfo_ = new QLabel(this);
    airspaceInfo_->setObjectName(QString::number(kIdAirspaceInfo));
    airspaceInfo_->setTextFormat(Qt::PlainText);
    airspaceInfo_->setGeometry(pixelRect(baseUnits_, kAirspaceInfoPlace));
    setControlText(kIdBytesValue, "0");

    // After the logic's own handlers: the map follows every change of the selection.
    for (const int id : {kIdSelectAll, kIdSelectNone}) {
        connect(qobject_cast<QPushButton*>(control(id)), &QPushButton::clicked, this, [this] {
            if (showingMap_) drawSelectionMap();
        });
    }
}

void AirspaceSetupDialog::OnSelect(const std::function<void(QDialog&)>& whileOpen) {
    SelectionDialog panel(
        panel_, *logic_, options_.selectionTools.profile,
        [this] {
            showAirspaceInfo();
            if (showingMap_) drawSelectionMap();
        },
        this);
    if (whileOpen) {
        QTimer::singleShot(0, &panel, [&panel, &whileOpen] { whileOpen(panel); });
    }
    panel.exec();
}

void AirspaceSetupDialog::showMap(bool on) {
    showingMap_ = on;
    if (mapToggle_ != nullptr && mapToggle_->isChecked() != on) mapToggle_->setChecked(on);
    if (on) {
        drawSelectionMap();
        return;
    }
    const int caret = caretIndex();
    const auto& records = logic_->airspaces();
    if (caret >= 0 && static_cast<std::size_t>(caret) < records.size()) {
        drawPreview(records[static_cast<std::size_t>(caret)]);
    } else {
        preview_ = QImage();
        update(previewRect_);
    }
}

void AirspaceSetupDialog::drawSelectionMap() {
    if (previewRect_.isEmpty()) return;
    std::vector<unsigned> lines;
    (void)selectedLines(lines);
    const int caret = caretIndex();
    const MapRequest request = selectionMapRequest(
        logic_->airspaces(), lines, caret, caret >= 0 && list_->item(caret)->isSelected(), panel_);
    QImage image(previewRect_.size(), QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Window));
    QPainter painter(&image);
    painter.setFont(font());
    drawMap(painter, request, PixelRect{0, 0, previewRect_.width(), previewRect_.height()});
    painter.end();
    preview_ = image;
    update(previewRect_);
}

void AirspaceSetupDialog::showAirspaceInfo() {
    if (airspaceInfo_ == nullptr) return;
    const int caret = caretIndex();
    const auto& records = logic_->airspaces();
    airspaceInfo_->setText(caret >= 0 && static_cast<std::size_t>(caret) < records.size()
                               ? qtText(airspaceInfoText(records[static_cast<std::size_t>(caret)],
                                                         logic_->loadedFiles()))
                               : QString());
}

AirspaceSetupDialog::~AirspaceSetupDialog() {
    logic_->OnDestroy();
}

void AirspaceSetupDialog::createControls() {
    for (const ControlTemplate& item : mainDialogControls()) {
        QWidget* widget = nullptr;
        switch (item.kind) {
            case ControlKind::PushButton:
            case ControlKind::DefaultPushButton: {
                auto* button = new QPushButton(qtText(std::string(item.text)), this);
                // No default button: Enter on a button presses that button only.
                button->setAutoDefault(false);
                button->setDefault(false);
                widget = button;
                break;
            }
            case ControlKind::Label:
            case ControlKind::RightLabel: {
                auto* label = new QLabel(qtText(std::string(item.text)), this);
                // File paths and airspace texts are shown as they are, never as markup.
                label->setTextFormat(Qt::PlainText);
                label->setAlignment(
                    (item.kind == ControlKind::RightLabel ? Qt::AlignRight : Qt::AlignLeft) |
                    Qt::AlignTop);
                widget = label;
                break;
            }
            case ControlKind::ListBox:
                list_ = new QListWidget(this);
                list_->setSelectionMode(QAbstractItemView::MultiSelection);
                list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                list_->setUniformItemSizes(true);
                widget = list_;
                break;
            case ControlKind::ComboBox:
                combo_ = new QComboBox(this);
                comboAdapter_ = std::make_unique<ComboAdapter>(*combo_);
                widget = combo_;
                break;
            case ControlKind::Icon:
                break;
        }
        if (widget == nullptr) continue;
        widget->setObjectName(QString::number(item.id));
        QRect place = pixelRect(baseUnits_, item.place);
        // A drop-down list's template height is that of its open list; closed it is one line.
        if (item.kind == ControlKind::ComboBox) place.setHeight(combo_->sizeHint().height());
        widget->setGeometry(place);
        controls_[item.id] = widget;
    }

    connect(qobject_cast<QPushButton*>(control(kIdExit)), &QPushButton::clicked, this,
            &QDialog::reject);
    connect(qobject_cast<QPushButton*>(control(kIdSendAirspace)), &QPushButton::clicked, this,
            [this] { logic_->OnSendAirspace(); });
    connect(qobject_cast<QPushButton*>(control(kIdLoadFile)), &QPushButton::clicked, this,
            [this] { logic_->OnLoadFile(); });
    connect(qobject_cast<QPushButton*>(control(kIdSelectAll)), &QPushButton::clicked, this,
            [this] { logic_->OnSelectAll(); });
    connect(qobject_cast<QPushButton*>(control(kIdSelectNone)), &QPushButton::clicked, this,
            [this] { logic_->OnSelectNone(); });
    connect(list_, &QListWidget::itemSelectionChanged, this,
            &AirspaceSetupDialog::onListSelectionChanged);
    // activated: the pilot's choice only, not the program's own changes of the entry.
    connect(combo_, &QComboBox::activated, this, [this] { logic_->OnPortSelChange(); });
}

QWidget* AirspaceSetupDialog::control(int controlId) const {
    const auto found = controls_.find(controlId);
    return found == controls_.end() ? nullptr : found->second;
}

void AirspaceSetupDialog::onListSelectionChanged() {
    // Only the pilot's clicks and keys count; the program's own selecting is silent.
    if (changingSelection_) return;
    logic_->OnListSelChange();
    showAirspaceInfo();
}

seriallink::MessageAnswer AirspaceSetupDialog::ShowMessageBox(
    const seriallink::MessageBoxRequest& request) {
    if (options_.messageBox) return options_.messageBox(request);
    return shell::QtMessageBoxes(this).ShowMessageBox(request);
}

void AirspaceSetupDialog::setControlText(int controlId, const std::string& text) {
    // The bar shows what "Bytes used" says, whichever handler has just set it.
    if (controlId == kIdBytesValue && capacity_ != nullptr) {
        const int used = QString::fromStdString(text).toInt();
        capacity_->setValue(std::min(used, capacity_->maximum()));
        capacity_->setFormat(qtText(seriallink::FormatText(
            seriallink::LoadString(ids::kCapacityText),
            {static_cast<long long>(used), static_cast<long long>(kDeviceCapacity)})));
    }
    QWidget* widget = control(controlId);
    if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(qtText(text));
    if (auto* button = qobject_cast<QPushButton*>(widget)) button->setText(qtText(text));
}

void AirspaceSetupDialog::setTitleText(const std::string& text) {
    setWindowTitle(qtText(text));
}

void AirspaceSetupDialog::addAboutMenuItem(const std::string& text) {
    // Without a window menu of the platform's own, the item lives in the dialog's context menu
    // and on F1.
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* about = new QAction(qtText(text), this);
    about->setObjectName(QStringLiteral("about"));
    about->setShortcut(QKeySequence(Qt::Key_F1));
    about->setShortcutContext(Qt::WindowShortcut);
    connect(about, &QAction::triggered, this, [this] { logic_->OnSysCommand(kAboutCommand); });
    addAction(about);
}

void AirspaceSetupDialog::enableControl(int controlId, bool enable) {
    if (QWidget* widget = control(controlId)) widget->setEnabled(enable);
}

seriallink::PortComboBox& AirspaceSetupDialog::portCombo() {
    return *comboAdapter_;
}

void AirspaceSetupDialog::clearList() {
    changingSelection_ = true;
    list_->clear();
    changingSelection_ = false;
}

void AirspaceSetupDialog::addListLine(const std::string& text) {
    list_->addItem(qtText(text));
}

unsigned AirspaceSetupDialog::listCount() const {
    return static_cast<unsigned>(list_->count());
}

void AirspaceSetupDialog::setLineSelected(unsigned index, bool selected) {
    changingSelection_ = true;
    if (QListWidgetItem* item = list_->item(static_cast<int>(index))) item->setSelected(selected);
    changingSelection_ = false;
}

bool AirspaceSetupDialog::selectedLines(std::vector<unsigned>& out) const {
    out.clear();
    for (int row = 0; row < list_->count(); ++row) {
        if (list_->item(row)->isSelected()) out.push_back(static_cast<unsigned>(row));
    }
    return true;
}

int AirspaceSetupDialog::caretIndex() const {
    return list_->currentRow();
}

void AirspaceSetupDialog::applyListFont() {
    listFont_ = options_.listFont ? *options_.listFont : makeListFont();
    list_->setFont(listFont_);
    QWidget* header = control(kIdHeaderLine);
    header->setFont(listFont_);
    // The template gives the header the dialog font's height, but it shows the list font, which
    // may be taller: it grows upwards, over the margin, so that the descenders ("g" of
    // "Ceiling") are not cut off and the list below stays where it is.
    const int needed = QFontMetrics(listFont_).height();
    const QRect place = header->geometry();
    if (place.height() < needed) {
        header->setGeometry(place.x(), std::max(0, place.bottom() + 1 - needed), place.width(),
                            needed);
    }
}

void AirspaceSetupDialog::computePreviewRect() {
    // Right of the list, below the top buttons, above the file line; right and bottom exclusive.
    const QRect listPlace = control(kIdAirspaceList)->geometry();
    const QRect exitPlace = control(kIdExit)->geometry();
    const QRect filePlace = control(kIdFileLine)->geometry();
    const int left = listPlace.x() + listPlace.width() + 2;
    const int top = exitPlace.y() + exitPlace.height() + 5;
    const int right = width() - 5;
    const int bottom = filePlace.y() - 5;
    previewRect_ = QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

void AirspaceSetupDialog::setListLine(unsigned index, const std::string& text) {
    if (QListWidgetItem* item = list_->item(static_cast<int>(index))) item->setText(qtText(text));
}

void AirspaceSetupDialog::drawPreview(const airspace::AirspaceRecord& airspace) {
    if (showingMap_) {
        drawSelectionMap();
        return;
    }
    if (previewRect_.isEmpty()) return;
    // Drawn once into an image that stays on show until the next selection change, so that the
    // preview survives the window being covered and repainted.
    QImage image(previewRect_.size(), QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Window));
    QPainter painter(&image);
    painter.setFont(font());
    zonesend::drawPreview(painter, airspace,
                          PixelRect{0, 0, previewRect_.width(), previewRect_.height()});
    painter.end();
    preview_ = image;
    update(previewRect_);
}

std::optional<std::string> AirspaceSetupDialog::chooseFile(const std::string& title,
                                                           const std::string& filter) {
    if (options_.chooseFile) return options_.chooseFile(title, filter);
    const QString path =
        QFileDialog::getOpenFileName(this, qtText(title), QString(), qtFileFilter(filter));
    if (path.isEmpty()) return std::nullopt;
    // The file is opened by the bytes of its name, whatever the locale's encoding of names.
    return QFile::encodeName(path).toStdString();
}

int AirspaceSetupDialog::startRepeatingTimer(int timerId, int periodMs) {
    const int qtId = QObject::startTimer(periodMs);
    timers_[qtId] = timerId;
    return qtId;
}

void AirspaceSetupDialog::stopRepeatingTimer(int identifier) {
    killTimer(identifier);
    timers_.erase(identifier);
}

bool AirspaceSetupDialog::isTopLevelActive() const {
    return QApplication::activeWindow() == window();
}

void AirspaceSetupDialog::showAboutBox() {
    if (options_.aboutBox) {
        options_.aboutBox();
        return;
    }
    AboutDialog about(baseUnits_, this);
    about.exec();
}

void AirspaceSetupDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (preview_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(previewRect_.topLeft(), preview_);
}

void AirspaceSetupDialog::timerEvent(QTimerEvent* event) {
    const auto found = timers_.find(event->timerId());
    if (found == timers_.end()) {
        QDialog::timerEvent(event);
        return;
    }
    logic_->OnTimer(found->second);
}

void AirspaceSetupDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // The keypad's Enter is the same key to the pilot; it only carries the keypad modifier.
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // Enter presses the button that has the focus, and otherwise ends the dialog.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        } else {
            accept();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace zonesend
