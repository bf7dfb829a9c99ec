// SPDX-License-Identifier: MIT
// The preview of pending writes.
#include "WritePreview.h"

#include "device/sim/SimNetwork.h"
#include "inputtypes/InputTypes.h"
#include "page/FormatLocaleScope.h"
#include "page/InputPage.h"
#include "shared/MKorvane.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSet>
#include <QSignalBlocker>
#include <functional>

namespace Host {

namespace {

// The write operations whose failure makes a property fail; the object's name comes first.
bool isWrite(const QString &operation)
{
    static const QSet<QString> writes
        = { QStringLiteral("ConfigProperty.setValueText"), QStringLiteral("ConfigProperty.setFormat"),
              QStringLiteral("NetworkVariable.setName"), QStringLiteral("NetworkVariable.setFormat") };
    return writes.contains(operation);
}

void widgetState(QStringList &lines, const QWidget *control)
{
    for (const QWidget *w : control->findChildren<QWidget *>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        QString value;
        if (auto edit = qobject_cast<const QLineEdit *>(w))
            value = edit->text();
        else if (auto combo = qobject_cast<const QComboBox *>(w))
            value = QStringLiteral("%1 of %2: %3")
                        .arg(combo->currentIndex())
                        .arg(combo->count())
                        .arg(combo->currentText());
        else if (auto button = qobject_cast<const QAbstractButton *>(w))
            value = button->text() + (button->isChecked() ? QStringLiteral(" [x]") : QStringLiteral(" [ ]"));
        else if (auto label = qobject_cast<const QLabel *>(w))
            value = label->text();
        lines << QStringLiteral("%1/%2 %3%4 = %5")
                     .arg(control->objectName(), w->objectName(), w->isHidden() ? QStringLiteral("hidden") : QString(),
                         w->isEnabled() ? QString() : QStringLiteral(" disabled"), value);
    }
}

// Restores what a write may change in the controls besides the device: their change
// flags and the variable name the network control holds.
class ControlMemo
{
public:
    explicit ControlMemo(InputPage &page)
        : m_page(page)
        , m_hardwareChanged(page.hardwareControl()->NoChangeButOKPress())
        , m_networkChanged(page.networkControl()->NoChangeButOKPress())
        , m_nvName(page.networkControl()->LcaHwInputNVName())
    {
    }
    void restore() const
    {
        m_page.hardwareControl()->setNoChangeButOKPress(m_hardwareChanged);
        m_page.networkControl()->setNoChangeButOKPress(m_networkChanged);
        m_page.networkControl()->setLcaHwInputNVName(m_nvName);
    }

private:
    InputPage &m_page;
    bool m_hardwareChanged;
    bool m_networkChanged;
    QString m_nvName;
};

} // namespace

bool PreviewResult::failed() const
{
    if (!error.isEmpty() || outcome.failed())
        return true;
    for (const PreviewRow &line : rows) {
        if (line.failed)
            return true;
    }
    return false;
}

const PreviewRow *PreviewResult::row(const QString &property) const
{
    for (const PreviewRow &line : rows) {
        if (line.property.compare(property, Qt::CaseInsensitive) == 0)
            return &line;
    }
    return nullptr;
}

QStringList controlState(const InputPage &page)
{
    QStringList lines;
    widgetState(lines, page.hardwareControl());
    widgetState(lines, page.networkControl());
    lines << QStringLiteral("hardware changed %1").arg(page.hardwareControl()->NoChangeButOKPress())
          << QStringLiteral("network changed %1").arg(page.networkControl()->NoChangeButOKPress())
          << QStringLiteral("variable name %1").arg(page.networkControl()->LcaHwInputNVName());
    return lines;
}

namespace {

// Runs one write as a dry run on an input: what the input's block and variable hold before
// and after it, the properties whose writes the device refused, then the network put back
// from a snapshot. Every message box the write raises is collected in the result.
void dryRun(Sim::Network &network, const InputRef &input, PreviewResult &result,
    const std::function<void(PreviewResult &)> &write)
{
    const QVector<Sim::PropertyReading> before = network.readings(input.device, input.block);
    if (before.isEmpty()) {
        result.error
            = QCoreApplication::translate("Host::WritePreview", "The input %1 is not in the network.").arg(input.block);
        return;
    }
    const qsizetype logStart = network.callLog().size();
    const Sim::Snapshot snapshot = network.snapshot();
    {
        const MKorvane::MessageBoxCapture boxes([&result](const QString &text, int, const QString &) {
            result.messages << text.simplified();
            return MKorvane::vbOK;
        });
        try {
            write(result);
        } catch (const std::exception &failure) {
            result.error = QString::fromLocal8Bit(failure.what());
        }
    }
    const QVector<Sim::PropertyReading> after = network.readings(input.device, input.block);
    QVector<Sim::CallRecord> calls;
    if (network.callLog().size() >= logStart)
        calls = network.callLog().mid(logStart);
    network.restore(snapshot);

    // The variable's name in the log is the one it had when it was renamed; the page
    // shows that name, not the programmatic one.
    QString nvName;
    for (const Sim::PropertyReading &reading : before) {
        if (reading.owner != input.block && reading.name == QLatin1String("Name"))
            nvName = reading.text;
    }
    for (qsizetype i = 0; i < before.size() && i < after.size(); ++i) {
        const Sim::PropertyReading &now = before.at(i);
        const bool isName = now.owner != input.block && now.name == QLatin1String("Name");
        PreviewRow line { now.owner, now.name, now.text, after.at(i).text, after.at(i).unit, false, QString(),
            now.owner == input.block || nvName.isEmpty() ? now.owner : nvName, isName };
        for (const Sim::CallRecord &call : std::as_const(calls)) {
            if (call.error == 0 || !isWrite(call.operation) || call.arguments.isEmpty())
                continue;
            const bool nvCall = call.operation.startsWith(QLatin1String("NetworkVariable."));
            const bool hit = isName ? nvCall && call.arguments.first() == nvName
                                    : !nvCall && call.arguments.first().compare(now.name, Qt::CaseInsensitive) == 0;
            if (!hit || DeviceAccess::DeviceError::isQuiet(call.error))
                continue;
            line.failed = true;
            line.failure = call.errorDescription;
            if (call.operation.endsWith(QLatin1String(".setValueText")) && call.arguments.size() > 1)
                line.newText = call.arguments.at(1);
            else if (call.operation == QLatin1String("NetworkVariable.setName") && call.arguments.size() > 1)
                line.newText = call.arguments.at(1);
        }
        if (line.failed || line.oldText != line.newText)
            result.rows << line;
    }
}

} // namespace

PreviewResult previewWrites(Sim::Network &network, InputPage &page)
{
    PreviewResult result;
    const QStringList shownBefore = controlState(page);
    const ControlMemo memo(page);
    {
        // What the write raises is collected: the page's messages stay out of the
        // Messages pane and no message box is shown.
        const QSignalBlocker quiet(&page);
        dryRun(network, page.input(), result, [&page](PreviewResult &preview) { preview.outcome = page.write(); });
    }
    memo.restore();
    result.controlsKept = controlState(page) == shownBefore;

    const auto collect = [&result](const QString &side, const ControlOutcome &one) {
        for (const QString &reason : one.reasons)
            result.messages << QStringLiteral("%1: %2").arg(side, reason);
    };
    collect(QCoreApplication::translate("Host::WritePreview", "Hardware side"), result.outcome.hardware);
    collect(QCoreApplication::translate("Host::WritePreview", "Network side"), result.outcome.network);
    return result;
}

PreviewResult previewDefaults(Sim::Network &network, InputTypes &types, const InputRef &input, const QString &type)
{
    PreviewResult result;
    dryRun(network, input, result, [&](PreviewResult &preview) {
        QString errMsg;
        bool written = false;
        {
            // The file's values are in SI units, whatever the units shown.
            const FormatLocaleScope si(network, MEASUREMENT_SYSTEM_SI);
            written = types.apply(network.block(input.device, input.block), type, errMsg);
        }
        const QStringList lines = errMsg.split(QRegularExpression(QStringLiteral("[\\r\\n]+")), Qt::SkipEmptyParts);
        if (!written)
            preview.error = lines.isEmpty()
                ? QCoreApplication::translate("Host::WritePreview", "%1 has no defaults.").arg(type)
                : lines.join(QLatin1Char(' '));
        else
            preview.messages << lines;
    });
    return result;
}

PreviewResult previewWrite(
    Sim::Network &network, const InputRef &input, const std::function<void(PreviewResult &)> &write)
{
    PreviewResult result;
    dryRun(network, input, result, write);
    return result;
}

QString PreviewRow::label() const
{
    if (variableName)
        return QCoreApplication::translate("Host::WritePreview", "Variable name");
    return shownOwner + QLatin1Char('.') + property;
}

} // namespace Host
