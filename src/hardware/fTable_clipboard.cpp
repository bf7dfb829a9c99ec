// SPDX-License-Identifier: MIT
// fTable: copying the table to the clipboard and pasting it back, as one line of 32
// fields separated by single blanks.
#include "hardware/fTable.h"

#include "shared/Steps.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>

// The cells as they are, untrimmed; a cell that holds a blank therefore does not paste back.
void fTable::cmdCopy_Click()
{
    MKorvane::skipOnFailure([this] {
        QStringList texts;
        texts.reserve(CellCount);
        for (const QLineEdit *cell : qAsConst(txtTable))
            texts.append(cell->text());
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        clipboard->setText(texts.join(QLatin1Char(' ')));
    });
}

// Only a text of exactly 32 fields is pasted. Nothing is checked here: each cell's change
// handler sees its new text.
void fTable::cmdPaste_Click()
{
    MKorvane::skipOnFailure([this] {
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        if (!data || !data->hasText())
            return;
        const QStringList fields = data->text().split(QLatin1Char(' '), Qt::KeepEmptyParts);
        if (fields.size() != CellCount)
            return;
        const auto drawCurve = holdCurve(); // drawn once, with every pasted cell
        for (int k = 0; k < CellCount; ++k)
            txtTable.at(k)->setText(fields.at(k));
    });
}
