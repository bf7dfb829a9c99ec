// SPDX-License-Identifier: MIT
// Watching an input: its live value read every few seconds and drawn as a trend, with
// the last reading (or why there is none) below it.
#pragma once

#include "LiveValue.h"
#include "TrendView.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <memory>

class QLabel;

namespace Host {

class LiveTrend : public QWidget
{
    Q_OBJECT

public:
    static constexpr int DefaultIntervalMs = 2000;

    explicit LiveTrend(QWidget *parent = nullptr);
    ~LiveTrend() override;

    // Forgets the readings before, reads at once and then every interval.
    void start(std::unique_ptr<LiveValue> source);
    void stop();
    bool watching() const { return m_timer.isActive(); }
    int interval() const { return m_timer.interval(); }
    void setInterval(int milliseconds) { m_timer.setInterval(milliseconds); }
    TrendView *view() const { return m_view; }
    void retranslate();

signals:
    void watchingChanged(bool on);

private:
    void readOnce();

    std::unique_ptr<LiveValue> m_source;
    TrendView *m_view = nullptr;
    QLabel *m_status = nullptr;
    QTimer m_timer;
    QElapsedTimer m_since;
    QString m_lastText;
};

} // namespace Host
