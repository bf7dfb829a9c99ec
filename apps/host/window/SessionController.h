// SPDX-License-Identifier: MIT
// The window's session: the database it has open, the lock beside it, and saving it while
// another program may change the file (reload, overwrite or save under another name).
// Edits the page had typed come back after a reload where the other program left the
// field as the page had shown it.
#pragma once

#include "DatabaseStamp.h"
#include "page/WriteOutcome.h"

#include <QObject>
#include <QVector>
#include <memory>

namespace Sim {
class Network;
}

namespace Host {

class HostWindow;

class SessionController : public QObject
{
public:
    explicit SessionController(HostWindow &window);
    ~SessionController() override;

    std::shared_ptr<Sim::Network> network() const { return m_network; }
    QString databasePath() const { return m_databasePath; }
    bool readOnly() const { return m_readOnly; }
    QString lockHolder() const { return m_lockHolder; }
    void setAskWhenLocked(bool ask) { m_askWhenLocked = ask; }
    int savesDone() const { return m_savesDone; }
    int savesFailed() const { return m_savesFailed; }

    // Loads a database (empty: the working copy of the sample) without asking about edits.
    // On failure reports it, keeps what was open and returns false.
    bool loadFile(const QString &path, bool reset);
    // See HostWindow::saveDatabase.
    bool saveDatabase(const QString &path, QString *error);
    // Reads the database again; the input shown stays shown, as the file holds it now.
    bool reload();
    // "Open database...": a file dialog, then the window opens what was chosen.
    void chooseDatabase();
    // The page's text fields as the device gave them: a reload compares with them.
    void rememberShownTexts();
    // The text fields an Apply wrote, as typed, while it saves; forgotten after the save.
    void rememberApplyEdits(const PageOutcome &outcome);
    void forgetApplyEdits() { m_applyEdits.clear(); }

private:
    enum class ChangedAnswer { Cancel, Reload, Overwrite, SaveAs };
    ChangedAnswer askChanged(const DatabaseStamp &now);
    bool saveAs(QString &reason);
    bool writeDatabase(const QString &path, QString &reason);
    void reloadChanged();

    HostWindow &m_window;
    std::shared_ptr<Sim::Network> m_network;
    QString m_databasePath;
    DatabaseStamp m_stamp; // the database as loaded or last saved
    std::unique_ptr<DatabaseLock> m_lock;
    bool m_readOnly = false;
    QString m_lockHolder; // who has it open when read-only
    bool m_askWhenLocked = true;
    // A text field of the page: its name, caption and text.
    struct FieldText
    {
        QString name;
        QString caption;
        QString text;
    };
    QVector<FieldText> m_shownTexts; // the page's text fields as the device gave them
    QVector<FieldText> m_applyEdits; // the fields an Apply wrote, as typed, while it saves
    QVector<FieldText> m_editsToKeep; // those to type again after a reload
    int m_savesDone = 0;
    int m_savesFailed = 0;
};

} // namespace Host
