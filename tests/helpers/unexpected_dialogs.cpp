// SPDX-License-Identifier: MIT
// A test program that shows what no test expects: a message box through the library,
// a modal dialog through the library, and a real modal window past both. Each test
// function must fail, quickly, rather than wait for a user; ctest checks its output.
#include "shared/Seams.h"

#include <QDialog>
#include <QMessageBox>
#include <QTest>

class unexpected_dialogs : public QObject
{
    Q_OBJECT

private slots:
    void messageBox() { MKorvane::MsgBox(QStringLiteral("Nobody reads this"), MKorvane::vbCritical, "Box"); }
    void modalDialog()
    {
        QDialog dialog;
        dialog.setWindowTitle(QStringLiteral("Nobody closes this"));
        MKorvane::ShowModal(dialog);
    }
    void realModalWindow()
    {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Left open"), QStringLiteral("past every seam"));
        box.exec();
    }
};

QTEST_MAIN(unexpected_dialogs)
#include "unexpected_dialogs.moc"
