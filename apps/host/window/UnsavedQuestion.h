// SPDX-License-Identifier: MIT
// The question the host asks before anything would drop edits that are not written:
// write them, discard them, or stay. A seam like the library's message box, so that
// tests and the screenshot tour answer it without a modal loop.
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QMessageBox;
class QWidget;

namespace Host {

enum class UnsavedAnswer { Write, Discard, Stay };

// what: the action that would drop the edits ("switch to HwInput[2]").
using UnsavedQuestion = std::function<UnsavedAnswer(QWidget *parent, const QString &what)>;

UnsavedAnswer askUnsaved(QWidget *parent, const QString &what);
// An empty question restores the default, a modal message box.
void setUnsavedQuestion(UnsavedQuestion question);

// The message box of the default, not yet shown; its buttons carry the answers in the
// property "answer".
std::unique_ptr<QMessageBox> unsavedQuestionBox(QWidget *parent, const QString &what);

} // namespace Host
