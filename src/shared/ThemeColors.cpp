// SPDX-License-Identifier: MIT
#include "shared/ThemeColors_p.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace MKorvane {

namespace {

double relativeLuminance(const QColor &colour)
{
    const auto channel
        = [](double value) { return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

const char *const FollowerName = "vqParentRole";

// Watches the parent's palette for the field; one per field.
class ParentRoleFollower : public QObject
{
public:
    ParentRoleFollower(QWidget *field, QPalette::ColorRole role, QPalette::ColorRole from)
        : QObject(field)
        , m_field(field)
        , m_role(role)
        , m_from(from)
    {
        setObjectName(QLatin1String(FollowerName));
        if (QWidget *parent = field->parentWidget())
            parent->installEventFilter(this);
        apply();
    }

    void apply() const
    {
        const QWidget *parent = m_field->parentWidget();
        const QPalette source = parent ? parent->palette() : m_field->palette();
        // Only this role is set; every other one the field inherits.
        QPalette palette;
        for (const auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled })
            palette.setColor(group, m_role, source.color(group, m_from));
        m_field->setPalette(palette);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::PaletteChange && watched == m_field->parentWidget())
            apply();
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget *m_field;
    QPalette::ColorRole m_role;
    QPalette::ColorRole m_from;
};

} // namespace

double ContrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableTint(int hue, const QColor &background, const QColor &fallback, double ratio)
{
    // From full colour away from the background: darker on a light one, lighter on a dark one.
    const bool darkBackground = background.lightnessF() < 0.5;
    for (int step = 0; step <= 10; ++step) {
        const double lightness = darkBackground ? 0.5 + 0.05 * step : 0.5 - 0.05 * step;
        const QColor tint = QColor::fromHslF(hue / 360.0, 1.0, lightness);
        if (ContrastRatio(tint, background) >= ratio)
            return tint;
    }
    return fallback;
}

void TakeParentRole(QWidget *field, QPalette::ColorRole role, QPalette::ColorRole from)
{
    const QObjectList children = field->children(); // a copy: deleting changes the list
    for (QObject *child : children) {
        if (child->objectName() == QLatin1String(FollowerName))
            delete child;
    }
    if (from == QPalette::NoRole)
        field->setPalette(QPalette());
    else
        new ParentRoleFollower(field, role, from);
}

} // namespace MKorvane
