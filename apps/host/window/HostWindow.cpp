// SPDX-License-Identifier: MIT
// The host's main window.
#include "HostWindow.h"

#include "DeviceTree.h"
#include "MessagesPane.h"
#include "SessionController.h"
#include "UnsavedQuestion.h"
#include "device/sim/SimNetwork.h"
#include "inputtypes/DefaultsController.h"
#include "page/PageController.h"
#include "preview/PreviewController.h"
#include "shared/MKorvane.h"
#include "watch/LiveTrend.h"
#include "watch/WatchController.h"
#include "window/ThemeColors.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QVBoxLayout>

namespace Host {

namespace {

// The interpretation offers a host can ask the control for; "" offers every one.
const QStringList choices = { QString(), QStringLiteral("2"), QStringLiteral("2,3,6"), QStringLiteral("2,3,7"),
    QStringLiteral("2,3"), QStringLiteral("2,4"), QStringLiteral("4") };

} // namespace

HostWindow::HostWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_session(std::make_unique<SessionController>(*this))
    , m_pages(new PageController(*this))
    , m_defaults(new DefaultsController(*this))
    , m_points(new PointsController(*this))
{
    buildUi();
    buildMenus();
    retranslate();
    MKorvane::GuardWheel(this); // the input page's controls guard their own lists
}

HostWindow::~HostWindow()
{
    // The controls hold device objects of the network; let them go first.
    m_pages->closeAll();
}

void HostWindow::buildMenus()
{
    m_fileMenu = menuBar()->addMenu(QString());
    m_openAction
        = m_fileMenu->addAction(QString(), QKeySequence::Open, m_session.get(), &SessionController::chooseDatabase);
    m_reloadAction = m_fileMenu->addAction(QString(), QKeySequence::Refresh, this, &HostWindow::reloadDatabase);
    m_fileMenu->addSeparator();
    m_quitAction = m_fileMenu->addAction(QString(), QKeySequence::Quit, this, &QWidget::close);
    m_points->addActions(m_fileMenu, menuBar());
    m_viewMenu = menuBar()->addMenu(QString());
    m_secondViewAction = m_viewMenu->addAction(QString(), m_pages, &PageController::openSecondView);
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
    // The tree and the messages have no caption beside them: named by their frame's and pane's titles.
    m_tree->setAccessibleName(m_chooser->title());
    m_tree->retranslate();
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
    m_defaults->retranslate(m_form);
    updateDeviceState();
    m_pages->retranslate();
    m_watching->retranslate();
    m_previews->retranslate();
    m_points->retranslate();
    m_messagesDock->setWindowTitle(tr("Messages"));
    m_log->setAccessibleName(m_messagesDock->windowTitle());
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
    m_tree = new DeviceTree(chooser);
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
    m_defaults->build(chooser, form);
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
    enablePageButtons(false);
    buttonRow->addWidget(m_buttons, 1);
    right->addLayout(buttonRow);
    columns->addLayout(right, 1);
    setCentralWidget(central);

    m_log = new MessagesPane(this);
    m_log->setObjectName(QStringLiteral("hostLog"));
    m_messagesDock = m_log->dockInto(this);

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
    m_pages->takeButtons(m_buttons, m_secondView);
    m_previews = new PreviewController(*this, m_preview);
    m_watching = new WatchController(*this, m_watch, m_trend);
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

bool HostWindow::reloadDatabase()
{
    return m_session->reload();
}

bool HostWindow::loadDatabase(const QString &path, bool reset, const QString &what)
{
    if (!settlePendingEdits(what))
        return false;
    return m_session->loadFile(path, reset);
}

void HostWindow::showDatabase()
{
    m_filling = true;
    m_language->clear();
    for (const QString &code : network()->languages())
        m_language->addItem(code, code);
    m_language->setCurrentIndex(m_language->findData(network()->language()));
    // The database's format locale is the measurement system it was last shown in.
    m_measurementSystem = network()->formatLocale();
    m_units->setCurrentIndex(m_units->findData(int(m_measurementSystem)));
    m_filling = false;
    updateTitle();
    fillTree();
}

void HostWindow::fillTree()
{
    m_filling = true;
    m_tree->fill(*network());
    m_filling = false;
    if (m_tree->topLevelItemCount() > 0)
        m_tree->setCurrentItem(m_tree->topLevelItem(0)); // shows the first device and input
}

void HostWindow::onCurrentItemChanged(QTreeWidgetItem *current, QTreeWidgetItem *previous)
{
    if (m_filling || !current)
        return;
    if (!settlePendingEdits(tr("switch to %1").arg(current->text(0)))) {
        m_filling = true;
        m_tree->stayOn(previous);
        m_filling = false;
        return;
    }
    showItem(current);
}

void HostWindow::showItem(QTreeWidgetItem *item)
{
    QTreeWidgetItem *device = DeviceTree::isDevice(item) ? item : item->parent();
    m_deviceProblem = DeviceTree::problemOf(device);
    const QString deviceName = device->text(0);
    updateDeviceState();
    m_defaults->loadInputTypes(deviceName);
    if (DeviceTree::isDevice(item))
        showDevice(item);
    else
        showInput();
}

void HostWindow::updateDeviceState()
{
    const QString deviceName = currentDevice();
    if (!network() || deviceName.isEmpty())
        return;
    m_deviceState->setText(m_deviceProblem.isEmpty()
            ? tr("%1: program ID %2, scope %3")
                  .arg(deviceName, network()->programId(deviceName))
                  .arg(network()->scope(deviceName))
            : tr("%1 cannot be configured now: %2").arg(deviceName, m_deviceProblem));
    // A problem in a red readable on the theme's window; otherwise the label inherits its colours.
    QPalette statePalette;
    if (!m_deviceProblem.isEmpty()) {
        statePalette = m_chooser->palette();
        statePalette.setColor(QPalette::WindowText, problemColor(statePalette, QPalette::Window));
    }
    m_deviceState->setPalette(statePalette);
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
    enablePageButtons(false);
    m_pages->updateViews();
    m_defaults->updateDefaultsOffer();
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
    QTreeWidgetItem *device = m_tree->deviceItem(deviceName);
    if (!device)
        return false;
    if (m_tree->currentItem() == device || (m_tree->currentItem() && m_tree->currentItem()->parent() == device))
        return true;
    m_tree->setCurrentItem(device);
    return currentDevice() == device->text(0);
}

bool HostWindow::selectInput(const QString &deviceName, const QString &blockName)
{
    QTreeWidgetItem *device = m_tree->deviceItem(deviceName);
    if (!device)
        return false;
    QTreeWidgetItem *input = m_tree->inputItem(device, blockName);
    if (!input || !(input->flags() & Qt::ItemIsEnabled))
        return false;
    if (m_tree->currentItem() != input)
        m_tree->setCurrentItem(input);
    else if (!m_page)
        showItem(input);
    return m_tree->currentItem() == input;
}

void HostWindow::enablePageButtons(bool on)
{
    m_buttons->setEnabled(on);
    m_secondView->setEnabled(on);
    m_watch->setEnabled(on);
}

void HostWindow::showInput()
{
    delete m_page;
    const InputRef input { currentDevice(), currentInput() };
    if (!network() || !m_deviceProblem.isEmpty() || input.block.isEmpty()) {
        enablePageButtons(false);
        m_placeholder->show();
        m_pages->updateViews();
        m_defaults->updateDefaultsOffer();
        m_defaults->updateDeviations();
        updateModified();
        return;
    }
    m_page = new InputPage(m_pageArea);
    m_page->setObjectName(QStringLiteral("hostInputPage"));
    m_placeholder->hide();
    m_pageLayout->insertWidget(0, m_page, 0, Qt::AlignLeft | Qt::AlignTop);
    m_page->show();
    m_watching->watchPage(m_page);
    m_pages->connectPage(m_page);
    enablePageButtons(true);
    if (m_page->open(*network(), input, m_choice->currentData().toString(), m_measurementSystem))
        statusBar()->showMessage(tr("%1 / %2").arg(input.device, input.block));
    m_session->rememberShownTexts();
    m_pages->updateViews();
    m_defaults->updateDefaultsOffer();
    m_defaults->updateDeviations();
    updateModified();
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
    if (network())
        network()->setFormatLocale(measurementSystem);
    m_pages->setMesureUnit(measurementSystem); // re-reads every value in the new units
    m_session->rememberShownTexts();
    m_defaults->updateDeviations(); // the defaults in the new units
    updateModified();
    return true;
}

void HostWindow::setLanguage(const QString &code)
{
    if (!network())
        return;
    network()->setLanguage(code);
    m_translator.switchTo(code);
    retranslate(); // at once; Qt's LanguageChange event comes later
    const int index = m_language->findData(code);
    if (index >= 0 && index != m_language->currentIndex()) {
        QSignalBlocker blocker(m_language);
        m_language->setCurrentIndex(index);
    }
    m_pages->reInitializeStrings();
    m_defaults->updateDeviations(); // lists and tool tips in the new language
    log(tr("Language: %1").arg(code));
}

QString HostWindow::shownPath(const QString &path) const
{
    return m_reproducible ? QFileInfo(path).fileName() : path;
}

void HostWindow::updateTitle()
{
    const QString file = QFileInfo(databasePath()).fileName();
    setWindowTitle(databasePath().isEmpty() ? tr("vqhost[*]")
            : readOnly()                    ? tr("vqhost - %1 (read-only)[*]").arg(file)
                                            : tr("vqhost - %1[*]").arg(file));
    statusBar()->showMessage(shownPath(databasePath())); // pictures for the documentation show no machine's folders
}

} // namespace Host
