// SPDX-License-Identifier: MIT
// Reading back what a control wrote.
#include "ReadBack.h"

#include "device/sim/SimNetwork.h"
#include "shared/MKorvane.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace Host {

namespace {

const QString SetFormat = QStringLiteral("ConfigProperty.setFormat");
const QString SetValueText = QStringLiteral("ConfigProperty.setValueText");
const QString SetName = QStringLiteral("NetworkVariable.setName");

// The device took the write: it did not fail, or failed with one of the two numbers that
// mean it took the value as it is.
bool taken(const Sim::CallRecord &call)
{
    return call.error == 0 || DeviceAccess::DeviceError::isQuiet(call.error);
}

struct Sent
{
    QString property; // as the log names it; "Name" for the variable's name
    QString text;
    QString format;
    bool formatKnown = false; // a format switch came before the write in the log
};

// A number written the way the device library writes numbers (the C locale); how many
// decimals it shows.
bool number(const QString &text, double &value, int &decimals)
{
    bool ok = false;
    value = QLocale::c().toDouble(text, &ok);
    if (!ok)
        return false;
    const int point = int(text.indexOf(QLatin1Char('.')));
    const int exponent = int(text.indexOf(QRegularExpression(QStringLiteral("[eE]"))));
    decimals = point < 0 ? 0 : int((exponent < 0 ? text.size() : exponent) - point - 1);
    return true;
}

// The property of that name, or nullptr when the collection has none.
DeviceAccess::ConfigPropertyPtr propertyOf(const DeviceAccess::ConfigPropertiesPtr &cps, const QString &name)
{
    DeviceAccess::ConfigPropertyPtr cp;
    if (cps)
        MKorvane::skipOnFailure([&] { cp = cps->Item(name); });
    return cp;
}

} // namespace

QString fieldOfProperty(const QString &property)
{
    static const QHash<QString, QString> fields = {
        { QStringLiteral("ucptinputsignalinterpretation"), QStringLiteral("cboInput") },
        { QStringLiteral("ucptinputsignaltype"), QStringLiteral("cboSignal") },
        { QStringLiteral("ucptthermistortype"), QStringLiteral("cboTherm") },
        { QStringLiteral("scptminrnge"), QStringLiteral("txtMin") },
        { QStringLiteral("scptmaxrnge"), QStringLiteral("txtMax") },
        { QStringLiteral("ucptoffset"), QStringLiteral("txtOff") },
        { QStringLiteral("scptoffset"), QStringLiteral("txtOff") },
        { QStringLiteral("ucpthwinoptions"), QStringLiteral("chkReverse") },
        { QStringLiteral("ucptiooptions"), QStringLiteral("chkReverse") },
        { QStringLiteral("ucptsteplevel"), QStringLiteral("txtSelector") },
        { QStringLiteral("ucpttranstable"), QStringLiteral("cmdTable") },
        { QStringLiteral("scptovrvalue"), QStringLiteral("txtOver") },
        { QStringLiteral("ucptdefaultvalue"), QStringLiteral("txtDefault") },
        { QStringLiteral("scptsnddelta"), QStringLiteral("txtSend") },
        { QStringLiteral("scptminsendtime"), QStringLiteral("txtThrottle") },
        { QStringLiteral("scptmaxsendtime"), QStringLiteral("txtHeart") },
        { QStringLiteral("name"), QStringLiteral("txtHwInputNVName") },
    };
    return fields.value(property.toLower());
}

bool sameValue(const QString &sent, const QString &reported)
{
    const QString a = sent.simplified();
    const QString b = reported.simplified();
    if (a.compare(b, Qt::CaseInsensitive) == 0)
        return true;
    const QStringList sentFields = a.split(QLatin1Char(' '));
    const QStringList reportedFields = b.split(QLatin1Char(' '));
    if (sentFields.size() != reportedFields.size())
        return false;
    for (int i = 0; i < sentFields.size(); ++i) {
        if (sentFields[i].compare(reportedFields[i], Qt::CaseInsensitive) == 0)
            continue;
        double x = 0, y = 0;
        int sentDecimals = 0, shownDecimals = 0;
        if (!number(sentFields[i], x, sentDecimals) || !number(reportedFields[i], y, shownDecimals))
            return false;
        // The device shows its value with the decimals of the format: a value sent with
        // more of them is the same when it rounds to what is shown.
        const double shownStep = 0.5 * std::pow(10.0, -shownDecimals);
        const double tolerance = sentDecimals > shownDecimals ? shownStep : 0;
        if (std::abs(x - y) > tolerance + 1e-9 * std::max({ 1.0, std::abs(x), std::abs(y) }))
            return false;
    }
    return true;
}

QVector<ReadBackItem> readBack(Sim::Network &network, const InputRef &input, const QVector<Sim::CallRecord> &calls,
    bool variable, const QHash<QString, QString> &captions)
{
    // The last text the device took per property, with the format it was in then.
    QVector<Sent> sent;
    QHash<QString, QString> formats; // property -> the format the log last switched it to
    const auto note = [&sent](const QString &property, const Sent &value) {
        for (Sent &known : sent) {
            if (known.property.compare(property, Qt::CaseInsensitive) == 0) {
                known = value;
                return;
            }
        }
        sent << value;
    };
    for (const Sim::CallRecord &call : calls) {
        if (call.arguments.size() < 2 || !taken(call))
            continue;
        const QString key = call.arguments.first().toLower();
        if (call.operation == SetFormat && call.error == 0) {
            formats.insert(key, call.arguments.at(1));
        } else if (call.operation == SetValueText) {
            note(call.arguments.first(),
                { call.arguments.first(), call.arguments.at(1), formats.value(key), formats.contains(key) });
        } else if (call.operation == SetName && variable) {
            note(QStringLiteral("Name"), { QStringLiteral("Name"), call.arguments.at(1), QString(), true });
        }
    }

    QVector<ReadBackItem> items;
    if (sent.isEmpty())
        return items;
    DeviceAccess::LonMarkObjectPtr block;
    DeviceAccess::NetworkVariablePtr nv;
    QString nvName;
    MKorvane::skipOnFailure([&] {
        block = network.block(input.device, input.block);
        nv = MKorvane::GetFirstNetworkVariable(block);
        nvName = MKorvane::deref(nv).ProgrammaticName();
    });
    for (const Sent &value : std::as_const(sent)) {
        ReadBackItem item;
        item.property = value.property;
        item.field = fieldOfProperty(value.property);
        item.caption = captions.value(item.field, value.property);
        item.sent = value.text;
        item.format = value.format;
        item.owner = variable ? nvName : input.block;
        MKorvane::tryStep(
            [&] {
                if (value.property == QLatin1String("Name") && variable) {
                    item.reported = MKorvane::deref(nv).Name();
                    return;
                }
                // A side writes its own object's properties; the other object is asked too.
                DeviceAccess::ConfigPropertyPtr cp = propertyOf(
                    variable ? MKorvane::deref(nv).ConfigProperties() : block->ConfigProperties(), value.property);
                if (!cp) {
                    cp = propertyOf(
                        variable ? block->ConfigProperties() : MKorvane::deref(nv).ConfigProperties(), value.property);
                    item.owner = variable ? input.block : nvName;
                }
                const QString previous = MKorvane::deref(cp).Format();
                const QString format = value.formatKnown ? value.format : previous;
                item.format = format;
                if (format != previous)
                    cp->setFormat(format);
                MKorvane::tryStep([&] { item.reported = cp->ValueText(); },
                    [&](qint32, const QString &description) { item.readError = description; });
                if (format != previous)
                    cp->setFormat(previous);
            },
            [&](qint32, const QString &description) {
                if (item.readError.isEmpty())
                    item.readError = description;
            });
        item.same = item.readError.isEmpty() && sameValue(item.sent, item.reported);
        items << item;
    }
    return items;
}

} // namespace Host
