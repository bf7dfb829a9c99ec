// SPDX-License-Identifier: MIT
// The window's Messages pane.
#include "MessagesPane.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QStyle>
#include <QTime>

namespace Host {

MessagesPane::MessagesPane(QWidget *parent)
    : QListWidget(parent)
{
    setWordWrap(true);
}

QDockWidget *MessagesPane::dockInto(QMainWindow *window)
{
    auto dock = new QDockWidget(window);
    dock->setObjectName(QStringLiteral("hostMessages"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dock->setWidget(this);
    window->addDockWidget(Qt::BottomDockWidgetArea, dock);
    window->resizeDocks({ dock }, { 130 }, Qt::Vertical);
    return dock;
}

void MessagesPane::add(const PageMessage &message)
{
    static const QStyle::StandardPixmap icons[]
        = { QStyle::SP_MessageBoxInformation, QStyle::SP_MessageBoxWarning, QStyle::SP_MessageBoxCritical };
    const QString time = m_reproducible ? QString() : QTime::currentTime().toString(QStringLiteral("HH:mm:ss "));
    auto item = new QListWidgetItem(style()->standardIcon(icons[message.severity]), time + message.headline, this);
    item->setData(Qt::UserRole, int(message.severity));
    item->setToolTip(
        message.detail.isEmpty() ? message.headline : message.headline + QLatin1Char('\n') + message.detail);
    while (count() > 2000)
        delete takeItem(0);
    scrollToBottom();
}

QString MessagesPane::text() const
{
    QStringList lines;
    for (int i = 0; i < count(); ++i)
        lines << item(i)->text();
    return lines.join(QLatin1Char('\n'));
}

} // namespace Host
