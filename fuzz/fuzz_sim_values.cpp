// SPDX-License-Identifier: MIT
// Fuzzes the simulator's value texts over every format of the sample network: parsing a
// text in a named format, showing the stored value again, the conversions between stored
// and shown numbers, the plain number texts, and the splitting of absolute format names
// (by hand for plain ASCII, compared with the pattern that splits every other name).
// The first byte picks the format; the rest is the text. A text is stored or refused as
// not valid or out of range; a stored value fits its type, and what is shown of it reads
// back to a value that shows the same (a value rounded for showing may fall outside a
// range, and says so). Showing and reading a number give it back up to the twelve digits
// the simulator keeps.
#include "device/sim/SimErrors.h"
#include "device/sim/SimModel.h"
#include "device/sim/SimNetwork.h"
#include "device/sim/SimResolve.h"
#include "device/sim/SimValues.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

using FormatOfType = std::pair<const Sim::FormatDef *, const Sim::TypeDef *>;

const std::vector<FormatOfType> &formats()
{
    static const std::shared_ptr<Sim::Network> network = Sim::Network::load(QStringLiteral(VQ_SAMPLE_NETWORK));
    static const std::vector<FormatOfType> all = [] {
        std::vector<FormatOfType> result;
        const Sim::Resolver resolver(network->model());
        for (const auto &set : network->model().resourceSets) {
            for (const Sim::FormatDef &format : set->formats) {
                if (const Sim::TypeDef *type = resolver.typeOf(format))
                    result.emplace_back(&format, type);
            }
        }
        check(!result.empty());
        return result;
    }();
    return all;
}

bool isRefusal(const DeviceAccess::DeviceError &error)
{
    return error.number() == Sim::Errors::InvalidValueText || error.number() == Sim::Errors::ValueOutOfRange;
}

void checkValueText(const QString &text, const Sim::FormatDef &format, const Sim::TypeDef &type)
{
    Sim::StoredValue value;
    try {
        value = Sim::parseValue(text, type, format, type);
    } catch (const DeviceAccess::DeviceError &error) {
        check(isRefusal(error));
        return;
    }
    check(Sim::valueFits(value, type));
    const QString shown = Sim::formatValue(value, type, format, type);
    try {
        check(Sim::formatValue(Sim::parseValue(shown, type, format, type), type, format, type) == shown);
    } catch (const DeviceAccess::DeviceError &error) {
        check(error.number() == Sim::Errors::ValueOutOfRange);
    }
}

void checkNumber(double number, const Sim::FormatDef &format)
{
    for (const int decimals : { -1, 0, 2 }) {
        const QString text = Sim::numberText(number, decimals);
        double back = 0;
        check(Sim::parseNumber(text, back));
        check(decimals >= 0 || back == number);
        check(text != QLatin1String("-0"));
    }
    if (std::fabs(number) > 1e290 || format.scale == 0)
        return;
    // Shown numbers keep twelve significant digits: the text of twelve digits read back.
    Sim::FormatDef identity;
    const double kept = Sim::toDisplay(number, identity);
    check(kept == QString::number(number * identity.scale + identity.offset, 'g', 12).toDouble());
    const double back = Sim::fromDisplay(Sim::toDisplay(number, format), format);
    const double offset = std::fabs(format.offset / format.scale);
    check(std::fabs(back - number) <= 1e-9 * std::max({ 1.0, std::fabs(number), offset }));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const auto &[format, type] = formats().at(data[0] % formats().size());
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    checkValueText(text, *format, *type);

    double number = 0;
    if (Sim::parseNumber(text, number))
        checkNumber(number, *format);

    const Sim::FormatName name = Sim::splitFormatName(text);
    check(name.absolute ? text.startsWith(QLatin1Char('#')) && text.endsWith(name.name) && name.programId.size() > 0
                        : name.name == text);
    // A name of plain ASCII is split by hand: it must split as the pattern splits any name.
    static const QRegularExpression pattern(QStringLiteral("^#([0-9A-Fa-f]+)\\[(-?\\d+)\\]\\.(.*)\\z"));
    const QRegularExpressionMatch match = pattern.match(text);
    check(name.absolute == match.hasMatch());
    if (match.hasMatch())
        check(name.programId == match.captured(1).toUpper() && name.scope == match.captured(2).toInt()
            && name.name == match.captured(3));
    return 0;
}
