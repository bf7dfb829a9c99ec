// SPDX-License-Identifier: MIT
// The import preview and the undo question.
#include "PointsDialogs.h"

#include "shared/MKorvane.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Host {

namespace {

QTreeWidget *changeTree(QWidget *parent, const QStringList &columns)
{
    auto tree = new QTreeWidget(parent);
    tree->setHeaderLabels(columns);
    tree->setRootIsDecorated(true);
    tree->setWordWrap(true);
    tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree->setMinimumSize(760, 320);
    return tree;
}

} // namespace

ImportPreviewDialog::ImportPreviewDialog(const ImportPlan &plan, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("pointsImportPreview"));
    setWindowTitle(tr("Import points list"));
    auto layout = new QVBoxLayout(this);
    auto intro = new QLabel(tr("%1 of %2 inputs would change; %3 rows cannot be applied. Tick the inputs to write: "
                               "each is written all or nothing, then the database is saved once.")
                                .arg(plan.applicableCount())
                                .arg(plan.inputs.size())
                                .arg(plan.problemCount()),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    m_tree = changeTree(this, { tr("Input / field"), tr("Now"), tr("After"), tr("Unit") });
    m_tree->setObjectName(QStringLiteral("pointsInputs"));
    for (const InputPlan &p : plan.inputs) {
        if (p.problems.isEmpty() && p.changes.isEmpty())
            continue;
        auto item
            = new QTreeWidgetItem(m_tree, { tr("line %1: %2 / %3").arg(p.line).arg(p.input.device, p.input.block) });
        item->setData(0, Qt::UserRole, p.input.device);
        item->setData(1, Qt::UserRole, p.input.block);
        if (p.applicable()) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(0, Qt::Checked);
            for (const FieldChange &c : p.changes)
                new QTreeWidgetItem(
                    item, { QStringLiteral("%1 (%2)").arg(c.caption, c.field), c.oldText, c.newText, c.unit });
            for (const QString &m : p.messages)
                new QTreeWidgetItem(item, { m });
        } else {
            item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
            item->setText(1, tr("cannot be applied"));
            item->setForeground(1, QColor(0xb0, 0, 0));
            for (const QString &problem : p.problems)
                new QTreeWidgetItem(item, { problem });
        }
        item->setExpanded(true);
    }
    layout->addWidget(m_tree, 1);
    auto buttons = new QDialogButtonBox(this);
    auto ticked = buttons->addButton(tr("Apply &ticked"), QDialogButtonBox::AcceptRole);
    auto all = buttons->addButton(tr("Apply &all"), QDialogButtonBox::AcceptRole);
    auto cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    ticked->setObjectName(QStringLiteral("pointsApplyTicked"));
    all->setObjectName(QStringLiteral("pointsApplyAll"));
    cancel->setObjectName(QStringLiteral("pointsCancel"));
    ticked->setEnabled(plan.applicableCount() > 0);
    all->setEnabled(plan.applicableCount() > 0);
    connect(ticked, &QPushButton::clicked, this, &QDialog::accept);
    connect(all, &QPushButton::clicked, this, [this] {
        for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
            if (m_tree->topLevelItem(i)->flags() & Qt::ItemIsUserCheckable)
                m_tree->topLevelItem(i)->setCheckState(0, Qt::Checked);
        }
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QVector<InputRef> ImportPreviewDialog::ticked() const
{
    QVector<InputRef> inputs;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = m_tree->topLevelItem(i);
        if ((item->flags() & Qt::ItemIsUserCheckable) && item->checkState(0) == Qt::Checked)
            inputs << InputRef { item->data(0, Qt::UserRole).toString(), item->data(1, Qt::UserRole).toString() };
    }
    return inputs;
}

bool confirmUndo(const PreviewResult &changes, const QString &inputName, QWidget *parent)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("pointsUndoQuestion"));
    dialog.setWindowTitle(QDialog::tr("Undo last confirm"));
    auto layout = new QVBoxLayout(&dialog);
    auto intro = new QLabel(
        QDialog::tr("%1: these values go back to what they were before the last confirm:").arg(inputName), &dialog);
    layout->addWidget(intro);
    auto tree = changeTree(
        &dialog, { QDialog::tr("Property"), QDialog::tr("Now"), QDialog::tr("After"), QDialog::tr("Unit") });
    tree->setRootIsDecorated(false);
    for (const PreviewRow &row : changes.rows) {
        auto item = new QTreeWidgetItem(tree, { row.label(), row.oldText, row.newText, row.unit });
        if (row.failed)
            item->setText(3, QDialog::tr("fails: %1").arg(row.failure));
    }
    for (const QString &m : changes.messages)
        new QTreeWidgetItem(tree, { m });
    layout->addWidget(tree, 1);
    auto buttons = new QDialogButtonBox(&dialog);
    auto undo = buttons->addButton(QDialog::tr("&Undo"), QDialogButtonBox::AcceptRole);
    auto keep = buttons->addButton(QDialog::tr("&Keep"), QDialogButtonBox::RejectRole);
    undo->setObjectName(QStringLiteral("pointsUndo"));
    keep->setObjectName(QStringLiteral("pointsKeep"));
    keep->setDefault(true);
    QObject::connect(undo, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(keep, &QPushButton::clicked, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    return MKorvane::ShowModal(dialog) == QDialog::Accepted;
}

} // namespace Host
