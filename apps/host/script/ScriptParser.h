// SPDX-License-Identifier: MIT
// The command language of scripted runs (vqhost --script): one command a line, words
// separated by blanks, "double quotes" around a word with blanks (\" and \\ inside),
// blank lines and comments from a word starting with # to the end of the line.
// The parser checks every line against the commands' shapes before anything runs.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace Host {

struct ScriptLine
{
    int number = 0; // 1-based line in the script
    QString text; // the command as written, without comment and outer blanks
    QString command; // the first word, in lower case
    QStringList arguments;
    QString error; // why the line is not a valid command; empty when it is
};

// Splits one line into words. False (and why in *error) on an unterminated quote or a
// quote glued to other characters. *end: where the last word ends (a comment follows).
bool splitWords(const QString &line, QStringList &words, QString *error, int *end = nullptr);

// A script is a few kilobytes; a file larger than this is not one.
constexpr qint64 MaxScriptSize = 16 * 1024 * 1024;

// The text of a script file: UTF-8 (a byte-order mark is skipped), lines ending in LF or
// CR LF. False, and in *error what was found and where, for UTF-16 or UTF-32 text, a NUL
// byte, bytes that are not UTF-8, or a carriage return alone (classic Mac line ends),
// which would otherwise run all lines into one.
bool decodeScript(const QByteArray &bytes, QString &text, QString *error);

// Every command line of the script (blank and comment lines left out), each checked
// against the command's shape.
QList<ScriptLine> parseScript(const QString &script);

// The commands with their arguments, one a line, for help texts and errors.
QStringList scriptCommandUsage();

} // namespace Host
