// SPDX-License-Identifier: MIT
// The points list and the undo of the last confirm in the window: File > Export points
// list..., File > Import points list... (a preview with a checkable list of the inputs,
// then the ticked ones written, one save, one summary) and Edit > Undo last confirm
// (a preview, then what the input held before its last Apply, OK or import written back).
#pragma once

#include "LastConfirm.h"
#include "PointsImport.h"

#include <QHash>
#include <QObject>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QMenuBar;

namespace Host {

class HostWindow;

class PointsController : public QObject
{
public:
    explicit PointsController(HostWindow &window);

    // The File menu's actions go before its separator; the Edit menu after the File menu.
    void addActions(QMenu *fileMenu, QMenuBar *bar);
    void retranslate();

    // Export in the units shown; false with the reason logged.
    bool exportPoints(const QString &path);
    // Preview, the user's choice, the writes, one save, the summary. False when nothing was
    // chosen or an input was not written or the save failed.
    bool importPoints(const QString &path);
    // Undo of the last confirm of the input shown: preview, question, write, read back, save.
    bool undoLastConfirm();
    bool canUndo() const;

    // Around a confirm of the page: the network's values before (a snapshot, so the confirm
    // makes no device call of its own), kept for undo when anything was written.
    LastConfirm beforeConfirm() const;
    void confirmed(const LastConfirm &before);

    // Where a file dialog is asked for a path: replaced by a test that drives no file dialog.
    void setFileChooser(std::function<QString(bool save)> chooser) { m_chooseFile = std::move(chooser); }

    QAction *exportAction() const { return m_export; }
    QAction *importAction() const { return m_import; }
    QAction *undoAction() const { return m_undo; }

private:
    QString chooseFile(bool save);
    void updateUndo();
    QString key(const InputRef &input) const;
    void forgetOtherNetwork();

    HostWindow &m_window;
    QAction *m_export = nullptr;
    QAction *m_import = nullptr;
    QAction *m_undo = nullptr;
    QMenu *m_editMenu = nullptr;
    std::function<QString(bool)> m_chooseFile;
    std::weak_ptr<Sim::Network> m_network; // the database the undo states belong to
    QHash<QString, LastConfirm> m_lastConfirms;
};

} // namespace Host
