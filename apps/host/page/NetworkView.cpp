// SPDX-License-Identifier: MIT
// The second view of an input's network side.
#include "NetworkView.h"

#include "shared/MKorvane.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace Host {

NetworkView::NetworkView(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_control(new ctlSensorNV(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_control->setObjectName(QStringLiteral("ctlSensorNV"));
    auto column = new QVBoxLayout(this);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("hostViewNote"));
    m_note->setWordWrap(true);
    m_note->hide();
    column->addWidget(m_note);
    column->addWidget(m_control, 0, Qt::AlignTop | Qt::AlignLeft);
    connect(
        m_control, &ctlSensorNV::MessageEvent, this,
        [this](const QString &Message, const QString &Modulename, const QString &FunctionName, qint32 TypeIndex,
            bool &IsReceived) {
            emit message({ severityOfStyle(TypeIndex),
                tr("Second view of %1: %2")
                    .arg(m_input.block, QString(Message).replace(QStringLiteral("\r\n"), QStringLiteral(" / "))),
                tr("%1 / %2, message style %3").arg(Modulename, FunctionName).arg(TypeIndex) });
            IsReceived = true;
        },
        Qt::DirectConnection);
    lockAllButOverride();
}

NetworkView::~NetworkView()
{
    delete m_control; // it holds device objects of the network
}

void NetworkView::lockAllButOverride()
{
    const auto isOverride = [](const QWidget *w) {
        return w->objectName() == QLatin1String("txtOver") || w->objectName() == QLatin1String("cboOverride");
    };
    for (auto edit : m_control->findChildren<QLineEdit *>()) {
        if (!isOverride(edit))
            edit->setReadOnly(true);
    }
    for (auto combo : m_control->findChildren<QComboBox *>()) {
        if (!isOverride(combo))
            combo->setEnabled(false);
    }
    for (auto button : m_control->findChildren<QAbstractButton *>())
        button->setEnabled(false);
}

void NetworkView::suspend(const QString &reason)
{
    m_input = InputRef();
    m_control->setEnabled(false);
    m_note->setText(reason);
    m_note->show();
    setWindowTitle(tr("vqhost - second view (no input)"));
}

bool NetworkView::open(Sim::Network &network, const InputRef &input, qint16 measurementSystem, bool setpointOffset)
{
    m_input = input;
    m_note->hide();
    m_control->setEnabled(true);
    setWindowTitle(tr("vqhost - %1 / %2 (second view)").arg(input.device, input.block));
    MKorvane::BusyPointer busy;
    return MKorvane::tryStep(
        [&] {
            handOver(*m_control, network, input, measurementSystem);
            m_control->ZovezuVavevaInit();
            m_control->UpdateSetpointOffSet(setpointOffset);
        },
        [&](qint32 number, const QString &description) {
            emit message({ PageMessage::Critical,
                tr("Second view of %1: cannot show the input: %2").arg(input.block, description),
                tr("device library error %1").arg(number) });
        });
}

} // namespace Host
