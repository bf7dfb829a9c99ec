// SPDX-License-Identifier: MIT
// Watching an input's live value.
#include "LiveTrend.h"

#include <QLabel>
#include <QVBoxLayout>

namespace Host {

LiveTrend::LiveTrend(QWidget *parent)
    : QWidget(parent)
    , m_view(new TrendView(this))
    , m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("hostLiveTrend"));
    m_status->setObjectName(QStringLiteral("hostTrendStatus"));
    auto column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_view, 1);
    column->addWidget(m_status);
    m_timer.setInterval(DefaultIntervalMs);
    // No busy pointer: one reading is short, and a pointer flickering every few seconds
    // would only disturb the user at work in the fields.
    connect(&m_timer, &QTimer::timeout, this, &LiveTrend::readOnce);
}

LiveTrend::~LiveTrend() = default;

void LiveTrend::start(std::unique_ptr<LiveValue> source)
{
    stop();
    m_source = std::move(source);
    m_view->clear();
    m_view->setUnit(m_source ? m_source->unit() : QString());
    m_lastText.clear();
    m_since.start();
    m_timer.start();
    readOnce();
    emit watchingChanged(true);
}

void LiveTrend::stop()
{
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    m_source.reset();
    retranslate();
    emit watchingChanged(false);
}

void LiveTrend::readOnce()
{
    if (!m_source)
        return;
    const double seconds = double(m_since.elapsed()) / 1000.0;
    const LiveReading reading = m_source->read();
    if (reading.ok) {
        m_view->addReading(seconds, reading.value);
        m_lastText
            = tr("Last reading: %1 %2 after %3 s").arg(reading.text, m_view->unit()).arg(qRound(seconds)).trimmed();
    } else {
        // A failed reading leaves a gap in time, not a false point; watching goes on.
        m_lastText = tr("No reading after %1 s: %2").arg(qRound(seconds)).arg(reading.problem);
    }
    retranslate();
}

void LiveTrend::retranslate()
{
    if (watching())
        m_status->setText(m_lastText.isEmpty() ? tr("Watching...") : m_lastText);
    else
        m_status->setText(m_view->readings().isEmpty() ? QString() : tr("Stopped. %1").arg(m_lastText));
}

} // namespace Host
