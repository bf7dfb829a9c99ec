// SPDX-License-Identifier: MIT
// ctlSensorNV: writing what the user changed back to the network variable's
// configuration properties, in a fixed order, every write attempted.
#include "network/ctlSensorNV.h"
#include "ui_ctlSensorNV.h"

#include "shared/MKorvane.h"

bool ctlSensorNV::WriteValue()
{
    if (!mblnValueChanged)
        return false;
    // True tells the host that not every write succeeded.
    bool failed = false;
    MKorvane::skipOnFailure([&] { failed = !WriteNvValues(); });
    return failed;
}

bool ctlSensorNV::WriteNvValues()
{
    if (!mblnValueChanged)
        return false;
    const int previousPointer = MKorvane::MousePointer();
    MKorvane::setMousePointer(MKorvane::vbHourglass);
    mblnLoading = true;
    QString ErrMsg;
    bool ok = false;

    // A failed write only clears ok; a failure outside the writes skips the rest.
    const bool completed = MKorvane::tryStep(
        [&] {
            const DeviceAccess::ConfigPropertiesPtr CPS = nvCps();
            const auto cp = [&CPS](const char *name) { return MKorvane::deref(CPS).Item(QString::fromLatin1(name)); };
            if (mblnIsEnum) {
                ok = MKorvane::WriteControlTextToCp(ui->cboDefault, cp("UCPTdefaultValue"), mstrNvFormat, ErrMsg);
                ok = MKorvane::WriteControlTextToCp(ui->cboOverride, cp("SCPTovrValue"), mstrNvFormat, ErrMsg) && ok;
            } else {
                const QString F = mblnSetpointOffset ? mstrDeltaFormat : mstrNvFormat;
                ok = MKorvane::WriteControlTextToCp(ui->txtDefault, cp("UCPTdefaultValue"), F, ErrMsg);
                ok = MKorvane::WriteControlTextToCp(ui->txtOver, cp("SCPTovrValue"), F, ErrMsg) && ok;
            }
            ok = WriteSendDeltaValue(cp("SCPTsndDelta"), ErrMsg) && ok;
            ok = MKorvane::WriteControlTextToCp(
                     ui->txtThrottle, cp("SCPTminSendTime"), QStringLiteral("SCPTminSendTime"), ErrMsg)
                && ok;
            ok = MKorvane::WriteControlTextToCp(
                     ui->txtHeart, cp("SCPTmaxSendTime"), QStringLiteral("SCPTmaxSendTime"), ErrMsg)
                && ok;
            mblnLoading = false;
            setLcaHwInputNVName(ui->txtHwInputNVName->text().trimmed());
            SaveLcaHwInputNVName(ErrMsg);
        },
        [&ErrMsg](qint32 number, const QString &description) { MKorvane::AppendFailure(ErrMsg, number, description); });
    if (!completed)
        ok = false;

    mblnLoading = false;
    MKorvane::setMousePointer(previousPointer);
    // Reported under the reading procedure's name, as the host has always seen it.
    report(ErrMsg, QStringLiteral("ReadValues"));
    return ok;
}

bool ctlSensorNV::WriteSendDeltaValue(const DeviceAccess::ConfigPropertyPtr &CP, QString &ErrMsg)
{
    bool result = false;
    MKorvane::tryStep(
        [&] {
            QString T = ui->txtSend->text().trimmed();
            if (MKorvane::IsUnsupportedStructure(mlngBaseKind, mlngTypeIndex))
                return;
            // An enumerated variable always sends on every change.
            if (mblnIsEnum)
                T = QStringLiteral("0");
            const QString F = mblnIsEnum ? QStringLiteral("UCPTsignedShort") : mstrDeltaFormat;
            result = MKorvane::WriteCpValue(CP, F, T, ErrMsg);
        },
        [&](qint32 number, const QString &description) {
            MKorvane::AppendFailure(ErrMsg, number, QStringLiteral("WriteSendDeltaValue : ") + description);
            result = false;
        });
    return result;
}
