// SPDX-License-Identifier: MIT
// Watch beside Second view: the shown input's live value read every few seconds and drawn
// below the page. Watching stops with the page (another input or database), when the
// button is pressed again, and when the window stops it (units changed, window hidden).
#pragma once

#include <QObject>

class QPushButton;

namespace Host {

class HostWindow;
class InputPage;
class LiveTrend;

class WatchController : public QObject
{
public:
    WatchController(HostWindow &window, QPushButton *watch, LiveTrend *trend);

    void retranslate();
    // Watching ends when this page goes.
    void watchPage(InputPage *page);
    bool watching() const;
    void setWatching(bool on);

private:
    HostWindow &m_window;
    QPushButton *m_watch;
    LiveTrend *m_trend;
};

} // namespace Host
