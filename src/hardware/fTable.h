// SPDX-License-Identifier: MIT
/// @file
/// fTable: the modal dialog in which the user edits the transfer table of a hardware
/// input, 16 rows of an input value and the output value it maps to.
///
/// The caller creates the form, sets TableChanged and CPTransTableValue, calls InitForm,
/// shows it modally (MKorvane::ShowModal) and, once it is hidden, reads TransTableValue
/// and OkORCancelClick. The table text is exactly 32 fields separated by single blanks:
/// input 1, output 1, input 2, output 2, ... input 16, output 16.
///
/// Outputs shown in US units show the shortest text that converts back to the stored value
/// exactly. A cell that the user leaves as it was shown goes back as its stored field, so OK
/// without an edit returns the stored table.
///
/// An empty or short stored table (fewer than 32 fields) opens with the cells it has; the others
/// keep their text. OK first fills the entries up to 32 with empty ones, so it checks every
/// cell as shown (the first unfilled one is reported, "The value must be numeric.") and takes
/// the table once the user has filled them. Of a long stored table OK keeps the 32 fields
/// the cells show. Cancel hands back the entries as they stand: the
/// text as loaded, or 32 blank-joined entries once OK has started on them.
///
/// Beside the cells a TransferCurve draws the table as it is typed, in the units the cells
/// show; it takes no focus and changes nothing the form does.
#pragma once

#include "vqzovezuvaveva_export.h"

#include <QDialog>
#include <QScopeGuard>
#include <QStringList>
#include <QVector>
#include <memory>

class QLineEdit;
class TransferCurve;

namespace Ui {
class fTable;
}

/// The transfer-table form (see the file); the caller owns it and shows it modally.
class VQ_EXPORT fTable : public QDialog
{
    Q_OBJECT
    /// @copydoc setTableChanged()
    Q_PROPERTY(bool TableChanged READ TableChanged WRITE setTableChanged)
    /// @copydoc setCPTransTableValue()
    Q_PROPERTY(QString CPTransTableValue READ CPTransTableValue WRITE setCPTransTableValue)
    /// Whether OK closed the form (take TransTableValue).
    Q_PROPERTY(bool OkORCancelClick READ OkORCancelClick)
    /// The table text after the form closed.
    Q_PROPERTY(QString TransTableValue READ TransTableValue)

public:
    /// The number of cells: 16 rows of an input (even index) and an output (odd index).
    static constexpr int CellCount = 32;

    /// Loading the form refreshes the display strings and translates the captions.
    explicit fTable(QWidget *parent = nullptr);
    ~fTable() override;

    /// Whether the table was already changed before this editing; Cancel hands it back.
    /// @{
    void setTableChanged(bool changed);
    bool TableChanged() const { return mblnTableChanged; }
    ///@}

    /// Whether row 16's input also holds the block's multi-level value (version-1 blocks keep
    /// both in one field); set before InitForm. That cell then says so in its tool tip and the
    /// curve marks the row.
    /// @{
    void setLastInputIsMultiLevel(bool shared);
    bool LastInputIsMultiLevel() const { return mblnLastInputIsMultiLevel; }
    ///@}

    /// The stored table text; set before InitForm.
    /// @{
    void setCPTransTableValue(const QString &value);
    QString CPTransTableValue() const { return mstrCPTransTableValue; }
    ///@}

    /// After the form is hidden: whether the caller is to take TransTableValue, and the table text.
    /// @{
    bool OkORCancelClick() const { return mblnOkORCancelClick; }
    QString TransTableValue() const { return mstrTransTableValue; }
    ///@}

    /// Fills the cells from CPTransTableValue; outputs are shown in the display units of the
    /// format when the measurement system is US and the field is of a numeric kind.
    void InitForm(const QString &FormatType, const QString &ProgramId, qint32 FieldType, const QString &InputLabal,
        const QString &OutputLabel, bool IsExistRange = false, double MinValue = 0, double MaxValue = 0);

    /// Fonts and captions of the current language.
    void InitStrings();
    /// Reloads the display strings, then InitStrings.
    void ReInitializeStrings();

    /// The form places its widgets itself: it opens at, and never shrinks below, its design size.
    /// @{
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    ///@}

public slots:
    /// Escape and the window's close button cancel like the Cancel button.
    void reject() override;

private slots:
    void cmdOK_Click();
    void cmdCopy_Click();
    void cmdPaste_Click();
    void txtTable_Change(int Index);

private:
    bool ValidateTablePositive(const QString &text, QString &message) const;
    bool ValidateTableRange(const QString &text, QString &message) const;
    /// "Rows: 3, 16": the rows (1 to 16) whose output is a number outside the range, as shown.
    QString rowsOutOfRangeLine() const;

    /// A failure while filling the form or translating it: "<number>  <description>" in a plain box
    /// (the two quiet numbers are not shown).
    static void showStepFailure(qint32 number, const QString &description);
    /// Checked store into a field of a split table text: RuntimeError 9 past the end.
    static void setFieldAt(QStringList &fields, int index, const QString &value);
    /// The value of a numeric text; RuntimeError 13 for a text that is not a number.
    static double numberOf(const QString &text);
    /// Hands the cell texts to the curve, unless cells are being filled together.
    void refreshCurve();
    /// For a fill of many cells: while the returned guard lives, the cells leave the curve
    /// alone; it is drawn once when the guard goes.
    [[nodiscard]] auto holdCurve()
    {
        ++mCurveHolds;
        return qScopeGuard([this] {
            --mCurveHolds;
            refreshCurve();
        });
    }

    std::unique_ptr<Ui::fTable> ui;
    QSize mDesignSize; ///< the size of the form file
    QVector<QLineEdit *> txtTable;
    TransferCurve *mCurve = nullptr; ///< beside the cells, right of the buttons
    int mCurveHolds = 0; ///< fills of many cells in progress: the curve is drawn after the last

    bool mblnTableChanged = false;
    bool mblnLastInputIsMultiLevel = false;
    QString mstrCPTransTableValue;
    /// The stored fields and what InitForm showed for them; a cell the user left as shown
    /// hands back its stored field.
    QStringList mStoredFields;
    QStringList mShownTexts;
    QVector<bool> mShownFilled; ///< the cells that InitForm filled

    /// The field for cell k: its stored field when the cell still shows what InitForm put
    /// there, else `typed` as the device reads it.
    QString fieldFor(int k, const QString &typed) const;
    bool shownAsStored(int k) const;
    QString mstrTransTableValue;
    bool mblnOkORCancelClick = false;
    /// The table text split into fields; OK overwrites accepted rows, OK and Cancel join it.
    QStringList CellValues;

    QString mstrFormatType;
    QString mstrProgramId;
    qint32 mlngFieldType = 0;
    bool mblnIsExistRange = false;
    double mdblMinValue = 0;
    double mdblMaxValue = 0;
};
