// SPDX-License-Identifier: MIT
// Reading back the visible fields of a control.
#include "ControlProbe.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <algorithm>

namespace Host {

namespace {

QString describe(const QWidget *w)
{
    const QString name = w->objectName();
    if (auto combo = qobject_cast<const QComboBox *>(w))
        return name + QStringLiteral(" = ")
            + (combo->currentIndex() < 0 ? QStringLiteral("(none)") : combo->currentText());
    if (auto box = qobject_cast<const QLineEdit *>(w))
        return name + QStringLiteral(" = ") + box->text()
            + (box->isReadOnly() ? QStringLiteral(" (locked)") : QString());
    if (auto check = qobject_cast<const QCheckBox *>(w))
        return name + (check->isChecked() ? QStringLiteral(" = [x]") : QStringLiteral(" = [ ]"));
    if (auto button = qobject_cast<const QAbstractButton *>(w))
        return name + QStringLiteral(" [") + button->text() + QLatin1Char(']');
    if (auto label = qobject_cast<const QLabel *>(w))
        return label->text().isEmpty() ? QString() : name + QStringLiteral(": ") + label->text();
    if (auto frame = qobject_cast<const QGroupBox *>(w))
        return frame->title().isEmpty() ? QString() : name + QStringLiteral(": ") + frame->title();
    return QString();
}

} // namespace

QStringList describeVisibleFields(const QWidget *control)
{
    if (!control)
        return {};
    QList<const QWidget *> shown;
    const auto children = control->findChildren<QWidget *>();
    for (const QWidget *w : children) {
        // Widgets of the combo boxes' own popups carry Qt's names; keep the control's own.
        if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")) || !w->isVisibleTo(control))
            continue;
        shown << w;
    }
    // Reading order: top to bottom, then left to right, in the control's coordinates.
    std::sort(shown.begin(), shown.end(), [control](const QWidget *a, const QWidget *b) {
        const QPoint pa = a->mapTo(control, QPoint());
        const QPoint pb = b->mapTo(control, QPoint());
        return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    QStringList lines;
    for (const QWidget *w : std::as_const(shown)) {
        const QString line = describe(w);
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

QString comboText(const QWidget *control, const QString &objectName)
{
    const auto combo = control ? control->findChild<QComboBox *>(objectName) : nullptr;
    return combo ? combo->currentText() : QString();
}

} // namespace Host
