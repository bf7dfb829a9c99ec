// SPDX-License-Identifier: MIT
// Choosing the input type and the defaults file for "Save as input type".
#include "SaveAsInputTypeDialog.h"

#include "shared/Seams.h"
#include "shared/WheelGuard.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace Host {

SaveAsInputTypeDialog::SaveAsInputTypeDialog(
    const InputRef &source, const QStringList &inputTypes, const QString &file, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("hostSaveAsDialog"));
    setWindowTitle(tr("Save as input type"));
    auto form = new QFormLayout(this);
    auto intro = new QLabel(tr("Saves every property of %1 / %2 that the two controls write, as the device holds it, "
                               "as the chosen input type's section of a defaults file. A section of that name is "
                               "replaced; other sections and comments stay. The device finds a defaults file as "
                               "CommonFiles/InputDefaultValues.ini beside the host's plug-in folder.")
                                .arg(source.device, source.block),
        this);
    intro->setWordWrap(true);
    form->addRow(intro);
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("hostSaveAsType"));
    m_type->addItems(inputTypes);
    form->addRow(tr("Input &type"), m_type);
    auto fileRow = new QHBoxLayout;
    m_file = new QLineEdit(QDir::toNativeSeparators(file), this);
    m_file->setObjectName(QStringLiteral("hostSaveAsFile"));
    m_file->setMinimumWidth(360);
    fileRow->addWidget(m_file, 1);
    auto browse = new QPushButton(tr("&Browse..."), this);
    browse->setObjectName(QStringLiteral("hostSaveAsBrowse"));
    fileRow->addWidget(browse);
    // The row holds a layout, so its label needs the field as buddy for Alt+F to reach it.
    auto fileLabel = new QLabel(tr("Defaults &file"), this);
    fileLabel->setBuddy(m_file);
    form->addRow(fileLabel, fileRow);
    auto buttons = new QDialogButtonBox(this);
    auto save = buttons->addButton(tr("&Save"), QDialogButtonBox::AcceptRole);
    save->setEnabled(!inputTypes.isEmpty());
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    form->addRow(buttons);
    connect(browse, &QPushButton::clicked, this, &SaveAsInputTypeDialog::browse);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    MKorvane::GuardWheel(this);
}

QString SaveAsInputTypeDialog::inputType() const
{
    return m_type->currentText();
}

void SaveAsInputTypeDialog::setInputType(const QString &type)
{
    m_type->setCurrentIndex(m_type->findText(type, Qt::MatchFixedString));
}

QString SaveAsInputTypeDialog::file() const
{
    return QDir::fromNativeSeparators(m_file->text().trimmed());
}

void SaveAsInputTypeDialog::browse()
{
    // A dialog of our own rather than the static function: it runs through the modal seam.
    QFileDialog dialog(
        this, tr("Defaults file"), file(), tr("Input defaults (InputDefaultValues.ini);;Profile files (*.ini)"));
    dialog.setObjectName(QStringLiteral("hostSaveAsFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (MKorvane::ShowModal(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        m_file->setText(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}

} // namespace Host
