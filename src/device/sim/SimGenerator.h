// SPDX-License-Identifier: MIT
// A value generator makes a network variable's value move while the network's clock
// runs: a slow wave around the stored value with a little noise, so that a live
// reading looks like a real sensor's.
#pragma once

#include "vqzovezuvavevasim_export.h"

#include <QElapsedTimer>
#include <QString>
#include <functional>

namespace Sim {

struct StoredValue;
struct TypeDef;

struct ValueGenerator
{
    QString kind = QStringLiteral("wave"); // the only kind so far
    double period = 60; // seconds, > 0
    double amplitude = 0; // SI base units, >= 0
    double noise = 0; // SI base units, >= 0: the largest random step away from the wave
    QString comment;
};

// The simulator's own clock. It stands at 0 until started, so a network that nobody
// starts reads exactly what it stores; a test sets the seconds it wants instead.
class VQ_SIM_AUTOTEST_EXPORT SimClock
{
public:
    double seconds() const;
    void start();
    bool running() const { return m_timer.isValid() || bool(m_override); }
    void setSource(std::function<double()> seconds) { m_override = std::move(seconds); }

private:
    QElapsedTimer m_timer;
    std::function<double()> m_override;
};

// The stored value moved by the generator at the given clock reading: every number of
// it, kept in the type's range. The variable's name tells two variables' noise apart.
StoredValue generatedValue(const StoredValue &stored, const ValueGenerator &generator, const TypeDef &type,
    const QString &variable, double seconds);

} // namespace Sim
