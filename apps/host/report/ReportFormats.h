// SPDX-License-Identifier: MIT
// The report as a commissioning record: every input of every device with what both
// controls show, in SI and in US units, as text, CSV (RFC 4180) or JSON.
#pragma once

#include "HostReport.h"

#include <QByteArray>

namespace Sim {
class Network;
}

namespace Host {

enum class ReportFormat { Text, Csv, Json };

// "text", "csv" or "json" (letter case ignored); false for anything else.
bool parseReportFormat(const QString &name, ReportFormat &format);

// Shows every input that could be read on an input page, in SI and then in US units,
// and adds the fields of both controls to the report. Needs a QApplication. The
// database's format locale is left as it was; nothing is written.
void addShownFields(NetworkReport &report, Sim::Network &network);

// Every field quoted, lines ended by CR LF; a header line names the columns.
QByteArray formatReportCsv(const NetworkReport &report);
// UTF-8, indented.
QByteArray formatReportJson(const NetworkReport &report, const QString &database);

} // namespace Host
