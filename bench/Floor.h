// SPDX-License-Identifier: MIT
// The floor a control is measured against: a bare form with the same kinds of widgets
// in the same places, built beforehand in the state the control has before its
// initialisation, then filled from memory with what the control shows after it. No
// device, no display strings, no layout logic: what Qt alone costs to change the same
// widgets to the same screen.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

class QWidget;

namespace Bench {

// What one widget shows.
struct WidgetState
{
    QString kind; // "QGroupBox", "QLabel", "QLineEdit", "QComboBox", "QCheckBox", "QPushButton", "QWidget"
    int parent = -1; // index of the parent in FormState::widgets; -1: the form itself
    QRect geometry;
    bool hidden = false;
    QString text; // caption, title or box text
    QStringList items; // list items
    int current = -1; // selected item
    bool checked = false;
    int buddy = -1; // a label's buddy: its index in FormState::widgets; -1: none
};

// What a form shows, widget by widget, parents before their children.
struct FormState
{
    QRect geometry;
    QVector<WidgetState> widgets;
};

// Takes what a control shows (its own widgets; not the inner parts of Qt's widgets).
FormState captureForm(const QWidget *form);
// Whether two states hold the same widgets (kinds and parents) in the same order, so that
// one can be filled into a form built from the other.
bool sameWidgets(const FormState &a, const FormState &b);

class FloorForm
{
public:
    // Builds the widgets of `state` and fills them with what it holds; not yet shown.
    explicit FloorForm(const FormState &state);
    ~FloorForm();

    QWidget *widget() const { return m_form.get(); }
    // Puts `filled` into the widgets: geometry, visibility, texts, list items, selections and
    // the labels' buddies.
    // `building`: the first fill, which leaves a text field that already shows its text alone.
    void fill(const FormState &filled, bool building = false);

private:
    std::unique_ptr<QWidget> m_form;
    QVector<QWidget *> m_widgets;
};

} // namespace Bench
