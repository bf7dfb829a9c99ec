// SPDX-License-Identifier: MIT
// Pairing a control's visible value widgets with their captions and units.
#include "ShownFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <climits>

namespace Host {

namespace {

QRect placeOf(const QWidget *w, const QWidget *control)
{
    return QRect(w->mapTo(control, QPoint()), w->size());
}

bool sameRow(const QRect &a, const QRect &b)
{
    const int centre = b.center().y();
    return centre >= a.top() && centre <= a.bottom();
}

bool shown(const QWidget *w, const QWidget *control)
{
    return !w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")) && w->isVisibleTo(control);
}

QString plain(QString caption)
{
    caption.remove(QLatin1Char('&'));
    caption = caption.trimmed();
    if (caption.endsWith(QLatin1Char(':')))
        caption.chop(1);
    return caption.trimmed();
}

} // namespace

QVector<ShownField> shownFields(const QWidget *control)
{
    QVector<ShownField> fields;
    if (!control)
        return fields;
    QList<const QWidget *> values;
    QList<const QLabel *> labels;
    QList<const QPushButton *> buttons; // a button above a field names it ("Get Value")
    const auto children = control->findChildren<QWidget *>();
    for (const QWidget *w : children) {
        if (!shown(w, control))
            continue;
        if (qobject_cast<const QLineEdit *>(w) || qobject_cast<const QComboBox *>(w)
            || qobject_cast<const QCheckBox *>(w))
            values << w;
        else if (auto label = qobject_cast<const QLabel *>(w); label && !label->text().trimmed().isEmpty())
            labels << label;
        else if (auto button = qobject_cast<const QPushButton *>(w); button && !button->text().trimmed().isEmpty())
            buttons << button;
    }
    std::sort(values.begin(), values.end(), [control](const QWidget *a, const QWidget *b) {
        const QPoint pa = a->mapTo(control, QPoint());
        const QPoint pb = b->mapTo(control, QPoint());
        return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    // The caption of a field is the nearest label to its left on its row.
    QList<const QLabel *> captions;
    for (const QWidget *w : std::as_const(values)) {
        ShownField field;
        field.field = w->objectName();
        const QLabel *caption = nullptr;
        if (auto combo = qobject_cast<const QComboBox *>(w)) {
            field.value = combo->currentText();
        } else if (auto box = qobject_cast<const QLineEdit *>(w)) {
            field.value = box->text();
        } else if (auto check = qobject_cast<const QCheckBox *>(w)) {
            field.value = check->isChecked() ? QStringLiteral("yes") : QStringLiteral("no");
            field.caption = plain(check->text());
        }
        const QRect place = placeOf(w, control);
        int gap = INT_MAX;
        for (const QLabel *label : std::as_const(labels)) {
            const QRect at = placeOf(label, control);
            if ((sameRow(place, at) || sameRow(at, place)) && at.right() <= place.left()
                && place.left() - at.right() < gap) {
                gap = place.left() - at.right();
                caption = label;
            }
        }
        // Without one on its row, the label (or button) just above it, aligned with its left edge.
        const auto justAbove = [&](const QWidget *other) {
            const QRect at = placeOf(other, control);
            return at.bottom() <= place.top() && place.top() - at.bottom() <= 2 * place.height()
                && qAbs(at.left() - place.left()) <= 8;
        };
        for (const QLabel *label : std::as_const(labels)) {
            if (!caption && justAbove(label))
                caption = label;
        }
        for (const QPushButton *button : std::as_const(buttons)) {
            if (!caption && field.caption.isEmpty() && justAbove(button))
                field.caption = plain(button->text());
        }
        if (caption && field.caption.isEmpty()) {
            field.caption = plain(caption->text());
            captions << caption;
        }
        fields << field;
    }
    // The unit is the nearest label to its right, before any other field on the row, that
    // is no field's caption.
    for (int i = 0; i < values.size(); ++i) {
        const QRect place = placeOf(values[i], control);
        const auto rightOf = [&place](const QRect &at) {
            return (sameRow(place, at) || sameRow(at, place)) && at.left() >= place.right() ? at.left() - place.right()
                                                                                            : INT_MAX;
        };
        int gap = INT_MAX;
        for (const QWidget *other : std::as_const(values))
            gap = std::min(gap, other == values[i] ? INT_MAX : rightOf(placeOf(other, control)));
        for (const QLabel *label : std::as_const(labels)) {
            const int distance = rightOf(placeOf(label, control));
            if (captions.contains(label) || distance >= gap)
                continue;
            gap = distance;
            fields[i].unit = label->text().trimmed();
        }
    }
    return fields;
}

} // namespace Host
