// SPDX-License-Identifier: MIT
// Scripted runs (vqhost --script): the commands of a script drive the host window and
// its input page, the real controls, without a display. Each command prints one JSON
// line on stdout: its line, the command, ok or failed, a detail and the messages raised
// while it ran. A failed expectation changes nothing, so the script goes on after it;
// any other failed command stops the script, since what follows would act on a state
// the script did not mean (an edit typed into the wrong input, say).
#pragma once

#include "ScriptParser.h"

#include <QJsonArray>
#include <QJsonObject>
#include <memory>

class QTextStream;
class QWidget;

namespace Host {

class HostWindow;
class ScriptMessages;

struct ScriptRunSummary
{
    int run = 0; // commands run
    QStringList failures; // "line 7: expected txtOff to read \"2.5\", found \"0.5\"", one per failed command
    int stoppedAt = 0; // the line the script stopped at; 0 when it ran to its end
    int notRun = 0;
    bool editsLeft = false; // edits typed but neither written nor discarded at the end

    bool succeeded() const { return failures.isEmpty(); }
    // One line for stderr.
    QString text(const QString &scriptName) const;
};

class ScriptRunner
{
public:
    ScriptRunner(HostWindow &window, QTextStream &out);
    ~ScriptRunner();

    // Opens the database (empty: the working copy) before the first line, unless the
    // script begins with open, then runs the lines in order.
    ScriptRunSummary run(const QList<ScriptLine> &lines, const QString &database, bool reset);

private:
    struct Outcome
    {
        bool ok = true;
        QString detail;
        QJsonObject extra; // more keys of the line (expected/found, changes, targets)
    };
    static Outcome failed(const QString &detail, const QJsonObject &extra = {}) { return { false, detail, extra }; }

    Outcome execute(const ScriptLine &line);
    Outcome open(const QString &path, bool reset);
    Outcome reload();
    Outcome device(const QString &name);
    Outcome input(const QString &deviceName, const QString &blockName);
    Outcome inputType(const QString &type);
    Outcome set(const QString &name, const QString &text);
    Outcome choose(const QString &name, const QString &item);
    Outcome tick(const QString &name, const QString &state);
    Outcome click(const QString &name);
    Outcome units(const QString &system);
    Outcome language(const QString &code);
    Outcome answer(const QString &answer);
    Outcome preview();
    Outcome ok();
    Outcome cancel();
    Outcome copy(const QStringList &targets);
    Outcome expect(const QString &name, const QString &text);
    Outcome save(const QString &path);

    // A named widget of the page, else of the window.
    QWidget *field(const QString &name) const;
    // Why a user could not change the widget now; empty when they could.
    QString whyNotEditable(const QWidget *widget) const;
    QString stayedReason() const;
    QString noPageReason() const;
    void print(int lineNumber, const QString &command, const QString &result, const Outcome &outcome,
        const QJsonArray &messages);

    HostWindow &m_window;
    QTextStream &m_out;
    std::unique_ptr<ScriptMessages> m_messages;
};

// Reads, checks and runs a script file ("-": standard input) on a window of its own.
// Exit status 0 when every command succeeded, 1 when one failed, 2 when the script
// cannot be read or has a line that is not a command (then nothing runs).
int runScriptFile(const QString &scriptPath, const QString &database, bool reset);

} // namespace Host
