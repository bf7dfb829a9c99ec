// SPDX-License-Identifier: MIT
// The toolkit seams and their Qt defaults: QMessageBox, the override cursor,
// QCoreApplication::processEvents() and QDialog::exec().
#include "shared/Seams.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDebug>
#include <QDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <utility>

namespace MKorvane {
namespace {

QMessageBox::Icon iconForStyle(int style)
{
    switch (style & 0x70) {
    case vbCritical:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int defaultMessageBox(const QString &text, int style, const QString &title)
{
    const QString caption = title.isEmpty() ? QCoreApplication::applicationName() : title;
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        // Without a widget application there is nobody to show the box to.
        qWarning().noquote() << caption << ":" << text;
        return vbOK;
    }
    QMessageBox box(iconForStyle(style), caption, text, QMessageBox::Ok);
    box.exec();
    return vbOK;
}

// The pointer number in effect; the override cursor is pushed only for the hourglass.
int g_pointer = vbDefault;

int defaultMousePointer()
{
    return g_pointer;
}

void defaultSetMousePointer(int pointer)
{
    if (pointer == g_pointer)
        return;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        if (g_pointer == vbHourglass)
            QGuiApplication::restoreOverrideCursor();
        if (pointer == vbHourglass)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    g_pointer = pointer;
}

struct Handlers
{
    MessageBoxHandler messageBox;
    MousePointerGetter pointerGetter;
    MousePointerSetter pointerSetter;
    EventProcessor eventProcessor;
    ModalRunner modalRunner;
};

Handlers &handlers()
{
    static Handlers instance;
    return instance;
}

} // namespace

int MsgBox(const QString &text, int style, const QString &title)
{
    if (handlers().messageBox)
        return handlers().messageBox(text, style, title);
    return defaultMessageBox(text, style, title);
}

void setMessageBoxHandler(MessageBoxHandler handler)
{
    handlers().messageBox = std::move(handler);
}

MessageBoxCapture::MessageBoxCapture(MessageBoxHandler handler)
    : m_previous(std::exchange(handlers().messageBox, std::move(handler)))
{
}

MessageBoxCapture::~MessageBoxCapture()
{
    handlers().messageBox = std::move(m_previous);
}

int MousePointer()
{
    if (handlers().pointerGetter)
        return handlers().pointerGetter();
    return defaultMousePointer();
}

void setMousePointer(int pointer)
{
    if (handlers().pointerSetter)
        handlers().pointerSetter(pointer);
    else
        defaultSetMousePointer(pointer);
}

void setMousePointerHandlers(MousePointerGetter getter, MousePointerSetter setter)
{
    handlers().pointerGetter = std::move(getter);
    handlers().pointerSetter = std::move(setter);
}

void DoEvents()
{
    if (handlers().eventProcessor)
        handlers().eventProcessor();
    else
        QCoreApplication::processEvents();
}

void setEventProcessor(EventProcessor processor)
{
    handlers().eventProcessor = std::move(processor);
}

int ShowModal(QDialog &dialog)
{
    if (handlers().modalRunner)
        return handlers().modalRunner(dialog);
    return dialog.exec();
}

void setModalRunner(ModalRunner runner)
{
    handlers().modalRunner = std::move(runner);
}

BusyPointer::BusyPointer()
    : m_previous(MousePointer())
{
    setMousePointer(vbHourglass);
}

BusyPointer::~BusyPointer()
{
    setMousePointer(m_previous);
}

} // namespace MKorvane
