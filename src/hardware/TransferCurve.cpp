// SPDX-License-Identifier: MIT
// TransferCurve: reading the cells into rows and marks, and drawing them with QPainter.
#include "hardware/TransferCurve.h"

#include "shared/Numbers.h"
#include "shared/ThemeColors_p.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>
#include <tuple>

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
    mCells = cells;
    updateMarks();
}

void TransferCurve::setRange(bool exists, double minimum, double maximum)
{
    mRangeExists = exists;
    mMinimum = minimum;
    mMaximum = maximum;
    updateMarks();
}

void TransferCurve::updateMarks()
{
    bool havePrevious = false;
    double previousInput = 0;
    for (int r = 0; r < RowCount; ++r) {
        Row &row = mRows[r];
        row.inputNumeric = readNumber(mCells.value(2 * r), row.input);
        row.outputNumeric = readNumber(mCells.value(2 * r + 1), row.output);
        if (!row.inputNumeric || !row.outputNumeric) {
            mMarks[r] = Mark::NotNumeric;
            continue;
        }
        // Compared with the row drawn before it: one wrong input marks one row.
        const bool ascending = !havePrevious || row.input > previousInput;
        const bool inRange = !mRangeExists || (mMinimum <= row.output && row.output <= mMaximum);
        mMarks[r] = !inRange ? Mark::OutOfRange : !ascending ? Mark::NotAscending : Mark::None;
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

QVector<QRectF> TransferCurve::axisTextRects() const
{
    const Layout at = layout();
    if (at.plot.isEmpty())
        return {};
    return { at.outputCaptionRect, at.inputCaptionRect, at.yHighRect, at.yLowRect, at.xLowRect, at.xHighRect };
}

TransferCurve::Layout TransferCurve::layout() const
{
    Layout at;
    // Scales over every number in the cells, the lone numbers of marked rows included, so
    // that a cross on an axis lies within it.
    QVector<double> inputs, outputs;
    for (const Row &row : mRows) {
        if (row.inputNumeric)
            inputs << row.input;
        if (row.outputNumeric)
            outputs << row.output;
    }
    std::tie(at.xLow, at.xHigh) = spanOf(inputs);
    std::tie(at.yLow, at.yHigh) = spanOf(outputs);

    const QFontMetricsF metrics(font());
    const double line = metrics.height();
    at.yLowText = MKorvane::NumberText(at.yLow);
    at.yHighText = MKorvane::NumberText(at.yHigh);
    at.xLowText = MKorvane::NumberText(at.xLow);
    at.xHighText = MKorvane::NumberText(at.xHigh);
    const double labelWidth
        = qCeil(qMax(metrics.horizontalAdvance(at.yLowText), metrics.horizontalAdvance(at.yHighText)));
    // The plot: the output caption above, the input caption and the input scale below, the
    // output scale to the left. The top leaves room for the highest scale number, centred on
    // the plot's edge, below the caption. A plot that cannot hold a row number is not drawn.
    const QRectF plot = QRectF(rect()).adjusted(
        Margin + labelWidth + 4, Margin + line * 1.5 + 2, -Margin - MarkSize * 3, -Margin - 2 * line - 4);
    if (plot.width() < qMax(10.0, metrics.horizontalAdvance(QStringLiteral("16"))) || plot.height() < qMax(10.0, line))
        return at;
    at.plot = plot;

    // Each text in the rectangle it takes, aligned in its band as it is drawn.
    const auto placed = [&](const QRectF &band, Qt::Alignment align, const QString &text) {
        const double width = qMin(band.width(), metrics.horizontalAdvance(text));
        double left = band.left();
        if (align & Qt::AlignRight)
            left = band.right() - width;
        else if (align & Qt::AlignHCenter)
            left = band.center().x() - width / 2;
        return QRectF(left, band.top(), width, band.height());
    };
    at.outputCaption = metrics.elidedText(mOutputCaption, Qt::ElideRight, width() - 2 * Margin);
    at.outputCaptionRect = placed(QRectF(Margin, Margin, width() - 2 * Margin, line), Qt::AlignLeft, at.outputCaption);
    at.yHighRect = placed(QRectF(Margin, plot.top() - line / 2, labelWidth, line), Qt::AlignRight, at.yHighText);
    at.yLowRect = placed(QRectF(Margin, plot.bottom() - line / 2, labelWidth, line), Qt::AlignRight, at.yLowText);
    const QRectF scaleRow(plot.left(), plot.bottom() + 2, plot.width(), line);
    at.xLowRect = placed(scaleRow, Qt::AlignLeft, at.xLowText);
    at.xHighRect = placed(scaleRow, Qt::AlignRight, at.xHighText);
    at.inputCaption = metrics.elidedText(mInputCaption, Qt::ElideRight, plot.width());
    at.inputCaptionRect
        = placed(QRectF(plot.left(), scaleRow.bottom(), plot.width(), line), Qt::AlignHCenter, at.inputCaption);

    const auto xAt = [&](double x) { return plot.left() + (x - at.xLow) / (at.xHigh - at.xLow) * plot.width(); };
    const auto yAt = [&](double y) { return plot.bottom() - (y - at.yLow) / (at.yHigh - at.yLow) * plot.height(); };
    for (int r = 0; r < RowCount; ++r) {
        const Row &row = mRows.at(r);
        if (mMarks.at(r) == Mark::NotNumeric)
            at.points[r] = QPointF(
                row.inputNumeric ? xAt(row.input) : plot.left(), row.outputNumeric ? yAt(row.output) : plot.bottom());
        else
            at.points[r] = QPointF(xAt(row.input), yAt(row.output));

        const bool marked = mMarks.at(r) != Mark::None;
        if (!marked && r != mSharedRow)
            continue;
        // A red mark's number sits beside it, a ring's beside the ring.
        const double gap = marked ? MarkSize + 1 : MarkSize * 2 + 1;
        const QString number = QString::number(r + 1);
        const QSizeF size(metrics.horizontalAdvance(number), line);
        const QPointF point = at.points.value(r);
        const double right = point.x() + gap, left = point.x() - gap - size.width();
        const double above = point.y() - gap - size.height(), below = point.y() + gap;
        const QVector<QPointF> corners = marked
            ? QVector<QPointF> { { right, above }, { right, below }, { left, above }, { left, below } }
            : QVector<QPointF> { { right, below }, { right, above }, { left, below }, { left, above } };
        QRectF label(corners.first(), size);
        const auto inside = std::find_if(
            corners.begin(), corners.end(), [&](const QPointF &corner) { return plot.contains(QRectF(corner, size)); });
        if (inside != corners.end()) {
            label.moveTopLeft(*inside);
        } else {
            label.moveLeft(qMax(plot.left(), qMin(label.left(), plot.right() - size.width())));
            label.moveTop(qMax(plot.top(), qMin(label.top(), plot.bottom() - size.height())));
        }
        at.labels[r] = label;
    }
    return at;
}

void TransferCurve::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    painter.setRenderHint(QPainter::Antialiasing);

    const Layout at = layout();
    if (at.plot.isEmpty())
        return;
    const QRectF plot = at.plot;

    const QColor text = palette().color(QPalette::Text);
    painter.setPen(QPen(text, 1));
    painter.drawRect(plot);
    painter.drawText(at.outputCaptionRect, Qt::AlignLeft | Qt::AlignVCenter, at.outputCaption);
    painter.drawText(at.yHighRect, Qt::AlignRight | Qt::AlignVCenter, at.yHighText);
    painter.drawText(at.yLowRect, Qt::AlignRight | Qt::AlignVCenter, at.yLowText);
    painter.drawText(at.xLowRect, Qt::AlignLeft | Qt::AlignVCenter, at.xLowText);
    painter.drawText(at.xHighRect, Qt::AlignRight | Qt::AlignVCenter, at.xHighText);
    painter.drawText(at.inputCaptionRect, Qt::AlignHCenter | Qt::AlignVCenter, at.inputCaption);

    // The ends of the range that lie within the scale, dashed in the text's colour.
    if (mRangeExists) {
        painter.setPen(QPen(text, 1, Qt::DashLine));
        for (const double end : { mMinimum, mMaximum }) {
            if (at.yLow <= end && end <= at.yHigh) {
                const double y = plot.bottom() - (end - at.yLow) / (at.yHigh - at.yLow) * plot.height();
                painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
            }
        }
    }

    QPainterPath path;
    for (int r = 0; r < RowCount; ++r) {
        if (mMarks.at(r) == Mark::NotNumeric)
            continue;
        const QPointF point = at.points.value(r);
        path.elementCount() == 0 ? path.moveTo(point) : path.lineTo(point);
    }
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1.5));
    painter.drawPath(path);

    // The marks' red, at the lightness that reads on the theme's background.
    const QColor red = MKorvane::ReadableTint(0, palette().color(QPalette::Base), text, 4.5);
    for (int r = 0; r < RowCount; ++r) {
        const Mark mark = mMarks.at(r);
        const QPointF point = at.points.value(r);
        if (mark == Mark::NotNumeric) {
            painter.setPen(QPen(red, 2));
            painter.drawLine(point + QPointF(-MarkSize, -MarkSize), point + QPointF(MarkSize, MarkSize));
            painter.drawLine(point + QPointF(-MarkSize, MarkSize), point + QPointF(MarkSize, -MarkSize));
        } else if (mark == Mark::OutOfRange) {
            // A square, where a row that does not ascend has a dot.
            painter.setPen(Qt::NoPen);
            painter.setBrush(red);
            painter.drawRect(QRectF(point - QPointF(MarkSize, MarkSize), QSizeF(2 * MarkSize, 2 * MarkSize)));
        } else {
            painter.setPen(Qt::NoPen);
            painter.setBrush(mark == Mark::None ? palette().color(QPalette::Highlight) : red);
            const double size = mark == Mark::None ? MarkSize / 2.0 : MarkSize;
            painter.drawEllipse(point, size, size);
        }
        if (mark != Mark::None) {
            painter.setPen(red);
            painter.drawText(at.labels.value(r), Qt::AlignCenter, QString::number(r + 1));
        } else if (r == mSharedRow) {
            // A ring in the line's colour, numbered beside it (a red mark keeps its own).
            painter.setPen(QPen(palette().color(QPalette::Highlight), 1.5));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(point, MarkSize * 2.0, MarkSize * 2.0);
            painter.setPen(text);
            painter.drawText(at.labels.value(r), Qt::AlignCenter, QString::number(r + 1));
        }
    }
}
