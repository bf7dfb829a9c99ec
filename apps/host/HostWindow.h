// SPDX-License-Identifier: MIT
// The host's main window: choose a device and one of its hardware inputs, configure it
// on the input page (hardware and network side by side), switch units and language,
// confirm (write and save) or cancel. Messages that the controls raise appear in the
// log pane.
#pragma once

#include "InputPage.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QVBoxLayout;
class ctlSensorHardware;
class ctlSensorNV;

namespace Sim {
class Network;
}

namespace Host {

class HostWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit HostWindow(QWidget *parent = nullptr);
    ~HostWindow() override;

    // Loads a database (empty: the working copy of the sample). On failure shows an
    // error dialog, keeps what was open before and returns false.
    bool openDatabase(const QString &path, bool reset = false);

    std::shared_ptr<Sim::Network> network() const { return m_network; }
    QString databasePath() const { return m_databasePath; }

    // The devices and, per device, the inputs offered for choice.
    QStringList deviceNames() const;
    QStringList inputNames() const; // of the current device
    QString currentDevice() const;
    QString currentInput() const;
    // Empty when the current device can be configured; else why not.
    QString deviceProblem() const { return m_deviceProblem; }

    // Shows a device and its first input; false when it does not exist.
    bool selectDevice(const QString &deviceName);
    // Shows one input in the hardware control; false when it does not exist.
    bool selectInput(const QString &deviceName, const QString &blockName);
    void setMeasurementSystem(qint16 measurementSystem);
    void setLanguage(const QString &code);

    ctlSensorHardware *hardwareControl() const;
    ctlSensorNV *networkControl() const;
    // Log lines without times and with file names instead of paths, so that pictures of
    // the window come out the same on every run.
    void setReproducible(bool on) { m_reproducible = on; }
    QString logText() const;

public slots:
    // Writes what changed and saves the database. Returns false when writing or saving failed.
    bool confirm();
    // Forgets the edits: the control reads the device again.
    void discard();

private:
    void buildUi();
    void fillDevices();
    void showDevice(const QString &deviceName);
    void showInput();
    void createPage();
    void openPage();
    void log(const QString &line);
    QString shownPath(const QString &path) const;
    void chooseDatabase();
    void updateTitle();

    std::shared_ptr<Sim::Network> m_network;
    QString m_databasePath;
    QString m_deviceProblem;
    qint16 m_measurementSystem = 0;

    QComboBox *m_devices = nullptr;
    QListWidget *m_inputs = nullptr;
    QComboBox *m_units = nullptr;
    QComboBox *m_language = nullptr;
    QComboBox *m_choice = nullptr;
    QLabel *m_deviceState = nullptr;
    QWidget *m_pageArea = nullptr;
    QVBoxLayout *m_pageLayout = nullptr;
    QLabel *m_placeholder = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    QPlainTextEdit *m_log = nullptr;
    QPointer<InputPage> m_page;
    bool m_filling = false;
    bool m_reproducible = false;
};

} // namespace Host
