// SPDX-License-Identifier: MIT
// The unsaved-changes question and its default message box.
#include "UnsavedQuestion.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace Host {

namespace {

UnsavedQuestion &question()
{
    static UnsavedQuestion instance;
    return instance;
}

} // namespace

std::unique_ptr<QMessageBox> unsavedQuestionBox(QWidget *parent, const QString &what)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question,
        QCoreApplication::translate("Host::UnsavedQuestion", "vqhost: changes not written"),
        QCoreApplication::translate("Host::UnsavedQuestion",
            "This input has changes that are not written to the device.\n\nWrite them before you %1?")
            .arg(what),
        QMessageBox::NoButton, parent);
    const auto add = [&box](const QString &text, QMessageBox::ButtonRole role, UnsavedAnswer answer) {
        QPushButton *button = box->addButton(text, role);
        button->setProperty("answer", int(answer));
        return button;
    };
    box->setDefaultButton(add(
        QCoreApplication::translate("Host::UnsavedQuestion", "&Write"), QMessageBox::AcceptRole, UnsavedAnswer::Write));
    add(QCoreApplication::translate("Host::UnsavedQuestion", "&Discard"), QMessageBox::DestructiveRole,
        UnsavedAnswer::Discard);
    box->setEscapeButton(add(
        QCoreApplication::translate("Host::UnsavedQuestion", "&Stay"), QMessageBox::RejectRole, UnsavedAnswer::Stay));
    return box;
}

UnsavedAnswer askUnsaved(QWidget *parent, const QString &what)
{
    if (question())
        return question()(parent, what);
    const auto box = unsavedQuestionBox(parent, what);
    box->exec();
    const QAbstractButton *clicked = box->clickedButton();
    return clicked ? UnsavedAnswer(clicked->property("answer").toInt()) : UnsavedAnswer::Stay;
}

void setUnsavedQuestion(UnsavedQuestion answer)
{
    question() = std::move(answer);
}

} // namespace Host
