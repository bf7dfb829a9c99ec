// SPDX-License-Identifier: MIT
// Switching the host's translation.
#include "HostTranslator.h"

#include <QCoreApplication>

namespace Host {

HostTranslator::~HostTranslator()
{
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
}

bool HostTranslator::switchTo(const QString &code)
{
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
    m_installed = m_translator.load(QStringLiteral(":/i18n/vqhost_%1.qm").arg(code))
        && QCoreApplication::installTranslator(&m_translator);
    return m_installed;
}

} // namespace Host
