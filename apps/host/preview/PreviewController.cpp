// SPDX-License-Identifier: MIT
// Preview: what OK would write, as a dry run shown in a dialog.
#include "PreviewController.h"

#include "PreviewDialog.h"
#include "shared/MKorvane.h"
#include "window/HostWindow.h"

#include <QPushButton>

namespace Host {

PreviewController::PreviewController(HostWindow &window, QPushButton *button)
    : QObject(&window)
    , m_window(window)
    , m_button(button)
{
    connect(m_button, &QPushButton::clicked, this, [this] { preview(); });
}

void PreviewController::retranslate()
{
    m_button->setText(HostWindow::tr("&Preview"));
    m_button->setToolTip(HostWindow::tr("List what OK would write to the device, without writing anything"));
}

PreviewResult PreviewController::preview()
{
    PreviewResult result;
    if (!m_window.m_page) {
        result.error = HostWindow::tr("No input is shown.");
        return result;
    }
    {
        MKorvane::BusyPointer busy;
        result = previewWrites(*m_window.network(), *m_window.m_page);
    }
    int failing = 0;
    for (const PreviewRow &row : std::as_const(result.rows))
        failing += row.failed ? 1 : 0;
    const QString input = m_window.m_page->input().block;
    m_window.log({ result.failed() ? PageMessage::Warning : PageMessage::Information,
        HostWindow::tr("%1: preview: %n change(s)", nullptr, int(result.rows.size()) - failing).arg(input)
            + (failing > 0 ? HostWindow::tr(", %n failing", nullptr, failing) : QString()),
        result.messages.join(QLatin1Char('\n')) });
    if (!result.controlsKept)
        m_window.log({ PageMessage::Warning, HostWindow::tr("%1: the controls changed during the preview.").arg(input),
            QString() });
    PreviewDialog dialog(result, input, &m_window);
    MKorvane::ShowModal(dialog);
    return result;
}

} // namespace Host
