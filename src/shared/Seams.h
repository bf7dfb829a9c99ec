// SPDX-License-Identifier: MIT
// Seams for what a test cannot click through: the message box, the mouse pointer,
// pending-event processing and modal dialogs. The library calls only these; each has
// a Qt default that a test replaces with a recorder. Passing an empty handler
// restores the default.
#pragma once

#include <QString>
#include <functional>

class QDialog;

namespace MKorvane {

// Message-box styles.
constexpr int vbOKOnly = 0;
constexpr int vbCritical = 16;
constexpr int vbInformation = 64;
// Message-box result of the OK button.
constexpr int vbOK = 1;

// Mouse pointers: 0 the default, 11 the hourglass.
constexpr int vbDefault = 0;
constexpr int vbHourglass = 11;

using MessageBoxHandler = std::function<int(const QString &text, int style, const QString &title)>;
using MousePointerGetter = std::function<int()>;
using MousePointerSetter = std::function<void(int pointer)>;
using EventProcessor = std::function<void()>;
using ModalRunner = std::function<int(QDialog &dialog)>;

// A modal message box; an empty title means the application's name.
int MsgBox(const QString &text, int style = vbOKOnly, const QString &title = QString());
void setMessageBoxHandler(MessageBoxHandler handler);

// Routes every message box to a handler for its lifetime, then gives back the handler
// that was there before (a host's dry run collects what it would have shown).
class MessageBoxCapture
{
public:
    explicit MessageBoxCapture(MessageBoxHandler handler);
    ~MessageBoxCapture();
    MessageBoxCapture(const MessageBoxCapture &) = delete;
    MessageBoxCapture &operator=(const MessageBoxCapture &) = delete;

private:
    MessageBoxHandler m_previous;
};

int MousePointer();
void setMousePointer(int pointer);
void setMousePointerHandlers(MousePointerGetter getter, MousePointerSetter setter);

// Lets the toolkit process pending user-interface events.
void DoEvents();
void setEventProcessor(EventProcessor processor);

// Shows a dialog modally and returns its result.
int ShowModal(QDialog &dialog);
void setModalRunner(ModalRunner runner);

// Shows the hourglass for its lifetime and restores the previous pointer after.
class BusyPointer
{
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

private:
    int m_previous;
};

} // namespace MKorvane
