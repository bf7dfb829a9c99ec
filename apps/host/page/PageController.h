// SPDX-License-Identifier: MIT
// The input page's handlers in the window: OK, Apply and Cancel of the page shown, and
// the second views of its input, which follow the window from input to input and pass a
// new override on to every other view of the same input.
#pragma once

#include "ControlHandover.h"
#include "InputPage.h"
#include "NetworkView.h"
#include "WriteOutcome.h"

#include <QList>
#include <QObject>
#include <QPointer>

class ctlSensorNV;
class QDialogButtonBox;
class QPushButton;

namespace Host {

class HostWindow;

class PageController : public QObject
{
public:
    explicit PageController(HostWindow &window);

    // OK, Apply and Cancel of the window's button box, and Second view.
    void takeButtons(QDialogButtonBox *buttons, QPushButton *secondView);
    void retranslate();
    // A new page of the window: its messages, edits and set-point offset reach the window
    // and the second views.
    void connectPage(InputPage *page);
    // Drops the page and every second view.
    void closeAll();

    bool accept();
    bool apply();
    void discard();
    NetworkView *openSecondView();
    // Every second view shows the window's input afresh (or, without one, takes no edit).
    void updateViews();
    void setMesureUnit(qint16 measurementSystem);
    void reInitializeStrings();
    const PageOutcome &lastWrite() const { return m_lastWrite; }

private:
    QList<ctlSensorNV *> networkControlsOf(const InputRef &input) const;
    void relayOverride(ctlSensorNV *source);

    HostWindow &m_window;
    QDialogButtonBox *m_buttons = nullptr;
    QPushButton *m_secondView = nullptr;
    QList<QPointer<NetworkView>> m_views;
    PageOutcome m_lastWrite;
};

} // namespace Host
