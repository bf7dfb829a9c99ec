// SPDX-License-Identifier: MIT
// Preview beside OK, Apply and Cancel: what OK would write, found by a dry run of the
// page's own write, logged and shown in a dialog; nothing is written.
#pragma once

#include "WritePreview.h"

#include <QObject>

class QPushButton;

namespace Host {

class HostWindow;

class PreviewController : public QObject
{
public:
    PreviewController(HostWindow &window, QPushButton *button);

    void retranslate();
    PreviewResult preview();

private:
    HostWindow &m_window;
    QPushButton *m_button;
};

} // namespace Host
