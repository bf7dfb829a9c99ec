// SPDX-License-Identifier: MIT
// ProfileFile: decoding a profile file, finding a section, and the buffer rule of the
// platform's profile-section reader.
#include "defaults/ProfileSection.h"

#include "shared/BoundedFile.h"

#include <QStringDecoder>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; its five unassigned bytes map to
// the control characters of the same value, as the platform's converter maps them.
constexpr char16_t Cp1252High[32] = { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030,
    0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178 };

QString fromCp1252(const QByteArray &data)
{
    QString text(data.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < data.size(); ++i) {
        const uchar byte = uchar(data.at(i));
        text[i] = (byte >= 0x80 && byte < 0xA0) ? QChar(Cp1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

// Text may hold tabs and line breaks; any other control character marks a binary file.
bool isText(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\v' && u != '\f' && u != '\r')
            return false;
    }
    return true;
}

// The section name of a section line, or a null string for any other line.
QString sectionName(const QString &line)
{
    if (!line.startsWith(QLatin1Char('[')))
        return QString();
    const qsizetype close = line.indexOf(QLatin1Char(']'));
    if (close < 0)
        return QString();
    const QString name = line.mid(1, close - 1).trimmed();
    return name.isNull() ? QStringLiteral("") : name;
}

QString normalised(const QString &line)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0 || line.startsWith(QLatin1Char(';')))
        return line;
    return line.left(eq).trimmed() + QLatin1Char('=') + line.mid(eq + 1).trimmed();
}

} // namespace

ProfileFile::ProfileFile(const QString &path)
{
    const BoundedRead read = readBoundedFile(path, MaxFileSize);
    switch (read.failure) {
    case BoundedRead::Failure::None:
        break;
    case BoundedRead::Failure::CannotOpen:
    case BoundedRead::Failure::ReadFailed:
        m_error = QStringLiteral("The file %1 cannot be read: %2").arg(path, read.reason);
        return;
    case BoundedRead::Failure::NotRegular:
        m_error = QStringLiteral("The file %1 cannot be read: it is %2, not a regular file.").arg(path, read.reason);
        return;
    case BoundedRead::Failure::TooLarge:
        m_status = Status::TooLarge;
        m_error = QStringLiteral("The file %1 is larger than %2 bytes.").arg(path).arg(MaxFileSize);
        return;
    }
    parse(read.data);
    if (m_status == Status::NotText)
        m_error = QStringLiteral("The file %1 is not a text file.").arg(path);
}

ProfileFile ProfileFile::fromData(const QByteArray &data)
{
    ProfileFile profile;
    if (data.size() > MaxFileSize) {
        profile.m_status = Status::TooLarge;
        profile.m_error = QStringLiteral("The data is larger than %1 bytes.").arg(MaxFileSize);
    } else {
        profile.parse(data);
        if (profile.m_status == Status::NotText)
            profile.m_error = QStringLiteral("The data is not text.");
    }
    return profile;
}

QString ProfileFile::decode(const QByteArray &data)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(data.mid(3));
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(data.at(0) == '\xFF' ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        return utf16.decode(data.mid(2));
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(data);
    return utf8.hasError() ? fromCp1252(data) : text;
}

void ProfileFile::parse(const QByteArray &data)
{
    QString text = decode(data);
    if (!isText(text)) {
        m_status = Status::NotText;
        return;
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_lines.clear();
    for (const QString &line : text.split(QLatin1Char('\n')))
        m_lines.append(line.trimmed());
    m_status = Status::Ok;
}

QStringList ProfileFile::sectionLines(const QString &name) const
{
    QStringList lines;
    const QString wanted = name.trimmed();
    auto isWanted = [&](const QString &line) {
        const QString found = sectionName(line);
        return !found.isNull() && found.compare(wanted, Qt::CaseInsensitive) == 0;
    };
    qsizetype i = 0;
    while (i < m_lines.size() && !isWanted(m_lines.at(i)))
        ++i;
    if (i == m_lines.size())
        return lines;
    for (++i; i < m_lines.size() && sectionName(m_lines.at(i)).isNull(); ++i) {
        if (!m_lines.at(i).isEmpty())
            lines.append(normalised(m_lines.at(i)));
    }
    return lines;
}

qint32 ProfileFile::readSection(const QString &name, QString &block, qint32 bufferSize) const
{
    block.clear();
    if (m_status != Status::Ok || bufferSize < 2)
        return 0;
    for (const QString &line : sectionLines(name))
        block += line + QChar(0);
    if (block.isEmpty())
        return 0;
    if (block.size() + 1 <= bufferSize) {
        block += QChar(0);
        return qint32(block.size() - 1);
    }
    block.truncate(bufferSize - 2);
    block += QChar(0);
    block += QChar(0);
    return bufferSize - 2;
}
