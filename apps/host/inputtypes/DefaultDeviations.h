// SPDX-License-Identifier: MIT
// Deviations from an input type's defaults: every field of the input page whose value
// differs from what it would show with the type's defaults written gets a small marker
// with the tool tip "Default for <type>: <value>"; the field's own tool tip carries that
// line too, above what the control says of the field (its format name). What the fields would show is found
// by a dry run (the defaults written with CInputDefaultValues, read by a hidden page of
// both controls, the network restored), so it is in the units, language and form the
// controls themselves show. The marks are decorations the host lays over the
// controls, keyed on the widgets' object names; the controls know nothing of them.
#pragma once

#include "page/ControlHandover.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>

class QLabel;
class QWidget;

namespace Sim {
class Network;
}

namespace Host {

class InputPage;
class InputTypes;

struct DeviationMark
{
    QString field; // the widget's object name, e.g. "txtMax"
    QString toolTip; // "Default for <type>: <value>"
};

// The texts the input's fields would show with a type's defaults written, by the
// fields' object names: only fields of properties the type's section names and that
// the controls show with those defaults. Empty, with the reason in *why, when the type
// has no defaults or the input cannot be shown.
QMap<QString, QString> shownDefaults(Sim::Network &network, InputTypes &types, const InputRef &input,
    const QString &type, const QString &choice, qint16 measurementSystem, QString *why = nullptr);

class DefaultDeviations : public QObject
{
    Q_OBJECT

public:
    explicit DefaultDeviations(QObject *parent = nullptr);
    ~DefaultDeviations() override;

    // Marks the page's fields against the type's defaults and follows its edits. An empty
    // type or a page of nothing clears the marks.
    bool show(InputPage *page, Sim::Network &network, InputTypes &types, const QString &type, const QString &choice,
        qint16 measurementSystem);
    void clear();

    QString type() const { return m_type; }
    QString problem() const { return m_problem; } // why there are no marks although asked
    // The fields marked now, in the controls' order, with their tool tips.
    QList<DeviationMark> marks() const;
    // Compares every field again (the window calls this after an edit).
    void update();

private:
    QWidget *fieldOf(const QString &name) const;
    void restoreTip(const QString &name);

    // A marked field's tool tip: its own (the control's) and the one shown with the mark.
    struct FieldTip
    {
        QString own;
        QString shown;
    };

    QPointer<InputPage> m_page;
    QString m_type;
    QString m_problem;
    QMap<QString, QString> m_defaults; // field name -> text shown with the defaults
    QMap<QString, QPointer<QLabel>> m_markers;
    QMap<QString, FieldTip> m_fieldTips; // by field name, while marked
};

} // namespace Host
