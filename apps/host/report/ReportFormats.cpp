// SPDX-License-Identifier: MIT
// The report's fields, read from the input page, and its CSV and JSON forms.
#include "ReportFormats.h"

#include "device/sim/SimNetwork.h"
#include "page/InputPage.h"
#include "page/ShownFields.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Host {

namespace {

QString oneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" / ")).trimmed();
}

// Both controls' fields in one measurement system, keyed by control and field.
QVector<ShownValue> fieldsOf(InputPage &page, bool us, QVector<ShownValue> fields)
{
    const std::pair<const char *, QWidget *> controls[]
        = { { "hardware", page.hardwareControl() }, { "network", page.networkControl() } };
    for (const auto &entry : controls) {
        const QLatin1String name(entry.first); // a lambda may not capture a structured binding in C++17
        for (const ShownField &shown : shownFields(entry.second)) {
            auto known = std::find_if(fields.begin(), fields.end(),
                [&](const ShownValue &v) { return v.control == name && v.field == shown.field; });
            if (known == fields.end()) {
                ShownValue value;
                value.control = name;
                value.field = shown.field;
                value.caption = shown.caption;
                known = fields.insert(fields.end(), value);
            }
            (us ? known->us : known->si) = shown.value;
            (us ? known->usUnit : known->siUnit) = shown.unit;
        }
    }
    return fields;
}

QString csvField(const QString &text)
{
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QJsonObject readingJson(const UnitReading &reading)
{
    return { { QStringLiteral("format"), reading.format }, { QStringLiteral("differenceFormat"), reading.diffFormat },
        { QStringLiteral("unit"), reading.unit }, { QStringLiteral("value"), reading.value },
        { QStringLiteral("error"), oneLine(reading.error) } };
}

} // namespace

bool parseReportFormat(const QString &name, ReportFormat &format)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("text"))
        format = ReportFormat::Text;
    else if (n == QLatin1String("csv"))
        format = ReportFormat::Csv;
    else if (n == QLatin1String("json"))
        format = ReportFormat::Json;
    else
        return false;
    return true;
}

void addShownFields(NetworkReport &report, Sim::Network &network)
{
    const qint16 locale = network.formatLocale();
    for (DeviceReport &device : report.devices) {
        for (InputReport &input : device.inputs) {
            if (!input.error.isEmpty())
                continue;
            // The page as the window shows it: the database's locale follows the units.
            network.setFormatLocale(MEASUREMENT_SYSTEM_SI);
            InputPage page;
            QObject::connect(&page, &InputPage::message,
                [&input](const PageMessage &message) { input.messages << oneLine(message.headline); });
            if (!page.open(network, InputRef { device.name, input.block }, QString(), MEASUREMENT_SYSTEM_SI))
                continue;
            input.fields = fieldsOf(page, false, {});
            network.setFormatLocale(MEASUREMENT_SYSTEM_US);
            page.setMesureUnit(MEASUREMENT_SYSTEM_US);
            input.fields = fieldsOf(page, true, input.fields);
        }
    }
    network.setFormatLocale(locale);
}

QByteArray formatReportCsv(const NetworkReport &report)
{
    QStringList lines;
    const auto row = [&lines](const QStringList &fields) {
        QStringList quoted;
        for (const QString &field : fields)
            quoted << csvField(field);
        lines << quoted.join(QLatin1Char(','));
    };
    row({ QStringLiteral("device"), QStringLiteral("program_id"), QStringLiteral("input"), QStringLiteral("variable"),
        QStringLiteral("control"), QStringLiteral("field"), QStringLiteral("caption"), QStringLiteral("si_value"),
        QStringLiteral("si_unit"), QStringLiteral("us_value"), QStringLiteral("us_unit"), QStringLiteral("note") });
    for (const DeviceReport &device : report.devices) {
        const QStringList head = { device.name, device.programId };
        if (!device.configurable) {
            for (const QString &input : device.unreadInputs)
                row(head + QStringList { input, {}, {}, {}, {}, {}, {}, {}, {}, oneLine(device.reason) });
            if (device.unreadInputs.isEmpty())
                row(head + QStringList { {}, {}, {}, {}, {}, {}, {}, {}, {}, oneLine(device.reason) });
            continue;
        }
        for (const InputReport &input : device.inputs) {
            const QStringList inputHead = head + QStringList { input.block, input.variable };
            if (!input.error.isEmpty()) {
                row(inputHead + QStringList { {}, {}, {}, {}, {}, {}, {}, oneLine(input.error) });
                continue;
            }
            row(inputHead
                + QStringList { QStringLiteral("network"), QStringLiteral("value"),
                    QStringLiteral("Network variable value (type %1 %2)")
                        .arg(input.typeIndex)
                        .arg(input.typeName)
                        .trimmed(),
                    input.si.value, input.si.unit, input.us.value, input.us.unit,
                    oneLine((input.si.error + QStringLiteral("\r\n") + input.us.error).trimmed()) });
            for (const ShownValue &field : input.fields) {
                row(inputHead
                    + QStringList { field.control, field.field, field.caption, field.si, field.siUnit, field.us,
                        field.usUnit, {} });
            }
            if (!input.messages.isEmpty())
                row(inputHead + QStringList { {}, {}, {}, {}, {}, {}, {}, input.messages.join(QStringLiteral(" / ")) });
        }
    }
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QByteArray formatReportJson(const NetworkReport &report, const QString &database)
{
    QJsonArray devices;
    for (const DeviceReport &device : report.devices) {
        QJsonArray inputs;
        for (const QString &input : device.unreadInputs)
            inputs.append(
                QJsonObject { { QStringLiteral("name"), input }, { QStringLiteral("error"), oneLine(device.reason) } });
        for (const InputReport &input : device.inputs) {
            QJsonArray fields;
            for (const ShownValue &field : input.fields) {
                fields.append(QJsonObject { { QStringLiteral("control"), field.control },
                    { QStringLiteral("field"), field.field }, { QStringLiteral("caption"), field.caption },
                    { QStringLiteral("si"),
                        QJsonObject {
                            { QStringLiteral("value"), field.si }, { QStringLiteral("unit"), field.siUnit } } },
                    { QStringLiteral("us"),
                        QJsonObject {
                            { QStringLiteral("value"), field.us }, { QStringLiteral("unit"), field.usUnit } } } });
            }
            inputs.append(
                QJsonObject { { QStringLiteral("name"), input.block }, { QStringLiteral("variable"), input.variable },
                    { QStringLiteral("typeIndex"), input.typeIndex }, { QStringLiteral("typeName"), input.typeName },
                    { QStringLiteral("si"), readingJson(input.si) }, { QStringLiteral("us"), readingJson(input.us) },
                    { QStringLiteral("error"), oneLine(input.error) }, { QStringLiteral("fields"), fields },
                    { QStringLiteral("messages"), QJsonArray::fromStringList(input.messages) } });
        }
        devices.append(
            QJsonObject { { QStringLiteral("name"), device.name }, { QStringLiteral("programId"), device.programId },
                { QStringLiteral("scope"), device.scope }, { QStringLiteral("configurable"), device.configurable },
                { QStringLiteral("reason"), oneLine(device.reason) }, { QStringLiteral("inputs"), inputs } });
    }
    return QJsonDocument(
        QJsonObject { { QStringLiteral("database"), database }, { QStringLiteral("devices"), devices } })
        .toJson(QJsonDocument::Indented);
}

} // namespace Host
