// SPDX-License-Identifier: MIT
// The dialog that shows a preview of pending writes, and the question before an input
// type's defaults are applied.
#include "PreviewDialog.h"

#include "shared/MKorvane.h"
#include "window/ThemeColors.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace Host {

namespace {

QString withUnit(const QString &text, const QString &unit)
{
    return unit.isEmpty() || text.isEmpty() ? text : text + QLatin1Char(' ') + unit;
}

// The size the dialogs open in: roomy, but never larger than the screen they open on.
QSize fittingSize(const QWidget *parent, const QSize &wanted)
{
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return wanted;
    const QSize room = screen->availableSize() - QSize(48, 64); // the frame and a margin
    return wanted.boundedTo(room);
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
    table->setAccessibleName(windowTitle());
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Long values (a transfer table's 32 numbers) wrap inside their column, so every
    // column stays in view at the dialog's width.
    table->setWordWrap(true);
    table->setTextElideMode(Qt::ElideNone);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    for (int i = 0; i < result.rows.size(); ++i) {
        const PreviewRow &row = result.rows.at(i);
        const QStringList cells = { row.label(), withUnit(row.oldText, row.unit), withUnit(row.newText, row.unit),
            row.failed ? tr("fails: %1").arg(row.failure) : tr("changes") };
        for (int column = 0; column < cells.size(); ++column) {
            auto item = new QTableWidgetItem(cells.at(column));
            item->setToolTip(cells.at(column));
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
            if (row.failed)
                item->setForeground(problemColor(table->palette()));
            table->setItem(i, column, item);
        }
    }
    QHeaderView *header = table->horizontalHeader();
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    header->setSectionResizeMode(2, QHeaderView::Stretch);
    header->setSectionResizeMode(3, QHeaderView::ResizeToContents);
    // A long reason wraps rather than pushing the other columns out of view.
    header->setMaximumSectionSize(260);
    connect(header, &QHeaderView::sectionResized, table, [table] { table->resizeRowsToContents(); });
    layout->addWidget(table, 1);

    auto messagesCaption = new QLabel(tr("Messages the write would raise:"), this);
    layout->addWidget(messagesCaption);
    auto messages = new QListWidget(this);
    messages->setObjectName(QStringLiteral("hostPreviewMessages"));
    messages->setAccessibleName(messagesCaption->text()); // a view takes no name from a buddy
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
    resize(fittingSize(parent, QSize(760, 460)));
}

bool confirmDefaults(const PreviewResult &changes, const QString &type, const QString &inputName, QWidget *parent)
{
    QStringList lines;
    for (const PreviewRow &row : changes.rows) {
        lines << (row.failed ? QCoreApplication::translate("Host::PreviewDialog", "%1: %2 (would fail: %3)")
                                   .arg(row.label(), withUnit(row.newText, row.unit), row.failure)
                             : QCoreApplication::translate("Host::PreviewDialog", "%1: %2 \u2192 %3")
                                   .arg(row.label(), withUnit(row.oldText, row.unit), withUnit(row.newText, row.unit)));
    }
    QString details = QCoreApplication::translate("Host::PreviewDialog", "These values change (now \u2192 after):")
        + QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
    if (!changes.messages.isEmpty())
        details += QLatin1String("\n\n")
            + QCoreApplication::translate("Host::PreviewDialog", "Not everything would be written:") + QLatin1Char('\n')
            + changes.messages.join(QLatin1Char('\n'));
    details += QLatin1String("\n\n")
        + QCoreApplication::translate("Host::PreviewDialog", "The database is saved afterwards.");

    QMessageBox box(QMessageBox::Question, QCoreApplication::translate("Host::PreviewDialog", "vqhost: apply defaults"),
        QCoreApplication::translate("Host::PreviewDialog", "Apply the defaults of %1 to %2?").arg(type, inputName),
        QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("hostDefaultsQuestion"));
    box.setInformativeText(details);
    QPushButton *yes = box.addButton(QMessageBox::Yes);
    QPushButton *no = box.addButton(QMessageBox::No);
    yes->setObjectName(QStringLiteral("hostDefaultsYes"));
    no->setObjectName(QStringLiteral("hostDefaultsNo"));
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    MKorvane::ShowModal(box);
    return box.clickedButton() == yes;
}

} // namespace Host
