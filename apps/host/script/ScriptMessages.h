// SPDX-License-Identifier: MIT
// What a scripted run hears while a command runs: the entries of the window's Messages
// pane (which carry every message the controls raise), message boxes, the
// unsaved-changes question and modal dialogs. Nothing may wait for a click, so it takes
// over those seams for its lifetime, answers them, and hands back the record per command.
#pragma once

#include "window/UnsavedQuestion.h"

#include <QJsonArray>
#include <QMetaObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>

class QListWidget;

namespace Host {

class ScriptMessages
{
public:
    // pane: the window's Messages pane, watched for new entries.
    explicit ScriptMessages(QListWidget *pane);
    ~ScriptMessages();
    ScriptMessages(const ScriptMessages &) = delete;
    ScriptMessages &operator=(const ScriptMessages &) = delete;

    // How the unsaved-changes question is answered (Stay until the script says).
    void setAnswer(UnsavedAnswer answer) { m_answer = answer; }
    UnsavedAnswer answer() const { return m_answer; }
    // True when the question was answered Stay since the last take().
    bool stayed() const { return m_stayed; }

    // The messages since the last call, oldest first: objects with source ("pane",
    // "message box", "question", "dialog", or a feature's own), severity ("information", "warning",
    // "critical"), text and, where there is one, detail.
    QJsonArray take();
    // True when one of the messages not yet taken is critical.
    bool critical();

    // Records a message that reached neither the pane nor a seam (severity: PageMessage's).
    void note(const QString &source, int severity, const QString &text)
    {
        readPane(); // keeps the order in which they came
        add(source, severity, text);
    }

private:
    void readPane();
    void add(const QString &source, int severity, const QString &text, const QString &detail = QString());

    QPointer<QListWidget> m_pane;
    QMetaObject::Connection m_paneWatch;
    QList<QPersistentModelIndex> m_paneRows; // entries added and not yet read
    QJsonArray m_messages;
    UnsavedAnswer m_answer = UnsavedAnswer::Stay;
    bool m_stayed = false;
    bool m_critical = false;
};

} // namespace Host
