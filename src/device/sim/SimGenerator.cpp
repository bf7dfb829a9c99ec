// SPDX-License-Identifier: MIT
// Value generators and the simulator's clock.
#include "device/sim/SimGenerator.h"
#include "device/sim/SimModel.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace Sim {

namespace {

// A number in [-1, 1] for one variable and one whole second, the same on every run (a
// fixed hash, not the process-wide one): two readings within a second agree.
double noiseAt(const QString &variable, double seconds)
{
    quint64 x = quint64(qHash(variable, 0)) * 0x9E3779B97F4A7C15ull + quint64(qint64(std::floor(seconds)));
    // splitmix64's finaliser spreads neighbouring seconds over the whole range.
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    x ^= x >> 31;
    return double(x >> 11) / double(1ull << 52) - 1.0;
}

} // namespace

double SimClock::seconds() const
{
    if (m_override)
        return m_override();
    return m_timer.isValid() ? double(m_timer.nsecsElapsed()) / 1e9 : 0.0;
}

void SimClock::start()
{
    if (!m_timer.isValid())
        m_timer.start();
}

StoredValue generatedValue(const StoredValue &stored, const ValueGenerator &generator, const TypeDef &type,
    const QString &variable, double seconds)
{
    if (seconds == 0)
        return stored;
    constexpr double twoPi = 6.283185307179586;
    const double offset = generator.amplitude * std::sin(twoPi * seconds / generator.period)
        + generator.noise * noiseAt(variable, seconds);
    StoredValue moved = stored;
    for (double &number : moved.numbers) {
        number += offset;
        if (type.limits.hasRange)
            number = std::clamp(number, type.limits.minimum, type.limits.maximum);
        if (type.limits.resolution > 0)
            number = std::round(number / type.limits.resolution) * type.limits.resolution;
    }
    return moved;
}

} // namespace Sim
