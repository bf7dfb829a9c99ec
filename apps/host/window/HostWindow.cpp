// SPDX-License-Identifier: MIT
// The host's main window.
#include "HostWindow.h"

#include "DatabaseLocation.h"
#include "HostSession.h"
#include "UnsavedQuestion.h"
#include "device/sim/SimFile.h"
#include "device/sim/SimNetwork.h"
#include "inputtypes/CopyToInputsDialog.h"
#include "inputtypes/SaveAsInputTypeDialog.h"
#include "page/FormatLocaleScope.h"
#include "preview/PreviewDialog.h"
#include "shared/MKorvane.h"
#include "watch/LiveTrend.h"

#include <algorithm>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Host {

namespace {

// The interpretation offers a host can ask the control for; "" offers every one.
const QStringList choices = { QString(), QStringLiteral("2"), QStringLiteral("2,3,6"), QStringLiteral("2,3,7"),
    QStringLiteral("2,3"), QStringLiteral("2,4"), QStringLiteral("4") };

constexpr int NameRole = Qt::UserRole;
constexpr int ProblemRole = Qt::UserRole + 1;

// Two names of one file (a symbolic link, a relative path) are the same database.
bool sameFile(const QString &a, const QString &b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return canonicalA.isEmpty() ? QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath()
                                : canonicalA == QFileInfo(b).canonicalFilePath();
}

// The page's text fields by name.
QLineEdit *textField(const QWidget *page, const QString &name)
{
    return page && !name.isEmpty() ? page->findChild<QLineEdit *>(name) : nullptr;
}

QString oneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" / ")).trimmed();
}

// Every device and input name whole, with room before the state: sized over all rows, not
// only those in view, and a little wider than the longest name, so that no font's
// rounding cuts a name or runs it into the state.
void fitNameColumn(QTreeWidget *tree)
{
    tree->resizeColumnToContents(0);
    tree->setColumnWidth(0, tree->columnWidth(0) + tree->fontMetrics().horizontalAdvance(QStringLiteral("   ")));
}

bool isDevice(const QTreeWidgetItem *item)
{
    return item && !item->parent();
}

} // namespace

HostWindow::HostWindow(QWidget *parent)
    : QMainWindow(parent)
{
    buildUi();
    buildMenus();
    retranslate();
    MKorvane::GuardWheel(this); // the input page's controls guard their own lists
}

HostWindow::~HostWindow()
{
    // The controls hold device objects of the network; let them go first.
    for (const auto &view : std::as_const(m_views))
        delete view;
    delete m_page;
}

void HostWindow::buildMenus()
{
    m_fileMenu = menuBar()->addMenu(QString());
    m_openAction = m_fileMenu->addAction(QString(), QKeySequence::Open, this, &HostWindow::chooseDatabase);
    m_reloadAction = m_fileMenu->addAction(QString(), QKeySequence::Refresh, this, &HostWindow::reloadDatabase);
    m_fileMenu->addSeparator();
    m_quitAction = m_fileMenu->addAction(QString(), QKeySequence::Quit, this, &QWidget::close);
    m_viewMenu = menuBar()->addMenu(QString());
    m_secondViewAction = m_viewMenu->addAction(QString(), this, &HostWindow::openSecondView);
}

void HostWindow::retranslate()
{
    m_fileMenu->setTitle(tr("&File"));
    m_openAction->setText(tr("&Open database..."));
    m_reloadAction->setText(tr("&Reload"));
    m_quitAction->setText(tr("&Quit"));
    m_viewMenu->setTitle(tr("&View"));
    m_secondViewAction->setText(tr("&Second view of this input"));
    m_chooser->setTitle(tr("Network"));
    m_tree->setHeaderLabels({ tr("Device / input"), tr("State") });
    fitNameColumn(m_tree);
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        if (m_tree->topLevelItem(i)->data(0, ProblemRole).toString().isEmpty())
            m_tree->topLevelItem(i)->setText(1, tr("ready"));
    }
    m_units->setItemText(0, tr("SI"));
    m_units->setItemText(1, tr("US"));
    m_choice->setItemText(0, tr("all"));
    m_choice->setToolTip(tr("Which signal interpretations the control offers (positions in the device's list)"));
    const auto label = [this](QWidget *field, const QString &text) {
        if (auto caption = qobject_cast<QLabel *>(m_form->labelForField(field)))
            caption->setText(text);
    };
    label(m_units, tr("&Units"));
    label(m_language, tr("&Language"));
    label(m_choice, tr("&Interpretations"));
    label(m_inputType, tr("Input &type"));
    m_applyDefaults->setText(tr("Apply &defaults"));
    m_markDeviations->setText(tr("&Mark deviations from these defaults"));
    m_markDeviations->setToolTip(
        tr("Marks every field whose value differs from the chosen input type's default, in the units shown"));
    m_saveAsType->setText(tr("Save as input t&ype..."));
    m_saveAsType->setToolTip(
        tr("Keep this input's stored configuration as an input type's section of a defaults file"));
    m_copyToInputs->setText(tr("C&opy to inputs..."));
    m_copyToInputs->setToolTip(tr("Write this input's stored configuration to other inputs of the same kind"));
    updateDefaultsOffer();
    updateDeviceState();
    m_secondView->setText(tr("&Second view"));
    m_secondView->setToolTip(tr("Another window with the network side of this input"));
    m_watch->setText(tr("&Watch"));
    m_watch->setToolTip(tr("Read this input's live value every few seconds and draw it against time"));
    m_trend->retranslate();
    m_ok->setText(tr("OK"));
    m_apply->setText(tr("&Apply"));
    m_cancel->setText(tr("Cancel"));
    m_preview->setText(tr("&Preview"));
    m_preview->setToolTip(tr("List what OK would write to the device, without writing anything"));
    m_ok->setToolTip(tr("Write the changes, save the database and close (Enter)"));
    m_apply->setToolTip(tr("Write the changes and save the database"));
    m_cancel->setToolTip(tr("Forget the changes and read the device again (Esc)"));
    m_messagesDock->setWindowTitle(tr("Messages"));
    if (!m_page && m_deviceProblem.isEmpty())
        m_placeholder->setText(tr("Choose a device and one of its hardware inputs."));
    updateTitle();
}

void HostWindow::hideEvent(QHideEvent *event)
{
    // Nobody looks at a hidden window's trend; it would only keep the device busy.
    setWatching(false);
    QMainWindow::hideEvent(event);
}

bool HostWindow::watching() const
{
    return m_trend->watching();
}

void HostWindow::setWatching(bool on)
{
    if (!on || !m_page || !m_network) {
        m_trend->stop();
        const QSignalBlocker blocker(m_watch);
        m_watch->setChecked(false);
        return;
    }
    // The simulated values start moving with the first watch, so that everything shown
    // before (and every picture of the window) reads the values the database stores.
    m_network->startClock();
    m_trend->start(
        std::make_unique<LiveValue>(*m_network, m_page->input(), m_measurementSystem, m_page->setpointOffset()));
}

void HostWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}

void HostWindow::buildUi()
{
    auto central = new QWidget(this);
    auto columns = new QHBoxLayout(central);

    auto chooser = m_chooser = new QGroupBox(central);
    auto form = m_form = new QFormLayout(chooser);
    m_tree = new QTreeWidget(chooser);
    m_tree->setObjectName(QStringLiteral("hostTree"));
    m_tree->setMinimumWidth(250);
    form->addRow(m_tree);
    m_deviceState = new QLabel(chooser);
    m_deviceState->setObjectName(QStringLiteral("hostDeviceState"));
    m_deviceState->setWordWrap(true);
    form->addRow(m_deviceState);
    m_units = new QComboBox(chooser);
    m_units->setObjectName(QStringLiteral("hostUnits"));
    m_units->addItem(tr("SI"), int(MEASUREMENT_SYSTEM_SI));
    m_units->addItem(tr("US"), int(MEASUREMENT_SYSTEM_US));
    form->addRow(QStringLiteral("-"), m_units);
    m_language = new QComboBox(chooser);
    m_language->setObjectName(QStringLiteral("hostLanguage"));
    form->addRow(QStringLiteral("-"), m_language);
    m_choice = new QComboBox(chooser);
    m_choice->setObjectName(QStringLiteral("hostChoice"));
    for (const QString &choice : choices)
        m_choice->addItem(choice.isEmpty() ? tr("all") : choice, choice);
    form->addRow(QStringLiteral("-"), m_choice);
    // The device's input types; their defaults preset both sides of the input shown.
    m_inputType = new QComboBox(chooser);
    m_inputType->setObjectName(QStringLiteral("hostInputType"));
    form->addRow(QStringLiteral("-"), m_inputType);
    m_applyDefaults = new QPushButton(chooser);
    m_applyDefaults->setObjectName(QStringLiteral("hostApplyDefaults"));
    m_applyDefaults->setEnabled(false);
    form->addRow(m_applyDefaults);
    m_markDeviations = new QCheckBox(chooser);
    m_markDeviations->setObjectName(QStringLiteral("hostMarkDeviations"));
    m_markDeviations->setEnabled(false);
    form->addRow(m_markDeviations);
    m_deviations = new DefaultDeviations(this);
    // The shown input's configuration as an input type's defaults, or onto other inputs.
    m_saveAsType = new QPushButton(chooser);
    m_saveAsType->setObjectName(QStringLiteral("hostSaveAsInputType"));
    form->addRow(m_saveAsType);
    m_copyToInputs = new QPushButton(chooser);
    m_copyToInputs->setObjectName(QStringLiteral("hostCopyToInputs"));
    form->addRow(m_copyToInputs);
    columns->addWidget(chooser);

    auto right = new QVBoxLayout;
    auto scroll = new QScrollArea(central);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    m_pageArea = new QWidget(scroll);
    m_pageLayout = new QVBoxLayout(m_pageArea);
    m_pageLayout->setContentsMargins(0, 0, 0, 0);
    m_placeholder = new QLabel(m_pageArea);
    m_placeholder->setObjectName(QStringLiteral("hostPlaceholder"));
    m_placeholder->setWordWrap(true);
    m_placeholder->setMinimumWidth(360);
    m_pageLayout->addWidget(m_placeholder, 0, Qt::AlignLeft | Qt::AlignTop);
    // The trend sits below the page (inserted above it) and shows only while watching.
    m_trend = new LiveTrend(m_pageArea);
    m_trend->hide();
    m_pageLayout->addWidget(m_trend);
    m_pageLayout->addStretch(1);
    scroll->setWidget(m_pageArea);
    right->addWidget(scroll, 1);
    auto buttonRow = new QHBoxLayout;
    m_secondView = new QPushButton(central);
    m_secondView->setObjectName(QStringLiteral("hostSecondView"));
    buttonRow->addWidget(m_secondView);
    m_watch = new QPushButton(central);
    m_watch->setObjectName(QStringLiteral("hostWatch"));
    m_watch->setCheckable(true);
    buttonRow->addWidget(m_watch);
    // Buttons of our own: the box would put Qt's untranslated texts back on a language change.
    m_buttons = new QDialogButtonBox(central);
    m_buttons->setObjectName(QStringLiteral("hostButtons"));
    m_ok = m_buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    m_apply = m_buttons->addButton(QStringLiteral("Apply"), QDialogButtonBox::ApplyRole);
    m_cancel = m_buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    m_ok->setObjectName(QStringLiteral("hostOk"));
    m_apply->setObjectName(QStringLiteral("hostApply"));
    m_cancel->setObjectName(QStringLiteral("hostCancel"));
    m_preview = m_buttons->addButton(QStringLiteral("Preview"), QDialogButtonBox::ActionRole);
    m_preview->setObjectName(QStringLiteral("hostPreview"));
    m_buttons->setEnabled(false);
    m_secondView->setEnabled(false);
    m_watch->setEnabled(false);
    buttonRow->addWidget(m_buttons, 1);
    right->addLayout(buttonRow);
    columns->addLayout(right, 1);
    setCentralWidget(central);

    m_log = new QListWidget(this);
    m_log->setObjectName(QStringLiteral("hostLog"));
    m_log->setWordWrap(true);
    auto dock = m_messagesDock = new QDockWidget(this);
    dock->setObjectName(QStringLiteral("hostMessages"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dock->setWidget(m_log);
    addDockWidget(Qt::BottomDockWidgetArea, dock);
    resizeDocks({ dock }, { 130 }, Qt::Vertical);

    connect(m_tree, &QTreeWidget::currentItemChanged, this, &HostWindow::onCurrentItemChanged);
    connect(m_units, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling && !setMeasurementSystem(qint16(m_units->currentData().toInt()))) {
            QSignalBlocker blocker(m_units);
            m_units->setCurrentIndex(m_units->findData(int(m_measurementSystem)));
        }
    });
    connect(m_language, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            setLanguage(m_language->currentData().toString());
    });
    connect(m_choice, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_filling)
            return;
        if (!settlePendingEdits(tr("offer other interpretations"))) {
            QSignalBlocker blocker(m_choice);
            m_choice->setCurrentIndex(m_shownChoice);
            return;
        }
        m_shownChoice = index;
        showInput();
    });
    connect(m_buttons, &QDialogButtonBox::accepted, this, &HostWindow::accept);
    connect(m_apply, &QPushButton::clicked, this, &HostWindow::apply);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &HostWindow::discard);
    connect(m_secondView, &QPushButton::clicked, this, &HostWindow::openSecondView);
    connect(m_watch, &QPushButton::toggled, this, &HostWindow::setWatching);
    connect(m_trend, &LiveTrend::watchingChanged, this, [this](bool on) {
        const QSignalBlocker blocker(m_watch);
        m_watch->setChecked(on);
        m_trend->setVisible(on);
    });
    connect(m_applyDefaults, &QPushButton::clicked, this, [this] { askApplyDefaults(); });
    connect(m_saveAsType, &QPushButton::clicked, this, [this] { saveAsInputType(); });
    connect(m_copyToInputs, &QPushButton::clicked, this, [this] { copyToInputs(); });
    connect(m_preview, &QPushButton::clicked, this, [this] { preview(); });
    connect(m_markDeviations, &QCheckBox::toggled, this, &HostWindow::updateDeviations);
    connect(m_inputType, &QComboBox::currentIndexChanged, this, [this] {
        // Not while the list is filled for another device: the page of that one follows.
        if (!m_filling && m_page && m_page->input().device == m_inputTypesDevice)
            updateDeviations();
    });
}

void HostWindow::keyPressEvent(QKeyEvent *event)
{
    // Enter confirms and Escape cancels, as in a dialog: only the keys that no widget took.
    // An open list keeps its own keys, which a window-wide shortcut would take as well.
    const bool confirm = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier)) == Qt::NoModifier;
    if (!plain || (!confirm && event->key() != Qt::Key_Escape)) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    if (m_buttons->isEnabled()) {
        if (confirm)
            accept();
        else
            discard();
    }
}

bool HostWindow::openDatabase(const QString &path, bool reset)
{
    return loadDatabase(path, reset, tr("open a database"));
}

bool HostWindow::reloadDatabase()
{
    // The input shown stays shown, as the file holds it now.
    const InputRef shown { currentDevice(), currentInput() };
    if (!loadDatabase(m_databasePath, false, tr("reload the database")))
        return false;
    if (!shown.block.isEmpty())
        selectInput(shown.device, shown.block);
    else if (!shown.device.isEmpty())
        selectDevice(shown.device);
    return true;
}

bool HostWindow::loadDatabase(const QString &path, bool reset, const QString &what)
{
    if (!settlePendingEdits(what))
        return false;
    return loadFile(path, reset);
}

bool HostWindow::loadFile(const QString &path, bool reset)
{
    // The lock first: a host that another one has open is not reset, and is offered
    // read-only. The lock of the database loaded again is kept.
    QString error;
    const QString target = path.isEmpty() ? workingCopyPath(false, &error) : path;
    std::unique_ptr<DatabaseLock> lock;
    bool readOnly = false;
    QString holder;
    const bool keepLock = m_lock && !target.isEmpty() && sameFile(target, m_lock->path());
    if (!keepLock && !target.isEmpty()) {
        lock = std::make_unique<DatabaseLock>();
        switch (lock->lock(target)) {
        case DatabaseLock::Locked:
            break;
        case DatabaseLock::HeldByOther: {
            holder = lock->holder();
            lock.reset();
            const QString question = tr("Another host has %1 open: %2.").arg(target, holder);
            if (reset) {
                log({ PageMessage::Critical, tr("%1 was not reset: %2").arg(shownPath(target), question), QString() });
                MKorvane::MsgBox(tr("The working copy was not reset.\n\n%1").arg(question), MKorvane::vbCritical,
                    tr("vqhost: database in use"));
                return false;
            }
            if (m_askWhenLocked) {
                QMessageBox box(
                    QMessageBox::Warning, tr("vqhost: database in use"), question, QMessageBox::Cancel, this);
                box.setObjectName(QStringLiteral("hostDatabaseInUse"));
                box.setInformativeText(tr("Open it read-only? You can look at it, but not save it."));
                QPushButton *readOnlyButton = box.addButton(tr("Open &read-only"), QMessageBox::AcceptRole);
                readOnlyButton->setObjectName(QStringLiteral("openReadOnly"));
                box.setDefaultButton(QMessageBox::Cancel);
                MKorvane::ShowModal(box);
                if (box.clickedButton() != readOnlyButton) {
                    log({ PageMessage::Warning, tr("%1 was not opened: %2").arg(shownPath(target), question),
                        QString() });
                    return false;
                }
            }
            readOnly = true;
            break;
        }
        case DatabaseLock::NotPossible:
            log({ PageMessage::Warning, tr("%1 is not locked: %2").arg(shownPath(target), lock->problem()),
                QString() });
            lock.reset();
            break;
        }
    }
    OpenResult opened;
    {
        MKorvane::BusyPointer busy;
        opened = openNetwork(path, reset);
    }
    if (!opened.network) {
        const QString where = opened.path.isEmpty() ? tr("(no file)") : opened.path;
        log({ PageMessage::Critical, tr("The database %1 was not loaded: %2").arg(shownPath(where), opened.error),
            QString() });
        MKorvane::MsgBox(tr("The network database cannot be loaded.\n\nFile: %1\n\n%2").arg(where, opened.error),
            MKorvane::vbCritical, tr("vqhost: database not loaded"));
        return false;
    }
    if (!keepLock)
        m_lock = std::move(lock);
    m_readOnly = readOnly;
    m_lockHolder = holder;
    m_stamp = opened.stamp;
    for (const auto &view : std::as_const(m_views))
        delete view;
    m_views.clear();
    delete m_page;
    m_network = opened.network;
    m_databasePath = opened.path;
    m_inputTypesDevice.clear();
    DeviceAccess::install(m_network->implementation());
    log(tr("Opened %1").arg(shownPath(m_databasePath)));
    if (m_readOnly)
        log({ PageMessage::Warning,
            tr("%1 is open read-only: another host has it open (%2).").arg(shownPath(m_databasePath), m_lockHolder),
            QString() });

    m_filling = true;
    m_language->clear();
    for (const QString &code : m_network->languages())
        m_language->addItem(code, code);
    m_language->setCurrentIndex(m_language->findData(m_network->language()));
    // The database's format locale is the measurement system it was last shown in.
    m_measurementSystem = m_network->formatLocale();
    m_units->setCurrentIndex(m_units->findData(int(m_measurementSystem)));
    m_filling = false;
    updateTitle();
    fillTree();
    return true;
}

void HostWindow::fillTree()
{
    m_filling = true;
    m_tree->clear();
    DeviceAccess::SystemPtr system = m_network->system();
    for (const QString &deviceName : m_network->deviceNames()) {
        QString problem;
        if (!MKorvane::CheckDeviceState(system, m_network->device(deviceName), problem))
            problem = problem.isEmpty() ? tr("The state of the device cannot be read.") : oneLine(problem);
        auto device = new QTreeWidgetItem(m_tree, { deviceName, problem.isEmpty() ? tr("ready") : problem });
        device->setData(0, NameRole, deviceName);
        device->setData(0, ProblemRole, problem);
        device->setToolTip(1, problem);
        if (!problem.isEmpty())
            device->setForeground(1, QColor(0xb0, 0, 0));
        for (const QString &blockName : m_network->blockNames(deviceName)) {
            auto input = new QTreeWidgetItem(device, { blockName });
            input->setData(0, NameRole, blockName);
            if (!problem.isEmpty()) {
                // Not choosable: the device cannot be configured now.
                input->setFlags(input->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
                input->setToolTip(0, tr("Cannot be chosen: %1").arg(problem));
            }
        }
    }
    m_tree->expandAll();
    fitNameColumn(m_tree);
    m_filling = false;
    if (m_tree->topLevelItemCount() > 0)
        m_tree->setCurrentItem(m_tree->topLevelItem(0)); // shows the first device and input
}

QTreeWidgetItem *HostWindow::deviceItem(const QString &deviceName) const
{
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        if (m_tree->topLevelItem(i)->text(0).compare(deviceName, Qt::CaseInsensitive) == 0)
            return m_tree->topLevelItem(i);
    }
    return nullptr;
}

QStringList HostWindow::deviceNames() const
{
    return m_network ? m_network->deviceNames() : QStringList();
}

QStringList HostWindow::inputNames() const
{
    QStringList names;
    if (const QTreeWidgetItem *device = deviceItem(currentDevice())) {
        for (int i = 0; i < device->childCount(); ++i)
            names << device->child(i)->text(0);
    }
    return names;
}

QString HostWindow::currentDevice() const
{
    const QTreeWidgetItem *item = m_tree->currentItem();
    return item ? (item->parent() ? item->parent() : item)->text(0) : QString();
}

QString HostWindow::currentInput() const
{
    const QTreeWidgetItem *item = m_tree->currentItem();
    return item && item->parent() ? item->text(0) : QString();
}

void HostWindow::onCurrentItemChanged(QTreeWidgetItem *current, QTreeWidgetItem *previous)
{
    if (m_filling || !current)
        return;
    if (!settlePendingEdits(tr("switch to %1").arg(current->text(0)))) {
        m_filling = true;
        m_tree->setCurrentItem(previous);
        m_filling = false;
        // The tree goes on with the click or key after this signal and selects the item the
        // user left; once it is done, the selection comes back to the input still shown.
        QMetaObject::invokeMethod(
            m_tree,
            [tree = m_tree] {
                if (QTreeWidgetItem *shown = tree->currentItem())
                    tree->setCurrentItem(shown, 0, QItemSelectionModel::ClearAndSelect);
            },
            Qt::QueuedConnection);
        return;
    }
    showItem(current);
}

void HostWindow::showItem(QTreeWidgetItem *item)
{
    QTreeWidgetItem *device = isDevice(item) ? item : item->parent();
    m_deviceProblem = device->data(0, ProblemRole).toString();
    const QString deviceName = device->text(0);
    updateDeviceState();
    loadInputTypes(deviceName);
    if (isDevice(item))
        showDevice(item);
    else
        showInput();
}

void HostWindow::updateDeviceState()
{
    const QString deviceName = currentDevice();
    if (!m_network || deviceName.isEmpty())
        return;
    m_deviceState->setText(m_deviceProblem.isEmpty()
            ? tr("%1: program ID %2, scope %3")
                  .arg(deviceName, m_network->programId(deviceName))
                  .arg(m_network->scope(deviceName))
            : tr("%1 cannot be configured now: %2").arg(deviceName, m_deviceProblem));
    m_deviceState->setStyleSheet(m_deviceProblem.isEmpty() ? QString() : QStringLiteral("color: #b00000;"));
}

void HostWindow::showDevice(QTreeWidgetItem *device)
{
    if (m_deviceProblem.isEmpty() && device->childCount() > 0) {
        m_filling = true;
        m_tree->setCurrentItem(device->child(0));
        m_filling = false;
        showInput();
        return;
    }
    delete m_page;
    m_buttons->setEnabled(false);
    m_secondView->setEnabled(false);
    m_watch->setEnabled(false);
    updateViews();
    updateDefaultsOffer();
    m_placeholder->setText(m_deviceProblem.isEmpty()
            ? tr("This device has no hardware inputs.")
            : tr("This device cannot be configured now:\n%1").arg(m_deviceProblem));
    m_placeholder->show();
    if (!m_deviceProblem.isEmpty()) {
        log({ PageMessage::Warning, tr("%1 cannot be configured now: %2").arg(device->text(0), m_deviceProblem),
            QString() });
        statusBar()->showMessage(tr("%1 cannot be configured").arg(device->text(0)));
    }
    updateModified();
}

bool HostWindow::selectDevice(const QString &deviceName)
{
    QTreeWidgetItem *device = deviceItem(deviceName);
    if (!device)
        return false;
    if (m_tree->currentItem() == device || (m_tree->currentItem() && m_tree->currentItem()->parent() == device))
        return true;
    m_tree->setCurrentItem(device);
    return currentDevice() == device->text(0);
}

bool HostWindow::selectInput(const QString &deviceName, const QString &blockName)
{
    QTreeWidgetItem *device = deviceItem(deviceName);
    if (!device)
        return false;
    for (int i = 0; i < device->childCount(); ++i) {
        QTreeWidgetItem *input = device->child(i);
        if (input->text(0).compare(blockName, Qt::CaseInsensitive) != 0)
            continue;
        if (!(input->flags() & Qt::ItemIsEnabled))
            return false;
        if (m_tree->currentItem() != input)
            m_tree->setCurrentItem(input);
        else if (!m_page)
            showItem(input);
        return m_tree->currentItem() == input;
    }
    return false;
}

void HostWindow::showInput()
{
    delete m_page;
    const InputRef input { currentDevice(), currentInput() };
    if (!m_network || !m_deviceProblem.isEmpty() || input.block.isEmpty()) {
        m_buttons->setEnabled(false);
        m_secondView->setEnabled(false);
        m_watch->setEnabled(false);
        m_placeholder->show();
        updateViews();
        updateDefaultsOffer();
        updateDeviations();
        updateModified();
        return;
    }
    m_page = new InputPage(m_pageArea);
    m_page->setObjectName(QStringLiteral("hostInputPage"));
    m_placeholder->hide();
    m_pageLayout->insertWidget(0, m_page, 0, Qt::AlignLeft | Qt::AlignTop);
    m_page->show();
    // Watching ends with the page: another input, another database, the window closing.
    connect(m_page, &QObject::destroyed, m_trend, &LiveTrend::stop);
    connect(m_page, &InputPage::message, this, qOverload<const PageMessage &>(&HostWindow::log));
    connect(m_page, &InputPage::edited, this, &HostWindow::updateModified);
    connect(m_page, &InputPage::setpointOffsetChanged, this, [this](bool on) {
        for (const auto &view : std::as_const(m_views)) {
            if (view && m_page && view->input() == m_page->input())
                view->setSetpointOffset(on);
        }
    });
    relayOverride(m_page->networkControl());
    m_buttons->setEnabled(true);
    m_secondView->setEnabled(true);
    m_watch->setEnabled(true);
    if (m_page->open(*m_network, input, m_choice->currentData().toString(), m_measurementSystem))
        statusBar()->showMessage(tr("%1 / %2").arg(input.device, input.block));
    rememberShownTexts();
    updateViews();
    updateDefaultsOffer();
    updateDeviations();
    updateModified();
}

NetworkView *HostWindow::openSecondView()
{
    if (!m_page)
        return nullptr;
    auto view = new NetworkView(this);
    view->setObjectName(QStringLiteral("hostSecondView%1").arg(m_views.size()));
    m_views.append(view);
    connect(view, &NetworkView::message, this, qOverload<const PageMessage &>(&HostWindow::log));
    relayOverride(view->control());
    view->open(*m_network, m_page->input(), m_measurementSystem, m_page->setpointOffset());
    view->show();
    return view;
}

void HostWindow::updateViews()
{
    // Second views follow the window: each shows the input shown, as the device holds it
    // now. Without an input they take no edit (it would reach no page) and say why.
    m_views.removeAll(nullptr);
    for (const auto &view : std::as_const(m_views)) {
        if (m_page)
            view->open(*m_network, m_page->input(), m_measurementSystem, m_page->setpointOffset());
        else
            view->suspend(tr("The main window shows no input of %1. This view shows the next input chosen there.")
                              .arg(currentDevice()));
    }
}

QList<ctlSensorNV *> HostWindow::networkControlsOf(const InputRef &input) const
{
    QList<ctlSensorNV *> controls;
    if (m_page && m_page->input() == input)
        controls << m_page->networkControl();
    for (const auto &view : m_views) {
        if (view && view->input() == input)
            controls << view->control();
    }
    return controls;
}

void HostWindow::relayOverride(ctlSensorNV *source)
{
    // A new override in one view of the input goes to every other view of it; theirs
    // raise no event back while they take it. The input is the one the source shows now,
    // since second views follow the window from input to input.
    connect(source, &ctlSensorNV::ValueChangeEvent, this,
        [this, source](const QString &NewValue, qint16 ClassId, const QString &ObjectName) {
            InputRef input;
            if (m_page && m_page->networkControl() == source)
                input = m_page->input();
            for (const auto &view : std::as_const(m_views)) {
                if (view && view->control() == source)
                    input = view->input();
            }
            for (ctlSensorNV *other : networkControlsOf(input)) {
                if (other != source)
                    other->ValueChange(NewValue, ClassId, ObjectName);
            }
            updateModified();
        });
}

bool HostWindow::settlePendingEdits(const QString &what)
{
    if (!m_page || !m_page->valueChanged())
        return true;
    switch (askUnsaved(this, what)) {
    case UnsavedAnswer::Write:
        return apply();
    case UnsavedAnswer::Discard:
        log(tr("%1: changes discarded.").arg(m_page->input().block));
        return true;
    case UnsavedAnswer::Stay:
        break;
    }
    return false;
}

bool HostWindow::accept()
{
    if (!apply())
        return false;
    close();
    return true;
}

bool HostWindow::apply()
{
    if (!m_page)
        return false;
    m_lastWrite = PageOutcome();
    const PageOutcome outcome = m_page->write();
    const QString input = m_page->input().block;
    if (!outcome.anythingWritten()) {
        log(tr("%1: nothing to write.").arg(input));
        return true;
    }
    m_lastWrite = outcome;
    const auto report = [&](const QString &side, const ControlOutcome &one) {
        const bool bad = one.state == ControlOutcome::NotWritten || !one.mismatches().isEmpty();
        log({ bad ? PageMessage::Critical : PageMessage::Information, tr("%1, %2: %3").arg(input, side, one.text()),
            QString() });
    };
    report(tr("hardware side"), outcome.hardware);
    report(tr("network side"), outcome.network);
    // The text fields written, as typed: a reload after another writer's change types them again.
    m_applyEdits.clear();
    for (const ControlOutcome *side : { &outcome.hardware, &outcome.network }) {
        for (const ReadBackItem &item : side->readBack) {
            const QLineEdit *field = textField(m_page, item.field);
            const bool listed = std::any_of(m_applyEdits.cbegin(), m_applyEdits.cend(),
                [&item](const FieldText &one) { return one.name == item.field; });
            // Only what the user changed: a control also writes fields that go with an edit.
            const bool edited = field
                && std::none_of(m_shownTexts.cbegin(), m_shownTexts.cend(),
                    [&](const FieldText &one) { return one.name == item.field && one.text == field->text(); });
            if (edited && !listed)
                m_applyEdits.append({ item.field, item.caption, field->text() });
        }
    }
    // What reached the device is saved, even when a control did not write everything.
    const bool saved = save();
    m_applyEdits.clear();
    if (!saved)
        return false;
    if (outcome.failed()) {
        statusBar()->showMessage(tr("%1: not everything was written; the edits are kept.").arg(input));
        updateModified();
        return false;
    }
    showInput(); // fresh controls show what the device holds now
    if (!outcome.verified()) {
        statusBar()->showMessage(tr("%1: written, but the device reports other values than were sent.").arg(input));
        return false;
    }
    return true;
}

void HostWindow::loadInputTypes(const QString &deviceName)
{
    if (deviceName == m_inputTypesDevice)
        return;
    m_inputTypesDevice = deviceName;
    m_inputTypesProblem.clear();
    QString errMsg;
    MKorvane::BusyPointer busy;
    if (!m_deviceProblem.isEmpty()
        || !m_inputTypes.load(m_databasePath, m_network->programId(deviceName), m_network->scope(deviceName), errMsg))
        m_inputTypesProblem = oneLine(errMsg);
    else if (!errMsg.isEmpty()) // loaded, with sections that could not be read
        log({ PageMessage::Warning, tr("%1: not every input type has its defaults").arg(deviceName), errMsg });
    m_inputType->clear();
    if (m_inputTypesProblem.isEmpty())
        m_inputType->addItems(m_inputTypes.names());
    updateDefaultsOffer();
}

void HostWindow::updateDefaultsOffer()
{
    const bool offered = m_page && m_inputType->count() > 0;
    m_inputType->setEnabled(offered);
    m_applyDefaults->setEnabled(offered);
    m_markDeviations->setEnabled(offered);
    m_saveAsType->setEnabled(m_page);
    m_copyToInputs->setEnabled(m_page);
    const QString why = m_inputTypesProblem.isEmpty()
        ? tr("The defaults come from %1").arg(shownPath(m_inputTypes.defaultsFile()))
        : tr("No input-type defaults for this device: %1").arg(m_inputTypesProblem);
    m_inputType->setToolTip(tr("The input types of the device. %1").arg(why));
    m_applyDefaults->setToolTip(tr("Write the chosen input type's defaults to both sides of the input. %1").arg(why));
}

bool HostWindow::applyDefaults(const QString &type)
{
    const QString chosen = type.isEmpty() ? m_inputType->currentText() : type;
    if (!m_page || chosen.isEmpty() || !settlePendingEdits(tr("apply the defaults of %1").arg(chosen)))
        return false;
    return writeDefaults(chosen);
}

bool HostWindow::askApplyDefaults(const QString &type)
{
    const QString chosen = type.isEmpty() ? m_inputType->currentText() : type;
    if (!m_page || chosen.isEmpty() || !settlePendingEdits(tr("apply the defaults of %1").arg(chosen)))
        return false;
    const InputRef input = m_page->input();
    PreviewResult changes;
    {
        MKorvane::BusyPointer busy;
        changes = previewDefaults(*m_network, m_inputTypes, input, chosen);
    }
    const QString title = tr("vqhost: apply defaults");
    bool done = false;
    if (!changes.error.isEmpty()) {
        log({ PageMessage::Critical, tr("%1: the defaults of %2 cannot be applied.").arg(input.block, chosen),
            changes.error });
        MKorvane::MsgBox(
            tr("The defaults of %1 cannot be applied to %2.\n\n%3").arg(chosen, input.block, changes.error),
            MKorvane::vbCritical, title);
    } else if (changes.rows.isEmpty()) {
        log(tr("%1: the defaults of %2 would change nothing; nothing was written.").arg(input.block, chosen));
        MKorvane::MsgBox(
            tr("The defaults of %1 would change nothing on %2; nothing was written.").arg(chosen, input.block),
            MKorvane::vbInformation, title);
        done = true;
    } else if (confirmDefaults(changes, chosen, input.block, this)) {
        return writeDefaults(chosen);
    } else {
        log(tr("%1: the defaults of %2 were not applied.").arg(input.block, chosen));
    }
    if (m_page && m_page->valueChanged())
        showInput(); // edits the user chose to discard go now
    return done;
}

bool HostWindow::writeDefaults(const QString &chosen)
{
    const InputRef input = m_page->input();
    QString errMsg;
    bool written = false;
    {
        MKorvane::BusyPointer busy;
        const FormatLocaleScope si(*m_network, MEASUREMENT_SYSTEM_SI); // the file's values are SI
        written = m_inputTypes.apply(m_network->block(input.device, input.block), chosen, errMsg);
    }
    // The class reports each property it could not write and goes on with the others.
    const bool complete = written && errMsg.isEmpty();
    log({ complete ? PageMessage::Information : PageMessage::Critical,
        complete ? tr("%1: the defaults of %2 were written.").arg(input.block, chosen)
                 : tr("%1: the defaults of %2 were not all written.").arg(input.block, chosen),
        errMsg });
    // Whatever reached the device is saved, also when some properties failed (as Apply does).
    const bool saved = save();
    showInput(); // both sides show what the device holds now
    return complete && saved;
}

void HostWindow::setMarkDeviations(bool on)
{
    m_markDeviations->setChecked(on); // toggled() updates the marks
    updateDeviations();
}

void HostWindow::updateDeviations()
{
    if (!m_page || !m_markDeviations->isChecked() || !m_markDeviations->isEnabled()) {
        m_deviations->clear();
        return;
    }
    const QString type = m_inputType->currentText();
    if (!m_deviations->show(
            m_page, *m_network, m_inputTypes, type, m_choice->currentData().toString(), m_measurementSystem))
        log({ PageMessage::Warning,
            tr("%1: no deviations to mark: %2").arg(m_page->input().block, m_deviations->problem()), QString() });
}

PreviewResult HostWindow::preview()
{
    PreviewResult result;
    if (!m_page) {
        result.error = tr("No input is shown.");
        return result;
    }
    {
        MKorvane::BusyPointer busy;
        result = previewWrites(*m_network, *m_page);
    }
    int failing = 0;
    for (const PreviewRow &row : std::as_const(result.rows))
        failing += row.failed ? 1 : 0;
    const QString input = m_page->input().block;
    log({ result.failed() ? PageMessage::Warning : PageMessage::Information,
        tr("%1: preview: %n change(s)", nullptr, int(result.rows.size()) - failing).arg(input)
            + (failing > 0 ? tr(", %n failing", nullptr, failing) : QString()),
        result.messages.join(QLatin1Char('\n')) });
    if (!result.controlsKept)
        log({ PageMessage::Warning, tr("%1: the controls changed during the preview.").arg(input), QString() });
    PreviewDialog dialog(result, input, this);
    MKorvane::ShowModal(dialog);
    return result;
}

bool HostWindow::saveAsInputType()
{
    if (!m_page || !settlePendingEdits(tr("save the configuration as an input type")))
        return false;
    const InputRef input = m_page->input();
    QString error;
    const QStringList types = inputTypeNames(m_network->programId(input.device), m_network->scope(input.device), error);
    if (types.isEmpty()) {
        log({ PageMessage::Critical, tr("%1: the configuration cannot be saved as an input type.").arg(input.block),
            error });
        return false;
    }
    const QString file = QFileInfo(InputTypes::pluginFolder(m_databasePath)).absolutePath()
        + QStringLiteral("/CommonFiles/InputDefaultValues.ini");
    SaveAsInputTypeDialog dialog(input, types, file, this);
    dialog.setInputType(m_inputType->currentText());
    if (MKorvane::ShowModal(dialog) != QDialog::Accepted)
        return false;
    return saveAsInputType(dialog.inputType(), dialog.file());
}

bool HostWindow::saveAsInputType(const QString &type, const QString &file)
{
    if (!m_page)
        return false;
    const InputRef input = m_page->input();
    QString error;
    bool saved = false;
    {
        MKorvane::BusyPointer busy;
        saved = Host::saveAsInputType(*m_network, input, type, file, error);
    }
    if (!saved) {
        log({ PageMessage::Critical, tr("%1: not saved as input type %2.").arg(input.block, type), error });
        MKorvane::MsgBox(
            tr("The configuration of %1 was not saved as input type %2.\n\n%3").arg(input.block, type, error),
            MKorvane::vbCritical, tr("vqhost: not saved"));
        return false;
    }
    log(tr("%1: saved as input type %2 in %3").arg(input.block, type, shownPath(file)));
    // The device's input types now offer what was saved when it went into this database's file.
    m_inputTypesDevice.clear();
    loadInputTypes(input.device);
    m_inputType->setCurrentIndex(m_inputType->findText(type, Qt::MatchFixedString));
    return true;
}

bool HostWindow::copyToInputs()
{
    if (!m_page || !settlePendingEdits(tr("copy the configuration")))
        return false;
    CopyToInputsDialog dialog(*m_network, m_page->input(), this);
    if (MKorvane::ShowModal(dialog) != QDialog::Accepted || dialog.ticked().isEmpty())
        return false;
    return copyToInputs(dialog.ticked()).succeeded();
}

CopySummary HostWindow::copyToInputs(const QVector<InputRef> &targets)
{
    if (!m_page)
        return CopySummary();
    const InputRef source = m_page->input();
    CopySummary summary;
    {
        MKorvane::BusyPointer busy;
        summary = copyConfiguration(*m_network, source, targets, false);
    }
    // What reached the devices is saved once, also when a target failed.
    if (summary.error.isEmpty()) {
        summary.saveWanted = true;
        summary.saved = save();
    }
    const QString headline = tr("%1: configuration copied to %2 of %3 inputs.")
                                 .arg(source.block)
                                 .arg(summary.writtenCount())
                                 .arg(summary.targets.size());
    log({ summary.succeeded() ? PageMessage::Information : PageMessage::Critical, headline, summary.text() });
    MKorvane::MsgBox(summary.text(), summary.succeeded() ? MKorvane::vbInformation : MKorvane::vbCritical,
        tr("vqhost: copy to inputs"));
    return summary;
}

bool HostWindow::save()
{
    return saveDatabase();
}

bool HostWindow::saveDatabase(const QString &path, QString *error)
{
    QString reason;
    bool saved = false;
    if (!m_network) {
        reason = tr("No database is open.");
    } else if (!path.isEmpty() && !sameFile(path, m_databasePath)) {
        // A copy: the window goes on with its database. A file another host has open is left alone.
        DatabaseLock lock;
        if (lock.lock(path) == DatabaseLock::HeldByOther) {
            reason = tr("%1: another host has it open (%2); not saved.").arg(path, lock.holder());
        } else {
            try {
                Sim::writeDatabaseFile(path, m_network->toJson());
                saved = true;
            } catch (const Sim::LoadError &failure) {
                reason = failure.message();
            }
        }
    } else if (m_readOnly) {
        reason
            = tr("%1 is open read-only: another host has it open (%2); not saved.").arg(m_databasePath, m_lockHolder);
        ++m_savesFailed;
        log({ PageMessage::Critical, reason, QString() });
        MKorvane::MsgBox(reason, MKorvane::vbCritical, tr("vqhost: not saved"));
    } else {
        const DatabaseStamp now = DatabaseStamp::ofFile(m_databasePath);
        ChangedAnswer answer = ChangedAnswer::Overwrite;
        if (!now.sameContent(m_stamp))
            answer = askChanged(now);
        switch (answer) {
        case ChangedAnswer::Overwrite:
            saved = writeDatabase(m_databasePath, reason);
            break;
        case ChangedAnswer::SaveAs:
            saved = saveAs(reason);
            break;
        case ChangedAnswer::Reload:
        case ChangedAnswer::Cancel:
            reason = tr("%1 was changed by another program since it was opened; not saved.").arg(m_databasePath);
            ++m_savesFailed;
            log({ PageMessage::Critical, reason, QString() });
            updateModified();
            // Later, when whatever asked for the save is over (it may hold the page shown).
            if (answer == ChangedAnswer::Reload) {
                m_editsToKeep = m_applyEdits;
                QTimer::singleShot(0, this, &HostWindow::reloadChanged);
            }
            break;
        }
    }
    if (error)
        *error = reason;
    return saved;
}

HostWindow::ChangedAnswer HostWindow::askChanged(const DatabaseStamp &now)
{
    const QString text = now.isNull()
        ? tr("%1 cannot be read now: %2").arg(m_databasePath, now.why())
        : tr("%1 was changed by another program since it was opened.").arg(m_databasePath);
    QMessageBox box(QMessageBox::Warning, tr("vqhost: file changed"), text, QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("hostFileChanged"));
    box.setInformativeText(tr("Reload: show the file as it is now; your edits on this page come back where the other "
                              "program left those fields alone.\n"
                              "Overwrite: replace it with your version.\n"
                              "Save as: keep both, yours under another name."));
    const auto add = [&box](const QString &text, const char *name) {
        QPushButton *button = box.addButton(text, QMessageBox::AcceptRole);
        button->setObjectName(QLatin1String(name));
        return button;
    };
    QPushButton *reload = add(tr("&Reload"), "changedReload");
    QPushButton *overwrite = add(tr("&Overwrite"), "changedOverwrite");
    QPushButton *saveAs = add(tr("Save &as..."), "changedSaveAs");
    box.setDefaultButton(QMessageBox::Cancel);
    MKorvane::ShowModal(box);
    const QAbstractButton *clicked = box.clickedButton();
    return clicked == reload   ? ChangedAnswer::Reload
        : clicked == overwrite ? ChangedAnswer::Overwrite
        : clicked == saveAs    ? ChangedAnswer::SaveAs
                               : ChangedAnswer::Cancel;
}

bool HostWindow::saveAs(QString &reason)
{
    QFileDialog dialog(
        this, tr("Save the database as"), QFileInfo(m_databasePath).absolutePath(), tr("Network databases (*.json)"));
    dialog.setObjectName(QStringLiteral("hostSaveDatabaseAs"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("json"));
    const QStringList chosen
        = MKorvane::ShowModal(dialog) == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
    if (chosen.isEmpty()) {
        reason = tr("%1 was changed by another program since it was opened; not saved.").arg(m_databasePath);
        ++m_savesFailed;
        log({ PageMessage::Critical, reason, QString() });
        return false;
    }
    const QString target = chosen.first();
    if (sameFile(target, m_databasePath))
        return writeDatabase(m_databasePath, reason);
    auto lock = std::make_unique<DatabaseLock>();
    if (lock->lock(target) == DatabaseLock::HeldByOther) {
        reason = tr("%1: another host has it open (%2); not saved.").arg(target, lock->holder());
        ++m_savesFailed;
        log({ PageMessage::Critical, reason, QString() });
        MKorvane::MsgBox(reason, MKorvane::vbCritical, tr("vqhost: not saved"));
        return false;
    }
    if (!lock->isLocked())
        lock.reset();
    const QString previous = m_databasePath;
    if (!writeDatabase(target, reason))
        return false;
    // The window works on the new file from now on.
    m_lock = std::move(lock);
    m_databasePath = target;
    m_stamp = DatabaseStamp::ofBytes(target, m_network->toJson());
    log(tr("%1 stays as the other program left it; the window now works on %2.")
            .arg(shownPath(previous), shownPath(target)));
    updateTitle();
    return true;
}

bool HostWindow::writeDatabase(const QString &path, QString &reason)
{
    const QByteArray text = m_network->toJson();
    try {
        Sim::writeDatabaseFile(path, text);
    } catch (const Sim::LoadError &error) {
        reason = error.message();
        ++m_savesFailed;
        log({ PageMessage::Critical, tr("The database was not saved; the edits are kept: %1").arg(error.message()),
            QString() });
        MKorvane::MsgBox(tr("The network database cannot be saved.\n\n%1").arg(error.message()), MKorvane::vbCritical,
            tr("vqhost: not saved"));
        updateModified();
        return false;
    }
    m_stamp = DatabaseStamp::ofBytes(path, text);
    ++m_savesDone;
    log(tr("Saved %1").arg(shownPath(path)));
    return true;
}

void HostWindow::reloadChanged()
{
    const InputRef shown { currentDevice(), currentInput() };
    const QVector<FieldText> shownBefore = m_shownTexts;
    const QVector<FieldText> edits = std::exchange(m_editsToKeep, {});
    if (!loadFile(m_databasePath, false))
        return;
    if (shown.block.isEmpty() || edits.isEmpty()) {
        log({ PageMessage::Warning,
            tr("Reloaded %1 as the other program left it; your changes since the last save were dropped.")
                .arg(shownPath(m_databasePath)),
            QString() });
        if (!shown.block.isEmpty())
            selectInput(shown.device, shown.block);
        return;
    }
    log({ PageMessage::Warning, tr("Reloaded %1 as the other program left it.").arg(shownPath(m_databasePath)),
        QString() });
    const bool sameInput = selectInput(shown.device, shown.block);
    // An edit applies still where the other program left the field as the host had shown it.
    QStringList kept;
    QStringList dropped;
    for (const FieldText &edit : edits) {
        QLineEdit *field = sameInput ? textField(m_page, edit.name) : nullptr;
        const auto before = std::find_if(
            shownBefore.cbegin(), shownBefore.cend(), [&edit](const FieldText &one) { return one.name == edit.name; });
        if (field && field->isEnabled() && !field->isReadOnly() && before != shownBefore.cend()
            && before->text == field->text()) {
            field->setText(edit.text); // as typing would: the control sees an edit
            kept << edit.caption;
        } else {
            dropped << edit.caption;
        }
    }
    if (!kept.isEmpty())
        log(tr("%1: your edits are back in the fields, not written yet: %2")
                .arg(shown.block, kept.join(QStringLiteral(", "))));
    if (!dropped.isEmpty())
        log({ PageMessage::Warning,
            tr("%1: edits not kept, as the other program changed the same fields: %2")
                .arg(shown.block, dropped.join(QStringLiteral(", "))),
            QString() });
    updateModified();
}

void HostWindow::rememberShownTexts()
{
    m_shownTexts.clear();
    if (!m_page)
        return;
    for (const QLineEdit *field : m_page->findChildren<QLineEdit *>()) {
        if (!field->objectName().isEmpty())
            m_shownTexts.append({ field->objectName(), QString(), field->text() });
    }
}

void HostWindow::discard()
{
    if (!m_page)
        return;
    if (m_page->valueChanged())
        log(tr("%1: changes discarded.").arg(currentInput()));
    showInput(); // fresh controls read the device again
}

void HostWindow::closeEvent(QCloseEvent *event)
{
    if (settlePendingEdits(tr("quit")))
        event->accept();
    else
        event->ignore();
}

bool HostWindow::setMeasurementSystem(qint16 measurementSystem)
{
    if (measurementSystem != m_measurementSystem && !settlePendingEdits(tr("switch the units")))
        return false;
    if (measurementSystem != m_measurementSystem)
        setWatching(false); // the trend's readings are in the old units
    m_measurementSystem = measurementSystem;
    const int index = m_units->findData(int(measurementSystem));
    if (index != m_units->currentIndex()) {
        QSignalBlocker blocker(m_units);
        m_units->setCurrentIndex(index);
    }
    // Values that the controls read in their default format follow the database's locale,
    // as a network database shown in US units does.
    if (m_network)
        m_network->setFormatLocale(measurementSystem);
    if (m_page) {
        m_page->setMesureUnit(measurementSystem); // re-reads every value in the new units
        rememberShownTexts();
    }
    for (const auto &view : std::as_const(m_views)) {
        if (view)
            view->setMesureUnit(measurementSystem);
    }
    updateDeviations(); // the defaults in the new units
    updateModified();
    return true;
}

void HostWindow::setLanguage(const QString &code)
{
    if (!m_network)
        return;
    m_network->setLanguage(code);
    m_translator.switchTo(code);
    retranslate(); // at once; Qt's LanguageChange event comes later
    const int index = m_language->findData(code);
    if (index >= 0 && index != m_language->currentIndex()) {
        QSignalBlocker blocker(m_language);
        m_language->setCurrentIndex(index);
    }
    if (m_page)
        m_page->reInitializeStrings();
    for (const auto &view : std::as_const(m_views)) {
        if (view)
            view->reInitializeStrings();
    }
    updateDeviations(); // lists and tool tips in the new language
    log(tr("Language: %1").arg(code));
}

ctlSensorHardware *HostWindow::hardwareControl() const
{
    return m_page ? m_page->hardwareControl() : nullptr;
}

ctlSensorNV *HostWindow::networkControl() const
{
    return m_page ? m_page->networkControl() : nullptr;
}

QString HostWindow::logText() const
{
    QStringList lines;
    for (int i = 0; i < m_log->count(); ++i)
        lines << m_log->item(i)->text();
    return lines.join(QLatin1Char('\n'));
}

void HostWindow::log(const PageMessage &message)
{
    static const QStyle::StandardPixmap icons[]
        = { QStyle::SP_MessageBoxInformation, QStyle::SP_MessageBoxWarning, QStyle::SP_MessageBoxCritical };
    const QString time = m_reproducible ? QString() : QTime::currentTime().toString(QStringLiteral("HH:mm:ss "));
    auto item = new QListWidgetItem(style()->standardIcon(icons[message.severity]), time + message.headline, m_log);
    item->setData(Qt::UserRole, int(message.severity));
    item->setToolTip(
        message.detail.isEmpty() ? message.headline : message.headline + QLatin1Char('\n') + message.detail);
    while (m_log->count() > 2000)
        delete m_log->takeItem(0);
    m_log->scrollToBottom();
}

QString HostWindow::shownPath(const QString &path) const
{
    return m_reproducible ? QFileInfo(path).fileName() : path;
}

void HostWindow::chooseDatabase()
{
    // A dialog of our own rather than the static function: it runs through the modal seam.
    QFileDialog dialog(
        this, tr("Open network database"), QFileInfo(m_databasePath).absolutePath(), tr("Network databases (*.json)"));
    dialog.setObjectName(QStringLiteral("hostOpenDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (MKorvane::ShowModal(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        openDatabase(dialog.selectedFiles().constFirst());
}

void HostWindow::updateModified()
{
    setWindowModified(m_page && m_page->valueChanged());
}

void HostWindow::updateTitle()
{
    const QString file = QFileInfo(m_databasePath).fileName();
    setWindowTitle(m_databasePath.isEmpty() ? tr("vqhost[*]")
            : m_readOnly                    ? tr("vqhost - %1 (read-only)[*]").arg(file)
                                            : tr("vqhost - %1[*]").arg(file));
    statusBar()->showMessage(shownPath(m_databasePath)); // pictures for the documentation show no machine's folders
}

} // namespace Host
