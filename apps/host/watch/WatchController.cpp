// SPDX-License-Identifier: MIT
// Watch: the shown input's live value, read every few seconds and drawn against time.
#include "WatchController.h"

#include "LiveTrend.h"
#include "device/sim/SimNetwork.h"
#include "window/HostWindow.h"

#include <QPushButton>

namespace Host {

WatchController::WatchController(HostWindow &window, QPushButton *watch, LiveTrend *trend)
    : QObject(&window)
    , m_window(window)
    , m_watch(watch)
    , m_trend(trend)
{
    connect(m_watch, &QPushButton::toggled, this, &WatchController::setWatching);
    connect(m_trend, &LiveTrend::watchingChanged, this, [this](bool on) {
        const QSignalBlocker blocker(m_watch);
        m_watch->setChecked(on);
        m_trend->setVisible(on);
    });
}

void WatchController::retranslate()
{
    m_watch->setText(HostWindow::tr("&Watch"));
    m_watch->setToolTip(HostWindow::tr("Read this input's live value every few seconds and draw it against time"));
    m_trend->retranslate();
}

void WatchController::watchPage(InputPage *page)
{
    // Watching ends with the page: another input, another database, the window closing.
    connect(page, &QObject::destroyed, m_trend, &LiveTrend::stop);
}

bool WatchController::watching() const
{
    return m_trend->watching();
}

void WatchController::setWatching(bool on)
{
    if (!on || !m_window.m_page || !m_window.network()) {
        m_trend->stop();
        const QSignalBlocker blocker(m_watch);
        m_watch->setChecked(false);
        return;
    }
    // The simulated values start moving with the first watch, so that everything shown
    // before (and every picture of the window) reads the values the database stores.
    m_window.network()->startClock();
    m_trend->start(std::make_unique<LiveValue>(*m_window.network(), m_window.m_page->input(),
        m_window.m_measurementSystem, m_window.m_page->setpointOffset()));
}

} // namespace Host
