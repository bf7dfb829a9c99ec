// SPDX-License-Identifier: MIT
// The window's Messages pane: one line per message, with an icon for its severity, and
// the detail in the tool tip. It keeps the last 2000 lines.
#pragma once

#include "page/PageMessage.h"

#include <QListWidget>

class QDockWidget;
class QMainWindow;

namespace Host {

class MessagesPane : public QListWidget
{
public:
    explicit MessagesPane(QWidget *parent = nullptr);

    // Puts the pane in a dock below the window's centre; the dock is returned.
    QDockWidget *dockInto(QMainWindow *window);

    // Without times, so that pictures of the window come out the same on every run.
    void setReproducible(bool on) { m_reproducible = on; }
    void add(const PageMessage &message);
    // The headlines, one a line.
    QString text() const;

private:
    bool m_reproducible = false;
};

} // namespace Host
