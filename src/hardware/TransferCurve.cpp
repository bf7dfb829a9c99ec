// SPDX-License-Identifier: MIT
// TransferCurve: reading the cells into rows and marks, and drawing them with QPainter.
#include "hardware/TransferCurve.h"

#include "shared/Numbers.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>

namespace {

constexpr int Margin = 6;
constexpr int MarkSize = 4;

// A cell's value when it holds a finite number.
bool readNumber(const QString &text, double &value)
{
    if (!MKorvane::IsNumeric(text))
        return false;
    value = MKorvane::Val(text);
    return qIsFinite(value);
}

// The smallest and largest of the values, widened when they coincide so that a flat line
// or a single point still has a scale.
QPair<double, double> spanOf(const QVector<double> &values)
{
    if (values.isEmpty())
        return { 0, 1 };
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    if (*low < *high)
        return { *low, *high };
    const double pad = qMax(1.0, qAbs(*low) * 0.1);
    return { *low - pad, *high + pad };
}

} // namespace

TransferCurve::TransferCurve(QWidget *parent)
    : QWidget(parent)
    , mRows(RowCount)
    , mMarks(RowCount, Mark::NotNumeric)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TransferCurve::setCells(const QStringList &cells)
{
    bool havePrevious = false;
    double previousInput = 0;
    for (int r = 0; r < RowCount; ++r) {
        Row &row = mRows[r];
        row.inputNumeric = readNumber(cells.value(2 * r), row.input);
        row.outputNumeric = readNumber(cells.value(2 * r + 1), row.output);
        if (!row.inputNumeric || !row.outputNumeric) {
            mMarks[r] = Mark::NotNumeric;
            continue;
        }
        // Compared with the row drawn before it: one wrong input marks one row.
        mMarks[r] = havePrevious && row.input <= previousInput ? Mark::NotAscending : Mark::None;
        previousInput = row.input;
        havePrevious = true;
    }
    update();
}

void TransferCurve::setAxisCaptions(const QString &input, const QString &output)
{
    const auto oneLine
        = [](QString text) { return text.replace(QLatin1String("\r\n"), QLatin1String(" ")).simplified(); };
    mInputCaption = oneLine(input);
    mOutputCaption = oneLine(output);
    update();
}

void TransferCurve::setSharedRow(int row)
{
    mSharedRow = row >= 0 && row < RowCount ? row : -1;
    update();
}

QVector<int> TransferCurve::rowsMarked(Mark mark) const
{
    QVector<int> rows;
    for (int r = 0; r < RowCount; ++r) {
        if (mMarks.at(r) == mark)
            rows << r;
    }
    return rows;
}

QVector<QPointF> TransferCurve::linePoints() const
{
    QVector<QPointF> points;
    for (int r = 0; r < RowCount; ++r) {
        if (mMarks.at(r) != Mark::NotNumeric)
            points << QPointF(mRows.at(r).input, mRows.at(r).output);
    }
    return points;
}

void TransferCurve::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    painter.setRenderHint(QPainter::Antialiasing);

    // Scales over every number in the cells, the lone numbers of marked rows included, so
    // that a cross on an axis lies within it.
    QVector<double> inputs, outputs;
    for (const Row &row : mRows) {
        if (row.inputNumeric)
            inputs << row.input;
        if (row.outputNumeric)
            outputs << row.output;
    }
    // Plain values, not structured bindings: a lambda may not capture those in C++17.
    const auto xSpan = spanOf(inputs);
    const auto ySpan = spanOf(outputs);
    const double xLow = xSpan.first, xHigh = xSpan.second;
    const double yLow = ySpan.first, yHigh = ySpan.second;

    const QFontMetrics metrics = fontMetrics();
    const int line = metrics.height();
    const QString yLowText = MKorvane::NumberText(yLow), yHighText = MKorvane::NumberText(yHigh);
    const int labelWidth = qMax(metrics.horizontalAdvance(yLowText), metrics.horizontalAdvance(yHighText));
    // The plot: the output caption above, the input caption and the input scale below, the
    // output scale to the left.
    const QRectF plot = QRectF(rect()).adjusted(
        Margin + labelWidth + 4, Margin + line + 4, -Margin - MarkSize * 3, -Margin - 2 * line - 4);
    if (plot.width() < 10 || plot.height() < 10)
        return;
    const auto xAt = [&](double x) { return plot.left() + (x - xLow) / (xHigh - xLow) * plot.width(); };
    const auto yAt = [&](double y) { return plot.bottom() - (y - yLow) / (yHigh - yLow) * plot.height(); };

    const QColor text = palette().color(QPalette::Text);
    painter.setPen(QPen(text, 1));
    painter.drawRect(plot);
    painter.drawText(QRectF(Margin, Margin, width() - 2 * Margin, line), Qt::AlignLeft | Qt::AlignVCenter,
        metrics.elidedText(mOutputCaption, Qt::ElideRight, width() - 2 * Margin));
    painter.drawText(
        QRectF(Margin, plot.top() - line / 2.0, labelWidth, line), Qt::AlignRight | Qt::AlignVCenter, yHighText);
    painter.drawText(
        QRectF(Margin, plot.bottom() - line / 2.0, labelWidth, line), Qt::AlignRight | Qt::AlignVCenter, yLowText);
    const QRectF scaleRow(plot.left(), plot.bottom() + 2, plot.width(), line);
    painter.drawText(scaleRow, Qt::AlignLeft | Qt::AlignVCenter, MKorvane::NumberText(xLow));
    painter.drawText(scaleRow, Qt::AlignRight | Qt::AlignVCenter, MKorvane::NumberText(xHigh));
    painter.drawText(QRectF(plot.left(), scaleRow.bottom(), plot.width(), line), Qt::AlignHCenter | Qt::AlignVCenter,
        metrics.elidedText(mInputCaption, Qt::ElideRight, int(plot.width())));

    const QVector<QPointF> values = linePoints();
    QPainterPath path;
    for (int k = 0; k < values.size(); ++k) {
        const QPointF at(xAt(values.at(k).x()), yAt(values.at(k).y()));
        k == 0 ? path.moveTo(at) : path.lineTo(at);
    }
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1.5));
    painter.drawPath(path);

    const QColor red(Qt::red);
    for (int r = 0; r < RowCount; ++r) {
        const Row &row = mRows.at(r);
        const Mark mark = mMarks.at(r);
        QPointF at;
        if (mark == Mark::NotNumeric) {
            at = QPointF(
                row.inputNumeric ? xAt(row.input) : plot.left(), row.outputNumeric ? yAt(row.output) : plot.bottom());
            painter.setPen(QPen(red, 2));
            painter.drawLine(at + QPointF(-MarkSize, -MarkSize), at + QPointF(MarkSize, MarkSize));
            painter.drawLine(at + QPointF(-MarkSize, MarkSize), at + QPointF(MarkSize, -MarkSize));
        } else {
            at = QPointF(xAt(row.input), yAt(row.output));
            painter.setPen(Qt::NoPen);
            painter.setBrush(mark == Mark::None ? palette().color(QPalette::Highlight) : red);
            const double size = mark == Mark::None ? MarkSize / 2.0 : MarkSize;
            painter.drawEllipse(at, size, size);
        }
        if (mark != Mark::None) {
            painter.setPen(red);
            painter.drawText(at + QPointF(MarkSize + 1, -MarkSize - 1), QString::number(r + 1));
        } else if (r == mSharedRow) {
            // A ring in the line's colour, numbered below the point (a red mark keeps its own).
            painter.setPen(QPen(palette().color(QPalette::Highlight), 1.5));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(at, MarkSize * 2.0, MarkSize * 2.0);
            painter.setPen(text);
            painter.drawText(at + QPointF(MarkSize * 2 + 1, MarkSize * 2 + line / 2.0), QString::number(r + 1));
        }
    }
}
