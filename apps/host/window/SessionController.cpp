// SPDX-License-Identifier: MIT
// The window's session: open, lock, save, and another writer's change.
#include "SessionController.h"

#include "DatabaseLocation.h"
#include "HostSession.h"
#include "HostWindow.h"
#include "device/sim/SimFile.h"
#include "device/sim/SimNetwork.h"
#include "inputtypes/DefaultsController.h"
#include "page/PageController.h"
#include "shared/MKorvane.h"

#include <algorithm>

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace Host {

namespace {

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

} // namespace

SessionController::SessionController(HostWindow &window)
    : m_window(window)
{
}

SessionController::~SessionController() = default;

bool SessionController::loadFile(const QString &path, bool reset)
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
            const QString question = HostWindow::tr("Another host has %1 open: %2.").arg(target, holder);
            if (reset) {
                m_window.log({ PageMessage::Critical,
                    HostWindow::tr("%1 was not reset: %2").arg(m_window.shownPath(target), question), QString() });
                MKorvane::MsgBox(HostWindow::tr("The working copy was not reset.\n\n%1").arg(question),
                    MKorvane::vbCritical, HostWindow::tr("vqhost: database in use"));
                return false;
            }
            if (m_askWhenLocked) {
                QMessageBox box(QMessageBox::Warning, HostWindow::tr("vqhost: database in use"), question,
                    QMessageBox::Cancel, &m_window);
                box.setObjectName(QStringLiteral("hostDatabaseInUse"));
                box.setInformativeText(HostWindow::tr("Open it read-only? You can look at it, but not save it."));
                QPushButton *readOnlyButton = box.addButton(HostWindow::tr("Open &read-only"), QMessageBox::AcceptRole);
                readOnlyButton->setObjectName(QStringLiteral("openReadOnly"));
                box.setDefaultButton(QMessageBox::Cancel);
                MKorvane::ShowModal(box);
                if (box.clickedButton() != readOnlyButton) {
                    m_window.log({ PageMessage::Warning,
                        HostWindow::tr("%1 was not opened: %2").arg(m_window.shownPath(target), question), QString() });
                    return false;
                }
            }
            readOnly = true;
            break;
        }
        case DatabaseLock::NotPossible:
            m_window.log({ PageMessage::Warning,
                HostWindow::tr("%1 is not locked: %2").arg(m_window.shownPath(target), lock->problem()), QString() });
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
        const QString where = opened.path.isEmpty() ? HostWindow::tr("(no file)") : opened.path;
        m_window.log({ PageMessage::Critical,
            HostWindow::tr("The database %1 was not loaded: %2").arg(m_window.shownPath(where), opened.error),
            QString() });
        MKorvane::MsgBox(
            HostWindow::tr("The network database cannot be loaded.\n\nFile: %1\n\n%2").arg(where, opened.error),
            MKorvane::vbCritical, HostWindow::tr("vqhost: database not loaded"));
        return false;
    }
    if (!keepLock)
        m_lock = std::move(lock);
    m_readOnly = readOnly;
    m_lockHolder = holder;
    m_stamp = opened.stamp;
    m_window.closePages(); // their controls hold the old network's objects
    m_network = opened.network;
    m_databasePath = opened.path;
    m_window.m_defaults->forgetInputTypes();
    DeviceAccess::install(m_network->implementation());
    m_window.log(HostWindow::tr("Opened %1").arg(m_window.shownPath(m_databasePath)));
    if (m_readOnly)
        m_window.log({ PageMessage::Warning,
            HostWindow::tr("%1 is open read-only: another host has it open (%2).")
                .arg(m_window.shownPath(m_databasePath), m_lockHolder),
            QString() });

    m_window.showDatabase();
    return true;
}

bool SessionController::saveDatabase(const QString &path, QString *error)
{
    QString reason;
    bool saved = false;
    if (!m_network) {
        reason = HostWindow::tr("No database is open.");
    } else if (!path.isEmpty() && !sameFile(path, m_databasePath)) {
        // A copy: the window goes on with its database. A file another host has open is left alone.
        DatabaseLock lock;
        if (lock.lock(path) == DatabaseLock::HeldByOther) {
            reason = HostWindow::tr("%1: another host has it open (%2); not saved.").arg(path, lock.holder());
        } else {
            try {
                Sim::writeDatabaseFile(path, m_network->toJson());
                saved = true;
            } catch (const Sim::LoadError &failure) {
                reason = failure.message();
            }
        }
    } else if (m_readOnly) {
        reason = HostWindow::tr("%1 is open read-only: another host has it open (%2); not saved.")
                     .arg(m_databasePath, m_lockHolder);
        ++m_savesFailed;
        m_window.log({ PageMessage::Critical, reason, QString() });
        MKorvane::MsgBox(reason, MKorvane::vbCritical, HostWindow::tr("vqhost: not saved"));
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
            reason = HostWindow::tr("%1 was changed by another program since it was opened; not saved.")
                         .arg(m_databasePath);
            ++m_savesFailed;
            m_window.log({ PageMessage::Critical, reason, QString() });
            m_window.updateModified();
            // Later, when whatever asked for the save is over (it may hold the page shown).
            if (answer == ChangedAnswer::Reload) {
                m_editsToKeep = m_applyEdits;
                QTimer::singleShot(0, this, &SessionController::reloadChanged);
            }
            break;
        }
    }
    if (error)
        *error = reason;
    return saved;
}

SessionController::ChangedAnswer SessionController::askChanged(const DatabaseStamp &now)
{
    const QString text = now.isNull()
        ? HostWindow::tr("%1 cannot be read now: %2").arg(m_databasePath, now.why())
        : HostWindow::tr("%1 was changed by another program since it was opened.").arg(m_databasePath);
    QMessageBox box(QMessageBox::Warning, HostWindow::tr("vqhost: file changed"), text, QMessageBox::Cancel, &m_window);
    box.setObjectName(QStringLiteral("hostFileChanged"));
    box.setInformativeText(
        HostWindow::tr("Reload: show the file as it is now; your edits on this page come back where the other "
                       "program left those fields alone.\n"
                       "Overwrite: replace it with your version.\n"
                       "Save as: keep both, yours under another name."));
    const auto add = [&box](const QString &text, const char *name) {
        QPushButton *button = box.addButton(text, QMessageBox::AcceptRole);
        button->setObjectName(QLatin1String(name));
        return button;
    };
    QPushButton *reload = add(HostWindow::tr("&Reload"), "changedReload");
    QPushButton *overwrite = add(HostWindow::tr("&Overwrite"), "changedOverwrite");
    QPushButton *saveAs = add(HostWindow::tr("Save &as..."), "changedSaveAs");
    box.setDefaultButton(QMessageBox::Cancel);
    MKorvane::ShowModal(box);
    const QAbstractButton *clicked = box.clickedButton();
    return clicked == reload   ? ChangedAnswer::Reload
        : clicked == overwrite ? ChangedAnswer::Overwrite
        : clicked == saveAs    ? ChangedAnswer::SaveAs
                               : ChangedAnswer::Cancel;
}

bool SessionController::saveAs(QString &reason)
{
    QFileDialog dialog(&m_window, HostWindow::tr("Save the database as"), QFileInfo(m_databasePath).absolutePath(),
        HostWindow::tr("Network databases (*.json)"));
    dialog.setObjectName(QStringLiteral("hostSaveDatabaseAs"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("json"));
    const QStringList chosen
        = MKorvane::ShowModal(dialog) == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
    if (chosen.isEmpty()) {
        reason
            = HostWindow::tr("%1 was changed by another program since it was opened; not saved.").arg(m_databasePath);
        ++m_savesFailed;
        m_window.log({ PageMessage::Critical, reason, QString() });
        return false;
    }
    const QString target = chosen.first();
    if (sameFile(target, m_databasePath))
        return writeDatabase(m_databasePath, reason);
    auto lock = std::make_unique<DatabaseLock>();
    if (lock->lock(target) == DatabaseLock::HeldByOther) {
        reason = HostWindow::tr("%1: another host has it open (%2); not saved.").arg(target, lock->holder());
        ++m_savesFailed;
        m_window.log({ PageMessage::Critical, reason, QString() });
        MKorvane::MsgBox(reason, MKorvane::vbCritical, HostWindow::tr("vqhost: not saved"));
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
    m_window.log(HostWindow::tr("%1 stays as the other program left it; the window now works on %2.")
                     .arg(m_window.shownPath(previous), m_window.shownPath(target)));
    m_window.updateTitle();
    return true;
}

bool SessionController::writeDatabase(const QString &path, QString &reason)
{
    const QByteArray text = m_network->toJson();
    try {
        Sim::writeDatabaseFile(path, text);
    } catch (const Sim::LoadError &error) {
        reason = error.message();
        ++m_savesFailed;
        m_window.log({ PageMessage::Critical,
            HostWindow::tr("The database was not saved; the edits are kept: %1").arg(error.message()), QString() });
        MKorvane::MsgBox(HostWindow::tr("The network database cannot be saved.\n\n%1").arg(error.message()),
            MKorvane::vbCritical, HostWindow::tr("vqhost: not saved"));
        m_window.updateModified();
        return false;
    }
    m_stamp = DatabaseStamp::ofBytes(path, text);
    ++m_savesDone;
    m_window.log(HostWindow::tr("Saved %1").arg(m_window.shownPath(path)));
    return true;
}

void SessionController::reloadChanged()
{
    const InputRef shown { m_window.currentDevice(), m_window.currentInput() };
    const QVector<FieldText> shownBefore = m_shownTexts;
    const QVector<FieldText> edits = std::exchange(m_editsToKeep, {});
    if (!loadFile(m_databasePath, false))
        return;
    if (shown.block.isEmpty() || edits.isEmpty()) {
        m_window.log({ PageMessage::Warning,
            HostWindow::tr("Reloaded %1 as the other program left it; your changes since the last save were dropped.")
                .arg(m_window.shownPath(m_databasePath)),
            QString() });
        if (!shown.block.isEmpty())
            m_window.selectInput(shown.device, shown.block);
        return;
    }
    m_window.log({ PageMessage::Warning,
        HostWindow::tr("Reloaded %1 as the other program left it.").arg(m_window.shownPath(m_databasePath)),
        QString() });
    const bool sameInput = m_window.selectInput(shown.device, shown.block);
    // An edit applies still where the other program left the field as the host had shown it.
    QStringList kept;
    QStringList dropped;
    for (const FieldText &edit : edits) {
        QLineEdit *field = sameInput ? textField(m_window.m_page, edit.name) : nullptr;
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
        m_window.log(HostWindow::tr("%1: your edits are back in the fields, not written yet: %2")
                         .arg(shown.block, kept.join(QStringLiteral(", "))));
    if (!dropped.isEmpty())
        m_window.log({ PageMessage::Warning,
            HostWindow::tr("%1: edits not kept, as the other program changed the same fields: %2")
                .arg(shown.block, dropped.join(QStringLiteral(", "))),
            QString() });
    m_window.updateModified();
}

void SessionController::rememberShownTexts()
{
    m_shownTexts.clear();
    if (!m_window.m_page)
        return;
    for (const QLineEdit *field : m_window.m_page->findChildren<QLineEdit *>()) {
        if (!field->objectName().isEmpty())
            m_shownTexts.append({ field->objectName(), QString(), field->text() });
    }
}

bool SessionController::reload()
{
    // The input shown stays shown, as the file holds it now.
    const InputRef shown { m_window.currentDevice(), m_window.currentInput() };
    if (!m_window.loadDatabase(m_databasePath, false, HostWindow::tr("reload the database")))
        return false;
    if (!shown.block.isEmpty())
        m_window.selectInput(shown.device, shown.block);
    else if (!shown.device.isEmpty())
        m_window.selectDevice(shown.device);
    return true;
}

void SessionController::chooseDatabase()
{
    // A dialog of our own rather than the static function: it runs through the modal seam.
    QFileDialog dialog(&m_window, HostWindow::tr("Open network database"), QFileInfo(m_databasePath).absolutePath(),
        HostWindow::tr("Network databases (*.json)"));
    dialog.setObjectName(QStringLiteral("hostOpenDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (MKorvane::ShowModal(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        m_window.openDatabase(dialog.selectedFiles().constFirst());
}

void SessionController::rememberApplyEdits(const PageOutcome &outcome)
{
    // Only what the user changed: a control also writes fields that go with an edit.
    m_applyEdits.clear();
    for (const ControlOutcome *side : { &outcome.hardware, &outcome.network }) {
        for (const ReadBackItem &item : side->readBack) {
            const QLineEdit *field = textField(m_window.m_page, item.field);
            const bool listed = std::any_of(m_applyEdits.cbegin(), m_applyEdits.cend(),
                [&item](const FieldText &one) { return one.name == item.field; });
            const bool edited = field
                && std::none_of(m_shownTexts.cbegin(), m_shownTexts.cend(),
                    [&](const FieldText &one) { return one.name == item.field && one.text == field->text(); });
            if (edited && !listed)
                m_applyEdits.append({ item.field, item.caption, field->text() });
        }
    }
}

} // namespace Host
