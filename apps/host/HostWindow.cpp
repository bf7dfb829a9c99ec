// SPDX-License-Identifier: MIT
// The host's main window.
#include "HostWindow.h"

#include "HostSession.h"
#include "InputPage.h"
#include "device/sim/SimNetwork.h"
#include "hardware/ctlSensorHardware.h"
#include "shared/MKorvane.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace Host {

namespace {

// The interpretation offers a host can ask the control for; "" offers every one.
const QStringList choices = { QString(), QStringLiteral("2"), QStringLiteral("2,3,6"), QStringLiteral("2,3,7"),
    QStringLiteral("2,3"), QStringLiteral("2,4"), QStringLiteral("4") };

QString oneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
}

} // namespace

HostWindow::HostWindow(QWidget *parent)
    : QMainWindow(parent)
{
    buildUi();
    updateTitle();
}

HostWindow::~HostWindow()
{
    // The control holds device objects of the network; let it go first.
    delete m_page;
}

void HostWindow::buildUi()
{
    auto fileMenu = menuBar()->addMenu(tr("&File"));
    fileMenu->addAction(tr("&Open database..."), QKeySequence::Open, this, &HostWindow::chooseDatabase);
    fileMenu->addAction(tr("&Reload"), QKeySequence::Refresh, this, [this] { openDatabase(m_databasePath); });
    fileMenu->addSeparator();
    fileMenu->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);

    auto central = new QWidget(this);
    auto columns = new QHBoxLayout(central);

    auto chooser = new QGroupBox(tr("Network"), central);
    auto form = new QFormLayout(chooser);
    m_devices = new QComboBox(chooser);
    m_devices->setObjectName(QStringLiteral("hostDevice"));
    form->addRow(tr("Device"), m_devices);
    m_deviceState = new QLabel(chooser);
    m_deviceState->setObjectName(QStringLiteral("hostDeviceState"));
    m_deviceState->setWordWrap(true);
    form->addRow(m_deviceState);
    m_inputs = new QListWidget(chooser);
    m_inputs->setObjectName(QStringLiteral("hostInputs"));
    m_inputs->setMinimumWidth(170);
    form->addRow(tr("Hardware input"), m_inputs);
    m_units = new QComboBox(chooser);
    m_units->setObjectName(QStringLiteral("hostUnits"));
    m_units->addItem(tr("SI"), int(MEASUREMENT_SYSTEM_SI));
    m_units->addItem(tr("US"), int(MEASUREMENT_SYSTEM_US));
    form->addRow(tr("Units"), m_units);
    m_language = new QComboBox(chooser);
    m_language->setObjectName(QStringLiteral("hostLanguage"));
    form->addRow(tr("Language"), m_language);
    m_choice = new QComboBox(chooser);
    m_choice->setObjectName(QStringLiteral("hostChoice"));
    for (const QString &choice : choices)
        m_choice->addItem(choice.isEmpty() ? tr("all") : choice, choice);
    m_choice->setToolTip(tr("Which signal interpretations the control offers (positions in the device's list)"));
    form->addRow(tr("Interpretations"), m_choice);
    columns->addWidget(chooser);

    auto right = new QVBoxLayout;
    m_pageArea = new QWidget(central);
    m_pageLayout = new QVBoxLayout(m_pageArea);
    m_pageLayout->setContentsMargins(0, 0, 0, 0);
    m_placeholder = new QLabel(tr("Choose a device and one of its hardware inputs."), m_pageArea);
    m_placeholder->setObjectName(QStringLiteral("hostPlaceholder"));
    m_placeholder->setWordWrap(true);
    m_placeholder->setMinimumWidth(360);
    m_pageLayout->addWidget(m_placeholder, 0, Qt::AlignLeft | Qt::AlignTop);
    right->addWidget(m_pageArea, 1);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, central);
    m_buttons->setObjectName(QStringLiteral("hostButtons"));
    m_buttons->button(QDialogButtonBox::Ok)->setToolTip(tr("Write the changes to the device and save the database"));
    m_buttons->button(QDialogButtonBox::Cancel)->setToolTip(tr("Forget the changes and read the device again"));
    right->addWidget(m_buttons);
    columns->addLayout(right, 1);
    setCentralWidget(central);

    m_log = new QPlainTextEdit(this);
    m_log->setObjectName(QStringLiteral("hostLog"));
    m_log->setReadOnly(true);
    m_log->setMaximumBlockCount(2000);
    auto dock = new QDockWidget(tr("Messages"), this);
    dock->setObjectName(QStringLiteral("hostMessages"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dock->setWidget(m_log);
    addDockWidget(Qt::BottomDockWidgetArea, dock);
    resizeDocks({ dock }, { 130 }, Qt::Vertical);

    connect(m_devices, &QComboBox::currentTextChanged, this, [this](const QString &name) {
        if (!m_filling)
            showDevice(name);
    });
    connect(m_inputs, &QListWidget::currentTextChanged, this, [this] {
        if (!m_filling)
            showInput();
    });
    connect(m_units, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            setMeasurementSystem(qint16(m_units->currentData().toInt()));
    });
    connect(m_language, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            setLanguage(m_language->currentData().toString());
    });
    connect(m_choice, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            showInput();
    });
    connect(m_buttons, &QDialogButtonBox::accepted, this, &HostWindow::confirm);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &HostWindow::discard);
}

bool HostWindow::openDatabase(const QString &path, bool reset)
{
    OpenResult opened;
    {
        MKorvane::BusyPointer busy;
        opened = openNetwork(path, reset);
    }
    if (!opened.network) {
        const QString where = opened.path.isEmpty() ? tr("(no file)") : opened.path;
        log(tr("Cannot load %1: %2").arg(where, opened.error));
        MKorvane::MsgBox(tr("The network database cannot be loaded.\n\nFile: %1\n\n%2").arg(where, opened.error),
            MKorvane::vbCritical, tr("vqhost: database not loaded"));
        return false;
    }
    delete m_page;
    m_network = opened.network;
    m_databasePath = opened.path;
    DeviceAccess::install(m_network->implementation());
    log(tr("Opened %1").arg(shownPath(m_databasePath)));

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
    fillDevices();
    return true;
}

void HostWindow::fillDevices()
{
    m_filling = true;
    m_devices->clear();
    m_devices->addItems(m_network->deviceNames());
    m_filling = false;
    showDevice(m_devices->currentText());
}

QStringList HostWindow::deviceNames() const
{
    return m_network ? m_network->deviceNames() : QStringList();
}

QStringList HostWindow::inputNames() const
{
    QStringList names;
    for (int i = 0; i < m_inputs->count(); ++i)
        names << m_inputs->item(i)->text();
    return names;
}

QString HostWindow::currentDevice() const
{
    return m_devices->currentText();
}

QString HostWindow::currentInput() const
{
    return m_inputs->currentItem() ? m_inputs->currentItem()->text() : QString();
}

void HostWindow::showDevice(const QString &deviceName)
{
    m_filling = true;
    m_inputs->clear();
    m_filling = false;
    delete m_page;
    m_deviceProblem.clear();
    if (!m_network || deviceName.isEmpty())
        return;

    DeviceAccess::SystemPtr system = m_network->system();
    QString errMsg;
    if (!MKorvane::CheckDeviceState(system, m_network->device(deviceName), errMsg))
        m_deviceProblem = errMsg.isEmpty() ? tr("The state of the device cannot be read.") : errMsg;
    m_deviceState->setText(m_deviceProblem.isEmpty()
            ? tr("Program ID %1, scope %2").arg(m_network->programId(deviceName)).arg(m_network->scope(deviceName))
            : m_deviceProblem);
    m_deviceState->setStyleSheet(m_deviceProblem.isEmpty() ? QString() : QStringLiteral("color: #b00000;"));

    m_filling = true;
    m_inputs->addItems(m_network->blockNames(deviceName));
    m_inputs->setEnabled(m_deviceProblem.isEmpty());
    m_filling = false;
    if (!m_deviceProblem.isEmpty()) {
        m_placeholder->setText(tr("This device cannot be configured now:\n%1").arg(oneLine(m_deviceProblem)));
        m_placeholder->show();
        log(tr("%1: %2").arg(deviceName, oneLine(m_deviceProblem)));
        statusBar()->showMessage(tr("%1 cannot be configured").arg(deviceName));
        m_buttons->setEnabled(false);
        return;
    }
    if (m_inputs->count() > 0)
        m_inputs->setCurrentRow(0); // shows the input
    else
        m_placeholder->setText(tr("This device has no hardware inputs."));
}

bool HostWindow::selectDevice(const QString &deviceName)
{
    const int device = m_devices->findText(deviceName, Qt::MatchFixedString);
    if (device < 0)
        return false;
    if (device != m_devices->currentIndex())
        m_devices->setCurrentIndex(device); // shows the device and its first input
    return true;
}

bool HostWindow::selectInput(const QString &deviceName, const QString &blockName)
{
    if (!selectDevice(deviceName))
        return false;
    const auto found = m_inputs->findItems(blockName, Qt::MatchFixedString);
    if (found.isEmpty())
        return false;
    if (m_inputs->currentItem() != found.first())
        m_inputs->setCurrentItem(found.first());
    else if (!m_page && m_deviceProblem.isEmpty())
        showInput();
    return true;
}

void HostWindow::showInput()
{
    if (m_page && m_page->valueChanged())
        log(tr("Unsaved changes were discarded."));
    delete m_page;
    if (!m_network || !m_deviceProblem.isEmpty() || currentInput().isEmpty()) {
        m_buttons->setEnabled(false);
        m_placeholder->show();
        return;
    }
    createPage();
    openPage();
}

void HostWindow::createPage()
{
    m_page = new InputPage(m_pageArea);
    m_page->setObjectName(QStringLiteral("hostInputPage"));
    m_placeholder->hide();
    m_pageLayout->insertWidget(0, m_page, 0, Qt::AlignLeft | Qt::AlignTop);
    m_page->show();
    connect(m_page, &InputPage::message, this, &HostWindow::log);
    m_buttons->setEnabled(true);
}

void HostWindow::openPage()
{
    const QString deviceName = currentDevice();
    const QString blockName = currentInput();
    if (m_page->open(*m_network, deviceName, blockName, m_choice->currentData().toString(), m_measurementSystem))
        statusBar()->showMessage(tr("%1 / %2").arg(deviceName, blockName));
}

bool HostWindow::confirm()
{
    if (!m_page)
        return false;
    if (!m_page->valueChanged()) {
        log(tr("%1: nothing to write.").arg(currentInput()));
        return true;
    }
    const bool failed = !m_page->write();
    log(failed ? tr("%1: writing was interrupted; what was written is saved.").arg(currentInput())
               : tr("%1: written.").arg(currentInput()));
    try {
        m_network->save();
    } catch (const Sim::LoadError &error) {
        log(tr("Saving failed: %1").arg(error.message()));
        MKorvane::MsgBox(tr("The network database cannot be saved.\n\n%1").arg(error.message()), MKorvane::vbCritical,
            tr("vqhost: not saved"));
        return false;
    }
    log(tr("Saved %1").arg(shownPath(m_databasePath)));
    delete m_page; // fresh controls show what the device holds now
    showInput();
    return !failed;
}

void HostWindow::discard()
{
    if (!m_page)
        return;
    if (m_page->valueChanged())
        log(tr("%1: changes discarded.").arg(currentInput()));
    delete m_page; // fresh controls read the device again
    showInput();
}

void HostWindow::setMeasurementSystem(qint16 measurementSystem)
{
    m_measurementSystem = measurementSystem;
    const int index = m_units->findData(int(measurementSystem));
    if (index != m_units->currentIndex()) {
        m_filling = true;
        m_units->setCurrentIndex(index);
        m_filling = false;
    }
    // Values that the control reads in their default format follow the database's locale,
    // as a network database shown in US units does.
    if (m_network)
        m_network->setFormatLocale(measurementSystem);
    if (m_page)
        m_page->setMesureUnit(measurementSystem); // re-reads every value in the new units
}

void HostWindow::setLanguage(const QString &code)
{
    if (!m_network)
        return;
    m_network->setLanguage(code);
    const int index = m_language->findData(code);
    if (index >= 0 && index != m_language->currentIndex()) {
        m_filling = true;
        m_language->setCurrentIndex(index);
        m_filling = false;
    }
    if (m_page)
        m_page->reInitializeStrings();
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
    return m_log->toPlainText();
}

void HostWindow::log(const QString &line)
{
    m_log->appendPlainText(m_reproducible ? line : QTime::currentTime().toString(QStringLiteral("HH:mm:ss ")) + line);
}

QString HostWindow::shownPath(const QString &path) const
{
    return m_reproducible ? QFileInfo(path).fileName() : path;
}

void HostWindow::chooseDatabase()
{
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Open network database"), QFileInfo(m_databasePath).absolutePath(), tr("Network databases (*.json)"));
    if (!path.isEmpty())
        openDatabase(path);
}

void HostWindow::updateTitle()
{
    setWindowTitle(
        m_databasePath.isEmpty() ? tr("vqhost") : tr("vqhost - %1").arg(QFileInfo(m_databasePath).fileName()));
    statusBar()->showMessage(m_databasePath);
}

} // namespace Host
