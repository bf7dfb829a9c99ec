// SPDX-License-Identifier: MIT
/// @file
/// TransferCurve: the 16 rows of a transfer table drawn as a curve of output over input,
/// in the units the cells show, with the rows an engineer has to look at marked in red.
///
/// The curve only looks: it takes no focus, is no tab stop and never changes a cell.
/// A row is marked when a cell of it is not a number, or when its input is not above the
/// input of the row drawn before it (the line turns back there). A row with a cell that is
/// not a number is left out of the line; its red cross sits on the axis of the cell that is
/// a number (on the input axis at its input, on the output axis at its output), or in the
/// corner at the origin of the axes when neither cell is. Every mark carries its row number
/// (1 to 16), so a row is found in the cells without reading a caption. A row whose input is
/// also another value of the block (the multi-level value of a version-1 block, held in row
/// 16's input) is ringed and numbered, so the user sees that point is not the table's alone.
/// When the outputs have a range, a row whose output lies outside it is marked too, and the
/// ends of the range that fall within the scale are drawn as dashed lines.
///
/// The row numbers are placed beside their points inside the plot, never over the captions of
/// the axes or the numbers of the scales: when the usual place (to the right of the point,
/// above a red mark, below a ring) leaves the plot, the first of the other three corners that
/// fits is taken, else the usual place moved into the plot.
#pragma once

#include "vqzovezuvaveva_export.h"

#include <QMap>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

/// The transfer table drawn as a curve (see the file); a child widget of the table form.
class VQ_EXPORT TransferCurve : public QWidget
{
    Q_OBJECT

public:
    static constexpr int RowCount = 16; ///<  The rows of a transfer table.

    /// Why a row is marked. A row marked for more than one reason carries the first of
    /// NotNumeric, OutOfRange and NotAscending (OK refuses the first two).
    enum class Mark { None, NotNumeric, NotAscending, OutOfRange };
    Q_ENUM(Mark)

    /// An empty curve (16 empty rows), owned by its parent.
    explicit TransferCurve(QWidget *parent = nullptr);

    /// The cell texts in table order (input 1, output 1, ... input 16, output 16); missing
    /// texts count as empty cells. Redraws.
    void setCells(const QStringList &cells);
    /// The captions of the axes, as the form's headers show them (line breaks become blanks).
    void setAxisCaptions(const QString &input, const QString &output);
    /// The 0-based row whose input is shared with another value, or -1 for none. Redraws.
    void setSharedRow(int row);
    /// @copydoc setSharedRow()
    int sharedRow() const { return mSharedRow; }
    /// The range of the outputs as the cells show them, both ends included; without a range no
    /// output is marked for its value. Redraws.
    void setRange(bool exists, double minimum = 0, double maximum = 0);

    /// The mark of each of the 16 rows, for a caller or a test that asks what the curve shows.
    QVector<Mark> marks() const { return mMarks; }
    /// The 0-based rows that carry the mark.
    QVector<int> rowsMarked(Mark mark) const;
    /// The points of the line, rows with numbers only, in row order.
    QVector<QPointF> linePoints() const;
    /// The captions of the axes as drawn.
    /// @{
    QString inputCaption() const { return mInputCaption; }
    QString outputCaption() const { return mOutputCaption; }
    ///@}
    /// Where the painting puts the row numbers, by 0-based row (the marked rows and the shared
    /// one), and the texts of the axes (the two captions and the four scale numbers), at the
    /// widget's present size and font. Empty when the widget is too small to draw a plot.
    /// @{
    QMap<int, QRectF> rowLabelRects() const { return layout().labels; }
    QVector<QRectF> axisTextRects() const;
    ///@}

protected:
    /// Draws the axes, the line and the marks.
    void paintEvent(QPaintEvent *event) override;

private:
    struct Row
    {
        bool inputNumeric = false;
        bool outputNumeric = false;
        double input = 0;
        double output = 0;
    };

    /// Everything the painting places, computed once for painting and for the questions above.
    struct Layout
    {
        QRectF plot; ///< empty when there is no room for one
        double xLow = 0, xHigh = 1, yLow = 0, yHigh = 1;
        QString outputCaption, inputCaption;
        QRectF outputCaptionRect, inputCaptionRect;
        QString yLowText, yHighText, xLowText, xHighText;
        QRectF yLowRect, yHighRect, xLowRect, xHighRect;
        QMap<int, QPointF> points; ///< the centre of every row's point or cross
        QMap<int, QRectF> labels;
    };
    Layout layout() const;
    void updateMarks();

    QStringList mCells;
    bool mRangeExists = false;
    double mMinimum = 0;
    double mMaximum = 0;
    QVector<Row> mRows;
    QVector<Mark> mMarks;
    QString mInputCaption;
    QString mOutputCaption;
    int mSharedRow = -1;
};
