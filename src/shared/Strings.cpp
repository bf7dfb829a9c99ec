// SPDX-License-Identifier: MIT
// The display-string table, the message builder, fonts, the ErrMsg appending rule
// and the reporting of errors to the host.
#include "shared/Strings.h"

#include "device/DeviceAccess.h"
#include "shared/Checked.h"
#include "shared/Numbers.h"
#include "shared/ProcessState.h"
#include "shared/Seams.h"
#include "shared/Steps.h"

#include <QComboBox>
#include <QEvent>
#include <QStringList>
#include <QWidget>
#include <algorithm>

namespace MKorvane {
namespace {

DeviceAccess::StringCollection &displayStrings()
{
    auto &table = processState().displayStrings;
    if (!table)
        table = std::make_shared<DeviceAccess::StringCollection>();
    return *table;
}

// The text form of one parameter; doubles as a user would read them.
QString parameterText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return NumberText(value.toDouble());
    default:
        return value.toString();
    }
}

// Holds back a list box's font change while its face becomes its own. The face stays the
// same; Qt 6.4's list box answers every font change by building its pop-up list, which made
// up two thirds of building a control. A pop-up built later, when the list is first opened,
// takes the list's font then (it propagates its parent's font).
class SameFace : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return event->type() == QEvent::FontChange || QObject::eventFilter(watched, event);
    }
};

} // namespace

void LoadLanguageStrings()
{
    // A failing language service keeps the previous table (possibly the empty one).
    skipOnFailure([] {
        auto &service = DeviceAccess::languageService();
        const QDateTime changed = service.GetStringsChangeTime();
        ProcessState &state = processState();
        if (state.displayStringsLoadTime.isValid() && !(state.displayStringsLoadTime < changed))
            return;
        DeviceAccess::StringCollectionPtr strings = service.GetApplicationStrings(ApplicationName);
        state.displayStrings = strings ? strings : std::make_shared<DeviceAccess::StringCollection>();
        state.displayStringsLoadTime = QDateTime::currentDateTime();
    });
}

QString GetLanguageString(const QString &Text)
{
    QString result = Text;
    skipOnFailure([&] {
        // The table finds a key whatever its letter case; only a text beyond ASCII is
        // upper-cased first, where upper case may differ from folding ("ß" becomes "SS").
        QString key = Text.trimmed();
        if (!std::all_of(key.cbegin(), key.cend(), [](QChar c) { return c.unicode() < 0x80; }))
            key = key.toUpper();
        const auto &table = displayStrings();
        if (!key.isEmpty() && table.Contains(key))
            result = table.Item(key);
    });
    return result;
}

qint16 GetIndexOrder(const QString &Piece, qint16 DefaultIndex, QString &Rest)
{
    qint16 index = 0;
    tryStep(
        [&] {
            Rest = Piece;
            QString digits;
            for (qsizetype i = 0; i < Piece.size(); ++i) {
                const QChar c = Piece.at(i);
                if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
                    digits += c;
                    continue;
                }
                if (c == QLatin1Char('%'))
                    Rest = Piece.mid(i + 1);
                break;
            }
            if (digits.isEmpty()) {
                index = DefaultIndex;
                return;
            }
            bool ok = false;
            const int number = digits.toInt(&ok);
            if (!ok || number > 32767)
                throw DeviceAccess::RuntimeError(OverflowErrorNumber, QStringLiteral("Overflow"));
            index = qint16(number);
        },
        [](qint32, const QString &description) { MsgBox(description, vbCritical, QStringLiteral("GetIndexOrder")); });
    return index;
}

QString GetStrings(const QString &Message, const QVariantList &Params)
{
    const QString translated = GetLanguageString(Message);
    if (Params.isEmpty())
        return translated;

    QStringList parameters;
    for (const QVariant &param : Params)
        parameters.append(GetLanguageString(parameterText(param)));

    const QStringList pieces = translated.split(QStringLiteral("%s"), Qt::KeepEmptyParts, Qt::CaseInsensitive);
    QString result = pieces.first();
    tryStep(
        [&] {
            for (qsizetype k = 1; k <= parameters.size(); ++k) {
                QString rest;
                const qint16 number = GetIndexOrder(fieldAt(pieces, k), qint16(qMin<qsizetype>(k, 32767)), rest);
                result += fieldAt(parameters, qsizetype(number) - 1);
                result += rest;
            }
        },
        [](qint32, const QString &description) {
            MsgBox(description, vbCritical, QStringLiteral("Messages GetStrings"));
        });
    return result;
}

QFont MakeFont(const QFont &font, const QString &faceName, qint16 charset)
{
    Q_UNUSED(charset) // Qt picks the writing system from the face and the text.
    QFont copy(font);
    if (!faceName.isEmpty())
        copy.setFamily(faceName);
    return copy;
}

void KeepDesignFaces(QWidget *form, const QList<QWidget *> &languageFontWidgets)
{
    const auto takesLanguageFont = [&](const QWidget *widget) {
        for (const QWidget *named : languageFontWidgets) {
            if (widget == named || widget->isAncestorOf(named))
                return true;
        }
        return false;
    };
    SameFace sameFace;
    for (QWidget *widget : form->findChildren<QWidget *>()) {
        if (widget->isWindow() || takesLanguageFont(widget))
            continue;
        // The widget's design font as it shows now, its face included, becomes its own.
        QFont own = widget->font();
        own.setFamilies(own.families().isEmpty() ? QStringList(own.family()) : own.families());
        const bool list = qobject_cast<QComboBox *>(widget) != nullptr;
        if (list)
            widget->installEventFilter(&sameFace);
        widget->setFont(own);
        if (list)
            widget->removeEventFilter(&sameFace);
    }
}

void ApplyLanguageFont(const QList<QWidget *> &widgets)
{
    if (!DeviceAccess::installed())
        return;
    const QString name = DeviceAccess::languageService().GetFontName();
    const qint16 charset = DeviceAccess::languageService().GetFontCharset();
    for (QWidget *widget : widgets)
        widget->setFont(MakeFont(widget->font(), name, charset));
}

void AppendErrMsg(QString &ErrMsg, const QString &text)
{
    if (!ErrMsg.isEmpty())
        ErrMsg += QStringLiteral("\r\n");
    ErrMsg += text;
}

void AppendFailure(QString &ErrMsg, qint32 number, const QString &description)
{
    if (!DeviceAccess::DeviceError::isQuiet(number))
        AppendErrMsg(ErrMsg, description);
}

void ReportError(
    const QString &ErrMsg, const QString &caption, const QString &procedure, const MessageEventRaiser &raise)
{
    if (ErrMsg.isEmpty())
        return;
    RaiseMessage(ErrMsg, caption, procedure, vbCritical, raise, true);
}

bool RaiseMessage(const QString &message, const QString &caption, const QString &procedure, qint32 style,
    const MessageEventRaiser &raise, bool showBox)
{
    bool IsReceived = false;
    if (raise)
        raise(message, caption, procedure, style, IsReceived);
    if (!IsReceived && showBox)
        MsgBox(message, style, caption + QLatin1Char(' ') + procedure);
    return IsReceived;
}

} // namespace MKorvane
