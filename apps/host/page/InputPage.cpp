// SPDX-License-Identifier: MIT
// One hardware input's configuration page.
#include "InputPage.h"

#include "ReadBack.h"
#include "ShownFields.h"
#include "device/sim/SimNetwork.h"
#include "shared/MKorvane.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QChildEvent>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>

namespace Host {

namespace {

QString oneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" / ")).trimmed();
}

// Sets what the user is doing for the length of one operation.
class Doing
{
public:
    Doing(QString &slot, const QString &what)
        : m_slot(slot)
        , m_previous(slot)
    {
        m_slot = what;
    }
    ~Doing() { m_slot = m_previous; }

private:
    QString &m_slot;
    QString m_previous;
};

// What a control's editable fields show, by field name: text, chosen item, tick. Hidden
// fields count too (a write takes them); the live value is read, never edited, and the
// widgets of a dialog the control has open are no fields of it.
QHash<QString, QString> editableFields(const QWidget *control)
{
    QHash<QString, QString> values;
    for (const QWidget *w : control->findChildren<QWidget *>()) {
        const QString name = w->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || name == QLatin1String("txtValue")
            || w->window() != control->window())
            continue;
        if (auto edit = qobject_cast<const QLineEdit *>(w))
            values.insert(name, edit->text());
        else if (auto combo = qobject_cast<const QComboBox *>(w))
            values.insert(name, combo->currentText());
        else if (auto box = qobject_cast<const QCheckBox *>(w))
            values.insert(name, box->isChecked() ? QStringLiteral("yes") : QStringLiteral("no"));
    }
    return values;
}

// The fields that show something else than was read (a field not read counts).
QStringList editedFields(const QWidget *control, const QHash<QString, QString> &read)
{
    QStringList edited;
    const QHash<QString, QString> now = editableFields(control);
    for (auto field = now.cbegin(); field != now.cend(); ++field) {
        const auto was = read.constFind(field.key());
        if (was == read.cend() || *was != field.value())
            edited << field.key();
    }
    return edited;
}

// Two table texts hold the same entries: numbers compared as numbers ("1" and "1.0"),
// exactly. (The read-back's sameValue allows the device's rounding, which an edit must not.)
bool sameTable(const QString &a, const QString &b)
{
    const QStringList left = a.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QStringList right = b.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (left.size() != right.size())
        return false;
    for (qsizetype i = 0; i < left.size(); ++i) {
        double l = 0, r = 0;
        const bool numbers = MKorvane::ParseDeviceNumber(left.at(i), l) && MKorvane::ParseDeviceNumber(right.at(i), r);
        if (numbers ? l != r : left.at(i).compare(right.at(i), Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

} // namespace

void watchFields(QWidget *control, const std::function<void()> &changed)
{
    // Connected after the control's own handlers, so the control has marked itself first.
    for (auto edit : control->findChildren<QLineEdit *>())
        QObject::connect(edit, &QLineEdit::textChanged, control, changed);
    for (auto combo : control->findChildren<QComboBox *>())
        QObject::connect(combo, &QComboBox::currentIndexChanged, control, changed);
    for (auto button : control->findChildren<QAbstractButton *>())
        QObject::connect(button, &QAbstractButton::clicked, control, changed);
}

InputPage::InputPage(QWidget *parent)
    : QWidget(parent)
    , m_hardware(new ctlSensorHardware(this))
    , m_network(new ctlSensorNV(this))
{
    m_hardware->setObjectName(QStringLiteral("ctlSensorHardware"));
    m_network->setObjectName(QStringLiteral("ctlSensorNV"));
    auto row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_hardware, 0, Qt::AlignTop);
    row->addWidget(m_network, 0, Qt::AlignTop);
    row->addStretch(1);

    relayMessages();
    // The network side reads its values as differences while the input is a set-point offset.
    connect(
        m_hardware, &ctlSensorHardware::OnSetpointOffSetEvent, this,
        [this](bool &IsSetpointOffSet) {
            m_setpointOffset = IsSetpointOffSet;
            m_network->UpdateSetpointOffSet(IsSetpointOffSet);
            emit setpointOffsetChanged(IsSetpointOffSet);
        },
        Qt::DirectConnection);
    // KeyDown of either control is not connected: the host has no use for the keys.
    watchFields(m_hardware, [this] { emit edited(); });
    watchFields(m_network, [this] { emit edited(); });
    // The table editor the hardware control opens is a child of it: its OK is seen here.
    m_watchedControl = m_hardware;
    m_hardware->installEventFilter(this);
}

bool InputPage::eventFilter(QObject *watched, QEvent *event)
{
    // Compared with a plain pointer: events arrive here also while the control is in its
    // destructor, when the QPointer may no longer be read as a ctlSensorHardware.
    if (watched == m_watchedControl && event->type() == QEvent::ChildAdded) {
        // Still being built: what it is shows with its next event.
        QObject *child = static_cast<QChildEvent *>(event)->child();
        if (child->isWidgetType())
            child->installEventFilter(this);
    } else if (watched != m_watchedControl && watched->isWidgetType()) {
        auto dialog = qobject_cast<QDialog *>(watched);
        if (dialog && watched->inherits("fTable")) {
            watched->removeEventFilter(this);
            connect(
                dialog, &QDialog::finished, this, [this, dialog](int result) { tableEditorClosed(*dialog, result); });
        } else if (static_cast<QWidget *>(watched)->isVisible()) {
            watched->removeEventFilter(this); // shown, so built, and no table editor
        }
    }
    return QWidget::eventFilter(watched, event);
}

void InputPage::tableEditorClosed(const QDialog &editor, int result)
{
    // The first editor since opening starts from the table the control read; later ones
    // from the last edit.
    if (!m_tableEditorSeen) {
        m_tableRead = editor.property("CPTransTableValue").toString();
        m_tableEditorSeen = true;
    }
    // Cancel keeps what an earlier OK took.
    if (result == QDialog::Accepted)
        m_tableEdited = !sameTable(editor.property("TransTableValue").toString(), m_tableRead);
}

void InputPage::reread(const std::function<void()> &read)
{
    // A field the user had edited stays edited, whatever it shows after.
    const QStringList hardware = hardwareEdited() ? editedFields(m_hardware, m_readHardware) : QStringList();
    const QStringList network = networkEdited() ? editedFields(m_network, m_readNetwork) : QStringList();
    read();
    m_readHardware = editableFields(m_hardware);
    m_readNetwork = editableFields(m_network);
    for (const QString &field : hardware)
        m_readHardware.remove(field);
    for (const QString &field : network)
        m_readNetwork.remove(field);
}

InputPage::~InputPage()
{
    // The controls hold device objects of the network; they go before the page's owner
    // lets the network go.
    delete m_hardware;
    delete m_network;
}

void InputPage::take(const QString &side, const QString &Message, const QString &Modulename,
    const QString &FunctionName, qint32 TypeIndex)
{
    PageMessage line;
    line.severity = severityOfStyle(TypeIndex);
    line.headline = tr("%1, %2: %3")
                        .arg(side, m_doing.isEmpty() ? tr("editing %1").arg(m_input.block) : m_doing, oneLine(Message));
    line.detail = tr("%1 / %2, message style %3").arg(Modulename, FunctionName).arg(TypeIndex);
    if (m_collecting) {
        m_collecting->reasons << oneLine(Message);
        if (line.severity == PageMessage::Critical)
            m_collecting->state = ControlOutcome::NotWritten;
    }
    emit message(line);
}

void InputPage::relayMessages()
{
    // Direct connections: IsReceived travels back by reference before the signal returns.
    connect(
        m_hardware, &ctlSensorHardware::MessageEvent, this,
        [this](const QString &Message, const QString &Modulename, const QString &FunctionName, qint32 TypeIndex,
            bool &IsReceived) {
            take(tr("Hardware side"), Message, Modulename, FunctionName, TypeIndex);
            IsReceived = true;
        },
        Qt::DirectConnection);
    connect(
        m_network, &ctlSensorNV::MessageEvent, this,
        [this](const QString &Message, const QString &Modulename, const QString &FunctionName, qint32 TypeIndex,
            bool &IsReceived) {
            take(tr("Network side"), Message, Modulename, FunctionName, TypeIndex);
            IsReceived = true;
        },
        Qt::DirectConnection);
}

bool InputPage::open(Sim::Network &network, const InputRef &input, const QString &choice, qint16 measurementSystem)
{
    m_input = input;
    m_net = &network;
    Doing doing(m_doing, tr("opening %1").arg(input.block));
    MKorvane::BusyPointer busy;
    const auto report = [this](const QString &side) {
        return [this, side](qint32 number, const QString &description) {
            PageMessage line { PageMessage::Critical,
                tr("%1, %2: cannot show the input: %3").arg(side, m_doing, oneLine(description)),
                tr("device library error %1").arg(number) };
            emit message(line);
        };
    };
    // The network side first: the hardware side announces a set-point offset while it
    // initialises, and only an initialised network control takes that mode. A block
    // without a network variable fails the network control's initialisation.
    const bool networkShown = MKorvane::tryStep(
        [&] {
            handOver(*m_network, network, input, measurementSystem);
            m_network->ZovezuVavevaInit();
        },
        report(tr("Network side")));
    const bool hardwareShown = MKorvane::tryStep(
        [&] {
            handOver(*m_hardware, network, input, choice, measurementSystem);
            m_hardware->ZovezuVavevaInit();
        },
        report(tr("Hardware side")));
    if (hardwareShown)
        reportInterpretationNotOffered();
    m_tableRead.clear();
    m_tableEditorSeen = false;
    m_tableEdited = false;
    m_readHardware = editableFields(m_hardware);
    m_readNetwork = editableFields(m_network);
    return networkShown && hardwareShown;
}

void InputPage::reportInterpretationNotOffered()
{
    // Right after initialising, the control reports a change while the user made none only
    // when it shows another interpretation than the stored one, which its list does not offer.
    if (!m_hardware->ValueChanged() || m_hardware->NoChangeButOKPress())
        return;
    QString stored;
    MKorvane::skipOnFailure([&] {
        const auto block = m_net->block(m_input.device, m_input.block);
        stored = MKorvane::deref(MKorvane::deref(block).ConfigProperties())
                     .Item(QStringLiteral("UCPTinputSignalInterpretation"))
                     ->ValueText()
                     .trimmed();
    });
    // What the control shows instead is the item its list field shows.
    const auto list = m_hardware->findChild<QComboBox *>(QStringLiteral("cboInput"));
    const QString shown = list ? list->currentText().trimmed() : QString();
    PageMessage line;
    line.severity = PageMessage::Warning;
    line.headline = tr("%1, %2: %3")
                        .arg(tr("Hardware side"), m_doing,
                            tr("The stored interpretation %1 is not offered for this input; OK will store %2")
                                .arg(stored.isEmpty() ? tr("(unreadable)") : stored, shown));
    line.detail = tr("Nothing is written while the hardware side is not edited; an edit of the hardware side "
                     "writes the interpretation shown.");
    emit message(line);
}

bool InputPage::valueChanged() const
{
    return hardwareEdited() || networkEdited();
}

bool InputPage::hardwareEdited() const
{
    // The control's own ValueChanged() also counts a stored interpretation it does not
    // offer, and its flag also a read of the live value or a cancelled table editor: the
    // flag says the user did something, the fields (or the table the editor took) whether
    // it changed anything.
    return m_hardware->NoChangeButOKPress() && (m_tableEdited || !editedFields(m_hardware, m_readHardware).isEmpty());
}

bool InputPage::networkEdited() const
{
    return m_network->ValueChanged() && !editedFields(m_network, m_readNetwork).isEmpty();
}

ControlOutcome InputPage::writeOne(bool changed, const std::function<bool()> &write, const QString &silentTrue)
{
    ControlOutcome outcome;
    if (!changed)
        return outcome;
    outcome.state = ControlOutcome::Written;
    m_collecting = &outcome;
    // WriteValue returns True only when a step was interrupted; a refused value is a
    // critical message while WriteValue returns False, so the messages count too.
    const bool interrupted = write();
    m_collecting = nullptr;
    if (interrupted && outcome.reasons.isEmpty() && !silentTrue.isEmpty()) {
        outcome.reasons << silentTrue; // a True that is no failure: written, with the reason
    } else if (interrupted) {
        outcome.state = ControlOutcome::NotWritten;
        if (outcome.reasons.isEmpty())
            outcome.reasons << tr("the write was interrupted");
    }
    return outcome;
}

QString InputPage::networkSilentTrue() const
{
    // The network control cannot write the send delta of a structure other than the
    // switch type and says so only by returning True; it tells which types those are.
    // Everything else was written, so it counts as written.
    return m_network->WritesSendDelta() ? QString() : tr("this type has no send delta to write");
}

PageOutcome InputPage::write()
{
    Doing doing(m_doing, tr("writing %1").arg(m_input.block));
    MKorvane::BusyPointer busy;
    PageOutcome outcome;
    // The captions of the fields as the user saw them, for the read-back's lines.
    QHash<QString, QString> captions;
    for (const QWidget *control : { static_cast<QWidget *>(m_hardware), static_cast<QWidget *>(m_network) }) {
        for (const ShownField &field : shownFields(control))
            captions.insert(field.field, field.caption);
    }
    const auto logSize = [this] { return m_net ? m_net->callLog().size() : qsizetype(0); };
    const auto callsSince = [this](qsizetype start) {
        return m_net && m_net->callLog().size() >= start ? m_net->callLog().mid(start) : QVector<Sim::CallRecord>();
    };
    // The hardware side is written only for an edit of the user: the control would also
    // write when it shows an interpretation other than the stored one, which its list does
    // not offer, and so replace a value nobody changed. A side whose fields all show again
    // what was read is not written either: the user changed nothing there.
    const qsizetype hardwareStart = logSize();
    outcome.hardware = writeOne(hardwareEdited(), [this] { return m_hardware->WriteValue(); });
    const QVector<Sim::CallRecord> hardwareCalls = callsSince(hardwareStart);
    const qsizetype networkStart = logSize();
    outcome.network = writeOne(
        networkEdited(), [this] { return m_network->WriteValue(); }, networkSilentTrue());
    const QVector<Sim::CallRecord> networkCalls = callsSince(networkStart);
    if (m_net) {
        outcome.hardware.readBack = readBack(*m_net, m_input, hardwareCalls, false, captions);
        outcome.network.readBack = readBack(*m_net, m_input, networkCalls, true, captions);
    }
    return outcome;
}

void InputPage::setMesureUnit(qint16 measurementSystem)
{
    Doing doing(m_doing, tr("switching the units of %1").arg(m_input.block));
    MKorvane::BusyPointer busy;
    // Both re-read every value in the new units: those are what was read now.
    reread([&] {
        m_hardware->setMesureUnit(measurementSystem);
        m_network->setMesureUnit(measurementSystem);
    });
}

void InputPage::reInitializeStrings()
{
    Doing doing(m_doing, tr("switching the language"));
    // Lists show their items in the new language: what was read is what they show now.
    reread([this] {
        m_hardware->ReInitializeStrings();
        m_network->ReInitializeStrings();
    });
}

} // namespace Host
