// SPDX-License-Identifier: MIT
// The points list and its CSV form.
#include "PointsList.h"

#include "report/HostReport.h"
#include "report/ReportFormats.h"
#include "shared/MKorvane.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <QStringDecoder>

namespace Host {

namespace {

class Texts
{
    Q_DECLARE_TR_FUNCTIONS(Host::PointsList)
};

const QString Device = QStringLiteral("device");
const QString Input = QStringLiteral("input");
const QString Units = QStringLiteral("units");

// The page's fields in the order a user edits them.
const QStringList EditOrder = { QStringLiteral("cboInput"), QStringLiteral("cboSignal"), QStringLiteral("cboTherm"),
    QStringLiteral("txtMin"), QStringLiteral("txtMax"), QStringLiteral("txtOff"), QStringLiteral("txtSelector"),
    QStringLiteral("chkReverse"), QStringLiteral("txtHwInputNVName"), QStringLiteral("cboOverride"),
    QStringLiteral("txtOver"), QStringLiteral("cboDefault"), QStringLiteral("txtDefault"), QStringLiteral("txtSend"),
    QStringLiteral("txtThrottle"), QStringLiteral("txtHeart") };

QString quoted(const QString &text)
{
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

// RFC 4180 records; false with the line of an unclosed quote.
bool splitRecords(const QString &text, QVector<QStringList> &records, QVector<int> &lines, int &badLine)
{
    QStringList record;
    QString cell;
    bool inQuotes = false;
    bool quotedCell = false;
    int line = 1;
    int recordLine = 1;
    const auto endRecord = [&] {
        record << cell;
        // A blank line is no record.
        if (!(record.size() == 1 && record.first().isEmpty() && !quotedCell)) {
            records << record;
            lines << recordLine;
        }
        record.clear();
        cell.clear();
        quotedCell = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                cell += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                inQuotes = false;
            } else {
                line += c == QLatin1Char('\n') ? 1 : 0;
                cell += c;
            }
        } else if (c == QLatin1Char('"') && cell.isEmpty()) {
            inQuotes = quotedCell = true;
        } else if (c == QLatin1Char(',')) {
            record << cell;
            cell.clear();
            quotedCell = false;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            endRecord();
            recordLine = ++line;
        } else {
            cell += c;
        }
    }
    if (inQuotes) {
        badLine = recordLine;
        return false;
    }
    if (!cell.isEmpty() || !record.isEmpty() || quotedCell)
        endRecord();
    return true;
}

} // namespace

QStringList fieldOrder(const QStringList &fields)
{
    QStringList ordered;
    for (const QString &field : EditOrder) {
        if (fields.contains(field, Qt::CaseInsensitive))
            ordered << field;
    }
    for (const QString &field : fields) {
        if (!EditOrder.contains(field, Qt::CaseInsensitive))
            ordered << field;
    }
    return ordered;
}

QString systemName(qint16 measurementSystem)
{
    return measurementSystem == MEASUREMENT_SYSTEM_US ? QStringLiteral("US") : QStringLiteral("SI");
}

bool parseSystemName(const QString &text, qint16 &measurementSystem)
{
    const QString t = text.trimmed().toUpper();
    if (t == QLatin1String("SI"))
        measurementSystem = MEASUREMENT_SYSTEM_SI;
    else if (t == QLatin1String("US"))
        measurementSystem = MEASUREMENT_SYSTEM_US;
    else
        return false;
    return true;
}

PointsList pointsFromReport(const NetworkReport &report, qint16 measurementSystem)
{
    PointsList list;
    list.measurementSystem = measurementSystem;
    const bool us = measurementSystem == MEASUREMENT_SYSTEM_US;
    QStringList fields;
    for (const DeviceReport &device : report.devices) {
        for (const InputReport &input : device.inputs) {
            if (!input.error.isEmpty() || input.fields.isEmpty())
                continue;
            PointsRow row;
            row.device = device.name;
            row.input = input.block;
            row.units = systemName(measurementSystem);
            for (const ShownValue &value : input.fields) {
                if (value.field == QLatin1String("txtValue"))
                    continue; // the live value: read, never set
                row.cells.insert(value.field, us ? value.us : value.si);
                if (!fields.contains(value.field))
                    fields << value.field;
            }
            list.rows << row;
        }
    }
    list.fields = fieldOrder(fields);
    return list;
}

QByteArray writePointsCsv(const PointsList &list)
{
    QStringList lines;
    QStringList header
        = { quoted(Device), quoted(Input), quoted(Units + QLatin1Char(' ') + systemName(list.measurementSystem)) };
    for (const QString &field : list.fields)
        header << quoted(field);
    lines << header.join(QLatin1Char(','));
    for (const PointsRow &row : list.rows) {
        QStringList cells = { quoted(row.device), quoted(row.input), quoted(row.units) };
        for (const QString &field : list.fields)
            cells << quoted(row.cells.value(field));
        lines << cells.join(QLatin1Char(','));
    }
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

bool readPointsCsv(const QByteArray &bytes, PointsList &list, QString &error)
{
    list = PointsList();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        error = Texts::tr("The file is not UTF-8 text.");
        return false;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QVector<QStringList> records;
    QVector<int> lines;
    int badLine = 0;
    if (!splitRecords(text, records, lines, badLine)) {
        error = Texts::tr("Line %1: a quoted cell is not closed.").arg(badLine);
        return false;
    }
    if (records.isEmpty()) {
        error = Texts::tr("The file has no header row.");
        return false;
    }
    const QStringList header = records.first();
    const QStringList unitsHeader = header.value(2).simplified().split(QLatin1Char(' '));
    if (header.size() < 3 || header.at(0).trimmed().compare(Device, Qt::CaseInsensitive) != 0
        || header.at(1).trimmed().compare(Input, Qt::CaseInsensitive) != 0 || unitsHeader.size() != 2
        || unitsHeader.first().compare(Units, Qt::CaseInsensitive) != 0
        || !parseSystemName(unitsHeader.last(), list.measurementSystem)) {
        error = Texts::tr("Line %1: the header must begin with \"device\", \"input\" and \"units SI\" or \"units "
                          "US\".")
                    .arg(lines.first());
        return false;
    }
    for (qsizetype i = 3; i < header.size(); ++i)
        list.fields << header.at(i).trimmed();
    for (qsizetype r = 1; r < records.size(); ++r) {
        const QStringList &record = records.at(r);
        if (record.size() > header.size()) {
            error = Texts::tr("Line %1: %2 cells, the header has %3.")
                        .arg(lines.at(r))
                        .arg(record.size())
                        .arg(header.size());
            return false;
        }
        PointsRow row;
        row.line = lines.at(r);
        row.device = record.value(0).trimmed();
        row.input = record.value(1).trimmed();
        row.units = record.value(2).trimmed();
        for (qsizetype i = 3; i < record.size(); ++i) {
            if (!record.at(i).isEmpty() && !list.fields.at(i - 3).isEmpty())
                row.cells.insert(list.fields.at(i - 3), record.at(i));
        }
        list.rows << row;
    }
    return true;
}

bool exportPoints(Sim::Network &network, qint16 measurementSystem, const QString &path, QString &error, int *unread)
{
    NetworkReport report = buildReport(network);
    addShownFields(report, network);
    if (unread)
        *unread = int(report.unreadInputs().size());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(writePointsCsv(pointsFromReport(report, measurementSystem))) < 0
        || !file.commit()) {
        error = Texts::tr("%1 cannot be written: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace Host
