// SPDX-License-Identifier: MIT
/// @file
/// Seams for what a test cannot click through: the message box, the mouse pointer,
/// pending-event processing and modal dialogs. The library calls only these; each has
/// a Qt default that a test replaces with a recorder. Passing an empty handler
/// restores the default.
#pragma once

#include "vqzovezuvaveva_export.h"

#include <QString>
#include <functional>

class QDialog;

namespace MKorvane {

/// Message-box styles.
constexpr int vbOKOnly = 0;
constexpr int vbCritical = 16; ///<  Critical message style.
constexpr int vbInformation = 64; ///<  Information message style.
/// Message-box result of the OK button.
constexpr int vbOK = 1;

/// Mouse pointers: 0 the default, 11 the hourglass.
constexpr int vbDefault = 0;
constexpr int vbHourglass = 11; ///<  The busy pointer.

/// The handler types of the seams: a message box (returns the button pressed), the mouse
/// pointer, pending-event processing and a modal dialog (returns its result).
/// @{
using MessageBoxHandler = std::function<int(const QString &text, int style, const QString &title)>;
using MousePointerGetter = std::function<int()>;
using MousePointerSetter = std::function<void(int pointer)>;
using EventProcessor = std::function<void()>;
using ModalRunner = std::function<int(QDialog &dialog)>;
///@}

/// A modal message box; an empty title means the application's name.
VQ_EXPORT int MsgBox(const QString &text, int style = vbOKOnly, const QString &title = QString());
/// Replaces the message box for the process; an empty handler restores QMessageBox.
VQ_EXPORT void setMessageBoxHandler(MessageBoxHandler handler);

/// Routes every message box to a handler for its lifetime, then gives back the handler
/// that was there before (a host's dry run collects what it would have shown).
class VQ_EXPORT MessageBoxCapture
{
public:
    /// Installs handler until the capture is destroyed.
    explicit MessageBoxCapture(MessageBoxHandler handler);
    ~MessageBoxCapture();
    MessageBoxCapture(const MessageBoxCapture &) = delete;
    MessageBoxCapture &operator=(const MessageBoxCapture &) = delete;

private:
    MessageBoxHandler m_previous;
};

/// The mouse pointer (vbDefault, vbHourglass) as the application shows it, and its setter.
/// @{
VQ_EXPORT int MousePointer();
VQ_EXPORT void setMousePointer(int pointer);
///@}
/// Replaces how the pointer is read and set; empty handlers restore Qt's override cursor.
VQ_EXPORT void setMousePointerHandlers(MousePointerGetter getter, MousePointerSetter setter);

/// Lets the toolkit process pending user-interface events.
VQ_EXPORT void DoEvents();
/// Replaces DoEvents for the process; an empty handler restores QCoreApplication::processEvents.
VQ_EXPORT void setEventProcessor(EventProcessor processor);

/// Shows a dialog modally and returns its result.
VQ_EXPORT int ShowModal(QDialog &dialog);
/// Replaces ShowModal for the process; an empty handler restores QDialog::exec.
VQ_EXPORT void setModalRunner(ModalRunner runner);

/// Shows the hourglass for its lifetime and restores the previous pointer after.
class VQ_EXPORT BusyPointer
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
