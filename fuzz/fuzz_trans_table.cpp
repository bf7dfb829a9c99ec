// SPDX-License-Identifier: MIT
// Fuzzes the transfer-table text as the hardware control and its editor fTable read it,
// take it from the clipboard and check it. The first byte picks the block (object version
// 1 or 2, a linear or a multi-level input) and the measurement system; the rest is the
// stored table text, a NUL, and the text on the clipboard. The control opens on the
// stored text, the user switches a linear input to TRANS_TABLE, opens the editor, pastes
// and confirms; then the control writes. A table the editor takes has 32 numeric cells
// with no negative input; what the control writes either reaches the device as the
// editor gave it or is reported, never dropped silently.
#include "HardwareFuzz.h"

#include "hardware/fTable.h"
#include "shared/Numbers.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QPushButton>
#include <cstdint>

using HardwareFuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    HardwareFuzz::setUp();
    static const char *const blocks[] = { "HwInput[4]", "HwInput[1]", "HwInput[7]", "HwInput[3]" };
    const char *blockName = blocks[data[0] % 4];
    const qint16 unit = (data[0] >> 2) & 1;
    const QList<QByteArray> parts
        = QByteArray(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)).split('\0');
    const QString table = QString::fromUtf8(parts.value(0));
    const QString clipboard = QString::fromUtf8(parts.value(1));

    HardwareFuzz::Input input;
    input.open(QString::fromLatin1(blockName), unit);
    input.storeRaw(QStringLiteral("UCPTtransTable"), table);
    input.control->ZovezuVavevaInit();

    auto *interpretation = input.control->findChild<QComboBox *>(QStringLiteral("cboInput"));
    check(interpretation != nullptr);
    const bool multiLevel = interpretation->currentText() == QLatin1String("MULTI_LEVEL");
    if (!multiLevel)
        interpretation->setCurrentIndex(interpretation->findText(QStringLiteral("TRANS_TABLE")));

    bool accepted = false;
    QString taken;
    HardwareFuzz::modalDriver() = [&](QDialog &dialog) {
        auto *editor = qobject_cast<fTable *>(&dialog);
        check(editor != nullptr);
        QGuiApplication::clipboard()->setText(clipboard);
        editor->findChild<QPushButton *>(QStringLiteral("cmdPaste"))->click();
        editor->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
        accepted = editor->OkORCancelClick();
        taken = editor->TransTableValue();
        if (!accepted)
            editor->findChild<QPushButton *>(QStringLiteral("cmdCancel"))->click();
        return dialog.result();
    };
    input.control->findChild<QPushButton *>(QStringLiteral("cmdTable"))->click();
    HardwareFuzz::modalDriver() = nullptr;

    if (accepted) {
        const QStringList cells = taken.split(QLatin1Char(' '));
        check(cells.size() == fTable::CellCount);
        for (int k = 0; k < cells.size(); ++k) {
            check(MKorvane::IsNumeric(cells.at(k)));
            check(k % 2 == 1 || MKorvane::Val(cells.at(k)) >= 0);
        }
    }

    // A change of the reverse flag makes even a multi-level input write its table.
    auto *reverse = input.control->findChild<QCheckBox *>(QStringLiteral("chkReverse"));
    reverse->setChecked(!reverse->isChecked());
    input.reports.clear();
    input.control->WriteValue();
    if (accepted && !multiLevel)
        check(input.stored(QStringLiteral("UCPTtransTable")) == taken || !input.reports.isEmpty());
    return 0;
}
