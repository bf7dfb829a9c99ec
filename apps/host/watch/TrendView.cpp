// SPDX-License-Identifier: MIT
// Drawing the live trend.
#include "TrendView.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace Host {

TrendView::TrendView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("hostTrendView"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void TrendView::addReading(double seconds, double value)
{
    m_readings.append({ seconds, value });
    if (m_readings.size() > MaxReadings)
        m_readings.remove(0, m_readings.size() - MaxReadings);
    update();
}

void TrendView::clear()
{
    m_readings.clear();
    update();
}

void TrendView::setUnit(const QString &unit)
{
    m_unit = unit;
    update();
}

void TrendView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics = fontMetrics();
    const int textHeight = metrics.height();

    // The value range, opened a little so that a flat line does not sit on the frame.
    double low = 0;
    double high = 1;
    double first = 0;
    double last = 1;
    if (!m_readings.isEmpty()) {
        const auto [minY, maxY] = std::minmax_element(
            m_readings.cbegin(), m_readings.cend(), [](const QPointF &a, const QPointF &b) { return a.y() < b.y(); });
        low = minY->y();
        high = maxY->y();
        first = m_readings.first().x();
        last = std::max(m_readings.last().x(), first + 1);
    }
    const double margin = high > low ? (high - low) * 0.1 : std::max(1.0, std::abs(high) * 0.05);
    low -= margin;
    high += margin;

    const QString highText = locale().toString(high, 'g', 4);
    const QString lowText = locale().toString(low, 'g', 4);
    const int left = 6 + std::max(metrics.horizontalAdvance(highText), metrics.horizontalAdvance(lowText));
    const QRectF plot(left + 4, textHeight + 4, width() - left - 12, height() - 2 * textHeight - 12);
    if (plot.width() <= 0 || plot.height() <= 0)
        return;

    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(plot);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QPointF(4, textHeight), m_unit);
    painter.drawText(QRectF(0, plot.top(), left, textHeight), Qt::AlignRight, highText);
    painter.drawText(QRectF(0, plot.bottom() - textHeight, left, textHeight), Qt::AlignRight, lowText);
    const QString timeText = tr("%1 s").arg(qRound(last - first));
    painter.drawText(QRectF(plot.left(), plot.bottom() + 2, plot.width(), textHeight), Qt::AlignRight, timeText);
    if (m_readings.isEmpty()) {
        painter.drawText(plot, Qt::AlignCenter, tr("waiting for the first reading"));
        return;
    }

    const auto toPlot = [&](const QPointF &reading) {
        return QPointF(plot.left() + (reading.x() - first) / (last - first) * plot.width(),
            plot.bottom() - (reading.y() - low) / (high - low) * plot.height());
    };
    QPainterPath line;
    line.moveTo(toPlot(m_readings.first()));
    for (const QPointF &reading : m_readings)
        line.lineTo(toPlot(reading));
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1.5));
    painter.drawPath(line);
    painter.setBrush(palette().color(QPalette::Highlight));
    for (const QPointF &reading : m_readings)
        painter.drawEllipse(toPlot(reading), 2.5, 2.5);
}

} // namespace Host
