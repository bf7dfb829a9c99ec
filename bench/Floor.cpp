// SPDX-License-Identifier: MIT
// The bare form that the controls are measured against.
#include "Floor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace Bench {

namespace {

QString kindOf(const QWidget *widget)
{
    if (qobject_cast<const QGroupBox *>(widget))
        return QStringLiteral("QGroupBox");
    if (qobject_cast<const QLabel *>(widget))
        return QStringLiteral("QLabel");
    if (qobject_cast<const QLineEdit *>(widget))
        return QStringLiteral("QLineEdit");
    if (qobject_cast<const QComboBox *>(widget))
        return QStringLiteral("QComboBox");
    if (qobject_cast<const QCheckBox *>(widget))
        return QStringLiteral("QCheckBox");
    if (qobject_cast<const QPushButton *>(widget))
        return QStringLiteral("QPushButton");
    return QString();
}

void capture(const QWidget *parent, int parentIndex, FormState &state, QVector<const QWidget *> &captured)
{
    for (const QWidget *child : parent->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        const QString kind = kindOf(child);
        if (kind.isEmpty())
            continue; // Qt's own helpers (pop-ups, inner parts)
        WidgetState w;
        w.kind = kind;
        w.parent = parentIndex;
        w.geometry = child->geometry();
        w.hidden = child->isHidden();
        if (auto box = qobject_cast<const QGroupBox *>(child)) {
            w.text = box->title();
        } else if (auto label = qobject_cast<const QLabel *>(child)) {
            w.text = label->text();
        } else if (auto edit = qobject_cast<const QLineEdit *>(child)) {
            w.text = edit->text();
        } else if (auto combo = qobject_cast<const QComboBox *>(child)) {
            for (int i = 0; i < combo->count(); ++i)
                w.items << combo->itemText(i);
            w.current = combo->currentIndex();
        } else if (auto check = qobject_cast<const QCheckBox *>(child)) {
            w.text = check->text();
            w.checked = check->isChecked();
        } else if (auto button = qobject_cast<const QPushButton *>(child)) {
            w.text = button->text();
        }
        state.widgets << w;
        captured << child;
        if (kind == QLatin1String("QGroupBox"))
            capture(child, int(state.widgets.size()) - 1, state, captured);
    }
}

QWidget *create(const WidgetState &w, QWidget *parent)
{
    if (w.kind == QLatin1String("QGroupBox"))
        return new QGroupBox(parent);
    if (w.kind == QLatin1String("QLabel"))
        return new QLabel(parent);
    if (w.kind == QLatin1String("QLineEdit"))
        return new QLineEdit(parent);
    if (w.kind == QLatin1String("QComboBox"))
        return new QComboBox(parent);
    if (w.kind == QLatin1String("QCheckBox"))
        return new QCheckBox(parent);
    return new QPushButton(parent);
}

} // namespace

FormState captureForm(const QWidget *form)
{
    FormState state;
    state.geometry = QRect(QPoint(), form->size());
    QVector<const QWidget *> captured;
    capture(form, -1, state, captured);
    // A caption is tied to the field it names (its mnemonic and the field's accessible
    // name); a control that changes the tie repaints the caption, and so does the floor.
    for (int i = 0; i < captured.size(); ++i) {
        if (auto label = qobject_cast<const QLabel *>(captured.at(i)))
            state.widgets[i].buddy = int(captured.indexOf(label->buddy()));
    }
    return state;
}

bool sameWidgets(const FormState &a, const FormState &b)
{
    if (a.widgets.size() != b.widgets.size())
        return false;
    for (int i = 0; i < a.widgets.size(); ++i) {
        if (a.widgets[i].kind != b.widgets[i].kind || a.widgets[i].parent != b.widgets[i].parent)
            return false;
    }
    return true;
}

FloorForm::FloorForm(const FormState &state)
    : m_form(std::make_unique<QWidget>())
{
    m_form->resize(state.geometry.size());
    for (const WidgetState &w : state.widgets)
        m_widgets << create(w, w.parent < 0 ? m_form.get() : m_widgets.at(w.parent));
    fill(state, true);
}

FloorForm::~FloorForm() = default;

void FloorForm::fill(const FormState &filled, bool building)
{
    m_form->resize(filled.geometry.size());
    for (int i = 0; i < filled.widgets.size() && i < m_widgets.size(); ++i) {
        const WidgetState &w = filled.widgets.at(i);
        QWidget *widget = m_widgets.at(i);
        widget->setGeometry(w.geometry);
        if (auto box = qobject_cast<QGroupBox *>(widget)) {
            box->setTitle(w.text);
        } else if (auto label = qobject_cast<QLabel *>(widget)) {
            label->setText(w.text);
            QWidget *buddy = w.buddy >= 0 && w.buddy < m_widgets.size() ? m_widgets.at(w.buddy) : nullptr;
            if (label->buddy() != buddy)
                label->setBuddy(buddy);
        } else if (auto edit = qobject_cast<QLineEdit *>(widget)) {
            // Built, an empty field is left as the form made it, as the controls' forms leave
            // theirs: setting it, even to the same text, makes Qt 6.4 resolve the field's
            // accessibility interface, which the controls' fields get only when first filled.
            if (!(building && edit->text() == w.text))
                edit->setText(w.text);
        } else if (auto combo = qobject_cast<QComboBox *>(widget)) {
            // Lists are built anew, as a control builds them from the device's enumerations.
            combo->clear();
            combo->addItems(w.items);
            combo->setCurrentIndex(w.current);
        } else if (auto check = qobject_cast<QCheckBox *>(widget)) {
            check->setText(w.text);
            check->setChecked(w.checked);
        } else if (auto button = qobject_cast<QPushButton *>(widget)) {
            button->setText(w.text);
        }
        widget->setVisible(!w.hidden);
    }
}

} // namespace Bench
