// SPDX-License-Identifier: MIT
// The script commands that work on one field: set a text, choose an item, tick a box,
// click a button, expect what a field shows. Fields are found by object name.
#include "ScriptRunner.h"

#include "ScriptRunner_p.h"
#include "window/HostWindow.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace Host {

using namespace ScriptText;

namespace {

QString kindOf(const QWidget *widget)
{
    if (qobject_cast<const QLineEdit *>(widget))
        return QStringLiteral("a text field (use set)");
    if (qobject_cast<const QComboBox *>(widget))
        return QStringLiteral("a list (use choose)");
    if (qobject_cast<const QCheckBox *>(widget))
        return QStringLiteral("a check box (use tick)");
    return QStringLiteral("a %1").arg(QString::fromLatin1(widget->metaObject()->className()));
}

// A button's caption as it reads: "&Apply" shows "Apply", "&&" one ampersand.
QString withoutMnemonic(const QString &text)
{
    QString shown;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        shown += text.at(i);
    }
    return shown;
}

// What a field shows: a text field's or list's text, a check box as on/off, a caption.
bool shownText(const QWidget *widget, QString &text)
{
    if (auto edit = qobject_cast<const QLineEdit *>(widget))
        text = edit->text();
    else if (auto combo = qobject_cast<const QComboBox *>(widget))
        text = combo->currentText();
    else if (auto box = qobject_cast<const QAbstractButton *>(widget); box && box->isCheckable())
        text = box->isChecked() ? QStringLiteral("on") : QStringLiteral("off");
    else if (auto button = qobject_cast<const QAbstractButton *>(widget))
        text = withoutMnemonic(button->text());
    else if (auto label = qobject_cast<const QLabel *>(widget))
        text = label->text();
    else if (auto frame = qobject_cast<const QGroupBox *>(widget))
        text = frame->title();
    else
        return false;
    return true;
}

} // namespace

QWidget *ScriptRunner::field(const QString &name) const
{
    if (name.isEmpty())
        return nullptr;
    if (InputPage *page = m_window.page()) {
        if (auto widget = page->findChild<QWidget *>(name))
            return widget;
    }
    return m_window.findChild<QWidget *>(name);
}

QString ScriptRunner::whyNotEditable(const QWidget *widget) const
{
    if (!widget->isVisibleTo(&m_window))
        return QStringLiteral("%1 is not shown now").arg(widget->objectName());
    if (!widget->isEnabled())
        return QStringLiteral("%1 is disabled").arg(widget->objectName());
    if (auto edit = qobject_cast<const QLineEdit *>(widget); edit && edit->isReadOnly())
        return QStringLiteral("%1 is read-only").arg(widget->objectName());
    return QString();
}

ScriptRunner::Outcome ScriptRunner::set(const QString &name, const QString &text)
{
    QWidget *widget = field(name);
    if (!widget)
        return failed(QStringLiteral("no field %1 on the page").arg(quoted(name)));
    auto edit = qobject_cast<QLineEdit *>(widget);
    if (!edit)
        return failed(QStringLiteral("%1 is %2").arg(name, kindOf(widget)));
    if (const QString why = whyNotEditable(edit); !why.isEmpty())
        return failed(why);
    const QString before = edit->text();
    // As typing would: the control's change handlers run; it checks the value when it writes.
    edit->setText(text);
    return { true, QStringLiteral("%1: %2 -> %3").arg(name, quoted(before), quoted(edit->text())), {} };
}

ScriptRunner::Outcome ScriptRunner::choose(const QString &name, const QString &item)
{
    QWidget *widget = field(name);
    if (!widget)
        return failed(QStringLiteral("no list %1 on the page").arg(quoted(name)));
    auto combo = qobject_cast<QComboBox *>(widget);
    if (!combo)
        return failed(QStringLiteral("%1 is %2").arg(name, kindOf(widget)));
    if (const QString why = whyNotEditable(combo); !why.isEmpty())
        return failed(why);
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    const QString found = findName(items, item);
    if (found.isEmpty())
        return failed(QStringLiteral("%1 offers no %2; it offers %3").arg(name, quoted(item), listed(items)));
    const QString before = combo->currentText();
    combo->setCurrentIndex(int(items.indexOf(found)));
    // The host's own lists ask about pending edits first and go back when the user stays.
    // The page may have been rebuilt meanwhile, so look the list up again.
    combo = qobject_cast<QComboBox *>(field(name));
    if (!combo || combo->currentText() != found)
        return failed(QStringLiteral("%1 did not take %2").arg(name, quoted(found)));
    return { true, QStringLiteral("%1: %2 -> %3").arg(name, quoted(before), quoted(found)), {} };
}

ScriptRunner::Outcome ScriptRunner::tick(const QString &name, const QString &state)
{
    const QString s = state.toLower();
    if (s != QLatin1String("on") && s != QLatin1String("off"))
        return failed(QStringLiteral("tick takes on or off, not %1").arg(quoted(state)));
    QWidget *widget = field(name);
    if (!widget)
        return failed(QStringLiteral("no check box %1 on the page").arg(quoted(name)));
    auto box = qobject_cast<QAbstractButton *>(widget);
    if (!box || !box->isCheckable())
        return failed(QStringLiteral("%1 is %2").arg(name, kindOf(widget)));
    if (const QString why = whyNotEditable(box); !why.isEmpty())
        return failed(why);
    const bool on = s == QLatin1String("on");
    if (box->isChecked() == on)
        return { true, QStringLiteral("%1 is %2 already").arg(name, s), {} };
    box->click(); // a click, as the user's: the control's handlers and the page's watch run
    if (box->isChecked() != on)
        return failed(QStringLiteral("%1 did not change").arg(name));
    return { true, QStringLiteral("%1: %2").arg(name, s), {} };
}

ScriptRunner::Outcome ScriptRunner::click(const QString &name)
{
    QWidget *widget = field(name);
    if (!widget)
        return failed(QStringLiteral("no button %1 on the page").arg(quoted(name)));
    auto button = qobject_cast<QAbstractButton *>(widget);
    if (!button || button->isCheckable())
        return failed(
            QStringLiteral("%1 is %2").arg(name, button ? QStringLiteral("a check box (use tick)") : kindOf(widget)));
    if (const QString why = whyNotEditable(button); !why.isEmpty())
        return failed(why);
    button->click(); // a dialog it opens is cancelled and recorded (no user to fill it)
    return { true, QStringLiteral("%1 clicked").arg(name), {} };
}

ScriptRunner::Outcome ScriptRunner::expect(const QString &name, const QString &text)
{
    const QWidget *widget = field(name);
    QString found;
    if (!widget || !shownText(widget, found))
        return failed(QStringLiteral("no field %1 with a text on the page").arg(quoted(name)));
    const QJsonObject extra { { QStringLiteral("expected"), text }, { QStringLiteral("found"), found } };
    if (found != text)
        return failed(QStringLiteral("expected %1 to read %2, found %3").arg(name, quoted(text), quoted(found)), extra);
    return { true, QStringLiteral("%1 reads %2").arg(name, quoted(found)), extra };
}

} // namespace Host
