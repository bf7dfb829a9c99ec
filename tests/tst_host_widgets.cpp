// SPDX-License-Identifier: MIT
// The host window as a user reaches it: every button and action of the window and its
// dialogs does something, the buttons that open a dialog do so when clicked, a second view
// follows the input the window shows, every path that would drop edits asks first and "Stay"
// leaves tree and page on the same input, no two
// widgets of the window share a mnemonic, and the tree shows the device names whole. (Keys in
// an open list, and the mnemonics of the dialogs' buttons, are pressed in tst_host_journey.) The
// mouse wheel turns only a list that has the focus.
#include "support/HostTestCase.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTreeWidget>
#include <QtTest/qtestspontaneevent.h>

using namespace Host;

namespace {

// QObject::receivers() is protected; a public name for it in a derived class reaches it.
struct SignalPeek : QObject
{
    using QObject::receivers;
};

int receiverCount(const QObject *object, const char *signal)
{
    int (QObject::*count)(const char *) const = &SignalPeek::receivers;
    return (object->*count)(signal);
}

bool anyReceiver(const QObject *object, std::initializer_list<const char *> signals_)
{
    return std::any_of(signals_.begin(), signals_.end(), [object](const char *s) {
        return object->metaObject()->indexOfSignal(s + 1) >= 0 && receiverCount(object, s) > 0;
    });
}

QDialogButtonBox *boxOf(const QWidget *w)
{
    for (QObject *p = w->parent(); p; p = p->parent()) {
        if (auto box = qobject_cast<QDialogButtonBox *>(p))
            return box;
        if (p->isWidgetType() && static_cast<QWidget *>(p)->isWindow())
            break;
    }
    return nullptr;
}

// The buttons and actions under root that nothing listens to, and the labels whose mnemonic
// reaches no widget, by name and text.
QStringList deadControls(const QWidget *root)
{
    QStringList dead;
    const auto name = [](const QObject *o, const QString &text) {
        return QStringLiteral("%1 \"%2\" (%3)").arg(o->metaObject()->className(), text, o->objectName());
    };
    for (const QAbstractButton *button : root->findChildren<QAbstractButton *>()) {
        if (anyReceiver(button,
                { SIGNAL(clicked(bool)), SIGNAL(toggled(bool)), SIGNAL(pressed()), SIGNAL(released()),
                    SIGNAL(stateChanged(int)) })
            && !boxOf(button))
            continue;
        if (const QDialogButtonBox *box = boxOf(button)) {
            // The box listens to its buttons itself; what counts is who listens to the box.
            const QDialogButtonBox::ButtonRole role = box->buttonRole(const_cast<QAbstractButton *>(button));
            const char *signal = role == QDialogButtonBox::AcceptRole || role == QDialogButtonBox::YesRole
                ? SIGNAL(accepted())
                : role == QDialogButtonBox::RejectRole || role == QDialogButtonBox::NoRole ? SIGNAL(rejected())
                : role == QDialogButtonBox::HelpRole                                       ? SIGNAL(helpRequested())
                                                                                           : nullptr;
            if (receiverCount(box, SIGNAL(clicked(QAbstractButton *))) > 0
                || (signal ? receiverCount(box, signal) > 0
                           : receiverCount(button, SIGNAL(clicked(bool))) > 1)) // one is the box's own
                continue;
        }
        dead << name(button, button->text());
    }
    for (const QAction *action : root->findChildren<QAction *>()) {
        if (action->isSeparator() || action->menu()
            || anyReceiver(action, { SIGNAL(triggered(bool)), SIGNAL(toggled(bool)) }))
            continue;
        dead << name(action, action->text());
    }
    // A label's mnemonic reaches nothing without a buddy: Qt then shows its "&" as text.
    for (const QLabel *label : root->findChildren<QLabel *>()) {
        if (!label->buddy() && !QKeySequence::mnemonic(label->text()).isEmpty())
            dead << name(label, label->text());
    }
    return dead;
}

void turnWheel(QWidget *widget, QPoint angle = QPoint(0, -120))
{
    const QPointF at = QRectF(widget->rect()).center();
    QWheelEvent wheel(
        at, widget->mapToGlobal(at), QPoint(), angle, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    // As from the mouse, which Qt passes on to the parents (sendEvent would make it synthetic).
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    qApp->notify(widget, &wheel);
}

} // namespace

class tst_host_widgets : public TestSupport::HostTestCase
{
    Q_OBJECT

    QTreeWidget *tree() const { return hostWidget<QTreeWidget>(QStringLiteral("hostTree")); }
    QTreeWidgetItem *inputItem(int device, int input) const { return tree()->topLevelItem(device)->child(input); }
    void clickItem(QTreeWidgetItem *item) const
    {
        tree()->scrollToItem(item);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, tree()->visualItemRect(item).center());
    }
    // The key goes where a user's key goes: into the open list, else the focused widget.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(static_cast<QWidget *>(nullptr), key, modifiers);
    }

public:
    tst_host_widgets()
    {
        host.inputDefaults = true;
        host.recordSeams = true;
        host.size = QSize(1250, 680); // as the program opens it
        host.waitActive = true;
    }

protected:
    void beforeWindow() override
    {
        // A copy goes only to an input whose variable has the source's type: HwInput[8] gets
        // HwInput[0]'s, so that the copy dialog has a target.
        (*sim)->setStoredCpText(Controller, QStringLiteral("HwInput[8]"), QStringLiteral("SCPTnvType"),
            (*sim)->storedCpText(Controller, QStringLiteral("HwInput[0]"), QStringLiteral("SCPTnvType"), true), true);
        (*sim)->save();
    }
    void afterWindow() override { recordQuestions(); }

private slots:
    // Every button and action of the window and of each dialog it opens has a receiver.
    void everyButtonAndActionDoesSomething()
    {
        QStringList dead = deadControls(window.get());
        QStringList walked;
        seams->setModalDriver([&](QDialog &dialog) {
            walked << dialog.metaObject()->className();
            dead << deadControls(&dialog);
            return int(QDialog::Rejected);
        });
        for (const char *button : { "hostPreview", "hostSaveAsInputType", "hostCopyToInputs" })
            QTest::mouseClick(hostWidget<QPushButton>(QLatin1String(button)), Qt::LeftButton);
        // The control's own dialog: the transfer table of a TRANS_TABLE input.
        auto interpretation = pageWidget<QComboBox>(QStringLiteral("cboInput"));
        interpretation->setCurrentIndex(interpretation->findText(QStringLiteral("TRANS_TABLE")));
        QTest::mouseClick(pageWidget<QPushButton>(QStringLiteral("cmdTable")), Qt::LeftButton);
        // The second view, and the question about edits not written.
        QTest::mouseClick(hostWidget<QPushButton>(QStringLiteral("hostSecondView")), Qt::LeftButton);
        const auto views = window->findChildren<NetworkView *>();
        QCOMPARE(views.size(), 1);
        dead << deadControls(views.first());
        dead << deadControls(unsavedQuestionBox(window.get(), QStringLiteral("quit")).get());
        QVERIFY2(dead.isEmpty(), qPrintable(dead.join(QLatin1Char('\n'))));
        QCOMPARE(walked,
            (QStringList {
                "Host::PreviewDialog", "Host::SaveAsInputTypeDialog", "Host::CopyToInputsDialog", "fTable" }));
    }

    void secondViewFollowsTheInput_data()
    {
        QTest::addColumn<bool>("deviceFirst"); // the window shows a device that cannot be configured in between
        QTest::newRow("another input") << false;
        QTest::newRow("a device that cannot be configured, then another input") << true;
    }
    void secondViewFollowsTheInput()
    {
        QFETCH(bool, deviceFirst);
        QTest::mouseClick(hostWidget<QPushButton>(QStringLiteral("hostSecondView")), Qt::LeftButton);
        const auto views = window->findChildren<NetworkView *>();
        QCOMPARE(views.size(), 1);
        NetworkView *view = views.first();
        auto viewOverride = view->control()->findChild<QLineEdit *>(QStringLiteral("txtOver"));
        if (deviceFirst) {
            clickItem(tree()->topLevelItem(1));
            QCOMPARE(window->currentDevice(), QStringLiteral("HWI-Controller 2"));
            QVERIFY(!window->page());
            // Nothing to follow: the view takes no edit and says why.
            QVERIFY(!viewOverride->isEnabled() || viewOverride->isReadOnly() || !view->control()->isEnabled());
            const auto notes = view->findChildren<QLabel *>(QStringLiteral("hostViewNote"));
            QVERIFY(notes.size() == 1 && notes.first()->isVisible());
            QVERIFY2(
                notes.first()->text().contains(QLatin1String("HWI-Controller 2")), qPrintable(notes.first()->text()));
        }
        const QString block = QStringLiteral("HwInput[1]");
        clickItem(inputItem(0, 1));
        QCOMPARE(window->currentInput(), block);
        QCOMPARE(view->input().block, block);
        QVERIFY(view->windowTitle().contains(block));
        QVERIFY(viewOverride->isEnabled() && !viewOverride->isReadOnly() && view->control()->isEnabled());
        QCOMPARE(viewOverride->text(), pageWidget(QStringLiteral("txtOver"))->text());
        // An override typed on either side reaches the other, which raises no change of its
        // own; with Apply it reaches the database.
        QSignalSpy fromPage(window->networkControl(), &ctlSensorNV::ValueChangeEvent);
        QSignalSpy fromView(view->control(), &ctlSensorNV::ValueChangeEvent);
        typeInto(pageWidget(QStringLiteral("txtOver")), QStringLiteral("22.5"));
        QCOMPARE(viewOverride->text(), QStringLiteral("22.5"));
        QVERIFY(!fromPage.isEmpty() && fromView.isEmpty());
        fromPage.clear();
        typeInto(viewOverride, QStringLiteral("3.5"));
        QCOMPARE(pageWidget(QStringLiteral("txtOver"))->text(), QStringLiteral("3.5"));
        QVERIFY(fromPage.isEmpty() && !fromView.isEmpty());
        QVERIFY(window->isWindowModified());
        QTest::mouseClick(hostWidget<QPushButton>(QStringLiteral("hostApply")), Qt::LeftButton);
        QCOMPARE(storedText(block, QStringLiteral("SCPTovrValue"), true).toDouble(), 3.5);
    }

    // Every path that would drop edits asks first, the user's way where there is one; Stay
    // leaves tree, page and status on the input, Discard goes on, Write stores the edit.
    void pendingEditsAreAskedFor_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("answer");
        for (const char *action :
            { "input clicked", "input by Down", "units", "open", "reload by Alt+F, R", "quit", "choice" }) {
            for (const auto a : { UnsavedAnswer::Stay, UnsavedAnswer::Discard, UnsavedAnswer::Write })
                QTest::addRow("%s %d", action, int(a)) << action << int(a);
        }
    }
    void pendingEditsAreAskedFor()
    {
        QFETCH(QString, action);
        QFETCH(int, answer);
        this->answer = UnsavedAnswer(answer);
        const QString shown = QStringLiteral("HwInput[0]");
        const QString before = storedText(shown, QStringLiteral("UCPToffset"), false);
        typeInto(pageWidget(QStringLiteral("txtOff")), QStringLiteral("1.5"));
        if (action == QLatin1String("input clicked")) {
            clickItem(inputItem(0, 1));
        } else if (action == QLatin1String("input by Down")) {
            tree()->setFocus();
            QTest::keyClick(tree(), Qt::Key_Down);
        } else if (action == QLatin1String("units")) {
            hostWidget<QComboBox>(QStringLiteral("hostUnits"))->setCurrentIndex(1);
        } else if (action == QLatin1String("open")) {
            window->openDatabase(sim->databasePath());
        } else if (action == QLatin1String("choice")) {
            hostWidget<QComboBox>(QStringLiteral("hostChoice"))->setCurrentIndex(2);
        } else if (action == QLatin1String("quit")) {
            window->close();
        } else {
            QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
            QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
            press(Qt::Key_R);
        }
        QTRY_COMPARE(asked.size(), 1);
        if (action.startsWith(QLatin1String("reload")))
            QCOMPARE(asked.first(), QStringLiteral("reload the database"));
        QCoreApplication::processEvents();
        if (this->answer == UnsavedAnswer::Stay) {
            QCOMPARE(pageWidget(QStringLiteral("txtOff"))->text(), QStringLiteral("1.5"));
            QCOMPARE(window->page()->input().block, shown);
            QVERIFY(window->isWindowModified() && window->isVisible());
            QCOMPARE(tree()->currentItem(), inputItem(0, 0));
            QCOMPARE(tree()->selectedItems(), QList<QTreeWidgetItem *> { inputItem(0, 0) });
            if (action.startsWith(QLatin1String("input")))
                QVERIFY2(window->statusBar()->currentMessage().endsWith(shown),
                    qPrintable(window->statusBar()->currentMessage()));
        } else if (this->answer == UnsavedAnswer::Discard) {
            QVERIFY(!window->isVisible() || !window->isWindowModified()); // it went on
        }
        QCOMPARE(storedText(shown, QStringLiteral("UCPToffset"), false) == QStringLiteral("1.5"),
            this->answer == UnsavedAnswer::Write && before != QStringLiteral("1.5"));
    }

    void mnemonicsAreUnique_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("apply");
        QTest::newRow("de") << "de" << QString::fromUtf8("Ü&bernehmen");
        QTest::newRow("back to en") << "en"
                                    << "&Apply";
    }
    // Alt and a letter reach one widget of the window, in every language, and the texts follow.
    void mnemonicsAreUnique()
    {
        QFETCH(QString, language);
        QFETCH(QString, apply);
        window->setLanguage(QStringLiteral("de"));
        hostWidget<QComboBox>(QStringLiteral("hostLanguage"))->setCurrentText(language);
        QCOMPARE(hostWidget<QPushButton>(QStringLiteral("hostApply"))->text(), apply);
        // The pictures of the documentation are taken reproducibly: no folder of this machine.
        QVERIFY2(!window->statusBar()->currentMessage().contains(sim->tempPath()),
            qPrintable(window->statusBar()->currentMessage()));
        QMap<QChar, QStringList> owners;
        const auto take = [&](const QString &text, const QString &owner) {
            const QKeySequence key = QKeySequence::mnemonic(text);
            if (!key.isEmpty())
                owners[QChar(key[0].key()).toUpper()] << owner + QStringLiteral(" \"") + text + QLatin1Char('"');
        };
        for (const QAction *menu : window->menuBar()->actions())
            take(menu->text(), QStringLiteral("menu"));
        for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
            if (button->isVisible())
                take(button->text(), button->objectName());
        }
        for (QLabel *label : window->findChildren<QLabel *>()) {
            if (label->isVisible() && label->buddy())
                take(label->text(), label->buddy()->objectName());
        }
        for (QGroupBox *box : window->findChildren<QGroupBox *>()) {
            if (box->isVisible())
                take(box->title(), box->objectName());
        }
        QStringList shared;
        for (auto it = owners.cbegin(); it != owners.cend(); ++it) {
            if (it.value().size() > 1)
                shared << QStringLiteral("Alt+%1: %2").arg(it.key()).arg(it.value().join(QStringLiteral(", ")));
        }
        QVERIFY2(shared.isEmpty(), qPrintable(shared.join(QLatin1Char('\n'))));
    }

    void deviceNamesShowWhole_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("input"); // the input shown, the tree scrolled to it
        QTest::newRow("en, first input") << "en" << 0;
        QTest::newRow("en, last input") << "en" << 12;
        QTest::newRow("de, last input") << "de" << 12;
    }
    void deviceNamesShowWhole()
    {
        QFETCH(QString, language);
        QFETCH(int, input);
        window->setLanguage(language);
        clickItem(inputItem(0, input));
        QCOMPARE(window->currentInput(), QStringLiteral("HwInput[%1]").arg(input));
        QTreeWidget *devices = tree();
        for (int i = 0; i < devices->topLevelItemCount(); ++i) {
            QTreeWidgetItem *device = devices->topLevelItem(i);
            devices->scrollToItem(device);
            QCoreApplication::processEvents();
            const QModelIndex index = devices->model()->index(i, 0);
            QStyleOptionViewItem option;
            option.initFrom(devices);
            // The name whole and at least a space before the state, so that a font that draws a
            // little wider than it measures neither cuts the name nor runs it into the state.
            const int needed = devices->itemDelegate()->sizeHint(option, index).width()
                + devices->fontMetrics().horizontalAdvance(QLatin1Char(' '));
            const QRect shown = devices->visualRect(index);
            QVERIFY2(shown.width() >= needed,
                qPrintable(
                    QStringLiteral("%1: %2 px shown, %3 needed").arg(device->text(0)).arg(shown.width()).arg(needed)));
            QVERIFY(shown.right() <= devices->viewport()->width()); // not beyond the tree's right edge
        }
    }

    void wheelChangesOnlyAFocusedList_data()
    {
        QTest::addColumn<QString>("input"); // an input whose page shows the list
        QTest::addColumn<QString>("list");
        // clang-format off
        QTest::newRow("interpretation") << "HwInput[0]" << "cboInput";
        QTest::newRow("signal type") << "HwInput[1]" << "cboSignal";
        QTest::newRow("thermistor") << "HwInput[0]" << "cboTherm";
        QTest::newRow("enumerated override") << "HwInput[3]" << "cboOverride";
        QTest::newRow("enumerated default") << "HwInput[3]" << "cboDefault";
        QTest::newRow("host: interpretations offered") << "HwInput[0]" << "hostChoice";
        // clang-format on
    }
    // The mouse wheel over a list changes its value only when the list has the focus;
    // otherwise the page scrolls. Every list of both controls (on an input that shows them)
    // and of the host.
    void wheelChangesOnlyAFocusedList()
    {
        QFETCH(QString, input);
        QFETCH(QString, list);
        window->resize(640, 400); // smaller than the page: the page scrolls
        QVERIFY(window->selectInput(Controller, input));
        auto combo = window->findChild<QComboBox *>(list);
        QVERIFY(combo && combo->isVisible() && combo->count() > 1);
        combo->setCurrentIndex(0);
        QCoreApplication::processEvents(); // the page's layout settles
        auto scroll = window->findChild<QScrollArea *>();
        QVERIFY(scroll);
        const auto position
            = [scroll] { return QPoint(scroll->horizontalScrollBar()->value(), scroll->verticalScrollBar()->value()); };
        const QPoint scrolled = position();

        window->findChild<QTreeWidget *>()->setFocus();
        turnWheel(combo);
        QCOMPARE(combo->currentIndex(), 0);
        // The page is wider than the window, not taller: a sideways turn over the list scrolls it.
        turnWheel(combo, QPoint(-120, 0));
        if (scroll->isAncestorOf(combo))
            QVERIFY2(position() != scrolled, "the page did not scroll");

        // Lists the rows do not turn (shown only for some inputs) are guarded the same way.
        for (auto other : window->findChildren<QComboBox *>())
            QVERIFY2(other->focusPolicy() == Qt::StrongFocus, qPrintable(other->objectName()));
        combo->setFocus();
        QTRY_VERIFY(combo->hasFocus());
        turnWheel(combo);
        QCOMPARE(combo->currentIndex(), 1);
    }
};

QTEST_MAIN(tst_host_widgets)
#include "tst_host_widgets.moc"
