// SPDX-License-Identifier: MIT
/// @file
/// Display strings, the message builder with numbered placeholders, fonts, the ErrMsg
/// appending rule and the reporting of errors to the host.
#pragma once

#include "vqzovezuvaveva_export.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QVariantList>
#include <functional>

class QWidget;

namespace MKorvane {

/// The application name under which the language service keeps the library's strings.
inline const QString ApplicationName = QStringLiteral("VkZovezuVaveva");

/// Refreshes the display-string table when the language service changed it since the last load.
VQ_EXPORT void LoadLanguageStrings();

/// The display string of one English text; the text itself (as passed) when there is none.
VQ_EXPORT QString GetLanguageString(const QString &Text);

/// Translates the message and replaces "%s%" (by position) and "%s1%".."%s3%" (by number)
/// by the translated parameters.
VQ_EXPORT QString GetStrings(const QString &Message, const QVariantList &Params);

/// The placeholder number at the start of one piece of a split message (used by GetStrings).
VQ_EXPORT qint16 GetIndexOrder(const QString &Piece, qint16 DefaultIndex, QString &Rest);

/// A copy of the font with the face name set. Qt fonts carry no character set: the
/// writing system follows from the face and the text, so the character set is not kept.
VQ_EXPORT QFont MakeFont(const QFont &font, const QString &faceName, qint16 charset);

/// Only the named widgets of a control or form take the language's face. Qt hands a font set
/// on a frame or form on to every child without a font of its own; this gives every other
/// widget inside `form` (those that hold a named one excepted) the font it shows now as its
/// own, so it keeps it. Call once, before the first language font is set.
VQ_EXPORT void KeepDesignFaces(QWidget *form, const QList<QWidget *> &languageFontWidgets);

/// Gives each widget, in order, the language service's face (size and weight stay). Without
/// an installed device library (a control in Designer) the design-time fonts stay. A failure
/// of the language service is thrown to the caller.
VQ_EXPORT void ApplyLanguageFont(const QList<QWidget *> &widgets);

/// Appends one translated line to an error accumulator: "\r\n" first unless it is empty.
VQ_EXPORT void AppendErrMsg(QString &ErrMsg, const QString &text);

/// Appends a failure's description by the same rule, unless its number is one of the
/// device library's quiet numbers, which are never reported.
VQ_EXPORT void AppendFailure(QString &ErrMsg, qint32 number, const QString &description);

/// Raises a control's MessageEvent (Message, Modulename, FunctionName, TypeIndex, IsReceived).
using MessageEventRaiser = std::function<void(const QString &Message, const QString &Modulename,
    const QString &FunctionName, qint32 TypeIndex, bool &IsReceived)>;

/// Reports a non-empty ErrMsg once: raises the event with style 16 and, when the host
/// leaves IsReceived False, shows a critical message box titled caption + " " + procedure.
/// Does nothing for an empty ErrMsg.
VQ_EXPORT void ReportError(
    const QString &ErrMsg, const QString &caption, const QString &procedure, const MessageEventRaiser &raise);

/// Raises the event with the given style and, when the host leaves IsReceived False and
/// showBox is true, shows the message box in that style. Returns IsReceived.
VQ_EXPORT bool RaiseMessage(const QString &message, const QString &caption, const QString &procedure, qint32 style,
    const MessageEventRaiser &raise, bool showBox = true);

} // namespace MKorvane
