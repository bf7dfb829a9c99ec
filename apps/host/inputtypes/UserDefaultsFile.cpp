// SPDX-License-Identifier: MIT
// Adding or replacing one section of a defaults file.
#include "UserDefaultsFile.h"

#include "defaults/CInputDefaultValues.h"
#include "defaults/DefaultValueText.h"
#include "defaults/ProfileSection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>

namespace Host {

namespace {

class Texts
{
    Q_DECLARE_TR_FUNCTIONS(Host::UserDefaultsFile)
};

// The section name of a line, or a null string when the line starts no section
// (the profile reader's rule: trimmed, it starts with "[" and holds a "]").
QString sectionName(const QString &line)
{
    const QString trimmed = line.trimmed();
    const int close = trimmed.indexOf(QLatin1Char(']'));
    if (!trimmed.startsWith(QLatin1Char('[')) || close < 0)
        return QString();
    return trimmed.mid(1, close - 1).trimmed();
}

bool isComment(const QString &line)
{
    return line.trimmed().startsWith(QLatin1Char(';'));
}

// The position of the first control character of a text (a NUL, a tab, a bell, a DEL ...),
// or -1 when it has none.
int controlCharacter(const QString &text)
{
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i).category() == QChar::Other_Control)
            return i;
    }
    return -1;
}

// Checks that the profile reader reads the whole new file as text and delivers every
// entry as it is meant: nothing cut by the section buffer, and every value the same after
// the reader's cleaning.
bool readsBack(const QByteArray &data, const QString &section, const QVector<DefaultsEntry> &entries, QString &error)
{
    const ProfileFile file = ProfileFile::fromData(data);
    if (file.status() != ProfileFile::Status::Ok) {
        error = Texts::tr("The defaults reader would not read the file any more (%1); every input type would lose "
                          "its defaults.")
                    .arg(file.errorString());
        return false;
    }
    qint32 size = 0;
    for (const QString &line : file.sectionLines(section))
        size += line.size() + 1; // each line ends with a NUL in the reader's buffer
    const qint32 readable = CInputDefaultValues::SectionBufferSize - 2;
    if (size > readable) {
        error = Texts::tr(
            "The section [%1] would take %2 characters; the defaults reader sees only the first %3 of a section.")
                    .arg(section)
                    .arg(size)
                    .arg(readable);
        return false;
    }
    for (const DefaultsEntry &entry : entries) {
        if (DefaultValueText::ParseValue(entry.value) != entry.value) {
            error = Texts::tr("The value of %1 (\"%2\") would not read back as it is: the defaults reader cleans it to "
                              "\"%3\".")
                        .arg(entry.key, entry.value, DefaultValueText::ParseValue(entry.value));
            return false;
        }
    }
    return true;
}

} // namespace

bool writeDefaultsSection(
    const QString &path, const QString &section, const QVector<DefaultsEntry> &entries, QString &error)
{
    static const QRegularExpression badName(QStringLiteral("[\\[\\]\\r\\n;=]"));
    if (section.trimmed().isEmpty() || section.contains(badName) || section.trimmed() != section
        || controlCharacter(section) >= 0) {
        error = Texts::tr("\"%1\" cannot name a section of a defaults file.").arg(section);
        return false;
    }
    for (const DefaultsEntry &entry : entries) {
        static const QRegularExpression badKey(QStringLiteral("[\\r\\n=\\[;]"));
        if (entry.key.trimmed().isEmpty() || entry.key.contains(badKey) || controlCharacter(entry.key) >= 0) {
            error = Texts::tr("The entry \"%1\" cannot be written to a defaults file.").arg(entry.key);
            return false;
        }
        // A defaults file is text: the reader refuses a whole file holding a control character.
        const int control = controlCharacter(entry.value);
        if (control >= 0) {
            error = Texts::tr("The value of %1 holds a control character (U+%2); a defaults file holds text only, "
                              "and the reader would refuse the whole file.")
                        .arg(entry.key,
                            QStringLiteral("%1")
                                .arg(entry.value.at(control).unicode(), 4, 16, QLatin1Char('0'))
                                .toUpper());
            return false;
        }
    }

    QStringList lines;
    QString lineEnd = QStringLiteral("\n");
    if (QFileInfo::exists(path)) {
        const ProfileFile existing(path);
        if (existing.status() != ProfileFile::Status::Ok) {
            error = Texts::tr("%1 is left as it is: %2").arg(QDir::toNativeSeparators(path), existing.errorString());
            return false;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            error = Texts::tr("%1 cannot be read: %2").arg(QDir::toNativeSeparators(path), file.errorString());
            return false;
        }
        const QByteArray data = file.readAll();
        if (data.contains("\r\n"))
            lineEnd = QStringLiteral("\r\n");
        static const QRegularExpression breaks(QStringLiteral("\\r\\n|\\n|\\r"));
        lines = ProfileFile::decode(data).split(breaks);
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
    } else {
        lines << QStringLiteral("; Input defaults saved by vqhost. One section per input type; keys are the")
              << QStringLiteral("; property names of the hardware input and of its network variable.");
    }

    QStringList body;
    for (const DefaultsEntry &entry : entries)
        body << entry.key + QStringLiteral(" = ") + entry.value;

    int start = -1;
    for (int i = 0; i < lines.size() && start < 0; ++i) {
        if (sectionName(lines[i]).compare(section, Qt::CaseInsensitive) == 0)
            start = i;
    }
    if (start < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QString();
        lines << QLatin1Char('[') + section + QLatin1Char(']') << body;
    } else {
        int end = start + 1;
        while (end < lines.size() && sectionName(lines[end]).isNull())
            ++end;
        // The section's comments stay: those above its last entry at its top, the lines
        // after it (often the next section's heading) after the new entries.
        int lastEntry = -1;
        for (int i = start + 1; i < end; ++i) {
            if (!lines[i].trimmed().isEmpty() && !isComment(lines[i]))
                lastEntry = i;
        }
        QStringList kept;
        for (int i = start + 1; i < (lastEntry < 0 ? end : lastEntry); ++i) {
            if (isComment(lines[i]))
                kept << lines[i];
        }
        QStringList tail = lastEntry < 0 ? QStringList() : lines.mid(lastEntry + 1, end - lastEntry - 1);
        if (end < lines.size() && (tail.isEmpty() || !tail.first().trimmed().isEmpty()))
            tail.prepend(QString()); // a blank line before what follows
        lines = lines.mid(0, start + 1) + kept + body + tail + lines.mid(end);
    }
    const QByteArray data = (lines.join(lineEnd) + lineEnd).toUtf8();
    if (!readsBack(data, section, entries, error))
        return false;

    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        error = Texts::tr("The folder %1 cannot be made.").arg(QDir::toNativeSeparators(info.absolutePath()));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        error = Texts::tr("%1 cannot be written: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

} // namespace Host
