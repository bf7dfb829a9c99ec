// SPDX-License-Identifier: MIT
// A commissioning session on a copy of the sample network, walked through the host's widgets
// as an engineer walks it: open the database, pick an input in the tree, edit both controls,
// Preview, Apply, Cancel, OK, Reload, switch units and language, the table editor, Watch, an
// input type's defaults, Save as input type, Copy to inputs, a second view, and quitting with
// edits not written. The keyboard is used where a user uses it (mnemonics, menus, shortcuts,
// Enter and Esc, also with a list open); after every confirmation the database file must hold
// exactly what was confirmed, and after every cancel nothing new. docs/host.md lists which
// test drives each button, menu entry and key of the window and its dialogs.
#include "support/HostTestCase.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>

using namespace Host;

namespace {

const QString Controller = QStringLiteral("HWI-Controller 1");

// A stored value as text; the members of a structure separated by spaces.
QString text(const QJsonValue &value)
{
    QStringList members;
    for (const QJsonValue &member : value.toArray())
        members << member.toVariant().toString();
    return value.isArray() ? members.join(QLatin1Char(' ')) : value.toVariant().toString();
}

// The user's data of a database file: "HwInput[3].cps.SCPTminRnge", "HwInput[3].nv.SCPTovrValue",
// "HwInput[3].nv.name" (the first device's inputs) with their stored texts.
QMap<QString, QString> userData(const QString &path)
{
    QMap<QString, QString> data;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return data;
    const QJsonArray devices
        = QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("devices")).toArray();
    for (const QJsonValue &device : devices) {
        if (device.toObject().value(QStringLiteral("name")).toString() != Controller)
            continue;
        for (const QJsonValue &block : device.toObject().value(QStringLiteral("blocks")).toArray()) {
            const QString name = block.toObject().value(QStringLiteral("name")).toString();
            const QJsonObject cps = block.toObject().value(QStringLiteral("cps")).toObject();
            for (auto it = cps.begin(); it != cps.end(); ++it)
                data[name + QStringLiteral(".cps.") + it.key()] = text(it.value());
            const QJsonObject nv = block.toObject().value(QStringLiteral("nvs")).toArray().first().toObject();
            data[name + QStringLiteral(".nv.name")] = nv.value(QStringLiteral("name")).toString();
            const QJsonObject nvCps = nv.value(QStringLiteral("cps")).toObject();
            for (auto it = nvCps.begin(); it != nvCps.end(); ++it)
                data[name + QStringLiteral(".nv.") + it.key()] = text(it.value());
        }
    }
    return data;
}

// What the file holds now that it did not hold before, key by key.
QMap<QString, QString> changes(const QMap<QString, QString> &before, const QMap<QString, QString> &after)
{
    QMap<QString, QString> changed;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (before.value(it.key()) != it.value())
            changed[it.key()] = it.value();
    }
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!after.contains(it.key()))
            changed[it.key()] = QStringLiteral("(gone)");
    }
    return changed;
}

QString listed(const QMap<QString, QString> &map)
{
    QStringList lines;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        lines << it.key() + QStringLiteral(" = ") + it.value();
    return lines.join(QStringLiteral("; "));
}

// Makes the target input of the first device a twin of the source, its own names kept, so
// that the source's configuration can be copied there. False when the file is not as expected.
bool makeTwin(const QString &path, const QString &source, const QString &target)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    QJsonArray devices = root.value(QStringLiteral("devices")).toArray();
    QJsonObject device = devices.first().toObject();
    QJsonArray blocks = device.value(QStringLiteral("blocks")).toArray();
    QJsonObject twin, old;
    int at = -1;
    for (int i = 0; i < blocks.size(); ++i) {
        const QString name = blocks.at(i).toObject().value(QStringLiteral("name")).toString();
        if (name == source)
            twin = blocks.at(i).toObject();
        if (name == target)
            old = blocks.at(at = i).toObject();
    }
    if (device.value(QStringLiteral("name")).toString() != Controller || twin.isEmpty() || at < 0)
        return false;
    QJsonArray nvs = twin.value(QStringLiteral("nvs")).toArray();
    QJsonObject nv = nvs.first().toObject();
    const QJsonObject oldNv = old.value(QStringLiteral("nvs")).toArray().first().toObject();
    for (const char *key : { "name", "programmaticName" })
        nv[QLatin1String(key)] = oldNv.value(QLatin1String(key));
    nvs[0] = nv;
    twin[QStringLiteral("nvs")] = nvs;
    twin[QStringLiteral("name")] = target;
    blocks[at] = twin;
    device[QStringLiteral("blocks")] = blocks;
    devices[0] = device;
    root[QStringLiteral("devices")] = devices;
    file.resize(0);
    return file.write(QJsonDocument(root).toJson()) > 0;
}

// A value of an input-defaults section ("SCPTmaxRnge = 50 °C" gives "50 °C").
QString sectionValue(const QString &file, const QString &section, const QString &key)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    bool inside = false;
    for (const QString &line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')))
            inside = trimmed.compare(QLatin1Char('[') + section + QLatin1Char(']'), Qt::CaseInsensitive) == 0;
        else if (inside && trimmed.section(QLatin1Char('='), 0, 0).trimmed() == key)
            return trimmed.section(QLatin1Char('='), 1).section(QLatin1Char(';'), 0, 0).trimmed();
    }
    return QString();
}

double number(const QString &text)
{
    return text.section(QLatin1Char(' '), 0, 0).toDouble();
}

// A stored value and a value of a defaults file agree: the same number, or the same name.
bool same(const QString &a, const QString &b)
{
    const auto first = [](QString text) { return text.remove(QLatin1Char('(')).section(QLatin1Char(' '), 0, 0); };
    bool isNumber = false, alsoNumber = false;
    const double x = first(a).toDouble(&isNumber);
    const double y = first(b).toDouble(&alsoNumber);
    return isNumber && alsoNumber ? qFuzzyCompare(1 + x, 1 + y) : a.compare(b, Qt::CaseInsensitive) == 0;
}

// A defaults section holds what an input stores (on the block or on its variable); a warning
// names each difference.
bool sameDefaults(const QString &file, const QString &section, const QMap<QString, QString> &data, const QString &block)
{
    bool all = true;
    for (const QString property : { "UCPTinputSignalType", "SCPTmaxRnge", "SCPTmaxSendTime" }) {
        const QString wanted = sectionValue(file, section, property);
        const QString held = data.value(block + ".cps." + property, data.value(block + ".nv." + property));
        if (!same(held, wanted)) {
            qWarning("%s: %s, not %s", qPrintable(property), qPrintable(held), qPrintable(wanted));
            all = false;
        }
    }
    return all;
}

// One session: the input, how it is walked, the edits made and where each is stored.
struct Session
{
    int input; // HwInput[n] of the first device
    bool treeByKeyboard;
    QString field, typed, fieldStores; // a hardware field: typed into, or ticked with Space
    QString list, listStores; // a list of the hardware control: opened, one down or up, Enter
    QString nvField, nvTyped, nvStores; // a field of the network control, typed into
    int tableCell; // a cell of the table editor, typed into (-1: no table)
    QString tableTyped;
    QString inputType; // whose defaults are applied
    int copyTarget; // the input given the source's variable type to copy to
    Qt::Key quitAnswer; // Alt+W(rite), Alt+D(iscard) or Esc (stay, then OK)
};

} // namespace

Q_DECLARE_METATYPE(Session)

// Waits up to five seconds for a condition, looking every few milliseconds: QTRY_VERIFY looks
// every 50, which a session of a dozen mnemonic clicks (each 100 ms) pays again and again.
#define VERIFY_SOON(expr) QVERIFY2(QTest::qWaitFor([&] { return bool(expr); }, 5000), #expr)

class tst_host_journey : public TestSupport::HostTestCase
{
    Q_OBJECT

    // The modal dialogs still to come, each answered by its own step, in order.
    QList<std::function<void(QDialog &)>> dialogs;
    QStringList unexpectedDialogs;
    Qt::Key answerKey = Qt::Key_Escape; // how the question is answered: Alt+W, Alt+D or Esc

    QTreeWidget *tree() const { return hostWidget<QTreeWidget>(QStringLiteral("hostTree")); }
    QMap<QString, QString> stored() const { return userData(sim->databasePath()); }

    // The key goes where a user's key goes: into the open list, else the focused widget,
    // else the active window.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget *to = QApplication::activePopupWidget();
        if (to && to->focusWidget())
            to = to->focusWidget();
        if (!to)
            to = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
        QVERIFY2(to, "no window is active");
        QTest::keyClick(to, key, modifiers);
    }
    // Alt and a letter: a button's mnemonic clicks it a moment later, once seen pressed.
    static void alt(Qt::Key key)
    {
        press(key, Qt::AltModifier);
        const auto anyDown = [] {
            const QWidgetList widgets = QApplication::allWidgets();
            return std::any_of(widgets.cbegin(), widgets.cend(), [](QWidget *w) {
                auto button = qobject_cast<QAbstractButton *>(w);
                return button && button->isDown();
            });
        };
        VERIFY_SOON(!anyDown());
    }
    // Offscreen a popup or dialog that closes leaves no window active; a window manager
    // activates the window below.
    static bool activate(QWidget *below)
    {
        QCoreApplication::processEvents();
        below->activateWindow();
        return QTest::qWaitFor([below] { return QApplication::activeWindow() == below; }, 2000);
    }
    // A list opened with the mouse, the keys pressed in it; it closes and the window stays.
    void inOpenList(QComboBox *choices, std::initializer_list<Qt::Key> keys)
    {
        QTest::mouseClick(choices, Qt::LeftButton);
        VERIFY_SOON(QApplication::activePopupWidget());
        for (Qt::Key key : keys)
            press(key);
        QVERIFY(window->isVisible());
        VERIFY_SOON(!QApplication::activePopupWidget());
        QVERIFY(activate(window.get()));
    }
    // Clicks into a field and types over its text.
    static void type(QLineEdit *field, const QString &text)
    {
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
    }
    // A modal dialog as it runs: shown, active, keys reaching it.
    static bool showActive(QDialog &dialog)
    {
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.show();
        dialog.activateWindow();
        return QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; });
    }
    // The file dialog's name field, typed into and confirmed with Enter.
    static void chooseFile(QDialog &dialog, const QString &path)
    {
        auto files = qobject_cast<QFileDialog *>(&dialog);
        QVERIFY(files);
        auto name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        // Without Qt's completion list: it fills in as the folder is read, at its own time.
        name->setCompleter(nullptr);
        name->setFocus();
        QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(name, path);
        QTest::keyClick(name, Qt::Key_Return);
    }
    void expectDialog(std::function<void(QDialog &)> step) { dialogs << std::move(step); }

public:
    tst_host_journey()
    {
        host.inputDefaults = true;
        host.recordSeams = true;
        host.size = QSize(1250, 680);
        host.waitActive = true;
        host.open = false;
    }

protected:
    void beforeWindow() override
    {
        dialogs.clear();
        unexpectedDialogs.clear();
        seams->setModalDriver([this](QDialog &dialog) {
            if (auto files = qobject_cast<QFileDialog *>(&dialog))
                files->setOption(QFileDialog::DontUseNativeDialog);
            if (dialogs.isEmpty() || !showActive(dialog)) {
                unexpectedDialogs << dialog.metaObject()->className() + QStringLiteral(" ") + dialog.windowTitle();
                return int(QDialog::Rejected);
            }
            const auto step = dialogs.takeFirst();
            step(dialog);
            (void)QTest::qWaitFor([&] { return !dialog.isVisible(); }, 2000);
            if (dialog.parentWidget())
                activate(dialog.parentWidget()->window());
            return dialog.result();
        });
        // The unsaved-changes question as its box, answered with a key.
        asked.clear();
        setUnsavedQuestion([this](QWidget *parent, const QString &what) {
            asked << what;
            const auto box = unsavedQuestionBox(parent, what);
            if (!showActive(*box))
                return UnsavedAnswer::Stay;
            QTest::keyClick(box.get(), answerKey, answerKey == Qt::Key_Escape ? Qt::NoModifier : Qt::AltModifier);
            (void)QTest::qWaitFor([&] { return !box->isVisible(); }, 2000);
            activate(parent->window());
            const QAbstractButton *clicked = box->clickedButton();
            return clicked ? UnsavedAnswer(clicked->property("answer").toInt()) : UnsavedAnswer::Stay;
        });
    }

private slots:
    void session_data()
    {
        QTest::addColumn<Session>("row");
        // The thermistor input by mouse, quit: write.
        QTest::newRow("thermistor HwInput[0]")
            << Session { 0, false, "txtOff", "1.5", "cps.UCPToffset", "cboTherm", "cps.UCPTthermistorType", "txtHeart",
                   "120", "nv.SCPTmaxSendTime", -1, "", "Supply_Temp_PT1000", 8, Qt::Key_W };
        QTest::newRow("linear HwInput[1], keyboard, quit: discard")
            << Session { 1, true, "txtMax", "80", "cps.SCPTmaxRnge", "cboSignal", "cps.UCPTinputSignalType", "txtOver",
                   "3.5", "nv.SCPTovrValue", -1, "", "Humidity_0_10V", 12, Qt::Key_D };
        QTest::newRow("digital HwInput[2], keyboard, quit: stay, then OK")
            << Session { 2, true, "chkReverse", "", "cps.UCPThwInOptions", "cboSignal", "cps.UCPTinputSignalType",
                   "txtHeart", "90", "nv.SCPTmaxSendTime", -1, "", "Window_Contact", 8, Qt::Key_Escape };
        QTest::newRow("set-point offset HwInput[10], mouse, quit: discard")
            << Session { 10, false, "txtMax", "4", "cps.SCPTmaxRnge", "cboSignal", "cps.UCPTinputSignalType",
                   "txtHeart", "45", "nv.SCPTmaxSendTime", -1, "", "Room_Temp_NTC10k", 12, Qt::Key_D };
        QTest::newRow("multi-level HwInput[3], mouse, table, quit: write")
            << Session { 3, false, "", "", "", "cboSignal", "cps.UCPTinputSignalType", "txtHeart", "45",
                   "nv.SCPTmaxSendTime", 5, "2", "Occupancy_Button", 12, Qt::Key_W };
    }

    void session()
    {
        QFETCH(Session, row);
        // Lambdas below read `row`: structured bindings cannot be captured before C++20.
        const auto &[input, treeByKeyboard, field, typed, fieldStores, list, listStores, nvField, nvTyped, nvStores,
            tableCell, tableTyped, inputType, copyTarget, quitAnswer]
            = row;
        const QString block = QStringLiteral("HwInput[%1]").arg(input);
        const QString key = block + QLatin1Char('.');
        const QString target = QStringLiteral("HwInput[%1]").arg(copyTarget);
        // A copy goes only to an input like the source: its variable of the same type.
        QVERIFY(makeTwin(sim->databasePath(), block, target));
        Sim::Network::load(sim->databasePath())->save(); // written as the host writes it

        // File > Open database (Ctrl+O): the path typed into the file dialog, Enter.
        expectDialog([this](QDialog &dialog) { chooseFile(dialog, sim->databasePath()); });
        press(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(window->databasePath(), sim->databasePath());
        QCOMPARE(tree()->topLevelItemCount(), 2);

        // The input, picked in the tree.
        if (treeByKeyboard) {
            tree()->setFocus();
            for (int i = 0; i < input; ++i)
                press(Qt::Key_Down);
        } else {
            QTreeWidgetItem *item = tree()->topLevelItem(0)->child(input);
            tree()->scrollToItem(item);
            QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, tree()->visualItemRect(item).center());
        }
        QCOMPARE(window->currentInput(), block);
        QVERIFY(window->page());
        QCOMPARE(window->page()->input().block, block);
        QVERIFY(!window->isWindowModified());

        // Both controls edited: a field, a list opened with the mouse (Enter takes the choice
        // and nothing else), a field of the network side.
        if (field.isEmpty()) {
            // nothing typed on the hardware side: its list and table are its edits
        } else if (field.startsWith(QLatin1String("chk"))) {
            auto box = pageWidget<QCheckBox>(field);
            QVERIFY2(box && box->isVisible(), qPrintable(field));
            box->setFocus();
            press(Qt::Key_Space);
        } else {
            auto line = pageWidget(field);
            QVERIFY2(line && line->isVisible() && line->isEnabled(), qPrintable(field));
            type(line, typed);
        }
        auto choices = pageWidget<QComboBox>(list);
        QVERIFY2(choices && choices->isVisible() && choices->count() > 1, qPrintable(list));
        const int chosen = choices->currentIndex() + 1 < choices->count() ? choices->currentIndex() + 1 : 0;
        inOpenList(choices, { chosen ? Qt::Key_Down : Qt::Key_Home, Qt::Key_Return });
        QVERIFY(window->isVisible());
        QCOMPARE(window->savesDone(), 0);
        QCOMPARE(choices->currentIndex(), chosen);
        const QString listChosen = choices->currentText();
        auto nv = pageWidget(nvField);
        QVERIFY2(nv && nv->isVisible() && nv->isEnabled(), qPrintable(nvField));
        type(nv, nvTyped);
        QVERIFY(window->isWindowModified());
        const bool ticked = field.startsWith(QLatin1String("chk")) && pageWidget<QCheckBox>(field)->isChecked();

        // Preview (Alt+P) lists the edits and writes nothing; the dialog closes with Esc or Close.
        auto before = stored();
        QStringList previewed;
        expectDialog([&](QDialog &dialog) {
            auto table = dialog.findChild<QTableWidget *>(QStringLiteral("hostPreviewTable"));
            for (int r = 0; table && r < table->rowCount(); ++r)
                previewed << table->item(r, 0)->text();
            if (row.treeByKeyboard)
                press(Qt::Key_Escape);
            else
                QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("hostPreviewClose")), Qt::LeftButton);
        });
        alt(Qt::Key_P);
        QCOMPARE(seams->modalCount(), 2);
        QStringList edited { listStores, nvStores };
        if (!field.isEmpty())
            edited << fieldStores;
        for (const QString &cp : std::as_const(edited)) {
            const QString name = cp.section(QLatin1Char('.'), 1);
            QVERIFY2(
                std::any_of(previewed.cbegin(), previewed.cend(), [&](const QString &p) { return p.contains(name); }),
                qPrintable(name + QStringLiteral(" not in ") + previewed.join(", ")));
        }
        QCOMPARE(stored(), before);
        QVERIFY(window->isWindowModified());

        // Apply (Alt+A): the three edits are stored, nothing else.
        alt(Qt::Key_A);
        QVERIFY(!window->isWindowModified());
        auto changed = changes(before, stored());
        QStringList expected;
        for (const QString &cp : std::as_const(edited))
            expected << key + cp;
        expected.sort();
        QVERIFY2(QStringList(changed.keys()) == expected, qPrintable(listed(changed)));
        if (!typed.isEmpty() && !field.isEmpty())
            QCOMPARE(number(changed.value(key + fieldStores)), typed.toDouble());
        QCOMPARE(number(changed.value(key + nvStores)), nvTyped.toDouble());
        QCOMPARE(pageWidget<QComboBox>(list)->currentText(), listChosen);
        if (field.startsWith(QLatin1String("chk")))
            QCOMPARE(pageWidget<QCheckBox>(field)->isChecked(), ticked);

        // File > Reload (F5) shows the same input as the file holds it, asking nothing.
        press(Qt::Key_F5);
        QVERIFY(asked.isEmpty());
        QCOMPARE(window->currentInput(), block);
        QCOMPARE(number(pageWidget(nvField)->text()), nvTyped.toDouble());

        // Cancel: an edit, a list opened and closed with Esc (the edit stays), then Esc or Cancel
        // forgets it.
        before = stored();
        type(pageWidget(nvField), QStringLiteral("7"));
        inOpenList(pageWidget<QComboBox>(list), { Qt::Key_Escape });
        QVERIFY(window->isWindowModified());
        QCOMPARE(pageWidget(nvField)->text(), QStringLiteral("7"));
        if (treeByKeyboard)
            press(Qt::Key_Escape);
        else
            QTest::mouseClick(hostWidget<QPushButton>(QStringLiteral("hostCancel")), Qt::LeftButton);
        QVERIFY(!window->isWindowModified());
        QCOMPARE(number(pageWidget(nvField)->text()), nvTyped.toDouble());
        QCOMPARE(stored(), before);

        // Units (Alt+U), language (Alt+L) and the interpretations offered (Alt+I), a key in each
        // list and back: nothing is marked or stored.
        const QString shown = pageWidget(nvField)->text();
        for (const auto &[name, mnemonic] :
            { std::pair { "hostUnits", Qt::Key_U }, { "hostLanguage", Qt::Key_L }, { "hostChoice", Qt::Key_I } }) {
            auto options = hostWidget<QComboBox>(QLatin1String(name));
            const QString applyText = hostWidget<QPushButton>(QStringLiteral("hostApply"))->text();
            const int was = options->currentIndex();
            press(mnemonic, Qt::AltModifier);
            QCOMPARE(QApplication::focusWidget(), options);
            press(was + 1 < options->count() ? Qt::Key_Down : Qt::Key_Up);
            QVERIFY(options->currentIndex() != was);
            QVERIFY(!window->isWindowModified());
            if (mnemonic == Qt::Key_L) // the window's own texts follow
                QVERIFY(hostWidget<QPushButton>(QStringLiteral("hostApply"))->text() != applyText);
            press(was + 1 < options->count() ? Qt::Key_Up : Qt::Key_Down);
            QCOMPARE(options->currentIndex(), was);
            QCOMPARE(hostWidget<QPushButton>(QStringLiteral("hostApply"))->text(), applyText);
        }
        QCOMPARE(pageWidget(nvField)->text(), shown);
        QVERIFY(!window->isWindowModified());
        QCOMPARE(stored(), before);

        // The table editor: a cell typed into, OK; Apply stores the table with that cell.
        if (tableCell >= 0) {
            expectDialog([&](QDialog &dialog) {
                auto cell = dialog.findChild<QLineEdit *>(QStringLiteral("txtTable_%1").arg(row.tableCell));
                QVERIFY(cell);
                type(cell, row.tableTyped);
                QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
            });
            QTest::mouseClick(pageWidget<QPushButton>(QStringLiteral("cmdTable")), Qt::LeftButton);
            QVERIFY(window->isWindowModified());
            alt(Qt::Key_A);
            changed = changes(before, stored());
            QCOMPARE(changed.keys(), QStringList { key + QStringLiteral("cps.UCPTtransTable") });
            QCOMPARE(changed.first().split(QLatin1Char(' ')).value(tableCell), tableTyped);
            before = stored();
        }

        // Watch (Alt+W) and Get Value while the values move: nothing is marked or stored.
        alt(Qt::Key_W);
        QVERIFY(window->watching());
        auto get = pageWidget<QPushButton>(QStringLiteral("cmdValue"));
        QVERIFY(get && get->isVisible());
        QTest::mouseClick(get, Qt::LeftButton);
        QVERIFY(!window->isWindowModified());
        QTest::mouseClick(hostWidget<QPushButton>(QStringLiteral("hostWatch")), Qt::LeftButton);
        QVERIFY(!window->watching());
        press(Qt::Key_Escape); // Cancel
        QCOMPARE(stored(), before);

        // Input type (Alt+T, its name typed), its deviations marked (Alt+M), Apply defaults (Alt+D),
        // the question confirmed with Enter: the defaults are stored and no field deviates.
        const QString defaultsFile = sim->tempPath() + QStringLiteral("/CommonFiles/InputDefaultValues.ini");
        alt(Qt::Key_T);
        QTest::keyClicks(QApplication::focusWidget(), inputType);
        QCOMPARE(hostWidget<QComboBox>(QStringLiteral("hostInputType"))->currentText().toLower(), inputType.toLower());
        alt(Qt::Key_M);
        QVERIFY(hostWidget<QCheckBox>(QStringLiteral("hostMarkDeviations"))->isChecked());
        QVERIFY(!window->deviations()->marks().isEmpty());
        expectDialog([](QDialog &) { press(Qt::Key_Return); });
        alt(Qt::Key_D);
        QVERIFY(dialogs.isEmpty());
        QVERIFY2(window->deviations()->marks().isEmpty(), qPrintable(window->deviations()->problem()));
        auto data = stored();
        QVERIFY2(sameDefaults(defaultsFile, inputType, data, block), qPrintable(defaultsFile));

        // Save as input type (Alt+Y): Browse (Alt+B) to a new file, Save (Alt+S).
        const QString mine = sim->tempPath() + QStringLiteral("/mine.ini");
        QString savedType;
        expectDialog([&](QDialog &dialog) {
            savedType = dialog.findChild<QComboBox *>(QStringLiteral("hostSaveAsType"))->currentText();
            alt(Qt::Key_B);
            QCOMPARE(dialog.findChild<QLineEdit *>(QStringLiteral("hostSaveAsFile"))->text(),
                QDir::toNativeSeparators(mine));
            alt(Qt::Key_S);
        });
        expectDialog([&](QDialog &dialog) { chooseFile(dialog, mine); });
        alt(Qt::Key_Y);
        QVERIFY(dialogs.isEmpty());
        QCOMPARE(savedType.toLower(), inputType.toLower());
        QVERIFY2(window->logText().contains(block + QStringLiteral(": saved as input type ") + savedType),
            qPrintable(window->logText()));
        QVERIFY2(sameDefaults(mine, savedType, data, block), qPrintable(mine));

        // Copy to inputs (Alt+O): the target ticked with Space, Copy (Alt+C or clicked).
        data = stored();
        QVERIFY(std::any_of(edited.cbegin(), edited.cend(), [&](const QString &property) {
            return data.value(target + QLatin1Char('.') + property) != data.value(key + property);
        }));
        expectDialog([&](QDialog &dialog) {
            auto targets = dialog.findChild<QTreeWidget *>(QStringLiteral("hostCopyTargets"));
            QTreeWidgetItem *item = nullptr;
            for (QTreeWidgetItem *found : targets->findItems(target, Qt::MatchExactly | Qt::MatchRecursive)) {
                if (found->parent() && found->parent()->text(0) == Controller)
                    item = found;
            }
            QVERIFY(item);
            targets->setFocus();
            targets->setCurrentItem(item);
            press(Qt::Key_Space);
            if (row.treeByKeyboard)
                alt(Qt::Key_C);
            else
                QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("hostCopyOk")), Qt::LeftButton);
        });
        alt(Qt::Key_O);
        QVERIFY(dialogs.isEmpty());
        QCOMPARE(seams->messageCount(), 1); // the summary
        data = stored();
        for (const QString &property : std::as_const(edited))
            QCOMPARE(data.value(target + QLatin1Char('.') + property), data.value(key + property));

        // The second view (Alt+S, or View > Second view) follows the input chosen next in the tree (Down).
        if (treeByKeyboard) {
            press(Qt::Key_V, Qt::AltModifier);
            VERIFY_SOON(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
            press(Qt::Key_S);
        } else {
            alt(Qt::Key_S);
        }
        const auto views = window->findChildren<NetworkView *>();
        QCOMPARE(views.size(), 1);
        QVERIFY(activate(window.get()));
        tree()->setFocus();
        press(Qt::Key_Down);
        const QString next = QStringLiteral("HwInput[%1]").arg(input + 1);
        QCOMPARE(window->currentInput(), next);
        QCOMPARE(views.first()->input().block, next);

        // File > Quit (Alt+F, Q) with an edit not written; the question is answered with a key.
        before = stored();
        answerKey = quitAnswer;
        type(pageWidget(QStringLiteral("txtHeart")), QStringLiteral("77"));
        press(Qt::Key_F, Qt::AltModifier);
        VERIFY_SOON(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
        press(Qt::Key_Q);
        QCOMPARE(asked, QStringList { QStringLiteral("quit") });
        if (answerKey == Qt::Key_Escape) { // stayed: all as it was, then OK (Enter) writes and closes
            QVERIFY(window->isVisible());
            QVERIFY(window->isWindowModified());
            QCOMPARE(tree()->currentItem()->text(0), window->page()->input().block);
            QCOMPARE(pageWidget(QStringLiteral("txtHeart"))->text(), QStringLiteral("77"));
            QCOMPARE(stored(), before);
            press(Qt::Key_Return);
        }
        QVERIFY(!window->isVisible());
        changed = changes(before, stored());
        if (answerKey == Qt::Key_D)
            QVERIFY2(changed.isEmpty(), qPrintable(listed(changed)));
        else
            QVERIFY2(changed.keys() == QStringList { next + QStringLiteral(".nv.SCPTmaxSendTime") }
                    && number(changed.first()) == 77,
                qPrintable(listed(changed)));
        QVERIFY2(unexpectedDialogs.isEmpty(), qPrintable(unexpectedDialogs.join(", ")));
    }
};

QTEST_MAIN(tst_host_journey)
#include "tst_host_journey.moc"
