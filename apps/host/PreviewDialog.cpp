// SPDX-License-Identifier: MIT
// The dialog that shows a preview of pending writes.
#include "PreviewDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace Host {

namespace {

QString withUnit(const QString &text, const QString &unit)
{
    return unit.isEmpty() || text.isEmpty() ? text : text + QLatin1Char(' ') + unit;
}

} // namespace

PreviewDialog::PreviewDialog(const PreviewResult &result, const QString &inputName, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("hostPreviewDialog"));
    setWindowTitle(tr("Preview of %1").arg(inputName));
    auto layout = new QVBoxLayout(this);

    auto headline = new QLabel(this);
    headline->setObjectName(QStringLiteral("hostPreviewHeadline"));
    headline->setWordWrap(true);
    if (!result.error.isEmpty())
        headline->setText(tr("No preview: %1").arg(result.error));
    else if (result.rows.isEmpty())
        headline->setText(tr("OK would change nothing on the device."));
    else
        headline->setText(tr("OK would write this to the device. Nothing has been written yet."));
    layout->addWidget(headline);

    auto table = new QTableWidget(int(result.rows.size()), 4, this);
    table->setObjectName(QStringLiteral("hostPreviewTable"));
    table->setHorizontalHeaderLabels({ tr("Property"), tr("Now"), tr("After OK"), tr("Result") });
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int i = 0; i < result.rows.size(); ++i) {
        const PreviewRow &row = result.rows.at(i);
        const QStringList cells = { row.owner + QLatin1Char('.') + row.property, withUnit(row.oldText, row.unit),
            withUnit(row.newText, row.unit), row.failed ? tr("fails: %1").arg(row.failure) : tr("changes") };
        for (int column = 0; column < cells.size(); ++column) {
            auto item = new QTableWidgetItem(cells.at(column));
            item->setToolTip(cells.at(column));
            if (row.failed)
                item->setForeground(QColor(0xb0, 0, 0));
            table->setItem(i, column, item);
        }
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table, 1);

    auto messagesCaption = new QLabel(tr("Messages the write would raise:"), this);
    layout->addWidget(messagesCaption);
    auto messages = new QListWidget(this);
    messages->setObjectName(QStringLiteral("hostPreviewMessages"));
    messages->setWordWrap(true);
    messages->addItems(result.messages);
    if (result.messages.isEmpty())
        messages->addItem(tr("(none)"));
    messages->addItem(tr("Hardware side, as OK would report it: %1").arg(result.outcome.hardware.text()));
    messages->addItem(tr("Network side, as OK would report it: %1").arg(result.outcome.network.text()));
    if (!result.controlsKept)
        messages->addItem(tr("The controls changed while writing; open the input again before OK."));
    messages->setMaximumHeight(120);
    layout->addWidget(messages);

    auto buttons = new QDialogButtonBox(this);
    QPushButton *close = buttons->addButton(tr("Close"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("hostPreviewClose"));
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(640, 380);
}

} // namespace Host
