// SPDX-License-Identifier: MIT
// Running a script's commands on the host window.
#include "ScriptRunner.h"

#include "HostWindow.h"
#include "ScriptFeatures.h"
#include "ScriptMessages.h"
#include "device/sim/SimNetwork.h"
#include "shared/Enumerations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QTextStream>
#include <QTreeWidget>

namespace Host {

namespace {

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString jsonValue(const QJsonValue &value)
{
    // Arrays serialise every value type; drop the brackets around the one element.
    const QByteArray text = QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(text.mid(1, text.size() - 2));
}

// Names compare as the host's tree does, without regard to case.
QString findName(const QStringList &names, const QString &name)
{
    for (const QString &candidate : names) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return candidate;
    }
    return QString();
}

QString listed(const QStringList &names)
{
    QStringList quotedNames;
    for (const QString &name : names)
        quotedNames << quoted(name);
    return quotedNames.isEmpty() ? QStringLiteral("none") : quotedNames.join(QStringLiteral(", "));
}

QString kindOf(const QWidget *widget)
{
    if (qobject_cast<const QLineEdit *>(widget))
        return QStringLiteral("a text field (use set)");
    if (qobject_cast<const QComboBox *>(widget))
        return QStringLiteral("a list (use choose)");
    if (qobject_cast<const QCheckBox *>(widget))
        return QStringLiteral("a check box (use tick)");
    return QStringLiteral("a %1").arg(QString::fromLatin1(widget->metaObject()->className()));
}

// A button's caption as it reads: "&Apply" shows "Apply", "&&" one ampersand.
QString withoutMnemonic(const QString &text)
{
    QString shown;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        shown += text.at(i);
    }
    return shown;
}

// What a field shows: a text field's or list's text, a check box as on/off, a caption.
bool shownText(const QWidget *widget, QString &text)
{
    if (auto edit = qobject_cast<const QLineEdit *>(widget))
        text = edit->text();
    else if (auto combo = qobject_cast<const QComboBox *>(widget))
        text = combo->currentText();
    else if (auto box = qobject_cast<const QAbstractButton *>(widget); box && box->isCheckable())
        text = box->isChecked() ? QStringLiteral("on") : QStringLiteral("off");
    else if (auto button = qobject_cast<const QAbstractButton *>(widget))
        text = withoutMnemonic(button->text());
    else if (auto label = qobject_cast<const QLabel *>(widget))
        text = label->text();
    else if (auto frame = qobject_cast<const QGroupBox *>(widget))
        text = frame->title();
    else
        return false;
    return true;
}

} // namespace

QString ScriptRunSummary::text(const QString &scriptName) const
{
    QString line = failures.isEmpty()
        ? QStringLiteral("vqhost: %1: %2 commands, all succeeded").arg(scriptName).arg(run)
        : QStringLiteral("vqhost: %1: %2 of %3 commands failed: %4")
              .arg(scriptName)
              .arg(failures.size())
              .arg(run)
              .arg(failures.size() <= 5 ? failures.join(QStringLiteral("; "))
                                        : failures.mid(0, 5).join(QStringLiteral("; "))
                          + QStringLiteral("; and %1 more").arg(failures.size() - 5));
    if (notRun > 0)
        line += QStringLiteral("; stopped at line %1, %2 more not run").arg(stoppedAt).arg(notRun);
    if (editsLeft)
        line += QStringLiteral("; the edits of the last input were neither written nor discarded");
    return line;
}

ScriptRunner::ScriptRunner(HostWindow &window, QTextStream &out)
    : m_window(window)
    , m_out(out)
    , m_messages(std::make_unique<ScriptMessages>(window.findChild<QListWidget *>(QStringLiteral("hostLog"))))
{
}

ScriptRunner::~ScriptRunner() = default;

ScriptRunSummary ScriptRunner::run(const QList<ScriptLine> &lines, const QString &database, bool reset)
{
    ScriptRunSummary summary;
    const auto finish = [&](int number, const QString &command, Outcome outcome) {
        QCoreApplication::processEvents(); // what the command queued (a language change) happens within it
        if (outcome.ok && m_messages->critical()) {
            outcome.ok = false;
            outcome.detail += QStringLiteral(" (but a critical message was raised)");
        }
        if (!outcome.ok && m_messages->stayed())
            outcome.detail += QLatin1String("; ") + stayedReason();
        ++summary.run;
        if (!outcome.ok)
            summary.failures << QStringLiteral("line %1: %2").arg(number).arg(outcome.detail);
        print(
            number, command, outcome.ok ? QStringLiteral("ok") : QStringLiteral("failed"), outcome, m_messages->take());
        return outcome.ok;
    };
    const auto skipFrom = [&](int first, int stoppedAt) {
        summary.stoppedAt = stoppedAt;
        for (int j = first; j < lines.size(); ++j) {
            print(lines.at(j).number, lines.at(j).text, QStringLiteral("skipped"),
                { false, QStringLiteral("not run: the script stopped at line %1").arg(stoppedAt), {} }, {});
            ++summary.notRun;
        }
    };
    m_messages->take();
    // The database of the command line, as the window would open it: line 0.
    if (lines.isEmpty() || lines.first().command != QLatin1String("open")) {
        const QString path = database.isEmpty() ? QString() : QFileInfo(database).absoluteFilePath();
        if (!finish(0, QStringLiteral("open %1").arg(path.isEmpty() ? QStringLiteral("(working copy)") : path),
                open(path, reset))) {
            skipFrom(0, 0);
            return summary;
        }
    }
    for (int i = 0; i < lines.size(); ++i) {
        const ScriptLine &line = lines.at(i);
        const bool isExpectation = line.command == QLatin1String("expect");
        if (!finish(line.number, line.text, execute(line)) && !isExpectation) {
            skipFrom(i + 1, line.number);
            break;
        }
    }
    summary.editsLeft = m_window.page() && m_window.page()->valueChanged();
    return summary;
}

void ScriptRunner::print(
    int lineNumber, const QString &command, const QString &result, const Outcome &outcome, const QJsonArray &messages)
{
    // One line per command, its keys in reading order.
    QStringList parts { QStringLiteral("\"line\":%1").arg(lineNumber),
        QStringLiteral("\"command\":") + jsonValue(command), QStringLiteral("\"result\":") + jsonValue(result),
        QStringLiteral("\"detail\":") + jsonValue(outcome.detail) };
    for (auto it = outcome.extra.constBegin(); it != outcome.extra.constEnd(); ++it)
        parts << jsonValue(it.key()) + QLatin1Char(':') + jsonValue(it.value());
    QStringList shownMessages;
    for (const QJsonValue &message : messages) {
        QStringList fields;
        for (const QLatin1String key :
            { QLatin1String("source"), QLatin1String("severity"), QLatin1String("text"), QLatin1String("detail") }) {
            if (message.toObject().contains(key))
                fields << jsonValue(QString(key)) + QLatin1Char(':') + jsonValue(message.toObject().value(key));
        }
        shownMessages << QLatin1Char('{') + fields.join(QLatin1Char(',')) + QLatin1Char('}');
    }
    parts << QStringLiteral("\"messages\":[") + shownMessages.join(QLatin1Char(',')) + QLatin1Char(']');
    m_out << QLatin1Char('{') << parts.join(QLatin1Char(',')) << "}\n";
    m_out.flush();
}

ScriptRunner::Outcome ScriptRunner::execute(const ScriptLine &line)
{
    const QString &c = line.command;
    const QStringList &a = line.arguments;
    const QString first = a.value(0);
    if (c == QLatin1String("open"))
        return open(first.isEmpty() ? QString() : QFileInfo(first).absoluteFilePath(), false);
    if (c == QLatin1String("reload"))
        return reload();
    if (c == QLatin1String("device"))
        return device(first);
    if (c == QLatin1String("input"))
        return a.size() == 2 ? input(a.at(0), a.at(1)) : input(m_window.currentDevice(), first);
    if (c == QLatin1String("inputtype"))
        return inputType(first);
    if (c == QLatin1String("set"))
        return set(first, a.value(1));
    if (c == QLatin1String("choose"))
        return choose(first, a.value(1));
    if (c == QLatin1String("tick"))
        return tick(first, a.value(1));
    if (c == QLatin1String("click"))
        return click(first);
    if (c == QLatin1String("units"))
        return units(first);
    if (c == QLatin1String("language"))
        return language(first);
    if (c == QLatin1String("answer"))
        return answer(first);
    if (c == QLatin1String("preview"))
        return preview();
    if (c == QLatin1String("ok"))
        return ok();
    if (c == QLatin1String("cancel"))
        return cancel();
    if (c == QLatin1String("copy"))
        return copy(a);
    if (c == QLatin1String("expect"))
        return expect(first, a.value(1));
    if (c == QLatin1String("save"))
        return save(first.isEmpty() ? QString() : QFileInfo(first).absoluteFilePath());
    return failed(QStringLiteral("unknown command %1").arg(quoted(c))); // the parser lets none through
}

QString ScriptRunner::stayedReason() const
{
    return QStringLiteral("the input shown has changes that are not written, and the script answers the question "
                          "with stay: write them (ok), forget them (cancel), or say answer write or answer discard");
}

QString ScriptRunner::noPageReason() const
{
    if (!m_window.network())
        return QStringLiteral("no database is open");
    if (!m_window.deviceProblem().isEmpty())
        return QStringLiteral("%1 cannot be configured now: %2")
            .arg(m_window.currentDevice(), m_window.deviceProblem());
    return QStringLiteral("no input is shown; choose one with input");
}

ScriptRunner::Outcome ScriptRunner::open(const QString &path, bool reset)
{
    if (!m_window.openDatabase(path, reset))
        return failed(QStringLiteral("the database %1 was not opened")
                          .arg(path.isEmpty() ? QStringLiteral("(working copy)") : path));
    QString detail = QStringLiteral("opened %1").arg(m_window.databasePath());
    if (!m_window.currentInput().isEmpty())
        detail += QStringLiteral(", showing %1 / %2").arg(m_window.currentDevice(), m_window.currentInput());
    return { true, detail, {} };
}

ScriptRunner::Outcome ScriptRunner::reload()
{
    if (!m_window.network())
        return failed(noPageReason());
    // The window shows the first input afterwards; come back to the one shown.
    const InputRef shown { m_window.currentDevice(), m_window.currentInput() };
    if (!m_window.reloadDatabase())
        return failed(QStringLiteral("the database %1 was not read again").arg(m_window.databasePath()));
    if (!shown.block.isEmpty() && !m_window.selectInput(shown.device, shown.block))
        return failed(QStringLiteral("read %1 again, but %2 / %3 is not there")
                          .arg(m_window.databasePath(), shown.device, shown.block));
    return { true,
        QStringLiteral("read %1 again, showing %2 / %3")
            .arg(m_window.databasePath(), m_window.currentDevice(), m_window.currentInput()),
        {} };
}

ScriptRunner::Outcome ScriptRunner::device(const QString &name)
{
    const QString deviceName = findName(m_window.deviceNames(), name);
    if (deviceName.isEmpty())
        return failed(
            QStringLiteral("no device %1; the devices are %2").arg(quoted(name), listed(m_window.deviceNames())));
    if (!m_window.selectDevice(deviceName))
        return failed(QStringLiteral("%1 was not shown").arg(quoted(deviceName)));
    // A device is chosen to configure it; one that cannot be configured is a failure.
    if (!m_window.deviceProblem().isEmpty())
        return failed(QStringLiteral("%1 cannot be configured now: %2").arg(deviceName, m_window.deviceProblem()));
    return { true, QStringLiteral("showing %1 / %2").arg(deviceName, m_window.currentInput()), {} };
}

ScriptRunner::Outcome ScriptRunner::input(const QString &deviceName, const QString &blockName)
{
    if (!m_window.network())
        return failed(noPageReason());
    const QString device = findName(m_window.deviceNames(), deviceName);
    if (device.isEmpty())
        return failed(deviceName.isEmpty() ? QStringLiteral("no device is chosen; name it: input DEVICE INPUT")
                                           : QStringLiteral("no device %1; the devices are %2")
                                                 .arg(quoted(deviceName), listed(m_window.deviceNames())));
    const QStringList blocks = m_window.network()->blockNames(device);
    const QString block = findName(blocks, blockName);
    if (block.isEmpty())
        return failed(
            QStringLiteral("%1 has no input %2; its inputs are %3").arg(device, quoted(blockName), listed(blocks)));
    if (!m_window.selectInput(device, block)) {
        if (m_messages->stayed())
            return failed(QStringLiteral("%1 / %2 was not shown").arg(device, block));
        // Not choosable: the tree says why.
        QString why;
        const auto tree = m_window.findChild<QTreeWidget *>(QStringLiteral("hostTree"));
        for (QTreeWidgetItem *item : tree->findItems(block, Qt::MatchFixedString | Qt::MatchRecursive)) {
            if (item->parent() && item->parent()->text(0) == device)
                why = item->toolTip(0);
        }
        return failed(QStringLiteral("%1 / %2 cannot be chosen%3")
                          .arg(device, block, why.isEmpty() ? QString() : QStringLiteral(": ") + why));
    }
    if (!m_window.page())
        return failed(noPageReason());
    return { true, QStringLiteral("showing %1 / %2").arg(device, block), {} };
}

ScriptRunner::Outcome ScriptRunner::inputType(const QString &type)
{
    if (!m_window.page())
        return failed(noPageReason());
    const auto combo = m_window.findChild<QComboBox *>(QStringLiteral("hostInputType"));
    if (!combo->isEnabled())
        return failed(QStringLiteral("no input types to choose: %1").arg(combo->toolTip()));
    QStringList types;
    for (int i = 0; i < combo->count(); ++i)
        types << combo->itemText(i);
    const QString chosen = findName(types, type);
    if (chosen.isEmpty())
        return failed(QStringLiteral("no input type %1; the device offers %2").arg(quoted(type), listed(types)));
    combo->setCurrentIndex(int(types.indexOf(chosen)));
    const InputRef shown = m_window.page()->input();
    const bool written = m_window.applyDefaults(chosen);
    if (!written && m_messages->stayed())
        return failed(QStringLiteral("the defaults of %1 were not written").arg(chosen));
    if (!written)
        return failed(QStringLiteral("the defaults of %1 were not all written to %2").arg(chosen, shown.block));
    return { true, QStringLiteral("the defaults of %1 were written to %2 and saved").arg(chosen, shown.block), {} };
}

QWidget *ScriptRunner::field(const QString &name) const
{
    if (name.isEmpty())
        return nullptr;
    if (InputPage *page = m_window.page()) {
        if (auto widget = page->findChild<QWidget *>(name))
            return widget;
    }
    return m_window.findChild<QWidget *>(name);
}

QString ScriptRunner::whyNotEditable(const QWidget *widget) const
{
    if (!widget->isVisibleTo(&m_window))
        return QStringLiteral("%1 is not shown now").arg(widget->objectName());
    if (!widget->isEnabled())
        return QStringLiteral("%1 is disabled").arg(widget->objectName());
    if (auto edit = qobject_cast<const QLineEdit *>(widget); edit && edit->isReadOnly())
        return QStringLiteral("%1 is read-only").arg(widget->objectName());
    return QString();
}

ScriptRunner::Outcome ScriptRunner::set(const QString &name, const QString &text)
{
    QWidget *widget = field(name);
    if (!widget)
        return failed(QStringLiteral("no field %1 on the page").arg(quoted(name)));
    auto edit = qobject_cast<QLineEdit *>(widget);
    if (!edit)
        return failed(QStringLiteral("%1 is %2").arg(name, kindOf(widget)));
    if (const QString why = whyNotEditable(edit); !why.isEmpty())
        return failed(why);
    const QString before = edit->text();
    // As typing would: the control's change handlers run; it checks the value when it writes.
    edit->setText(text);
    return { true, QStringLiteral("%1: %2 -> %3").arg(name, quoted(before), quoted(edit->text())), {} };
}

ScriptRunner::Outcome ScriptRunner::choose(const QString &name, const QString &item)
{
    QWidget *widget = field(name);
    if (!widget)
        return failed(QStringLiteral("no list %1 on the page").arg(quoted(name)));
    auto combo = qobject_cast<QComboBox *>(widget);
    if (!combo)
        return failed(QStringLiteral("%1 is %2").arg(name, kindOf(widget)));
    if (const QString why = whyNotEditable(combo); !why.isEmpty())
        return failed(why);
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    const QString found = findName(items, item);
    if (found.isEmpty())
        return failed(QStringLiteral("%1 offers no %2; it offers %3").arg(name, quoted(item), listed(items)));
    const QString before = combo->currentText();
    combo->setCurrentIndex(int(items.indexOf(found)));
    // The host's own lists ask about pending edits first and go back when the user stays.
    // The page may have been rebuilt meanwhile, so look the list up again.
    combo = qobject_cast<QComboBox *>(field(name));
    if (!combo || combo->currentText() != found)
        return failed(QStringLiteral("%1 did not take %2").arg(name, quoted(found)));
    return { true, QStringLiteral("%1: %2 -> %3").arg(name, quoted(before), quoted(found)), {} };
}

ScriptRunner::Outcome ScriptRunner::tick(const QString &name, const QString &state)
{
    const QString s = state.toLower();
    if (s != QLatin1String("on") && s != QLatin1String("off"))
        return failed(QStringLiteral("tick takes on or off, not %1").arg(quoted(state)));
    QWidget *widget = field(name);
    if (!widget)
        return failed(QStringLiteral("no check box %1 on the page").arg(quoted(name)));
    auto box = qobject_cast<QAbstractButton *>(widget);
    if (!box || !box->isCheckable())
        return failed(QStringLiteral("%1 is %2").arg(name, kindOf(widget)));
    if (const QString why = whyNotEditable(box); !why.isEmpty())
        return failed(why);
    const bool on = s == QLatin1String("on");
    if (box->isChecked() == on)
        return { true, QStringLiteral("%1 is %2 already").arg(name, s), {} };
    box->click(); // a click, as the user's: the control's handlers and the page's watch run
    if (box->isChecked() != on)
        return failed(QStringLiteral("%1 did not change").arg(name));
    return { true, QStringLiteral("%1: %2").arg(name, s), {} };
}

ScriptRunner::Outcome ScriptRunner::click(const QString &name)
{
    QWidget *widget = field(name);
    if (!widget)
        return failed(QStringLiteral("no button %1 on the page").arg(quoted(name)));
    auto button = qobject_cast<QAbstractButton *>(widget);
    if (!button || button->isCheckable())
        return failed(
            QStringLiteral("%1 is %2").arg(name, button ? QStringLiteral("a check box (use tick)") : kindOf(widget)));
    if (const QString why = whyNotEditable(button); !why.isEmpty())
        return failed(why);
    button->click(); // a dialog it opens is cancelled and recorded (no user to fill it)
    return { true, QStringLiteral("%1 clicked").arg(name), {} };
}

ScriptRunner::Outcome ScriptRunner::units(const QString &system)
{
    const QString s = system.toUpper();
    if (s != QLatin1String("SI") && s != QLatin1String("US"))
        return failed(QStringLiteral("units takes SI or US, not %1").arg(quoted(system)));
    if (!m_window.network())
        return failed(noPageReason());
    if (!m_window.setMeasurementSystem(s == QLatin1String("SI") ? MEASUREMENT_SYSTEM_SI : MEASUREMENT_SYSTEM_US))
        return failed(QStringLiteral("the units stay as they were"));
    return { true, QStringLiteral("units %1").arg(s), {} };
}

ScriptRunner::Outcome ScriptRunner::language(const QString &code)
{
    if (!m_window.network())
        return failed(noPageReason());
    const QStringList languages = m_window.network()->languages();
    const QString found = findName(languages, code);
    if (found.isEmpty())
        return failed(
            QStringLiteral("the database has no language %1; it has %2").arg(quoted(code), listed(languages)));
    m_window.setLanguage(found);
    return { true, QStringLiteral("language %1").arg(found), {} };
}

ScriptRunner::Outcome ScriptRunner::answer(const QString &answer)
{
    const QString a = answer.toLower();
    if (a == QLatin1String("write"))
        m_messages->setAnswer(UnsavedAnswer::Write);
    else if (a == QLatin1String("discard"))
        m_messages->setAnswer(UnsavedAnswer::Discard);
    else if (a == QLatin1String("stay"))
        m_messages->setAnswer(UnsavedAnswer::Stay);
    else
        return failed(QStringLiteral("answer takes write, discard or stay, not %1").arg(quoted(answer)));
    return { true, QStringLiteral("changes not written are answered with %1 from here on").arg(a), {} };
}

ScriptRunner::Outcome ScriptRunner::preview()
{
    if (!m_window.page())
        return failed(noPageReason());
    const ScriptFeatureResult result = previewPendingWrites(m_window);
    if (!result.available)
        return failed(QStringLiteral("not available in this build"));
    QJsonArray changes;
    for (const PreviewChange &change : result.changes)
        changes.append(
            QJsonObject { { QStringLiteral("property"), change.property }, { QStringLiteral("old"), change.oldValue },
                { QStringLiteral("new"), change.newValue }, { QStringLiteral("failed"), change.failed },
                { QStringLiteral("messages"), QJsonArray::fromStringList(change.messages) } });
    return { result.ok, result.detail, { { QStringLiteral("changes"), changes } } };
}

ScriptRunner::Outcome ScriptRunner::ok()
{
    InputPage *page = m_window.page();
    if (!page)
        return failed(noPageReason());
    const InputRef shown = page->input();
    const bool pending = page->valueChanged();
    // Apply rather than the window's OK: the same writes and save, and the window stays
    // for the next command.
    if (!m_window.apply())
        return failed(QStringLiteral("%1: not everything was written and saved; the edits are kept").arg(shown.block));
    return { true,
        pending ? QStringLiteral("%1: written and saved").arg(shown.block)
                : QStringLiteral("%1: nothing to write").arg(shown.block),
        {} };
}

ScriptRunner::Outcome ScriptRunner::cancel()
{
    InputPage *page = m_window.page();
    if (!page)
        return failed(noPageReason());
    const bool pending = page->valueChanged();
    m_window.discard();
    return { true,
        pending ? QStringLiteral("the edits were discarded; the controls read the device again")
                : QStringLiteral("nothing to discard"),
        {} };
}

ScriptRunner::Outcome ScriptRunner::copy(const QStringList &targets)
{
    if (!m_window.page())
        return failed(noPageReason());
    // "DEVICE/INPUT", or an input of the device shown. Misspelt names copy nothing.
    QList<InputRef> inputs;
    for (const QString &target : targets) {
        const int slash = int(target.lastIndexOf(QLatin1Char('/')));
        const QString deviceName = slash < 0 ? m_window.currentDevice() : target.left(slash);
        const QString blockName = slash < 0 ? target : target.mid(slash + 1);
        const QString device = findName(m_window.deviceNames(), deviceName);
        if (device.isEmpty())
            return failed(QStringLiteral("no device %1; nothing was copied").arg(quoted(deviceName)));
        const QString block = findName(m_window.network()->blockNames(device), blockName);
        if (block.isEmpty())
            return failed(QStringLiteral("%1 has no input %2; nothing was copied").arg(device, quoted(blockName)));
        inputs << InputRef { device, block };
    }
    const ScriptFeatureResult result = copyToInputs(m_window, inputs);
    if (!result.available)
        return failed(QStringLiteral("not available in this build"));
    QJsonArray outcomes;
    for (const CopyTargetOutcome &one : result.targets)
        outcomes.append(QJsonObject { { QStringLiteral("device"), one.target.device },
            { QStringLiteral("input"), one.target.block },
            { QStringLiteral("result"), one.written ? QStringLiteral("ok") : QStringLiteral("failed") },
            { QStringLiteral("reason"), one.reason } });
    return { result.ok, result.detail, { { QStringLiteral("targets"), outcomes } } };
}

ScriptRunner::Outcome ScriptRunner::expect(const QString &name, const QString &text)
{
    const QWidget *widget = field(name);
    QString found;
    if (!widget || !shownText(widget, found))
        return failed(QStringLiteral("no field %1 with a text on the page").arg(quoted(name)));
    const QJsonObject extra { { QStringLiteral("expected"), text }, { QStringLiteral("found"), found } };
    if (found != text)
        return failed(QStringLiteral("expected %1 to read %2, found %3").arg(name, quoted(text), quoted(found)), extra);
    return { true, QStringLiteral("%1 reads %2").arg(name, quoted(found)), extra };
}

ScriptRunner::Outcome ScriptRunner::save(const QString &path)
{
    const std::shared_ptr<Sim::Network> network = m_window.network();
    if (!network)
        return failed(noPageReason());
    const QString target = path.isEmpty() ? network->filePath() : path;
    try {
        network->save(path);
    } catch (const Sim::LoadError &error) {
        return failed(QStringLiteral("not saved: %1").arg(error.message()));
    }
    QString detail = QStringLiteral("saved %1").arg(target);
    if (m_window.page() && m_window.page()->valueChanged())
        detail += QStringLiteral(" (the edits not written stay in the fields; ok writes them)");
    return { true, detail, {} };
}

namespace {

QtMessageHandler previousHandler = nullptr;

// The offscreen platform notes on every window that it has no window manager; a
// script's stderr keeps to what the script did.
void withoutPlatformNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

int runScriptFile(const QString &scriptPath, const QString &database, bool reset)
{
    previousHandler = qInstallMessageHandler(withoutPlatformNotes);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QFile file(scriptPath);
    const bool opened
        = scriptPath == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly) : file.open(QIODevice::ReadOnly);
    if (!opened) {
        err << "vqhost: cannot read the script " << scriptPath << ": " << file.errorString() << "\n";
        return 2;
    }
    const QList<ScriptLine> lines = parseScript(QString::fromUtf8(file.readAll()));
    // A line that is not a command stops the whole script before anything runs.
    QStringList errors;
    for (const ScriptLine &line : lines) {
        if (line.error.isEmpty())
            continue;
        errors << QStringLiteral("line %1: %2").arg(line.number).arg(line.error);
        out << QStringLiteral("{\"line\":%1,\"command\":%2,\"result\":\"failed\",\"detail\":%3,\"messages\":[]}\n")
                   .arg(line.number)
                   .arg(jsonValue(line.text), jsonValue(QStringLiteral("not a command: ") + line.error));
    }
    if (!errors.isEmpty()) {
        err << "vqhost: " << scriptPath << ": nothing was run: " << errors.join(QStringLiteral("; ")) << "\n";
        return 2;
    }

    HostWindow window;
    window.setReproducible(true); // pane entries without times
    window.resize(QSize(1250, 680).boundedTo(window.screen()->availableGeometry().size()));
    window.show();
    ScriptRunSummary summary;
    {
        ScriptRunner runner(window, out);
        summary = runner.run(lines, database, reset);
    }
    err << summary.text(scriptPath) << "\n";
    return summary.succeeded() ? 0 : 1;
}

} // namespace Host
