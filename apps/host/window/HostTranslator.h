// SPDX-License-Identifier: MIT
// The host's own texts in the chosen language: the translations compiled into the
// host (":/i18n/vqhost_<code>.qm"); English needs none. Installing one makes Qt send
// every widget a LanguageChange event.
#pragma once

#include <QString>
#include <QTranslator>

namespace Host {

class HostTranslator
{
public:
    ~HostTranslator();
    // False when there is no translation for the code (the English texts stay).
    bool switchTo(const QString &code);

private:
    QTranslator m_translator;
    bool m_installed = false;
};

} // namespace Host
