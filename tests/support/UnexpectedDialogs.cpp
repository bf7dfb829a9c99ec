// SPDX-License-Identifier: MIT
// The default handlers of every test program: an unexpected box or dialog is a failure.
#include "support/UnexpectedDialogs.h"

#include "shared/Seams.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace TestSupport {
namespace {

// Fails the test function that is running; outside one the whole program fails.
void failUnexpected(const QString &what)
{
    const QByteArray message = "unexpected " + what.toUtf8() + " (no test expected it)";
    if (QTest::currentTestFunction())
        QTest::qFail(message.constData(), __FILE__, __LINE__);
    else
        qFatal("%s", message.constData());
}

int closedModals = 0;

// How long a real modal window may stay open before it counts as waiting for a user:
// long enough for a test that clicks through it with a timer, far below any test timeout.
// VQ_TEST_MODAL_PATIENCE_MS shortens it for the test of the watchdog itself.
int patienceMs()
{
    bool ok = false;
    const int set = qEnvironmentVariableIntValue("VQ_TEST_MODAL_PATIENCE_MS", &ok);
    return ok && set > 0 ? set : 3000;
}

// Watches for a modal window that stays open and closes it, failing the test.
void startModalWatchdog()
{
    auto *timer = new QTimer(qApp);
    auto *since = new QElapsedTimer;
    auto *seen = new QPointer<QWidget>;
    const int patience = patienceMs();
    QObject::connect(qApp, &QObject::destroyed, [since, seen] {
        delete since;
        delete seen;
    });
    QObject::connect(timer, &QTimer::timeout, [since, seen, patience] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal != *seen) {
            *seen = modal;
            since->start();
            return;
        }
        if (!modal || since->elapsed() < patience)
            return;
        ++closedModals;
        failUnexpected(QStringLiteral("modal window \"%1\" left open").arg(modal->windowTitle()));
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
        *seen = nullptr;
    });
    timer->start(250);
}

void installAtStartup()
{
    installUnexpectedDialogHandlers();
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        startModalWatchdog();
}

} // namespace

void installUnexpectedDialogHandlers()
{
    MKorvane::setMessageBoxHandler([](const QString &text, int, const QString &title) {
        failUnexpected(QStringLiteral("message box \"%1\": %2").arg(title, text));
        return MKorvane::vbOK;
    });
    MKorvane::setModalRunner([](QDialog &dialog) {
        failUnexpected(QStringLiteral("modal dialog \"%1\"").arg(dialog.windowTitle()));
        return int(QDialog::Rejected);
    });
}

int unexpectedModalsClosed()
{
    return closedModals;
}

} // namespace TestSupport

namespace {
void installUnexpectedDialogDefaults()
{
    TestSupport::installAtStartup();
}
} // namespace
Q_COREAPP_STARTUP_FUNCTION(installUnexpectedDialogDefaults)
