// SPDX-License-Identifier: MIT
// Runs named checks in order: a check whose prerequisite did not pass is skipped, and
// whatever a check throws becomes its failure, so that one fault is named once.
#pragma once

#include "conformance/Conformance.h"

#include <QSet>
#include <functional>

namespace Conformance {

// A check returns an empty text when the implementation does what is required,
// otherwise what it did instead.
using Check = std::function<QString()>;

class CheckRunner
{
public:
    void run(const QString &name, const QString &requirement, const QStringList &prerequisites, const Check &check);
    void skip(const QString &name, const QString &requirement, const QString &reason);
    bool passed(const QString &name) const { return m_passed.contains(name); }
    Report report() const { return m_report; }

private:
    Report m_report;
    QSet<QString> m_passed;
};

// "number 0x80041396: text" for a failure met where none was expected.
QString describeFailure(qint32 number, const QString &description);

} // namespace Conformance
