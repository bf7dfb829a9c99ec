// SPDX-License-Identifier: MIT
// The host's main window: the devices and their inputs in a tree, the input page
// (hardware and network side by side), units, language, OK / Apply / Cancel, second
// views of an input and the Messages pane. Nothing that would drop edits not yet
// written happens without asking (write, discard or stay).
//
// The window builds its widgets and routes between them; each feature's handlers live
// with the feature, in a controller that reaches the window's page, network and log:
// SessionController (the database: open, lock, save, another writer's change),
// PageController (OK / Apply / Cancel, second views), DefaultsController (input types:
// apply, deviations, save as input type, copy to inputs), PreviewController and
// WatchController.
#pragma once

#include "DatabaseStamp.h"
#include "DeviceTree.h"
#include "HostTranslator.h"
#include "MessagesPane.h"
#include "SessionController.h"
#include "inputtypes/ConfigurationCopy.h"
#include "inputtypes/DefaultDeviations.h"
#include "inputtypes/DefaultsController.h"
#include "inputtypes/InputTypes.h"
#include "page/InputPage.h"
#include "page/NetworkView.h"
#include "page/PageController.h"
#include "points/PointsController.h"
#include "preview/PreviewController.h"
#include "preview/WritePreview.h"
#include "watch/WatchController.h"

#include "device/sim/SimNetwork.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QDockWidget;
class QFormLayout;
class QGroupBox;
class QMenu;
class QDialogButtonBox;
class QLabel;
class QPushButton;
class QTreeWidgetItem;
class QVBoxLayout;

namespace Sim {
class Network;
}

namespace Host {

class LiveTrend;

class HostWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit HostWindow(QWidget *parent = nullptr);
    ~HostWindow() override;

    // Loads a database (empty: the working copy of the sample), after asking about
    // edits not written. On failure shows an error dialog, keeps what was open and
    // returns false.
    bool openDatabase(const QString &path, bool reset = false)
    {
        return loadDatabase(path, reset, tr("open a database"));
    }
    bool reloadDatabase();

    std::shared_ptr<Sim::Network> network() const { return m_session->network(); }
    QString databasePath() const { return m_session->databasePath(); }
    // Another host had the database open when it was loaded: nothing is saved to it.
    // Reloading tries the lock again.
    bool readOnly() const { return m_session->readOnly(); }
    // A window without a user (a script, the screenshot tour) opens a database that another
    // host has open read-only without asking (default: it asks).
    void setAskWhenLocked(bool ask) { m_session->setAskWhenLocked(ask); }
    // Saves the database (path empty or naming it) or a copy of it under path. A database
    // that another writer changed since it was loaded or saved is not saved without asking
    // (reload, overwrite, save under another name); a window opened read-only refuses.
    // False with the reason in error; the save of the database itself is logged.
    bool saveDatabase(const QString &path = QString(), QString *error = nullptr)
    {
        return m_session->saveDatabase(path, error);
    }

    QStringList deviceNames() const { return network() ? network()->deviceNames() : QStringList(); }
    QStringList inputNames() const { return m_tree->inputNames(); } // of the current device
    QString currentDevice() const { return m_tree->currentDevice(); }
    QString currentInput() const { return m_tree->currentInput(); }
    // Empty when the current device can be configured; else why not.
    QString deviceProblem() const { return m_deviceProblem; }

    // Shows a device (and its first input). False when it does not exist or the user stayed.
    bool selectDevice(const QString &deviceName);
    // Shows one input. False when it does not exist, cannot be chosen, or the user stayed.
    bool selectInput(const QString &deviceName, const QString &blockName);
    // Both false when the user stayed with the edits.
    bool setMeasurementSystem(qint16 measurementSystem);
    void setLanguage(const QString &code);

    InputPage *page() const { return m_page; }
    ctlSensorHardware *hardwareControl() const { return m_page ? m_page->hardwareControl() : nullptr; }
    ctlSensorNV *networkControl() const { return m_page ? m_page->networkControl() : nullptr; }
    // Opens another window with a network control on the current input.
    NetworkView *openSecondView() { return m_pages->openSecondView(); }

    // Watch: the shown input's live value read every few seconds and drawn against time.
    // It stops when the input changes, the units change or the window hides.
    bool watching() const { return m_watching->watching(); }
    void setWatching(bool on) { m_watching->setWatching(on); }
    LiveTrend *trend() const { return m_trend; }

    // Marks the fields that differ from the chosen input type's defaults (off at first).
    void setMarkDeviations(bool on) { m_defaults->setMarkDeviations(on); }
    DefaultDeviations *deviations() const { return m_defaults->deviations(); }

    // Log lines without times and with file names instead of paths, so that pictures of
    // the window come out the same on every run.
    void setReproducible(bool on)
    {
        m_reproducible = on;
        m_log->setReproducible(on);
    }
    // The headlines of the Messages pane, one a line.
    QString logText() const { return m_log->text(); }
    // Saves of the database so far that succeeded and that failed: a headless run tells by
    // them what reached the file.
    int savesDone() const { return m_session->savesDone(); }
    int savesFailed() const { return m_session->savesFailed(); }
    // What the last Apply or OK wrote and read back (empty when it wrote nothing).
    const PageOutcome &lastWrite() const { return m_pages->lastWrite(); }

public slots:
    // OK: writes, saves and closes the window when everything was written and saved.
    bool accept() { return m_pages->accept(); }
    // Apply: writes the hardware side, then the network side, then saves the database.
    // False when a control did not write everything or the save failed (the edits stay),
    // or when the device reports another value than was sent for a property written (the
    // fields then show what the device holds).
    bool apply() { return m_pages->apply(); }
    // Cancel: forgets the edits; the controls read the device again.
    void discard() { m_pages->discard(); }
    // Writes the defaults of an input type (empty: the one chosen) to the input shown,
    // saves the database and shows the result, without listing the changes first (a
    // scripted run names the type itself). False when not everything was written.
    bool applyDefaults(const QString &type = QString()) { return m_defaults->applyDefaults(type); }
    // "Apply defaults": asks about edits not written, then lists what the defaults would
    // change (now and after, in the units shown, the variable's name included) and writes
    // them only on Yes. When nothing would change it says so and writes nothing. True when
    // the defaults were written completely and saved, or there was nothing to change.
    bool askApplyDefaults(const QString &type = QString()) { return m_defaults->askApplyDefaults(type); }
    // Preview: what OK would write, as a dry run shown in a dialog; nothing is written.
    PreviewResult preview() { return m_previews->preview(); }
    // "Save as input type...": asks for the input type and the defaults file, then saves
    // the shown input's stored configuration as that type's section. True when saved.
    bool saveAsInputType() { return m_defaults->saveAsInputType(); }
    bool saveAsInputType(const QString &type, const QString &file) { return m_defaults->saveAsInputType(type, file); }
    // "Copy to inputs...": asks which inputs take the shown input's configuration, writes
    // it to each, saves the database once and reports one summary. True when every
    // ticked input was written and the database saved.
    bool copyToInputs() { return m_defaults->copyToInputs(); }
    PointsController *points() const { return m_points; }
    CopySummary copyToInputs(const QVector<InputRef> &targets) { return m_defaults->copyToInputs(targets); }

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    friend class DefaultsController;
    friend class PageController;
    friend class PointsController;
    friend class PreviewController;
    friend class SessionController;
    friend class WatchController;

    void buildUi();
    void buildMenus();
    void retranslate();
    bool loadDatabase(const QString &path, bool reset, const QString &what);
    // After the session loaded a database: the lists, the units and the tree show it.
    void showDatabase();
    void fillTree();
    void onCurrentItemChanged(QTreeWidgetItem *current, QTreeWidgetItem *previous);
    void showItem(QTreeWidgetItem *item);
    void showDevice(QTreeWidgetItem *device);
    void showInput();
    // OK, Apply, Cancel, Preview, Second view and Watch: only with an input shown.
    void enablePageButtons(bool on);
    // Drops the page and every second view (their controls hold the network's objects).
    void closePages() { m_pages->closeAll(); }
    // True when the action may go on: nothing pending, or written, or discarded.
    bool settlePendingEdits(const QString &what);
    bool save() { return saveDatabase(); }
    void updateModified() { setWindowModified(m_page && m_page->valueChanged()); }
    void log(const PageMessage &message) { m_log->add(message); }
    void log(const QString &line) { log(PageMessage { PageMessage::Information, line, QString() }); }
    QString shownPath(const QString &path) const;
    void updateTitle();
    void updateDeviceState();

    std::unique_ptr<SessionController> m_session;
    PageController *m_pages = nullptr;
    DefaultsController *m_defaults = nullptr;
    PreviewController *m_previews = nullptr;
    PointsController *m_points = nullptr; // points list, undo of the last confirm
    WatchController *m_watching = nullptr;

    QString m_deviceProblem;
    qint16 m_measurementSystem = 0;

    HostTranslator m_translator;
    QMenu *m_fileMenu = nullptr;
    QMenu *m_viewMenu = nullptr;
    QAction *m_openAction = nullptr;
    QAction *m_reloadAction = nullptr;
    QAction *m_quitAction = nullptr;
    QAction *m_secondViewAction = nullptr;
    QGroupBox *m_chooser = nullptr;
    QFormLayout *m_form = nullptr;
    QDockWidget *m_messagesDock = nullptr;
    DeviceTree *m_tree = nullptr;
    QLabel *m_deviceState = nullptr;
    QComboBox *m_units = nullptr;
    QComboBox *m_language = nullptr;
    QComboBox *m_choice = nullptr;
    QWidget *m_pageArea = nullptr;
    QVBoxLayout *m_pageLayout = nullptr;
    QLabel *m_placeholder = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_apply = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_preview = nullptr;
    QPushButton *m_secondView = nullptr;
    QPushButton *m_watch = nullptr;
    LiveTrend *m_trend = nullptr;
    MessagesPane *m_log = nullptr;
    QPointer<InputPage> m_page;
    int m_shownChoice = 0; // the interpretation offer of the page shown
    bool m_filling = false;
    bool m_reproducible = false;
};

} // namespace Host
