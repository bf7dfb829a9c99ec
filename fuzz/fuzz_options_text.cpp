// SPDX-License-Identifier: MIT
// Fuzzes the options text (UCPTioOptions on version-1 objects, UCPThwInOptions on version 2)
// as the hardware control reads its reverse flag from it and writes the flag back. The first
// byte picks the object version and the flag the user sets; the rest is the stored text.
// The control shows the flag of the field it reads; writing changes that field alone and
// keeps every other field as it was read, or reports why it could not, never silently. A flag
// that already agrees with the user is not rewritten.
#include "HardwareFuzz.h"

#include <QCheckBox>
#include <cstdint>

using HardwareFuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    HardwareFuzz::setUp();
    const bool version1 = data[0] & 1;
    const bool reverseWanted = data[0] & 2;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const QString cpName = version1 ? QStringLiteral("UCPTioOptions") : QStringLiteral("UCPThwInOptions");
    const int field = version1 ? 7 : 0;

    HardwareFuzz::Input input;
    input.open(version1 ? QStringLiteral("HwInput[4]") : QStringLiteral("HwInput[1]"), 0);
    input.storeRaw(cpName, text);
    input.control->ZovezuVavevaInit();

    QStringList fields = text.split(QLatin1Char(' '));
    auto *reverse = input.control->findChild<QCheckBox *>(QStringLiteral("chkReverse"));
    if (field < fields.size())
        check(reverse->isChecked() == (fields.at(field).trimmed() == QLatin1String("1")));
    else
        check(!input.reports.isEmpty()); // a text too short for the flag is reported

    // Setting the flag to what it shows still counts as an edit when the user clicks twice.
    reverse->setChecked(!reverseWanted);
    reverse->setChecked(reverseWanted);
    input.reports.clear();
    input.control->WriteValue();
    const QString stored = input.stored(cpName);
    if (field < fields.size()) {
        // A field that already says what the user wants ("00", " 1") is kept as it was typed.
        const bool agrees = (fields.at(field).trimmed() == QLatin1String("1")) == reverseWanted;
        if (!agrees)
            fields[field] = reverseWanted ? QStringLiteral("1") : QStringLiteral("0");
        check(stored == fields.join(QLatin1Char(' ')) || (stored == text && !input.reports.isEmpty()));
    } else {
        check(stored == text && !input.reports.isEmpty());
    }
    return 0;
}
