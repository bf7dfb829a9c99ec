// SPDX-License-Identifier: MIT
// The input page's handlers: OK, Apply, Cancel and the second views of the input shown.
#include "PageController.h"

#include "window/HostWindow.h"
#include "window/SessionController.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QStatusBar>

namespace Host {

PageController::PageController(HostWindow &window)
    : QObject(&window)
    , m_window(window)
{
}

void PageController::takeButtons(QDialogButtonBox *buttons, QPushButton *secondView)
{
    m_buttons = buttons;
    m_secondView = secondView;
    connect(m_buttons, &QDialogButtonBox::accepted, this, &PageController::accept);
    connect(m_window.m_apply, &QPushButton::clicked, this, &PageController::apply);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &PageController::discard);
    connect(m_secondView, &QPushButton::clicked, this, &PageController::openSecondView);
}

void PageController::retranslate()
{
    m_window.m_ok->setText(HostWindow::tr("OK"));
    m_window.m_apply->setText(HostWindow::tr("&Apply"));
    m_window.m_cancel->setText(HostWindow::tr("Cancel"));
    m_window.m_ok->setToolTip(HostWindow::tr("Write the changes, save the database and close (Enter)"));
    m_window.m_apply->setToolTip(HostWindow::tr("Write the changes and save the database"));
    m_window.m_cancel->setToolTip(HostWindow::tr("Forget the changes and read the device again (Esc)"));
    m_secondView->setText(HostWindow::tr("&Second view"));
    m_secondView->setToolTip(HostWindow::tr("Another window with the network side of this input"));
}

void PageController::connectPage(InputPage *page)
{
    connect(page, &InputPage::message, &m_window, qOverload<const PageMessage &>(&HostWindow::log));
    connect(page, &InputPage::edited, &m_window, &HostWindow::updateModified);
    connect(page, &InputPage::setpointOffsetChanged, this, [this](bool on) {
        for (const auto &view : std::as_const(m_views)) {
            if (view && m_window.m_page && view->input() == m_window.m_page->input())
                view->setSetpointOffset(on);
        }
    });
    relayOverride(page->networkControl());
}

void PageController::closeAll()
{
    for (const auto &view : std::as_const(m_views))
        delete view;
    m_views.clear();
    delete m_window.m_page;
}

void PageController::setMesureUnit(qint16 measurementSystem)
{
    if (m_window.m_page)
        m_window.m_page->setMesureUnit(measurementSystem); // re-reads every value in the new units
    for (const auto &view : std::as_const(m_views)) {
        if (view)
            view->setMesureUnit(measurementSystem);
    }
}

void PageController::reInitializeStrings()
{
    if (m_window.m_page)
        m_window.m_page->reInitializeStrings();
    for (const auto &view : std::as_const(m_views)) {
        if (view)
            view->reInitializeStrings();
    }
}

bool PageController::accept()
{
    if (!apply())
        return false;
    m_window.close();
    return true;
}

bool PageController::apply()
{
    if (!m_window.m_page)
        return false;
    m_lastWrite = PageOutcome();
    const LastConfirm before = m_window.m_points->beforeConfirm(); // for Edit > Undo last confirm
    const PageOutcome outcome = m_window.m_page->write();
    const QString input = m_window.m_page->input().block;
    if (!outcome.anythingWritten()) {
        m_window.log(HostWindow::tr("%1: nothing to write.").arg(input));
        return true;
    }
    m_lastWrite = outcome;
    m_window.m_points->confirmed(before);
    const auto report = [&](const QString &side, const ControlOutcome &one) {
        const bool bad = one.state == ControlOutcome::NotWritten || !one.mismatches().isEmpty();
        m_window.log({ bad ? PageMessage::Critical : PageMessage::Information,
            HostWindow::tr("%1, %2: %3").arg(input, side, one.text()), QString() });
    };
    report(HostWindow::tr("hardware side"), outcome.hardware);
    report(HostWindow::tr("network side"), outcome.network);
    // The text fields written, as typed: a reload after another writer's change types them again.
    m_window.m_session->rememberApplyEdits(outcome);
    // What reached the device is saved, even when a control did not write everything.
    const bool saved = m_window.save();
    m_window.m_session->forgetApplyEdits();
    if (!saved)
        return false;
    if (outcome.failed()) {
        m_window.statusBar()->showMessage(
            HostWindow::tr("%1: not everything was written; the edits are kept.").arg(input));
        m_window.updateModified();
        return false;
    }
    m_window.showInput(); // fresh controls show what the device holds now
    if (!outcome.verified()) {
        m_window.statusBar()->showMessage(
            HostWindow::tr("%1: written, but the device reports other values than were sent.").arg(input));
        return false;
    }
    return true;
}

void PageController::discard()
{
    if (!m_window.m_page)
        return;
    if (m_window.m_page->valueChanged())
        m_window.log(HostWindow::tr("%1: changes discarded.").arg(m_window.currentInput()));
    m_window.showInput(); // fresh controls read the device again
}

NetworkView *PageController::openSecondView()
{
    if (!m_window.m_page)
        return nullptr;
    auto view = new NetworkView(&m_window);
    view->setObjectName(QStringLiteral("hostSecondView%1").arg(m_views.size()));
    m_views.append(view);
    connect(view, &NetworkView::message, &m_window, qOverload<const PageMessage &>(&HostWindow::log));
    relayOverride(view->control());
    view->open(
        *m_window.network(), m_window.m_page->input(), m_window.m_measurementSystem, m_window.m_page->setpointOffset());
    view->show();
    return view;
}

void PageController::updateViews()
{
    // Second views follow the window: each shows the input shown, as the device holds it
    // now. Without an input they take no edit (it would reach no page) and say why.
    m_views.removeAll(nullptr);
    for (const auto &view : std::as_const(m_views)) {
        if (m_window.m_page)
            view->open(*m_window.network(), m_window.m_page->input(), m_window.m_measurementSystem,
                m_window.m_page->setpointOffset());
        else
            view->suspend(
                HostWindow::tr("The main window shows no input of %1. This view shows the next input chosen there.")
                    .arg(m_window.currentDevice()));
    }
}

QList<ctlSensorNV *> PageController::networkControlsOf(const InputRef &input) const
{
    QList<ctlSensorNV *> controls;
    if (m_window.m_page && m_window.m_page->input() == input)
        controls << m_window.m_page->networkControl();
    for (const auto &view : m_views) {
        if (view && view->input() == input)
            controls << view->control();
    }
    return controls;
}

void PageController::relayOverride(ctlSensorNV *source)
{
    // A new override in one view of the input goes to every other view of it; theirs
    // raise no event back while they take it. The input is the one the source shows now,
    // since second views follow the window from input to input.
    connect(source, &ctlSensorNV::ValueChangeEvent, this,
        [this, source](const QString &NewValue, qint16 ClassId, const QString &ObjectName) {
            InputRef input;
            if (m_window.m_page && m_window.m_page->networkControl() == source)
                input = m_window.m_page->input();
            for (const auto &view : std::as_const(m_views)) {
                if (view && view->control() == source)
                    input = view->input();
            }
            for (ctlSensorNV *other : networkControlsOf(input)) {
                if (other != source)
                    other->ValueChange(NewValue, ClassId, ObjectName);
            }
            m_window.updateModified();
        });
}

} // namespace Host
