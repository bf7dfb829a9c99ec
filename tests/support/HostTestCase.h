// SPDX-License-Identifier: MIT
// The base of a host test object: every test function gets a fresh copy of the sample
// network (`sim`), the seams recorded (`seams`) and a host window showing the copy
// (`window`), and drops them afterwards, answering "discard" to an unsaved-changes
// question on the way out. Only the host's tests include it (they link the host's core).
#pragma once

#include "device/sim/SimNetwork.h"
#include "support/SeamRecorder.h"
#include "support/SimTestCase.h"
#include "window/HostWindow.h"
#include "window/UnsavedQuestion.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSize>
#include <QTest>

namespace TestSupport {

class HostTestCase : public SimTestCase
{
protected:
    // Set by the test object's constructor.
    struct Options
    {
        bool inputDefaults = false; // a copy of the project's input-type defaults beside the database
        bool recordSeams = false; // message boxes, pointer and modal dialogs recorded in `seams`
        QSize size; // empty: the window's own size
        bool show = true; // the window is shown (and waited for) before it opens the database
        bool waitActive = false; // waits until the window is active, else until it is exposed
        bool open = true; // the window opens the database
    } host;

    std::unique_ptr<SeamRecorder> seams;
    std::unique_ptr<Host::HostWindow> window;

    // Shared by the host's tests: the first device of the sample, widgets of the window and of
    // its page by name, a field clicked and typed over, a property as the database file holds
    // it, and the unsaved-changes questions asked, each answered with `answer`, once
    // recordQuestions() is called.
    const QString Controller = QStringLiteral("HWI-Controller 1");
    QStringList asked;
    Host::UnsavedAnswer answer = Host::UnsavedAnswer::Stay;
    template<typename T = QWidget> T *hostWidget(const QString &name) const { return window->findChild<T *>(name); }
    template<typename T = QLineEdit> T *pageWidget(const QString &name) const
    {
        return window->page() ? window->page()->findChild<T *>(name) : nullptr;
    }
    static void typeInto(QLineEdit *field, const QString &text)
    {
        QTest::mouseClick(field, Qt::LeftButton);
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    QString storedText(const QString &block, const QString &cp, bool onVariable) const
    {
        return Sim::Network::load(sim->databasePath())->storedCpText(Controller, block, cp, onVariable);
    }
    void recordQuestions()
    {
        asked.clear();
        answer = Host::UnsavedAnswer::Stay;
        Host::setUnsavedQuestion([this](QWidget *, const QString &what) {
            asked << what;
            return answer;
        });
    }

    // The input-type defaults beside the database (Options::inputDefaults).
    QString defaultsFile() const { return sim->tempPath() + QStringLiteral("/CommonFiles/InputDefaultValues.ini"); }

    // Before the window opens the database: stored changes, a modal-dialog driver.
    virtual void beforeWindow() { }
    // After the window shows the database.
    virtual void afterWindow() { }

    void prepare() override
    {
        if (host.inputDefaults) {
            QVERIFY(QDir(sim->tempPath()).mkpath(QStringLiteral("CommonFiles")));
            QVERIFY(QFile::copy(QStringLiteral(VQ_DATA_DIR "/CommonFiles/InputDefaultValues.ini"), defaultsFile()));
            QFile::setPermissions(defaultsFile(), QFile::ReadOwner | QFile::WriteOwner);
        }
        if (host.recordSeams)
            seams = std::make_unique<SeamRecorder>();
        beforeWindow();
        window = std::make_unique<Host::HostWindow>();
        window->setReproducible(true);
        if (host.size.isValid())
            window->resize(host.size);
        if (host.show) {
            window->show();
            if (host.waitActive)
                QVERIFY(QTest::qWaitForWindowActive(window.get()));
            else
                QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        }
        if (host.open)
            QVERIFY(window->openDatabase(sim->databasePath()));
        afterWindow();
    }
    void finish() override
    {
        Host::setUnsavedQuestion([](QWidget *, const QString &) { return Host::UnsavedAnswer::Discard; });
        window.reset();
        Host::setUnsavedQuestion({});
        seams.reset();
    }
};

} // namespace TestSupport
