// SPDX-License-Identifier: MIT
// Running a script's commands on the host window: the loop, what each command prints,
// and the script file.
#include "ScriptRunner.h"

#include "ScriptMessages.h"
#include "ScriptRunner_p.h"
#include "shared/BoundedFile.h"
#include "window/HostWindow.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QListWidget>
#include <QScreen>
#include <QTextStream>

namespace Host {

using namespace ScriptText;

namespace {

QString jsonValue(const QJsonValue &value)
{
    // Arrays serialise every value type; drop the brackets around the one element.
    const QByteArray text = QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(text.mid(1, text.size() - 2));
}

} // namespace

QString ScriptRunSummary::text(const QString &scriptName) const
{
    // One pass over the placeholders: a script's name or a failure may hold a "%1" of its own.
    const QString commands = run == 1 ? QStringLiteral("command") : QStringLiteral("commands");
    QString line = failures.isEmpty()
        ? QStringLiteral("vqhost: %1: %2 %3, all succeeded").arg(scriptName, QString::number(run), commands)
        : QStringLiteral("vqhost: %1: %2 of %3 %4 failed: %5")
              .arg(scriptName, QString::number(failures.size()), QString::number(run), commands,
                  failures.size() <= 5 ? failures.join(QStringLiteral("; "))
                                       : failures.mid(0, 5).join(QStringLiteral("; "))
                          + QStringLiteral("; and %1 more").arg(failures.size() - 5));
    if (notRun > 0)
        line += QStringLiteral("; stopped at line %1, %2 more not run").arg(stoppedAt).arg(notRun);
    if (editsLeft)
        line += QStringLiteral("; the edits of the last input were neither written nor discarded");
    return line;
}

ScriptRunner::ScriptRunner(HostWindow &window, QTextStream &out)
    : m_window(window)
    , m_out(out)
    , m_messages(std::make_unique<ScriptMessages>(window.findChild<QListWidget *>(QStringLiteral("hostLog"))))
{
}

ScriptRunner::~ScriptRunner() = default;

ScriptRunSummary ScriptRunner::run(const QList<ScriptLine> &lines, const QString &database, bool reset)
{
    ScriptRunSummary summary;
    const auto finish = [&](int number, const QString &command, Outcome outcome) {
        QCoreApplication::processEvents(); // what the command queued (a language change) happens within it
        if (outcome.ok && m_messages->critical()) {
            outcome.ok = false;
            outcome.detail += QStringLiteral(" (but a critical message was raised)");
        }
        if (!outcome.ok && m_messages->stayed())
            outcome.detail += QLatin1String("; ") + stayedReason();
        ++summary.run;
        if (!outcome.ok)
            summary.failures << QStringLiteral("line %1: %2").arg(number).arg(outcome.detail);
        print(
            number, command, outcome.ok ? QStringLiteral("ok") : QStringLiteral("failed"), outcome, m_messages->take());
        return outcome.ok;
    };
    const auto skipFrom = [&](int first, int stoppedAt) {
        summary.stoppedAt = stoppedAt;
        for (int j = first; j < lines.size(); ++j) {
            print(lines.at(j).number, lines.at(j).text, QStringLiteral("skipped"),
                { false, QStringLiteral("not run: the script stopped at line %1").arg(stoppedAt), {} }, {});
            ++summary.notRun;
        }
    };
    m_messages->take();
    // The database of the command line, as the window would open it: line 0.
    if (lines.isEmpty() || lines.first().command != QLatin1String("open")) {
        const QString path = database.isEmpty() ? QString() : QFileInfo(database).absoluteFilePath();
        if (!finish(0, QStringLiteral("open %1").arg(path.isEmpty() ? QStringLiteral("(working copy)") : path),
                open(path, reset))) {
            skipFrom(0, 0);
            return summary;
        }
    }
    for (int i = 0; i < lines.size(); ++i) {
        const ScriptLine &line = lines.at(i);
        const bool isExpectation = line.command == QLatin1String("expect");
        if (!finish(line.number, line.text, execute(line)) && !isExpectation) {
            skipFrom(i + 1, line.number);
            break;
        }
    }
    summary.editsLeft = m_window.page() && m_window.page()->valueChanged();
    return summary;
}

void ScriptRunner::print(
    int lineNumber, const QString &command, const QString &result, const Outcome &outcome, const QJsonArray &messages)
{
    // One line per command, its keys in reading order.
    QStringList parts { QStringLiteral("\"line\":%1").arg(lineNumber),
        QStringLiteral("\"command\":") + jsonValue(command), QStringLiteral("\"result\":") + jsonValue(result),
        QStringLiteral("\"detail\":") + jsonValue(outcome.detail) };
    for (auto it = outcome.extra.constBegin(); it != outcome.extra.constEnd(); ++it)
        parts << jsonValue(it.key()) + QLatin1Char(':') + jsonValue(it.value());
    QStringList shownMessages;
    for (const QJsonValue &message : messages) {
        QStringList fields;
        for (const QLatin1String key :
            { QLatin1String("source"), QLatin1String("severity"), QLatin1String("text"), QLatin1String("detail") }) {
            if (message.toObject().contains(key))
                fields << jsonValue(QString(key)) + QLatin1Char(':') + jsonValue(message.toObject().value(key));
        }
        shownMessages << QLatin1Char('{') + fields.join(QLatin1Char(',')) + QLatin1Char('}');
    }
    parts << QStringLiteral("\"messages\":[") + shownMessages.join(QLatin1Char(',')) + QLatin1Char(']');
    m_out << QLatin1Char('{') << parts.join(QLatin1Char(',')) << "}\n";
    m_out.flush();
}

ScriptRunner::Outcome ScriptRunner::execute(const ScriptLine &line)
{
    const QString &c = line.command;
    const QStringList &a = line.arguments;
    const QString first = a.value(0);
    if (c == QLatin1String("open"))
        return open(first.isEmpty() ? QString() : QFileInfo(first).absoluteFilePath(), false);
    if (c == QLatin1String("reload"))
        return reload();
    if (c == QLatin1String("device"))
        return device(first);
    if (c == QLatin1String("input"))
        return a.size() == 2 ? input(a.at(0), a.at(1)) : input(m_window.currentDevice(), first);
    if (c == QLatin1String("inputtype"))
        return inputType(first);
    if (c == QLatin1String("set"))
        return set(first, a.value(1));
    if (c == QLatin1String("choose"))
        return choose(first, a.value(1));
    if (c == QLatin1String("tick"))
        return tick(first, a.value(1));
    if (c == QLatin1String("click"))
        return click(first);
    if (c == QLatin1String("units"))
        return units(first);
    if (c == QLatin1String("language"))
        return language(first);
    if (c == QLatin1String("answer"))
        return answer(first);
    if (c == QLatin1String("preview"))
        return preview();
    if (c == QLatin1String("ok"))
        return ok();
    if (c == QLatin1String("cancel"))
        return cancel();
    if (c == QLatin1String("copy"))
        return copy(a);
    if (c == QLatin1String("expect"))
        return expect(first, a.value(1));
    if (c == QLatin1String("save"))
        return save(first.isEmpty() ? QString() : QFileInfo(first).absoluteFilePath());
    return failed(QStringLiteral("unknown command %1").arg(quoted(c))); // the parser lets none through
}

QString ScriptRunner::stayedReason() const
{
    return QStringLiteral("the input shown has changes that are not written, and the script answers the question "
                          "with stay: write them (ok), forget them (cancel), or say answer write or answer discard");
}

QString ScriptRunner::noPageReason() const
{
    if (!m_window.network())
        return QStringLiteral("no database is open");
    if (!m_window.deviceProblem().isEmpty())
        return QStringLiteral("%1 cannot be configured now: %2")
            .arg(m_window.currentDevice(), m_window.deviceProblem());
    return QStringLiteral("no input is shown; choose one with input");
}

namespace {

QtMessageHandler previousHandler = nullptr;

// The offscreen platform notes on every window that it has no window manager; a
// script's stderr keeps to what the script did.
void withoutPlatformNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

// The script's text, read like every file the host is given: a regular file (or standard
// input for "-") of at most MaxScriptSize bytes, never a device or a FIFO. Why not, or empty.
QString readScript(const QString &path, QString &text)
{
    BoundedRead read;
    if (path == QLatin1String("-")) {
        QFile input;
        if (!input.open(stdin, QIODevice::ReadOnly))
            return input.errorString();
        read = readBoundedStream(input, MaxScriptSize);
    } else {
        read = readBoundedFile(path, MaxScriptSize);
    }
    switch (read.failure) {
    case BoundedRead::Failure::None:
        break;
    case BoundedRead::Failure::CannotOpen:
    case BoundedRead::Failure::ReadFailed:
        return read.reason;
    case BoundedRead::Failure::NotRegular:
        return QStringLiteral("it is %1, and a script is a regular file").arg(read.reason);
    case BoundedRead::Failure::TooLarge:
        return QStringLiteral("it holds more than %1 bytes (%2 MiB), more than a script may")
            .arg(MaxScriptSize)
            .arg(MaxScriptSize / (1024 * 1024));
    }
    QString why;
    return decodeScript(read.data, text, &why) ? QString() : why;
}

} // namespace

int runScriptFile(const QString &scriptPath, const QString &database, bool reset)
{
    previousHandler = qInstallMessageHandler(withoutPlatformNotes);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QString text;
    const QString whyNot = readScript(scriptPath, text);
    if (!whyNot.isEmpty()) {
        err << "vqhost: cannot read the script " << scriptPath << ": " << whyNot << "\n";
        return 2;
    }
    const QList<ScriptLine> lines = parseScript(text);
    // A line that is not a command stops the whole script before anything runs.
    QStringList errors;
    for (const ScriptLine &line : lines) {
        if (line.error.isEmpty())
            continue;
        errors << QStringLiteral("line %1: %2").arg(line.number).arg(line.error);
        out << QStringLiteral("{\"line\":%1,\"command\":%2,\"result\":\"failed\",\"detail\":%3,\"messages\":[]}\n")
                   .arg(line.number)
                   .arg(jsonValue(line.text), jsonValue(QStringLiteral("not a command: ") + line.error));
    }
    if (!errors.isEmpty()) {
        err << "vqhost: " << scriptPath << ": nothing was run: " << errors.join(QStringLiteral("; ")) << "\n";
        return 2;
    }

    HostWindow window;
    window.setReproducible(true); // pane entries without times
    window.setAskWhenLocked(false); // nobody could answer: read-only, and every save fails
    window.resize(QSize(1250, 680).boundedTo(window.screen()->availableGeometry().size()));
    window.show();
    ScriptRunSummary summary;
    {
        ScriptRunner runner(window, out);
        summary = runner.run(lines, database, reset);
    }
    err << summary.text(scriptPath) << "\n";
    return summary.succeeded() ? 0 : 1;
}

} // namespace Host
