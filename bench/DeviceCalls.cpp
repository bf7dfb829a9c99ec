// SPDX-License-Identifier: MIT
// Device calls per operation of a control, with repeats.
#include "DeviceCalls.h"

#include "device/sim/SimNetwork.h"
#include "shared/MKorvane.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTextStream>
#include <QWidget>
#include <algorithm>
#include <functional>

namespace Bench {

namespace {

StepCalls measure(Sim::Network &network, const std::function<void()> &operation)
{
    network.clearCallLog();
    operation();
    StepCalls calls;
    calls.measured = true;
    QSet<QString> seen;
    for (const Sim::CallRecord &call : network.callLog()) {
        const QString key = call.operation + QLatin1Char('(') + call.arguments.join(QStringLiteral(", ")) + ')';
        ++calls.total;
        calls.log << key;
        if (seen.contains(key)) {
            ++calls.repeats;
            ++calls.repeatedCalls[key];
        }
        seen.insert(key);
    }
    return calls;
}

// The widgets that hold values, as a user would edit them.
const QStringList &valueBoxes(Kind kind)
{
    static const QStringList hardware = { QStringLiteral("txtMin"), QStringLiteral("txtMax"), QStringLiteral("txtOff"),
        QStringLiteral("txtSelector") };
    static const QStringList network = { QStringLiteral("txtThrottle"), QStringLiteral("txtOver"),
        QStringLiteral("txtDefault"), QStringLiteral("txtSend"), QStringLiteral("txtHeart") };
    return kind == Kind::Hardware ? hardware : network;
}

const QStringList &valueLists(Kind kind)
{
    static const QStringList hardware = { QStringLiteral("cboSignal"), QStringLiteral("cboTherm"),
        QStringLiteral("cboMin"), QStringLiteral("cboMax") };
    static const QStringList network = { QStringLiteral("cboOverride"), QStringLiteral("cboDefault") };
    return kind == Kind::Hardware ? hardware : network;
}

bool editBox(QWidget *control, const QString &name)
{
    auto box = control->findChild<QLineEdit *>(name);
    if (!box || box->isHidden() || box->isReadOnly())
        return false;
    // A structured value (a switch's "100.0 1") is left as it is: one number would be refused.
    const QString text = box->text().trimmed();
    if (!MKorvane::IsNumeric(text))
        return false;
    box->setText(MKorvane::NumberText(MKorvane::Val(text) + 1));
    return true;
}

bool editList(QWidget *control, const QString &name)
{
    auto combo = control->findChild<QComboBox *>(name);
    if (!combo || combo->isHidden() || combo->count() < 2)
        return false;
    combo->setCurrentIndex((combo->currentIndex() + 1) % combo->count());
    return true;
}

// One field: the reverse flag of a hardware input, the throttle of a network variable.
void changeOneField(const ControlSetup &setup)
{
    if (setup.kind() == Kind::Hardware) {
        auto reverse = setup.widget()->findChild<QCheckBox *>(QStringLiteral("chkReverse"));
        reverse->setChecked(!reverse->isChecked());
    } else {
        editBox(setup.widget(), QStringLiteral("txtThrottle"));
    }
}

// Every value field that the control shows; the interpretation stays.
void changeAllFields(const ControlSetup &setup)
{
    for (const QString &name : valueBoxes(setup.kind()))
        editBox(setup.widget(), name);
    for (const QString &name : valueLists(setup.kind()))
        editList(setup.widget(), name);
    if (setup.kind() == Kind::Hardware) {
        auto reverse = setup.widget()->findChild<QCheckBox *>(QStringLiteral("chkReverse"));
        reverse->setChecked(!reverse->isChecked());
    }
}

QString cell(const StepCalls &calls)
{
    if (!calls.measured)
        return QStringLiteral("-").rightJustified(12);
    return (QString::number(calls.total) + QStringLiteral(" (") + QString::number(calls.repeats) + ')')
        .rightJustified(12);
}

} // namespace

InputCalls countCalls(Kind kind, const InputId &input)
{
    InputCalls result;
    result.input = input;
    result.kind = kind;
    QStringList messages;

    // Each step on its own network and control, so that no step sees another's writes.
    const auto initialised = [&] {
        auto setup = std::make_unique<ControlSetup>(kind, input);
        setup->init();
        setup->network().clearCallLog();
        return setup;
    };
    {
        ControlSetup setup(kind, input);
        result.steps[StepInit] = measure(setup.network(), [&] { setup.init(); });
        messages << setup.messages();
    }
    if (kind == Kind::Hardware) {
        auto setup = initialised();
        auto button = setup->widget()->findChild<QPushButton *>(QStringLiteral("cmdValue"));
        result.steps[StepGetValue] = measure(setup->network(), [&] { button->click(); });
    }
    {
        auto setup = initialised();
        changeOneField(*setup);
        result.steps[StepWriteOne] = measure(setup->network(), [&] { setup->writeValue(); });
        messages << setup->messages();
    }
    {
        auto setup = initialised();
        changeAllFields(*setup);
        result.steps[StepWriteAll] = measure(setup->network(), [&] { setup->writeValue(); });
        messages << setup->messages();
    }
    {
        auto setup = initialised();
        result.steps[StepLanguage] = measure(setup->network(), [&] {
            setup->network().setLanguage(QStringLiteral("de"));
            setup->reInitializeStrings();
        });
    }
    {
        auto setup = initialised();
        result.steps[StepUnits] = measure(setup->network(), [&] { setup->setMesureUnit(MEASUREMENT_SYSTEM_US); });
    }
    messages.removeDuplicates();
    result.messages = messages;
    return result;
}

void printCallLogs(const QVector<InputCalls> &calls)
{
    static const char *const names[StepCount] = { "init", "Get Value", "write one", "write all", "language", "units" };
    QTextStream out(stdout);
    for (const InputCalls &c : calls) {
        for (int step = 0; step < StepCount; ++step) {
            for (const QString &call : c.steps[step].log)
                out << kindName(c.kind) << ' ' << c.input.label() << ' ' << names[step] << ": " << call << '\n';
        }
    }
}

void printCallTable(const QVector<InputCalls> &calls)
{
    QTextStream out(stdout);
    out << "2. Device calls per operation: calls (of them repeating an earlier identical call)\n"
        << "   Get Value: the hardware control's button; write one: the reverse flag (hardware) or the\n"
        << "   throttle (network) changed; write all: every value field the control shows changed;\n"
        << "   language: German chosen and ReInitializeStrings; units: MesureUnit set to US.\n\n";
    int width = 30;
    for (const InputCalls &c : calls)
        width = qMax(width, int(c.input.label().size()) + 2);
    const QStringList heads = { QStringLiteral("init"), QStringLiteral("Get Value"), QStringLiteral("write one"),
        QStringLiteral("write all"), QStringLiteral("language"), QStringLiteral("units") };
    QMap<QString, int> repeated[2];
    for (Kind kind : { Kind::Hardware, Kind::Network }) {
        out << QStringLiteral("%1 control").arg(kindName(kind)).leftJustified(width);
        for (const QString &head : heads)
            out << head.rightJustified(12);
        out << "\n";
        double sums[StepCount][2] = {};
        int n = 0;
        for (const InputCalls &c : calls) {
            if (c.kind != kind)
                continue;
            ++n;
            out << c.input.label().leftJustified(width);
            for (int step = 0; step < StepCount; ++step) {
                out << cell(c.steps[step]);
                sums[step][0] += c.steps[step].total;
                sums[step][1] += c.steps[step].repeats;
            }
            out << (c.messages.isEmpty() ? "" : "  *") << "\n";
            for (auto it = c.steps[StepInit].repeatedCalls.cbegin(); it != c.steps[StepInit].repeatedCalls.cend(); ++it)
                repeated[int(kind)][it.key().section(QLatin1Char('('), 0, 0)] += it.value();
        }
        out << QStringLiteral("mean per input").leftJustified(width);
        for (int step = 0; step < StepCount; ++step) {
            if (kind == Kind::Network && step == StepGetValue) {
                out << QStringLiteral("-").rightJustified(12);
                continue;
            }
            out << (QString::number(sums[step][0] / qMax(1, n), 'f', 1) + QStringLiteral(" (")
                + QString::number(sums[step][1] / qMax(1, n), 'f', 1) + ')')
                       .rightJustified(12);
        }
        out << "\n\n";
    }
    for (Kind kind : { Kind::Hardware, Kind::Network }) {
        QVector<std::pair<int, QString>> ranked;
        for (auto it = repeated[int(kind)].cbegin(); it != repeated[int(kind)].cend(); ++it)
            ranked.push_back({ it.value(), it.key() });
        std::sort(ranked.begin(), ranked.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
        out << "   repeated calls in ZovezuVavevaInit of the " << kindName(kind)
            << " control, by operation (all inputs):";
        if (ranked.isEmpty())
            out << " none";
        out << "\n";
        for (int i = 0; i < ranked.size() && i < 6; ++i)
            out << "     " << QString::number(ranked[i].first).rightJustified(5) << "  " << ranked[i].second << "\n";
    }
    QStringList messages;
    for (const InputCalls &c : calls) {
        for (const QString &m : c.messages)
            messages << QStringLiteral("%1 %2 %3").arg(kindName(c.kind), c.input.label(), m);
    }
    if (!messages.isEmpty()) {
        out << "   * messages the controls raised during these steps (taken by the benchmark, not shown):\n";
        for (const QString &m : std::as_const(messages))
            out << "     " << m << "\n";
    }
    out << "\n";
    out.flush();
}

} // namespace Bench
