// SPDX-License-Identifier: MIT
// The host window as a user reaches it: every button and action of the window and its
// dialogs does something, the buttons that open a dialog do so when clicked, a second view
// follows the input the window shows, "Stay" leaves tree and page on the same input, no two
// widgets of the window share a mnemonic, and the tree shows the device names whole. (Keys in
// an open list, and the mnemonics of the dialogs' buttons, are pressed in tst_host_journey.)
#include "device/sim/SimNetwork.h"
#include "inputtypes/CopyToInputsDialog.h"
#include "inputtypes/SaveAsInputTypeDialog.h"
#include "support/HostTestCase.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"
#include "window/HostWindow.h"
#include "window/UnsavedQuestion.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

using namespace Host;

namespace {

const QString Controller = QStringLiteral("HWI-Controller 1");

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
            if (receiverCount(box, SIGNAL(clicked(QAbstractButton *))) > 0)
                continue;
            switch (box->buttonRole(const_cast<QAbstractButton *>(button))) {
            case QDialogButtonBox::AcceptRole:
            case QDialogButtonBox::YesRole:
                if (receiverCount(box, SIGNAL(accepted())) > 0)
                    continue;
                break;
            case QDialogButtonBox::RejectRole:
            case QDialogButtonBox::NoRole:
                if (receiverCount(box, SIGNAL(rejected())) > 0)
                    continue;
                break;
            case QDialogButtonBox::HelpRole:
                if (receiverCount(box, SIGNAL(helpRequested())) > 0)
                    continue;
                break;
            default:
                if (receiverCount(button, SIGNAL(clicked(bool))) > 1) // one is the box's own
                    continue;
                break;
            }
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

} // namespace

class tst_host_widgets : public TestSupport::HostTestCase
{
    Q_OBJECT

    QStringList asked;
    UnsavedAnswer answer = UnsavedAnswer::Stay;

    template<typename T = QWidget> T *hostWidget(const QString &name) const { return window->findChild<T *>(name); }
    template<typename T = QLineEdit> T *pageWidget(const QString &name) const
    {
        return window->page() ? window->page()->findChild<T *>(name) : nullptr;
    }
    QTreeWidget *tree() const { return hostWidget<QTreeWidget>(QStringLiteral("hostTree")); }
    QTreeWidgetItem *inputItem(int device, int input) const { return tree()->topLevelItem(device)->child(input); }
    void clickItem(QTreeWidgetItem *item) const
    {
        tree()->scrollToItem(item);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, tree()->visualItemRect(item).center());
    }
    // Clicks a field and types into it, as a user does.
    static void type(QLineEdit *field, const QString &text)
    {
        QTest::mouseClick(field, Qt::LeftButton);
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    QString stored(const QString &block, const QString &cp, bool onVariable = false) const
    {
        return Sim::Network::load(sim->databasePath())->storedCpText(Controller, block, cp, onVariable);
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
    void afterWindow() override
    {
        asked.clear();
        answer = UnsavedAnswer::Stay;
        setUnsavedQuestion([this](QWidget *, const QString &what) {
            asked << what;
            return answer;
        });
    }

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

    void buttonsOpenTheirDialogs_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("save as input type") << "hostSaveAsInputType";
        QTest::newRow("copy to inputs") << "hostCopyToInputs";
    }
    // The dialog, opened by a click, is filled in and confirmed through its widgets; the files
    // say what happened. (Alt+Y and Alt+O open them in tst_host_journey.)
    void buttonsOpenTheirDialogs()
    {
        QFETCH(QString, button);
        const QString source = QStringLiteral("HwInput[0]");
        QString chosen; // the input type saved, or the input copied to
        seams->setModalDriver([&](QDialog &dialog) {
            dialog.setWindowModality(Qt::ApplicationModal); // as it runs
            dialog.show();
            dialog.activateWindow();
            // A dialog counts as active with its parent; the keys need it active itself.
            if (!QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; }))
                return int(QDialog::Rejected);
            if (qobject_cast<SaveAsInputTypeDialog *>(&dialog)) {
                auto types = dialog.findChild<QComboBox *>(QStringLiteral("hostSaveAsType"));
                types->setFocus();
                QTest::keyClick(types, Qt::Key_Down); // the next type
                chosen = types->currentText();
                QTest::keyClick(&dialog, Qt::Key_S, Qt::AltModifier); // &Save
            } else if (qobject_cast<CopyToInputsDialog *>(&dialog)) {
                auto targets = dialog.findChild<QTreeWidget *>(QStringLiteral("hostCopyTargets"));
                targets->setFocus();
                targets->setCurrentItem(targets->topLevelItem(0)->child(0));
                chosen = targets->currentItem()->text(0);
                if (targets->topLevelItem(0)->text(0) != Controller
                    || stored(chosen, QStringLiteral("UCPTinputSignalType"))
                        == stored(source, QStringLiteral("UCPTinputSignalType")))
                    chosen.clear(); // a copy would change nothing to see
                QTest::keyClick(targets, Qt::Key_Space); // ticks it
                QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("hostCopyOk")), Qt::LeftButton);
            }
            (void)QTest::qWaitFor([&] { return !dialog.isVisible(); }, 2000);
            return dialog.result();
        });
        const QByteArray before = [this] {
            QFile file(defaultsFile());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        QTest::mouseClick(hostWidget<QPushButton>(button), Qt::LeftButton);
        QTRY_COMPARE(seams->modalCount(), 1);
        QVERIFY(!chosen.isEmpty());
        if (button == QLatin1String("hostSaveAsInputType")) {
            QFile file(defaultsFile());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray after = file.readAll();
            QVERIFY2(after != before, qPrintable(window->logText() + seams->messageTexts().join('\n')));
            QVERIFY2(after.toLower().contains('[' + chosen.toLower().toUtf8() + ']'), after.constData());
            QVERIFY2(window->logText().contains(source + QStringLiteral(": saved as input type ") + chosen),
                qPrintable(window->logText()));
        } else {
            QCOMPARE(stored(chosen, QStringLiteral("UCPTinputSignalType")),
                stored(source, QStringLiteral("UCPTinputSignalType")));
            for (const char *cp : { "SCPTmaxRnge", "UCPToffset" })
                QCOMPARE(stored(chosen, QLatin1String(cp)).toDouble(), stored(source, QLatin1String(cp)).toDouble());
            QCOMPARE(seams->messageCount(), 1); // the summary
        }
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
        // An override typed in the view reaches the page and, with Apply, the database.
        type(viewOverride, QStringLiteral("3.5"));
        QCOMPARE(pageWidget(QStringLiteral("txtOver"))->text(), QStringLiteral("3.5"));
        QVERIFY(window->isWindowModified());
        QTest::mouseClick(hostWidget<QPushButton>(QStringLiteral("hostApply")), Qt::LeftButton);
        QCOMPARE(stored(block, QStringLiteral("SCPTovrValue"), true).toDouble(), 3.5);
    }

    void stayKeepsTreeAndPageTogether_data()
    {
        QTest::addColumn<bool>("mouse");
        QTest::newRow("clicked") << true;
        QTest::newRow("Down") << false;
    }
    void stayKeepsTreeAndPageTogether()
    {
        QFETCH(bool, mouse);
        type(pageWidget(QStringLiteral("txtOff")), QStringLiteral("1.5"));
        if (mouse) {
            clickItem(inputItem(0, 1));
        } else {
            tree()->setFocus();
            QTest::keyClick(tree(), Qt::Key_Down);
        }
        QCOMPARE(asked.size(), 1);
        QCoreApplication::processEvents();
        const QString shown = QStringLiteral("HwInput[0]");
        QCOMPARE(window->page()->input().block, shown);
        QCOMPARE(tree()->currentItem(), inputItem(0, 0));
        const auto selected = tree()->selectedItems();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first()->text(0), shown);
        QVERIFY2(
            window->statusBar()->currentMessage().endsWith(shown), qPrintable(window->statusBar()->currentMessage()));
        QCOMPARE(pageWidget(QStringLiteral("txtOff"))->text(), QStringLiteral("1.5"));
        QVERIFY(window->isWindowModified());
    }

    void reloadAsksAboutReloading()
    {
        type(pageWidget(QStringLiteral("txtOff")), QStringLiteral("1.5"));
        // File > Reload with the keyboard.
        QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
        press(Qt::Key_R);
        QTRY_COMPARE(asked.size(), 1);
        QCOMPARE(asked.first(), QStringLiteral("reload the database"));
        QCOMPARE(pageWidget(QStringLiteral("txtOff"))->text(), QStringLiteral("1.5"));
    }

    void mnemonicsAreUnique_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("en") << "en";
        QTest::newRow("de") << "de";
    }
    // Alt and a letter reach one widget of the window, in every language.
    void mnemonicsAreUnique()
    {
        QFETCH(QString, language);
        window->setLanguage(language);
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
};

QTEST_MAIN(tst_host_widgets)
#include "tst_host_widgets.moc"
