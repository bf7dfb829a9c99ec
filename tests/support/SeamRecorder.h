// SPDX-License-Identifier: MIT
// Records what the library shows through the toolkit seams (message boxes, the mouse
// pointer, pending-event processing, modal dialogs) so that no test blocks and every
// test can assert what a user would have seen. On destruction the pointer and event
// processing return to Qt's, boxes and dialogs to the failing defaults (UnexpectedDialogs).
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

class QDialog;

namespace TestSupport {

struct MessageRecord
{
    QString text;
    int style = 0;
    QString title;
};

class SeamRecorder
{
public:
    SeamRecorder();
    ~SeamRecorder();
    SeamRecorder(const SeamRecorder &) = delete;
    SeamRecorder &operator=(const SeamRecorder &) = delete;

    // Message boxes shown, oldest first.
    const QVector<MessageRecord> &messages() const { return m_messages; }
    int messageCount() const { return m_messages.size(); }
    // Texts only, for compact comparisons.
    QStringList messageTexts() const;
    // The result every box returns (vbOK unless changed).
    void setMessageResult(int result) { m_messageResult = result; }
    // Runs the callback while the next box is "shown" (one queued callback per box, in order).
    void queueWhileShown(std::function<void(const MessageRecord &)> callback);

    // Every pointer set, in order, and the pointer in effect now (starts at 0).
    const QVector<int> &pointerSequence() const { return m_pointers; }
    int currentPointer() const { return m_pointer; }

    // How often pending events were processed.
    int doEventsCount() const { return m_doEvents; }

    // Drives the next modal dialogs (for example: fill in, click OK) and returns the
    // dialog's result. Without a driver a dialog is rejected at once.
    void setModalDriver(std::function<int(QDialog &)> driver) { m_modalDriver = std::move(driver); }
    int modalCount() const { return m_modals; }

    // Forgets everything recorded so far (the current pointer stays).
    void clear();

private:
    QVector<MessageRecord> m_messages;
    QVector<std::function<void(const MessageRecord &)>> m_whileShown;
    int m_messageResult;
    QVector<int> m_pointers;
    int m_pointer = 0;
    int m_doEvents = 0;
    std::function<int(QDialog &)> m_modalDriver;
    int m_modals = 0;
};

} // namespace TestSupport
