// SPDX-License-Identifier: MIT
// The check runner and the report's text.
#include "conformance/ConformanceRunner_p.h"

#include <exception>

namespace Conformance {

QString describeFailure(qint32 number, const QString &description)
{
    return QStringLiteral("failure %1 (0x%2): %3")
        .arg(number)
        .arg(quint32(number), 8, 16, QLatin1Char('0'))
        .arg(description.isEmpty() ? QStringLiteral("(no description)") : description);
}

void CheckRunner::run(
    const QString &name, const QString &requirement, const QStringList &prerequisites, const Check &check)
{
    CheckResult result { name, requirement, Outcome::Passed, QString() };
    for (const QString &prerequisite : prerequisites) {
        if (!m_passed.contains(prerequisite)) {
            result.outcome = Outcome::Skipped;
            result.detail = QStringLiteral("needs %1").arg(prerequisite);
            m_report.checks.append(result);
            return;
        }
    }
    try {
        result.detail = check();
    } catch (const DeviceAccess::Failure &failure) {
        result.detail = QStringLiteral("unexpected ") + describeFailure(failure.number(), failure.description());
    } catch (const std::exception &error) {
        result.detail = QStringLiteral("unexpected exception: ") + QString::fromLocal8Bit(error.what());
    } catch (...) {
        result.detail = QStringLiteral("threw something that is not a std::exception");
    }
    result.outcome = result.detail.isEmpty() ? Outcome::Passed : Outcome::Failed;
    if (result.outcome == Outcome::Passed)
        m_passed.insert(name);
    m_report.checks.append(result);
}

void CheckRunner::skip(const QString &name, const QString &requirement, const QString &reason)
{
    m_report.checks.append(CheckResult { name, requirement, Outcome::Skipped, reason });
}

bool Report::passed() const
{
    return failedChecks().isEmpty();
}

QStringList Report::failedChecks() const
{
    QStringList names;
    for (const CheckResult &check : checks) {
        if (check.outcome == Outcome::Failed)
            names.append(check.name);
    }
    return names;
}

QString Report::toText() const
{
    QString text;
    int failed = 0, skipped = 0;
    for (const CheckResult &check : checks) {
        const char *mark = check.outcome == Outcome::Passed ? "PASS"
            : check.outcome == Outcome::Failed              ? "FAIL"
                                                            : "SKIP";
        failed += check.outcome == Outcome::Failed;
        skipped += check.outcome == Outcome::Skipped;
        text += QStringLiteral("%1 %2: %3\n").arg(QLatin1String(mark), check.name, check.requirement);
        if (!check.detail.isEmpty())
            text += QStringLiteral("     %1\n").arg(check.detail);
    }
    text += QStringLiteral("%1 checks, %2 failed, %3 skipped\n").arg(checks.size()).arg(failed).arg(skipped);
    return text;
}

} // namespace Conformance
