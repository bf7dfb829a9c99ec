// SPDX-License-Identifier: MIT
// The points list and the undo of the last confirm in the window.
#include "PointsController.h"

#include "PointsDialogs.h"
#include "shared/MKorvane.h"
#include "window/HostWindow.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace Host {

PointsController::PointsController(HostWindow &window)
    : QObject(&window)
    , m_window(window)
{
}

void PointsController::addActions(QMenu *fileMenu, QMenuBar *bar)
{
    const QList<QAction *> existing = fileMenu->actions();
    QAction *before = nullptr;
    for (QAction *a : existing) {
        if (a->isSeparator()) {
            before = a;
            break;
        }
    }
    m_export = new QAction(this);
    m_import = new QAction(this);
    m_export->setObjectName(QStringLiteral("pointsExportAction"));
    m_import->setObjectName(QStringLiteral("pointsImportAction"));
    fileMenu->insertSeparator(before);
    fileMenu->insertAction(before, m_export);
    fileMenu->insertAction(before, m_import);
    connect(m_export, &QAction::triggered, this, [this] {
        const QString path = chooseFile(true);
        if (!path.isEmpty())
            exportPoints(path);
    });
    connect(m_import, &QAction::triggered, this, [this] {
        const QString path = chooseFile(false);
        if (!path.isEmpty())
            importPoints(path);
    });
    m_editMenu = new QMenu(bar);
    bar->insertMenu(bar->actions().value(1), m_editMenu);
    m_undo = m_editMenu->addAction(QString(), this, [this] { undoLastConfirm(); });
    m_undo->setObjectName(QStringLiteral("pointsUndoAction"));
    m_undo->setEnabled(false);
    connect(m_editMenu, &QMenu::aboutToShow, this, &PointsController::updateUndo);
}

void PointsController::retranslate()
{
    m_export->setText(HostWindow::tr("&Export points list..."));
    m_import->setText(HostWindow::tr("&Import points list..."));
    m_editMenu->setTitle(HostWindow::tr("&Edit"));
    m_undo->setText(HostWindow::tr("&Undo last confirm"));
    m_undo->setToolTip(HostWindow::tr("Write back what the input shown held before its last Apply, OK or import"));
}

QString PointsController::chooseFile(bool save)
{
    if (m_chooseFile)
        return m_chooseFile(save);
    QFileDialog dialog(&m_window, save ? HostWindow::tr("Export points list") : HostWindow::tr("Import points list"),
        QFileInfo(m_window.databasePath()).absolutePath(), HostWindow::tr("Points lists (*.csv);;All files (*)"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (MKorvane::ShowModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

bool PointsController::exportPoints(const QString &path)
{
    if (!m_window.network())
        return false;
    QString error;
    bool written = false;
    {
        MKorvane::BusyPointer busy;
        written = Host::exportPoints(*m_window.network(), m_window.m_measurementSystem, path, error);
    }
    m_window.log({ written ? PageMessage::Information : PageMessage::Critical,
        written ? HostWindow::tr("Points list exported to %1").arg(m_window.shownPath(path)) : error, QString() });
    return written;
}

bool PointsController::importPoints(const QString &path)
{
    if (!m_window.network() || !m_window.settlePendingEdits(HostWindow::tr("import a points list")))
        return false;
    forgetOtherNetwork();
    QFile file(path);
    PointsList list;
    QString error;
    if (!file.open(QIODevice::ReadOnly))
        error = HostWindow::tr("%1 cannot be read: %2").arg(path, file.errorString());
    else if (readPointsCsv(file.readAll(), list, error))
        error.clear();
    if (!error.isEmpty()) {
        m_window.log({ PageMessage::Critical, HostWindow::tr("Points list %1: %2").arg(m_window.shownPath(path), error),
            QString() });
        MKorvane::MsgBox(error, MKorvane::vbCritical, HostWindow::tr("Import points list"));
        return false;
    }
    ImportPlan plan;
    {
        MKorvane::BusyPointer busy;
        plan = planImport(*m_window.network(), list);
    }
    m_window.log({ PageMessage::Information, HostWindow::tr("Points list %1: preview").arg(m_window.shownPath(path)),
        plan.text() });
    ImportPreviewDialog dialog(plan, &m_window);
    if (MKorvane::ShowModal(dialog) != QDialog::Accepted || dialog.ticked().isEmpty())
        return false;
    ImportSummary summary;
    {
        MKorvane::BusyPointer busy;
        summary = applyImport(*m_window.network(), list, plan, dialog.ticked(), false,
            [this](const LastConfirm &before) { m_lastConfirms.insert(key(before.input), before); });
    }
    summary.saveWanted = true;
    if (summary.wrote)
        summary.saved = m_window.save(); // the session's save: the lock and other writers
    m_window.log({ summary.succeeded() ? PageMessage::Information : PageMessage::Critical,
        summary.text().section(QLatin1Char('\n'), 0, 0), summary.text() });
    m_window.statusBar()->showMessage(summary.text().section(QLatin1Char('\n'), 0, 0));
    m_window.showInput(); // fresh controls show what the device holds now
    updateUndo();
    return summary.succeeded();
}

QString PointsController::key(const InputRef &input) const
{
    return (input.device + QLatin1Char('/') + input.block).toLower();
}

void PointsController::forgetOtherNetwork()
{
    // A database opened or reloaded since: the states belong to another network.
    if (m_network.lock() != m_window.network()) {
        m_lastConfirms.clear();
        m_network = m_window.network();
    }
}

bool PointsController::canUndo() const
{
    return m_window.m_page && m_network.lock() == m_window.network()
        && m_lastConfirms.contains(key(m_window.m_page->input()));
}

void PointsController::updateUndo()
{
    forgetOtherNetwork();
    m_undo->setEnabled(canUndo());
}

LastConfirm PointsController::beforeConfirm() const
{
    LastConfirm state;
    if (m_window.m_page && m_window.network() && m_window.m_page->valueChanged()) {
        state.input = m_window.m_page->input();
        state.snapshot = m_window.network()->snapshot(); // no device call: read when undone
    }
    return state;
}

void PointsController::confirmed(const LastConfirm &before)
{
    forgetOtherNetwork();
    if (before.valid() || !before.snapshot.isNull())
        m_lastConfirms.insert(key(before.input), before);
    else if (!before.input.block.isEmpty())
        m_lastConfirms.remove(key(before.input)); // what it replaced is not known: no undo
    updateUndo();
}

bool PointsController::undoLastConfirm()
{
    updateUndo();
    if (!canUndo() || !m_window.settlePendingEdits(HostWindow::tr("undo the last confirm")) || !canUndo())
        return false;
    LastConfirm state;
    PreviewResult preview;
    {
        MKorvane::BusyPointer busy;
        state = resolveLastConfirm(*m_window.network(), m_lastConfirms.value(key(m_window.m_page->input())));
        if (state.valid())
            preview = previewRestore(*m_window.network(), state);
    }
    const QString input = state.input.block;
    if (!state.valid()) {
        m_window.log({ PageMessage::Critical,
            HostWindow::tr("%1: what the last confirm replaced cannot be read: %2").arg(input, state.before.error),
            QString() });
        return false;
    }
    if (!confirmUndo(preview, input, &m_window))
        return false;
    RestoreOutcome outcome;
    {
        MKorvane::BusyPointer busy;
        outcome = restoreLastConfirm(*m_window.network(), state);
    }
    m_lastConfirms.remove(key(state.input));
    const bool saved = m_window.save();
    m_window.log({ outcome.succeeded() && saved ? PageMessage::Information : PageMessage::Critical,
        HostWindow::tr("%1: last confirm undone: %2").arg(input, outcome.text()), QString() });
    m_window.showInput();
    updateUndo();
    return outcome.succeeded() && saved;
}

} // namespace Host
