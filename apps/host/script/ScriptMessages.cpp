// SPDX-License-Identifier: MIT
// Collecting what a scripted command raised, and answering what would wait for a user.
#include "ScriptMessages.h"

#include "page/PageMessage.h"
#include "shared/Seams.h"

#include <QDialog>
#include <QJsonObject>
#include <QListWidget>

namespace Host {

namespace {

QString severityName(int severity)
{
    switch (severity) {
    case PageMessage::Critical:
        return QStringLiteral("critical");
    case PageMessage::Warning:
        return QStringLiteral("warning");
    default:
        return QStringLiteral("information");
    }
}

QString answerName(UnsavedAnswer answer)
{
    switch (answer) {
    case UnsavedAnswer::Write:
        return QStringLiteral("write");
    case UnsavedAnswer::Discard:
        return QStringLiteral("discard");
    case UnsavedAnswer::Stay:
        break;
    }
    return QStringLiteral("stay");
}

} // namespace

ScriptMessages::ScriptMessages(QListWidget *pane)
{
    // Every entry of the pane. The window sets an entry's severity after adding it, so
    // the entries are read when the messages are asked for.
    m_pane = pane;
    m_paneWatch = QObject::connect(
        pane->model(), &QAbstractItemModel::rowsInserted, pane, [this, pane](const QModelIndex &, int first, int last) {
            for (int row = first; row <= last; ++row)
                m_paneRows << QPersistentModelIndex(pane->model()->index(row, 0));
        });
    MKorvane::setMessageBoxHandler([this](const QString &text, int style, const QString &title) {
        readPane();
        add(QStringLiteral("message box"), severityOfStyle(style), text, title);
        return MKorvane::vbOK;
    });
    // A dialog needs a user; the script closes it as Cancel would, and says so.
    MKorvane::setModalRunner([this](QDialog &dialog) {
        add(QStringLiteral("dialog"), PageMessage::Warning,
            QStringLiteral("the dialog \"%1\" needs a user; the script cancelled it").arg(dialog.windowTitle()));
        return int(QDialog::Rejected);
    });
    setUnsavedQuestion([this](QWidget *, const QString &what) {
        add(QStringLiteral("question"), PageMessage::Information,
            QStringLiteral("changes not written before you %1: answered %2").arg(what, answerName(m_answer)));
        if (m_answer == UnsavedAnswer::Stay)
            m_stayed = true;
        return m_answer;
    });
}

ScriptMessages::~ScriptMessages()
{
    QObject::disconnect(m_paneWatch);
    setUnsavedQuestion({});
    MKorvane::setModalRunner({});
    MKorvane::setMessageBoxHandler({});
}

void ScriptMessages::readPane()
{
    // The item keeps its severity in the user role and the internal detail (control,
    // procedure, message style) under the headline in its tool tip.
    const QList<QPersistentModelIndex> rows = std::exchange(m_paneRows, {});
    for (const QPersistentModelIndex &row : rows) {
        const QListWidgetItem *item = row.isValid() && m_pane ? m_pane->item(row.row()) : nullptr;
        if (item)
            add(QStringLiteral("pane"), item->data(Qt::UserRole).toInt(), item->text(),
                item->toolTip().section(QLatin1Char('\n'), 1));
    }
}

void ScriptMessages::add(const QString &source, int severity, const QString &text, const QString &detail)
{
    QJsonObject message { { QStringLiteral("source"), source }, { QStringLiteral("severity"), severityName(severity) },
        { QStringLiteral("text"), QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) } };
    if (!detail.isEmpty())
        message.insert(QStringLiteral("detail"), detail);
    m_messages.append(message);
    if (severity == PageMessage::Critical)
        m_critical = true;
}

bool ScriptMessages::critical()
{
    readPane();
    return m_critical;
}

QJsonArray ScriptMessages::take()
{
    readPane();
    QJsonArray messages;
    std::swap(messages, m_messages);
    m_critical = false;
    m_stayed = false;
    return messages;
}

} // namespace Host
