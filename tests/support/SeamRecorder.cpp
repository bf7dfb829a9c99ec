// SPDX-License-Identifier: MIT
// The seam recorder: installs recording handlers and restores the defaults.
#include "support/SeamRecorder.h"

#include "shared/Seams.h"
#include "support/UnexpectedDialogs.h"

#include <QDialog>

namespace TestSupport {

SeamRecorder::SeamRecorder()
    : m_messageResult(MKorvane::vbOK)
{
    MKorvane::setMessageBoxHandler([this](const QString &text, int style, const QString &title) {
        const MessageRecord record { text, style, title };
        m_messages.append(record);
        if (!m_whileShown.isEmpty()) {
            const auto callback = m_whileShown.takeFirst();
            if (callback)
                callback(record);
        }
        return m_messageResult;
    });
    MKorvane::setMousePointerHandlers([this] { return m_pointer; },
        [this](int pointer) {
            m_pointer = pointer;
            m_pointers.append(pointer);
        });
    MKorvane::setEventProcessor([this] { ++m_doEvents; });
    MKorvane::setModalRunner([this](QDialog &dialog) {
        ++m_modals;
        if (!m_modalDriver)
            return int(QDialog::Rejected);
        return m_modalDriver(dialog);
    });
}

SeamRecorder::~SeamRecorder()
{
    MKorvane::setMousePointerHandlers({}, {});
    MKorvane::setEventProcessor({});
    installUnexpectedDialogHandlers();
}

QStringList SeamRecorder::messageTexts() const
{
    QStringList texts;
    for (const MessageRecord &record : m_messages)
        texts.append(record.text);
    return texts;
}

void SeamRecorder::queueWhileShown(std::function<void(const MessageRecord &)> callback)
{
    m_whileShown.append(std::move(callback));
}

void SeamRecorder::clear()
{
    m_messages.clear();
    m_whileShown.clear();
    m_pointers.clear();
    m_doEvents = 0;
    m_modals = 0;
}

} // namespace TestSupport
