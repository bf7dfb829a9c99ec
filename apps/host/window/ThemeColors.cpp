// SPDX-License-Identifier: MIT
#include "window/ThemeColors.h"

#include <cmath>

namespace Host {

namespace {

double relativeLuminance(const QColor &colour)
{
    const auto channel
        = [](double value) { return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableTint(int hue, const QPalette &palette, QPalette::ColorRole background, double ratio)
{
    const QColor back = palette.color(background);
    // From the full colour away from the background: darker on a light one, lighter on a dark one.
    const bool darkBackground = back.lightnessF() < 0.5;
    for (int step = 0; step <= 10; ++step) {
        const double lightness = darkBackground ? 0.5 + 0.05 * step : 0.5 - 0.05 * step;
        const QColor tint = QColor::fromHslF(hue / 360.0, 1.0, lightness);
        if (contrastRatio(tint, back) >= ratio)
            return tint;
    }
    return palette.color(QPalette::Text);
}

} // namespace Host
