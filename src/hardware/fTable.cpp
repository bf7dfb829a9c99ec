// SPDX-License-Identifier: MIT
// fTable: construction, the host interface, display strings and Cancel, plus the checked
// helpers that the filling and the validation share.
#include "hardware/fTable.h"
#include "hardware/TransferCurve.h"

#include "device/DeviceAccess.h"
#include "shared/Checked.h"
#include "shared/Numbers.h"
#include "shared/Seams.h"
#include "shared/Steps.h"
#include "shared/Strings.h"

#include "ui_fTable.h"

#include <QLineEdit>

fTable::fTable(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::fTable>())
{
    ui->setupUi(this);
    mDesignSize = size();
    txtTable.reserve(CellCount);
    for (int k = 0; k < CellCount; ++k) {
        auto *cell = findChild<QLineEdit *>(QStringLiteral("txtTable_%1").arg(k));
        Q_ASSERT(cell);
        txtTable.append(cell);
        connect(cell, &QLineEdit::textChanged, this, [this, k] { txtTable_Change(k); });
        connect(cell, &QLineEdit::textChanged, this, &fTable::refreshCurve);
        // Named by its column's caption and its row; InitForm names it again with the host's captions.
        cell->setAccessibleName(
            QStringLiteral("%1 %2").arg((k % 2 ? ui->Label1 : ui->lblResis)->text()).arg(k / 2 + 1));
    }
    // The curve widens the form to the right of the buttons; the widgets of the form file
    // keep their places. Made before the faces are kept, so it keeps the design's face too.
    mCurve = new TransferCurve(this);
    mCurve->setObjectName(QStringLiteral("curve"));
    const int left = ui->cmdOK->geometry().right() + 15;
    mCurve->setGeometry(left, 8, mDesignSize.width() - left - 8, mDesignSize.height() - 16);
    refreshCurve();
    // Tab order by index, then the buttons (also in the form file; repeated here so that the
    // vector, not the file, is what decides).
    for (int k = 1; k < CellCount; ++k)
        setTabOrder(txtTable.at(k - 1), txtTable.at(k));

    connect(ui->cmdOK, &QPushButton::clicked, this, &fTable::cmdOK_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &fTable::reject);
    connect(ui->cmdCopy, &QPushButton::clicked, this, &fTable::cmdCopy_Click);
    connect(ui->cmdPaste, &QPushButton::clicked, this, &fTable::cmdPaste_Click);

    // The cells, cmdCopy, cmdPaste and Label1 keep their face when the form takes the language's.
    MKorvane::KeepDesignFaces(this, { ui->cmdOK, ui->cmdCancel, ui->lblResis });

    MKorvane::LoadLanguageStrings();
    InitStrings();
}

fTable::~fTable() = default;

QSize fTable::sizeHint() const
{
    return mDesignSize;
}

QSize fTable::minimumSizeHint() const
{
    return mDesignSize;
}

void fTable::refreshCurve()
{
    if (mCurveHolds > 0)
        return;
    QStringList cells;
    for (const QLineEdit *cell : std::as_const(txtTable))
        cells << cell->text();
    mCurve->setCells(cells);
}

void fTable::setTableChanged(bool changed)
{
    mblnTableChanged = changed;
}

void fTable::setLastInputIsMultiLevel(bool shared)
{
    mblnLastInputIsMultiLevel = shared;
}

void fTable::setCPTransTableValue(const QString &value)
{
    mstrCPTransTableValue = value;
}

void fTable::InitStrings()
{
    const auto step = [](auto &&action) { MKorvane::tryStep(action, &fTable::showStepFailure); };

    QString fontName;
    qint16 charset = 0;
    step([&] {
        auto &language = DeviceAccess::languageService();
        fontName = language.GetFontName();
        charset = language.GetFontCharset();
    });

    // Without a face name the widgets keep the fonts they have. The other widgets have faces of
    // their own (see the constructor), so the form's new face does not reach them.
    if (!fontName.isEmpty()) {
        for (QWidget *widget : { static_cast<QWidget *>(this), static_cast<QWidget *>(ui->cmdOK),
                 static_cast<QWidget *>(ui->cmdCancel), static_cast<QWidget *>(ui->lblResis) })
            step([&] { widget->setFont(MKorvane::MakeFont(widget->font(), fontName, charset)); });
    }

    step([&] { setWindowTitle(MKorvane::GetLanguageString(QStringLiteral("Transtable"))); });
    step([&] { ui->cmdOK->setText(MKorvane::GetLanguageString(QStringLiteral("&OK"))); });
    step([&] { ui->cmdCancel->setText(MKorvane::GetLanguageString(QStringLiteral("&Cancel"))); });
}

void fTable::ReInitializeStrings()
{
    MKorvane::LoadLanguageStrings();
    InitStrings();
}

// Cancel: the caller gets back whether the table was changed before this editing, and the
// fields as they stand. For an empty or short stored table that is the text as loaded until OK
// has filled the entries up to 32; after that, as for any table, the 32 entries joined with
// the rows that the failed OK accepted.
void fTable::reject()
{
    mblnOkORCancelClick = mblnTableChanged;
    mstrTransTableValue = CellValues.join(QLatin1Char(' '));
    QDialog::reject();
}

void fTable::showStepFailure(qint32 number, const QString &description)
{
    // The two quiet numbers belong to the device library; the form never shows them.
    if (DeviceAccess::DeviceError::isQuiet(number))
        return;
    MKorvane::MsgBox(QString::number(number) + QStringLiteral("  ") + description);
}

void fTable::setFieldAt(QStringList &fields, int index, const QString &value)
{
    MKorvane::fieldAt(fields, index);
    fields[index] = value;
}

double fTable::numberOf(const QString &text)
{
    if (!MKorvane::IsNumeric(text))
        throw DeviceAccess::RuntimeError(DeviceAccess::RuntimeError::TypeMismatch, QStringLiteral("Type mismatch"));
    return MKorvane::Val(text);
}
