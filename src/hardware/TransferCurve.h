// SPDX-License-Identifier: MIT
// TransferCurve: the 16 rows of a transfer table drawn as a curve of output over input,
// in the units the cells show, with the rows an engineer has to look at marked in red.
//
// The curve only looks: it takes no focus, is no tab stop and never changes a cell.
// A row is marked when a cell of it is not a number, or when its input is not above the
// input of the row drawn before it (the line turns back there). A row with a cell that is
// not a number is left out of the line; its red cross sits on the axis of the cell that is
// a number (on the input axis at its input, on the output axis at its output), or in the
// corner at the origin of the axes when neither cell is. Every mark carries its row number
// (1 to 16), so a row is found in the cells without reading a caption. A row whose input is
// also another value of the block (the multi-level value of a version-1 block, held in row
// 16's input) is ringed and numbered, so the user sees that point is not the table's alone.
#pragma once

#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

class TransferCurve : public QWidget
{
    Q_OBJECT

public:
    static constexpr int RowCount = 16;

    // Why a row is marked.
    enum class Mark { None, NotNumeric, NotAscending };
    Q_ENUM(Mark)

    explicit TransferCurve(QWidget *parent = nullptr);

    // The cell texts in table order (input 1, output 1, ... input 16, output 16); missing
    // texts count as empty cells. Redraws.
    void setCells(const QStringList &cells);
    // The captions of the axes, as the form's headers show them (line breaks become blanks).
    void setAxisCaptions(const QString &input, const QString &output);
    // The 0-based row whose input is shared with another value, or -1 for none. Redraws.
    void setSharedRow(int row);
    int sharedRow() const { return mSharedRow; }

    // The mark of each of the 16 rows, for a caller or a test that asks what the curve shows.
    QVector<Mark> marks() const { return mMarks; }
    // The 0-based rows that carry the mark.
    QVector<int> rowsMarked(Mark mark) const;
    // The points of the line, rows with numbers only, in row order.
    QVector<QPointF> linePoints() const;
    QString inputCaption() const { return mInputCaption; }
    QString outputCaption() const { return mOutputCaption; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Row
    {
        bool inputNumeric = false;
        bool outputNumeric = false;
        double input = 0;
        double output = 0;
    };

    QVector<Row> mRows;
    QVector<Mark> mMarks;
    QString mInputCaption;
    QString mOutputCaption;
    int mSharedRow = -1;
};
