// SPDX-License-Identifier: MIT
// The wheel guard of lists and spin boxes.
#include "shared/WheelGuard.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QWidget>

namespace MKorvane {
namespace {

// One filter for the whole process, owned by the application.
class WheelFilter : public QObject
{
public:
    using QObject::QObject;

    static WheelFilter *instance()
    {
        static WheelFilter *filter = new WheelFilter(QCoreApplication::instance());
        return filter;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Wheel)
            return false;
        if (static_cast<QWidget *>(watched)->hasFocus())
            return false;
        // Ignored and filtered: Qt hands the turn on to the parent, and the page under the
        // pointer scrolls as if the widget were not there.
        event->ignore();
        return true;
    }
};

void guardOne(QWidget *widget)
{
    widget->setFocusPolicy(Qt::StrongFocus);
    widget->removeEventFilter(WheelFilter::instance()); // installed once, however often a form is guarded
    widget->installEventFilter(WheelFilter::instance());
}

} // namespace

void GuardWheel(QWidget *form)
{
    if (!form || !QCoreApplication::instance())
        return;
    QList<QWidget *> widgets;
    widgets << form << form->findChildren<QWidget *>();
    for (QWidget *widget : std::as_const(widgets)) {
        if (qobject_cast<QComboBox *>(widget) || qobject_cast<QAbstractSpinBox *>(widget))
            guardOne(widget);
    }
}

} // namespace MKorvane
