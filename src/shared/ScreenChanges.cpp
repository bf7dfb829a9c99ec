// SPDX-License-Identifier: MIT
// What changed on screen since a control's last pause for pending events.
#include "shared/ScreenChanges.h"

#include "shared/Seams.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>

namespace MKorvane {

ScreenChanges::ScreenChanges(QObject *parent)
    : QObject(parent)
{
}

void ScreenChanges::watch(std::initializer_list<QWidget *> widgets)
{
    for (QWidget *widget : widgets) {
        // Qt sends these events at once only while the widget is on screen, so a hidden
        // control or a hidden widget counts no change.
        widget->installEventFilter(this);
        if (auto box = qobject_cast<QLineEdit *>(widget))
            connect(box, &QLineEdit::textChanged, this, [this, box] { note(box); });
        else if (auto combo = qobject_cast<QComboBox *>(widget)) {
            m_listTexts.insert(combo, combo->currentText());
            connect(combo, &QComboBox::currentIndexChanged, this, [this, combo] { selectionChanged(combo); });
        } else if (auto button = qobject_cast<QAbstractButton *>(widget); button && button->isCheckable())
            connect(button, &QAbstractButton::toggled, this, [this, button] { note(button); });
    }
}

void ScreenChanges::note(const QWidget *widget)
{
    if (widget->isVisible())
        m_pending = true;
}

void ScreenChanges::selectionChanged(QComboBox *combo)
{
    QString &shown = m_listTexts[combo];
    if (!combo->isVisible())
        shown = combo->currentText(); // what it will show when it appears
    else if (combo->currentText() != shown)
        m_pending = true;
}

bool ScreenChanges::pause()
{
    if (!m_pending || m_holds > 0)
        return false;
    m_pending = false;
    for (auto it = m_listTexts.begin(); it != m_listTexts.end(); ++it)
        it.value() = it.key()->currentText();
    DoEvents();
    return true;
}

bool ScreenChanges::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
        m_pending = true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace MKorvane
