// SPDX-License-Identifier: MIT
// Input types and their defaults in the window: apply, deviations, save as input type,
// copy to inputs.
#include "DefaultsController.h"

#include "CopyToInputsDialog.h"
#include "DefaultDeviations.h"
#include "SaveAsInputTypeDialog.h"
#include "device/sim/SimNetwork.h"
#include "page/FormatLocaleScope.h"
#include "preview/PreviewDialog.h"
#include "shared/MKorvane.h"
#include "window/HostWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

namespace Host {

namespace {

QString oneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" / ")).trimmed();
}

} // namespace

DefaultsController::DefaultsController(HostWindow &window)
    : QObject(&window)
    , m_window(window)
{
}

void DefaultsController::build(QWidget *parent, QFormLayout *form)
{
    // The device's input types; their defaults preset both sides of the input shown.
    m_inputType = new QComboBox(parent);
    m_inputType->setObjectName(QStringLiteral("hostInputType"));
    form->addRow(QStringLiteral("-"), m_inputType);
    m_applyDefaults = new QPushButton(parent);
    m_applyDefaults->setObjectName(QStringLiteral("hostApplyDefaults"));
    m_applyDefaults->setEnabled(false);
    form->addRow(m_applyDefaults);
    m_markDeviations = new QCheckBox(parent);
    m_markDeviations->setObjectName(QStringLiteral("hostMarkDeviations"));
    m_markDeviations->setEnabled(false);
    form->addRow(m_markDeviations);
    m_deviations = new DefaultDeviations(&m_window);
    // The shown input's configuration as an input type's defaults, or onto other inputs.
    m_saveAsType = new QPushButton(parent);
    m_saveAsType->setObjectName(QStringLiteral("hostSaveAsInputType"));
    form->addRow(m_saveAsType);
    m_copyToInputs = new QPushButton(parent);
    m_copyToInputs->setObjectName(QStringLiteral("hostCopyToInputs"));
    form->addRow(m_copyToInputs);

    connect(m_applyDefaults, &QPushButton::clicked, this, [this] { askApplyDefaults(); });
    connect(m_saveAsType, &QPushButton::clicked, this, [this] { saveAsInputType(); });
    connect(m_copyToInputs, &QPushButton::clicked, this, [this] { copyToInputs(); });
    connect(m_markDeviations, &QCheckBox::toggled, this, &DefaultsController::updateDeviations);
    connect(m_inputType, &QComboBox::currentIndexChanged, this, [this] {
        // Not while the list is filled for another device: the page of that one follows.
        if (!m_window.m_filling && m_window.m_page && m_window.m_page->input().device == m_inputTypesDevice)
            updateDeviations();
    });
}

void DefaultsController::retranslate(QFormLayout *form)
{
    if (auto caption = qobject_cast<QLabel *>(form->labelForField(m_inputType)))
        caption->setText(HostWindow::tr("Input &type"));
    m_applyDefaults->setText(HostWindow::tr("Apply &defaults"));
    m_markDeviations->setText(HostWindow::tr("&Mark deviations from these defaults"));
    m_markDeviations->setToolTip(HostWindow::tr(
        "Marks every field whose value differs from the chosen input type's default, in the units shown"));
    m_saveAsType->setText(HostWindow::tr("Save as input t&ype..."));
    m_saveAsType->setToolTip(
        HostWindow::tr("Keep this input's stored configuration as an input type's section of a defaults file"));
    m_copyToInputs->setText(HostWindow::tr("C&opy to inputs..."));
    m_copyToInputs->setToolTip(
        HostWindow::tr("Write this input's stored configuration to other inputs of the same kind"));
    updateDefaultsOffer();
}

void DefaultsController::loadInputTypes(const QString &deviceName)
{
    if (deviceName == m_inputTypesDevice)
        return;
    m_inputTypesDevice = deviceName;
    m_inputTypesProblem.clear();
    QString errMsg;
    MKorvane::BusyPointer busy;
    if (!m_window.m_deviceProblem.isEmpty()
        || !m_inputTypes.load(m_window.databasePath(), m_window.network()->programId(deviceName),
            m_window.network()->scope(deviceName), errMsg))
        m_inputTypesProblem = oneLine(errMsg);
    else if (!errMsg.isEmpty()) // loaded, with sections that could not be read
        m_window.log({ PageMessage::Warning,
            HostWindow::tr("%1: not every input type has its defaults").arg(deviceName), errMsg });
    m_inputType->clear();
    if (m_inputTypesProblem.isEmpty())
        m_inputType->addItems(m_inputTypes.names());
    updateDefaultsOffer();
}

void DefaultsController::updateDefaultsOffer()
{
    const bool offered = m_window.m_page && m_inputType->count() > 0;
    m_inputType->setEnabled(offered);
    m_applyDefaults->setEnabled(offered);
    m_markDeviations->setEnabled(offered);
    m_saveAsType->setEnabled(m_window.m_page);
    m_copyToInputs->setEnabled(m_window.m_page);
    const QString why = m_inputTypesProblem.isEmpty()
        ? HostWindow::tr("The defaults come from %1").arg(m_window.shownPath(m_inputTypes.defaultsFile()))
        : HostWindow::tr("No input-type defaults for this device: %1").arg(m_inputTypesProblem);
    m_inputType->setToolTip(HostWindow::tr("The input types of the device. %1").arg(why));
    m_applyDefaults->setToolTip(
        HostWindow::tr("Write the chosen input type's defaults to both sides of the input. %1").arg(why));
}

bool DefaultsController::applyDefaults(const QString &type)
{
    const QString chosen = type.isEmpty() ? m_inputType->currentText() : type;
    if (!m_window.m_page || chosen.isEmpty()
        || !m_window.settlePendingEdits(HostWindow::tr("apply the defaults of %1").arg(chosen)))
        return false;
    return writeDefaults(chosen);
}

bool DefaultsController::askApplyDefaults(const QString &type)
{
    const QString chosen = type.isEmpty() ? m_inputType->currentText() : type;
    if (!m_window.m_page || chosen.isEmpty()
        || !m_window.settlePendingEdits(HostWindow::tr("apply the defaults of %1").arg(chosen)))
        return false;
    const InputRef input = m_window.m_page->input();
    PreviewResult changes;
    {
        MKorvane::BusyPointer busy;
        changes = previewDefaults(*m_window.network(), m_inputTypes, input, chosen);
    }
    const QString title = HostWindow::tr("vqhost: apply defaults");
    bool done = false;
    if (!changes.error.isEmpty()) {
        m_window.log({ PageMessage::Critical,
            HostWindow::tr("%1: the defaults of %2 cannot be applied.").arg(input.block, chosen), changes.error });
        MKorvane::MsgBox(
            HostWindow::tr("The defaults of %1 cannot be applied to %2.\n\n%3").arg(chosen, input.block, changes.error),
            MKorvane::vbCritical, title);
    } else if (changes.rows.isEmpty()) {
        m_window.log(HostWindow::tr("%1: the defaults of %2 would change nothing; nothing was written.")
                         .arg(input.block, chosen));
        MKorvane::MsgBox(HostWindow::tr("The defaults of %1 would change nothing on %2; nothing was written.")
                             .arg(chosen, input.block),
            MKorvane::vbInformation, title);
        done = true;
    } else if (confirmDefaults(changes, chosen, input.block, &m_window)) {
        return writeDefaults(chosen);
    } else {
        m_window.log(HostWindow::tr("%1: the defaults of %2 were not applied.").arg(input.block, chosen));
    }
    if (m_window.m_page && m_window.m_page->valueChanged())
        m_window.showInput(); // edits the user chose to discard go now
    return done;
}

bool DefaultsController::writeDefaults(const QString &chosen)
{
    const InputRef input = m_window.m_page->input();
    QString errMsg;
    bool written = false;
    {
        MKorvane::BusyPointer busy;
        const FormatLocaleScope si(*m_window.network(), MEASUREMENT_SYSTEM_SI); // the file's values are SI
        written = m_inputTypes.apply(m_window.network()->block(input.device, input.block), chosen, errMsg);
    }
    // The class reports each property it could not write and goes on with the others.
    const bool complete = written && errMsg.isEmpty();
    m_window.log({ complete ? PageMessage::Information : PageMessage::Critical,
        complete ? HostWindow::tr("%1: the defaults of %2 were written.").arg(input.block, chosen)
                 : HostWindow::tr("%1: the defaults of %2 were not all written.").arg(input.block, chosen),
        errMsg });
    // Whatever reached the device is saved, also when some properties failed (as Apply does).
    const bool saved = m_window.save();
    m_window.showInput(); // both sides show what the device holds now
    return complete && saved;
}

void DefaultsController::setMarkDeviations(bool on)
{
    m_markDeviations->setChecked(on); // toggled() updates the marks
    updateDeviations();
}

void DefaultsController::updateDeviations()
{
    if (!m_window.m_page || !m_markDeviations->isChecked() || !m_markDeviations->isEnabled()) {
        m_deviations->clear();
        return;
    }
    const QString type = m_inputType->currentText();
    if (!m_deviations->show(m_window.m_page, *m_window.network(), m_inputTypes, type,
            m_window.m_choice->currentData().toString(), m_window.m_measurementSystem))
        m_window.log({ PageMessage::Warning,
            HostWindow::tr("%1: no deviations to mark: %2")
                .arg(m_window.m_page->input().block, m_deviations->problem()),
            QString() });
}

bool DefaultsController::saveAsInputType()
{
    if (!m_window.m_page || !m_window.settlePendingEdits(HostWindow::tr("save the configuration as an input type")))
        return false;
    const InputRef input = m_window.m_page->input();
    QString error;
    const QStringList types
        = inputTypeNames(m_window.network()->programId(input.device), m_window.network()->scope(input.device), error);
    if (types.isEmpty()) {
        m_window.log({ PageMessage::Critical,
            HostWindow::tr("%1: the configuration cannot be saved as an input type.").arg(input.block), error });
        return false;
    }
    const QString file = QFileInfo(InputTypes::pluginFolder(m_window.databasePath())).absolutePath()
        + QStringLiteral("/CommonFiles/InputDefaultValues.ini");
    SaveAsInputTypeDialog dialog(input, types, file, &m_window);
    dialog.setInputType(m_inputType->currentText());
    if (MKorvane::ShowModal(dialog) != QDialog::Accepted)
        return false;
    return saveAsInputType(dialog.inputType(), dialog.file());
}

bool DefaultsController::saveAsInputType(const QString &type, const QString &file)
{
    if (!m_window.m_page)
        return false;
    const InputRef input = m_window.m_page->input();
    QString error;
    bool saved = false;
    {
        MKorvane::BusyPointer busy;
        saved = Host::saveAsInputType(*m_window.network(), input, type, file, error);
    }
    if (!saved) {
        m_window.log(
            { PageMessage::Critical, HostWindow::tr("%1: not saved as input type %2.").arg(input.block, type), error });
        MKorvane::MsgBox(HostWindow::tr("The configuration of %1 was not saved as input type %2.\n\n%3")
                             .arg(input.block, type, error),
            MKorvane::vbCritical, HostWindow::tr("vqhost: not saved"));
        return false;
    }
    m_window.log(HostWindow::tr("%1: saved as input type %2 in %3").arg(input.block, type, m_window.shownPath(file)));
    // The device's input types now offer what was saved when it went into this database's file.
    m_inputTypesDevice.clear();
    loadInputTypes(input.device);
    m_inputType->setCurrentIndex(m_inputType->findText(type, Qt::MatchFixedString));
    return true;
}

bool DefaultsController::copyToInputs()
{
    if (!m_window.m_page || !m_window.settlePendingEdits(HostWindow::tr("copy the configuration")))
        return false;
    CopyToInputsDialog dialog(*m_window.network(), m_window.m_page->input(), &m_window);
    if (MKorvane::ShowModal(dialog) != QDialog::Accepted || dialog.ticked().isEmpty())
        return false;
    return copyToInputs(dialog.ticked()).succeeded();
}

CopySummary DefaultsController::copyToInputs(const QVector<InputRef> &targets)
{
    if (!m_window.m_page)
        return CopySummary();
    const InputRef source = m_window.m_page->input();
    CopySummary summary;
    {
        MKorvane::BusyPointer busy;
        summary = copyConfiguration(*m_window.network(), source, targets, false);
    }
    // What reached the devices is saved once, also when a target failed.
    if (summary.error.isEmpty()) {
        summary.saveWanted = true;
        summary.saved = m_window.save();
    }
    const QString headline = HostWindow::tr("%1: configuration copied to %2 of %3 inputs.")
                                 .arg(source.block)
                                 .arg(summary.writtenCount())
                                 .arg(summary.targets.size());
    m_window.log({ summary.succeeded() ? PageMessage::Information : PageMessage::Critical, headline, summary.text() });
    MKorvane::MsgBox(summary.text(), summary.succeeded() ? MKorvane::vbInformation : MKorvane::vbCritical,
        HostWindow::tr("vqhost: copy to inputs"));
    return summary;
}

} // namespace Host
