// SPDX-License-Identifier: MIT
// ctlSensorNV: reactions to the user (change flags, the override exchange, the type
// button, keys forwarded to the host) and the display strings and fonts of the captions.
#include "network/ctlSensorNV.h"
#include "ui_ctlSensorNV.h"

#include "shared/MKorvane.h"

void ctlSensorNV::connectHandlers()
{
    for (QLineEdit *box : { ui->txtDefault, ui->txtHeart, ui->txtHwInputNVName, ui->txtSend, ui->txtThrottle })
        connect(box, &QLineEdit::textChanged, this, &ctlSensorNV::markChanged);
    connect(ui->cboDefault, &QComboBox::currentIndexChanged, this, &ctlSensorNV::cboDefault_Click);
    connect(ui->txtOver, &QLineEdit::textChanged, this, &ctlSensorNV::txtOver_Change);
    connect(ui->cboOverride, &QComboBox::currentIndexChanged, this, &ctlSensorNV::cboOverride_Click);
    connect(ui->cmdChange, &QPushButton::clicked, this, &ctlSensorNV::cmdChange_Click);

    // Key presses of these widgets and of the control itself reach the host.
    new MKorvane::KeyDownRelay(this,
        { ui->cboDefault, ui->cboOverride, ui->cmdChange, ui->txtDefault, ui->txtHeart, ui->txtHwInputNVName,
            ui->txtOver, ui->txtSend, ui->txtThrottle },
        [this](qint16 &KeyCode, qint16 &Shift) { emit KeyDown(KeyCode, Shift); });
}

void ctlSensorNV::markChanged()
{
    if (!mblnLoading)
        mblnValueChanged = true;
}

void ctlSensorNV::cboDefault_Click()
{
    // Also while loading: selecting the stored value marks the control until the read ends.
    mblnValueChanged = true;
}

void ctlSensorNV::txtOver_Change()
{
    raiseOverrideChange(ui->txtOver->text());
}

void ctlSensorNV::cboOverride_Click()
{
    raiseOverrideChange(ui->cboOverride->currentText());
}

void ctlSensorNV::cmdChange_Click()
{
    MKorvane::skipOnFailure([this] { OpenChangeType(); });
}

void ctlSensorNV::InitStrings()
{
    MKorvane::tryStep(
        [&] {
            MKorvane::ApplyLanguageFont(languageFontWidgets());
            const auto text = [](const char *key) { return MKorvane::GetLanguageString(QString::fromLatin1(key)); };
            ui->fraNV->setTitle(text("Network Variable"));
            ui->cmdChange->setText(text("Change Type"));
            ui->lblType->setText(text("Type") + QStringLiteral(" :"));
            ui->lblName->setText(text("Name") + QStringLiteral(" :"));
            ui->lblOverride->setText(text("Override Value"));
            ui->lblDefault->setText(text("Default Value"));
            ui->lblSendDelta->setText(text("Send Delta"));
            ui->lblThrottle->setText(text("Throttle"));
            ui->lblHeartbeat->setText(text("Heartbeat"));
            lblUnit.at(0)->setText(text("sec"));
            lblUnit.at(1)->setText(text("sec"));
            fitCaptionColumn();
        },
        [this](qint32 number, const QString &description) {
            // The two quiet numbers are not told, as nowhere else.
            QString ErrMsg;
            MKorvane::AppendFailure(ErrMsg, number, description);
            report(ErrMsg, QStringLiteral("InitStrings"));
        });
}

// The widgets that take the language's face, in the order they take it.
QList<QWidget *> ctlSensorNV::languageFontWidgets() const
{
    return { ui->fraNV, ui->cmdChange, ui->lblType, ui->lblName, ui->lblOverride, ui->lblDefault, ui->lblSendDelta,
        ui->lblThrottle, ui->lblHeartbeat, lblUnit.at(0), lblUnit.at(1) };
}

void ctlSensorNV::ReInitializeStrings()
{
    MKorvane::LoadLanguageStrings();
    InitStrings();
}
