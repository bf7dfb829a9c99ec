// SPDX-License-Identifier: MIT
// A live value drawn against time: the readings as a line with dots, the value axis
// in the input's unit, the time axis in seconds since watching began. Drawn with
// QPainter so that the project needs no plotting library.
#pragma once

#include <QPointF>
#include <QVector>
#include <QWidget>

namespace Host {

class TrendView : public QWidget
{
    Q_OBJECT

public:
    explicit TrendView(QWidget *parent = nullptr);

    // x: seconds since watching began, y: the value in the unit shown.
    void addReading(double seconds, double value);
    void clear();
    const QVector<QPointF> &readings() const { return m_readings; }
    void setUnit(const QString &unit);
    QString unit() const { return m_unit; }
    // Readings kept: the oldest go first (a day of readings at one a second stays small).
    static constexpr int MaxReadings = 600;

    QSize sizeHint() const override { return { 480, 180 }; }
    QSize minimumSizeHint() const override { return { 240, 120 }; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVector<QPointF> m_readings;
    QString m_unit;
};

} // namespace Host
