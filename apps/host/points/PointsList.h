// SPDX-License-Identifier: MIT
// A points list: one row per input, one column per field a user can edit on the input
// page, the values as the controls show them in one measurement system. It is written
// and read as CSV (RFC 4180, UTF-8, a header row), so that a spreadsheet can edit it.
//
// Header: "device", "input", "units SI" (or "units US"), then one column per field,
// named by the field's object name ("cboInput", "txtMin", "txtHeart"). Each row names its
// measurement system in the third column ("SI" or "US"; empty: the header's). A cell left
// empty is a field the input does not show, or one the list leaves as it is.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

namespace Sim {
class Network;
}

namespace Host {

struct NetworkReport;

struct PointsRow
{
    int line = 0; // the row's line in the file (the header is line 1)
    QString device;
    QString input;
    QString units; // "SI", "US" or empty (the header's), as the row says
    QHash<QString, QString> cells; // field object name -> text, empty cells left out
};

struct PointsList
{
    qint16 measurementSystem = 0; // MEASUREMENT_SYSTEM_SI or MEASUREMENT_SYSTEM_US
    QStringList fields; // the field columns, in the order of the file
    QVector<PointsRow> rows;
};

// The fields of the list in the order a user edits the page: the interpretation and the
// signal first (they decide which other fields show), then the range, then the network
// side. Fields the order does not know come after, in the order given.
QStringList fieldOrder(const QStringList &fields);

// "SI" or "US" for a measurement system; false for a text that names neither.
QString systemName(qint16 measurementSystem);
bool parseSystemName(const QString &text, qint16 &measurementSystem);

// The list of every input the report could read, in one measurement system, from the
// fields both controls show (addShownFields); the live value is no setting and stays out.
PointsList pointsFromReport(const NetworkReport &report, qint16 measurementSystem);

// The list as CSV: every cell quoted, CR LF line ends, UTF-8 without a byte-order mark.
QByteArray writePointsCsv(const PointsList &list);
// Reads a list; false with the reason (and its line) when the text is no points list:
// not UTF-8, a quote not closed, no header, a header without device, input and units, or
// a row with more cells than the header. A byte-order mark and LF line ends are accepted.
bool readPointsCsv(const QByteArray &bytes, PointsList &list, QString &error);

// Exports the network's inputs (it is installed as the device library). Needs a
// QApplication. False with the reason when the file cannot be written.
bool exportPoints(
    Sim::Network &network, qint16 measurementSystem, const QString &path, QString &error, int *unread = nullptr);

} // namespace Host
