// SPDX-License-Identifier: MIT
// Deviations from an input type's defaults.
#include "DefaultDeviations.h"

#include "InputTypes.h"
#include "device/sim/SimNetwork.h"
#include "page/FormatLocaleScope.h"
#include "page/InputPage.h"
#include "shared/MKorvane.h"
#include "window/ThemeColors.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace Host {

namespace {

// The fields that show each property the defaults file can name, by object name.
struct PropertyFields
{
    const char *property;
    QStringList fields;
};

const QVector<PropertyFields> &propertyFields()
{
    static const QVector<PropertyFields> table = {
        { "UCPTinputSignalInterpretation", { QStringLiteral("cboInput") } },
        { "UCPTinputSignalType", { QStringLiteral("cboSignal") } },
        { "UCPTthermistorType", { QStringLiteral("cboTherm") } },
        { "SCPTminRnge", { QStringLiteral("txtMin"), QStringLiteral("cboMin") } },
        { "SCPTmaxRnge", { QStringLiteral("txtMax"), QStringLiteral("cboMax") } },
        { "UCPToffset", { QStringLiteral("txtOff") } },
        { "SCPToffset", { QStringLiteral("txtOff") } },
        { "UCPTstepLevel", { QStringLiteral("txtSelector") } },
        { "UCPTdefaultValue", { QStringLiteral("txtDefault"), QStringLiteral("cboDefault") } },
        { "SCPTovrValue", { QStringLiteral("txtOver"), QStringLiteral("cboOverride") } },
        { "SCPTsndDelta", { QStringLiteral("txtSend") } },
        { "SCPTminSendTime", { QStringLiteral("txtThrottle") } },
        { "SCPTmaxSendTime", { QStringLiteral("txtHeart") } },
    };
    return table;
}

// The label beside a field that shows its unit, where the control has one.
QString unitLabelOf(const QString &field)
{
    static const QMap<QString, QString> labels = { { QStringLiteral("txtMin"), QStringLiteral("lblUnitMinRange") },
        { QStringLiteral("txtMax"), QStringLiteral("lblUnitMaxRange") },
        { QStringLiteral("txtOff"), QStringLiteral("lblUnitOffset") },
        { QStringLiteral("txtSelector"), QStringLiteral("lblSelectorUnit") },
        { QStringLiteral("txtOver"), QStringLiteral("lblOver") },
        { QStringLiteral("txtDefault"), QStringLiteral("lblDef") },
        { QStringLiteral("txtSend"), QStringLiteral("lblSendD") },
        { QStringLiteral("txtHeart"), QStringLiteral("lblUnit_0") },
        { QStringLiteral("txtThrottle"), QStringLiteral("lblUnit_1") } };
    return labels.value(field);
}

QString fieldText(const QWidget *field)
{
    if (auto edit = qobject_cast<const QLineEdit *>(field))
        return edit->text().trimmed();
    if (auto combo = qobject_cast<const QComboBox *>(field))
        return combo->currentText().trimmed();
    return QString();
}

// Numbers are compared as numbers ("50" is "50.0"), everything else as shown.
bool sameValue(const QString &shown, const QString &standard)
{
    if (MKorvane::IsNumeric(shown) && MKorvane::IsNumeric(standard))
        return qFuzzyCompare(1.0 + MKorvane::Val(shown), 1.0 + MKorvane::Val(standard));
    return shown == standard;
}

// Restores a snapshot when the scope ends, whatever happened in between.
class RestoreOnExit
{
public:
    explicit RestoreOnExit(Sim::Network &network)
        : m_network(network)
        , m_snapshot(network.snapshot())
    {
    }
    ~RestoreOnExit() { m_network.restore(m_snapshot); }

private:
    Sim::Network &m_network;
    Sim::Snapshot m_snapshot;
};

} // namespace

QMap<QString, QString> shownDefaults(Sim::Network &network, InputTypes &types, const InputRef &input,
    const QString &type, const QString &choice, qint16 measurementSystem, QString *why)
{
    QMap<QString, QString> shown;
    const InputDefaultSectionPtr section = types.section(type);
    if (!section) {
        if (why)
            *why = QCoreApplication::translate("Host::DefaultDeviations", "%1 has no defaults.").arg(type);
        return shown;
    }
    MKorvane::BusyPointer busy;
    QStringList raised;
    const MKorvane::MessageBoxCapture boxes([&raised](const QString &text, int, const QString &) {
        raised << text.simplified();
        return MKorvane::vbOK;
    });
    const RestoreOnExit restore(network);
    QString errMsg;
    {
        // The file's values are in SI units, whatever the units shown.
        const FormatLocaleScope si(network, MEASUREMENT_SYSTEM_SI);
        types.apply(network.block(input.device, input.block), type, errMsg);
    }
    InputPage page;
    const QSignalBlocker quiet(&page);
    if (!page.open(network, input, choice, measurementSystem)) {
        if (why)
            *why = QCoreApplication::translate(
                "Host::DefaultDeviations", "the input cannot be shown with the defaults of %1.")
                       .arg(type);
        return shown;
    }
    for (const PropertyFields &entry : propertyFields()) {
        if (!section->Contains(QLatin1String(entry.property)))
            continue;
        for (const QString &name : entry.fields) {
            const QWidget *field = page.findChild<QWidget *>(name);
            if (field && !field->isHidden())
                shown.insert(name, fieldText(field));
        }
    }
    return shown;
}

DefaultDeviations::DefaultDeviations(QObject *parent)
    : QObject(parent)
{
}

DefaultDeviations::~DefaultDeviations()
{
    clear();
}

bool DefaultDeviations::show(InputPage *page, Sim::Network &network, InputTypes &types, const QString &type,
    const QString &choice, qint16 measurementSystem)
{
    clear();
    if (!page || type.isEmpty())
        return false;
    m_page = page;
    m_type = type;
    m_defaults = shownDefaults(network, types, page->input(), type, choice, measurementSystem, &m_problem);
    connect(page, &InputPage::edited, this, &DefaultDeviations::update);
    update();
    return m_problem.isEmpty();
}

void DefaultDeviations::clear()
{
    if (m_page)
        disconnect(m_page, nullptr, this, nullptr);
    for (const QString &name : m_fieldTips.keys())
        restoreTip(name);
    for (const auto &marker : std::as_const(m_markers))
        delete marker;
    m_markers.clear();
    m_defaults.clear();
    m_page = nullptr;
    m_type.clear();
    m_problem.clear();
}

QWidget *DefaultDeviations::fieldOf(const QString &name) const
{
    return m_page ? m_page->findChild<QWidget *>(name) : nullptr;
}

void DefaultDeviations::update()
{
    for (auto it = m_defaults.cbegin(); it != m_defaults.cend(); ++it) {
        QWidget *field = fieldOf(it.key());
        QPointer<QLabel> &marker = m_markers[it.key()];
        const bool differs = field && !field->isHidden() && !sameValue(fieldText(field), it.value());
        if (!differs) {
            if (marker)
                marker->hide();
            restoreTip(it.key());
            continue;
        }
        if (!marker) {
            // A small corner mark laid over the field, a child of the field's own parent.
            marker = new QLabel(field->parentWidget());
            marker->setObjectName(QStringLiteral("hostDeviation_") + it.key());
            marker->setFixedSize(7, 7);
            marker->setStyleSheet(QStringLiteral("background-color: %1; border-radius: 3px;")
                                      .arg(markColor(field->parentWidget()->palette()).name()));
        }
        QString value = it.value();
        const QString unitLabel = unitLabelOf(it.key());
        const QLabel *unit = unitLabel.isEmpty() ? nullptr : m_page->findChild<QLabel *>(unitLabel);
        if (unit && !unit->isHidden() && !unit->text().trimmed().isEmpty())
            value += QLatin1Char(' ') + unit->text().trimmed();
        const QString tip = tr("Default for %1: %2").arg(m_type, value);
        marker->setToolTip(tip);
        // The field tells it too, above what it says of itself (its format), so that
        // hovering anywhere on the field shows why it is marked.
        FieldTip &fieldTip = m_fieldTips[it.key()];
        if (field->toolTip() != fieldTip.shown)
            fieldTip.own = field->toolTip(); // the control's tip, also when it set a new one
        fieldTip.shown = fieldTip.own.isEmpty() ? tip : tip + QLatin1Char('\n') + fieldTip.own;
        field->setToolTip(fieldTip.shown);
        marker->move(field->geometry().right() - marker->width() + 1, field->geometry().top());
        marker->show();
        marker->raise();
    }
}

void DefaultDeviations::restoreTip(const QString &name)
{
    const auto tip = m_fieldTips.constFind(name);
    if (tip == m_fieldTips.cend())
        return;
    // Only the tip the mark set goes; one the control has set since stays.
    QWidget *field = fieldOf(name);
    if (field && field->toolTip() == tip->shown)
        field->setToolTip(tip->own);
    m_fieldTips.erase(tip);
}

QList<DeviationMark> DefaultDeviations::marks() const
{
    QList<DeviationMark> list;
    for (auto it = m_markers.cbegin(); it != m_markers.cend(); ++it) {
        if (it.value() && !it.value()->isHidden())
            list << DeviationMark { it.key(), it.value()->toolTip() };
    }
    return list;
}

} // namespace Host
