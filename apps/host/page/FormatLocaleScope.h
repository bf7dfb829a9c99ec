// SPDX-License-Identifier: MIT
// A network's format locale set for one scope and put back after it. The defaults file
// holds its values in SI units, and CInputDefaultValues writes most of them in their
// default format, which follows the locale: written in a US locale, "50" would be 50 °F.
#pragma once

#include "device/sim/SimNetwork.h"

namespace Host {

class FormatLocaleScope
{
public:
    FormatLocaleScope(Sim::Network &network, qint16 locale)
        : m_network(network)
        , m_previous(network.formatLocale())
    {
        network.setFormatLocale(locale);
    }
    ~FormatLocaleScope() { m_network.setFormatLocale(m_previous); }
    FormatLocaleScope(const FormatLocaleScope &) = delete;
    FormatLocaleScope &operator=(const FormatLocaleScope &) = delete;

private:
    Sim::Network &m_network;
    qint16 m_previous;
};

} // namespace Host
