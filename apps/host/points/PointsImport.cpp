// SPDX-License-Identifier: MIT
// Importing a points list through the input page.
#include "PointsImport.h"

#include "device/sim/SimNetwork.h"
#include "page/FormatLocaleScope.h"
#include "page/InputPage.h"
#include "page/ShownFields.h"
#include "shared/MKorvane.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHash>
#include <QLineEdit>

namespace Host {

namespace {

class Texts
{
    Q_DECLARE_TR_FUNCTIONS(Host::PointsImport)
};

QString oneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" / ")).simplified();
}

// Two texts of a field that mean the same: equal, or the same numbers one by one
// ("10" and "10.000", "100 1" and "100.0 1").
bool sameText(const QString &a, const QString &b)
{
    if (a.trimmed() == b.trimmed())
        return true;
    const QStringList left = a.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QStringList right = b.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (left.isEmpty() || left.size() != right.size())
        return false;
    for (qsizetype i = 0; i < left.size(); ++i) {
        double l = 0, r = 0;
        if (!MKorvane::ParseDeviceNumber(left.at(i), l) || !MKorvane::ParseDeviceNumber(right.at(i), r) || l != r)
            return false;
    }
    return true;
}

bool parseTick(const QString &text, bool &on)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("yes") || t == QLatin1String("on"))
        on = true;
    else if (t == QLatin1String("no") || t == QLatin1String("off"))
        on = false;
    else
        return false;
    return true;
}

// The field of that object name in either control, and the control it belongs to.
QWidget *fieldOf(InputPage &page, const QString &name, QWidget *&control)
{
    for (QWidget *c :
        { static_cast<QWidget *>(page.hardwareControl()), static_cast<QWidget *>(page.networkControl()) }) {
        for (QWidget *w : c->findChildren<QWidget *>()) {
            if (w->objectName().compare(name, Qt::CaseInsensitive) == 0 && w->window() == c->window()) {
                control = c;
                return w;
            }
        }
    }
    return nullptr;
}

// Types one cell as a user would; false with the reason when the field refuses it.
bool typeCell(InputPage &page, const QString &name, const QString &text, FieldChange &change, QString &problem)
{
    QWidget *control = nullptr;
    QWidget *w = fieldOf(page, name, control);
    auto edit = qobject_cast<QLineEdit *>(w);
    auto combo = qobject_cast<QComboBox *>(w);
    auto box = qobject_cast<QCheckBox *>(w);
    if (!w || !w->isVisibleTo(control) || (!edit && !combo && !box)) {
        problem = Texts::tr("the input has no field %1").arg(name);
        return false;
    }
    // A field the user cannot edit may still be listed, with what it shows.
    const auto locked = [&] {
        if (w->isEnabled() && !(edit && edit->isReadOnly()) && name != QLatin1String("txtValue"))
            return false;
        problem = Texts::tr("%1 cannot be edited on this input").arg(name);
        return true;
    };
    change.field = w->objectName();
    change.newText = text;
    if (edit) {
        change.oldText = edit->text();
        if (!sameText(edit->text(), text) && (locked() || (edit->setText(text), false)))
            return false;
    } else if (combo) {
        change.oldText = combo->currentText();
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        const int index = int(items.indexOf(text.trimmed()));
        const int anyCase = index >= 0 ? index : combo->findText(text.trimmed(), Qt::MatchFixedString);
        if (anyCase < 0) {
            problem = Texts::tr("%1 offers no \"%2\"; it offers %3").arg(name, text, items.join(QStringLiteral(", ")));
            return false;
        }
        change.newText = items.at(anyCase);
        if (combo->currentIndex() != anyCase && (locked() || (combo->setCurrentIndex(anyCase), false)))
            return false;
    } else {
        bool on = false;
        change.oldText = box->isChecked() ? QStringLiteral("yes") : QStringLiteral("no");
        if (!parseTick(text, on)) {
            problem = Texts::tr("%1 takes yes or no, not \"%2\"").arg(name, text);
            return false;
        }
        change.newText = on ? QStringLiteral("yes") : QStringLiteral("no");
        if (box->isChecked() != on && (locked() || (box->click(), false)))
            return false;
    }
    return true;
}

// Types a row into the page, field by field in the order a user edits the page. Returns
// the fields that changed, with their captions and units as the page shows them after.
QVector<FieldChange> typeRow(InputPage &page, const PointsRow &row, QStringList &problems)
{
    QVector<FieldChange> changes;
    for (const QString &field : fieldOrder(row.cells.keys())) {
        FieldChange change;
        QString problem;
        if (!typeCell(page, field, row.cells.value(field), change, problem))
            problems << problem;
        else if (!sameText(change.oldText, change.newText))
            changes << change;
    }
    QHash<QString, ShownField> shown;
    for (const QWidget *control :
        { static_cast<QWidget *>(page.hardwareControl()), static_cast<QWidget *>(page.networkControl()) }) {
        for (const ShownField &field : shownFields(control))
            shown.insert(field.field, field);
    }
    for (FieldChange &change : changes) {
        change.caption = shown.value(change.field).caption;
        change.unit = shown.value(change.field).unit;
    }
    return changes;
}

// The row's input as the network spells it, or why there is none.
bool resolve(Sim::Network &network, const PointsList &list, const PointsRow &row, InputPlan &plan)
{
    plan.line = row.line;
    plan.input = InputRef { row.device, row.input };
    qint16 system = list.measurementSystem;
    if (row.device.isEmpty() || row.input.isEmpty())
        plan.problems << Texts::tr("the row names no device or no input");
    else if (!network.device(row.device))
        plan.problems << Texts::tr("no device \"%1\" in the network").arg(row.device);
    else if (!network.block(row.device, row.input))
        plan.problems << Texts::tr("%1 has no input \"%2\"").arg(row.device, row.input);
    if (!row.units.isEmpty() && !parseSystemName(row.units, system))
        plan.problems << Texts::tr("units \"%1\" are neither SI nor US").arg(row.units);
    else if (system != list.measurementSystem)
        plan.problems << Texts::tr("the row is in %1 units, the list in %2")
                             .arg(systemName(system), systemName(list.measurementSystem));
    if (!plan.problems.isEmpty())
        return false;
    for (const QString &device : network.deviceNames()) {
        if (device.compare(row.device, Qt::CaseInsensitive) == 0)
            plan.input.device = device;
    }
    for (const QString &block : network.blockNames(plan.input.device)) {
        if (block.compare(row.input, Qt::CaseInsensitive) == 0)
            plan.input.block = block;
    }
    DeviceAccess::SystemPtr sys = network.system();
    QString state;
    if (!MKorvane::CheckDeviceState(sys, network.device(plan.input.device), state)) {
        plan.problems << (state.isEmpty() ? Texts::tr("the device cannot be configured now") : oneLine(state));
        return false;
    }
    return true;
}

// Opens the row's input on a page and types the row; false with the problems.
bool openAndType(Sim::Network &network, const PointsList &list, const PointsRow &row, InputPage &page, InputPlan &plan)
{
    QStringList opening;
    QObject::connect(&page, &InputPage::message, [&opening](const PageMessage &message) {
        if (message.severity == PageMessage::Critical)
            opening << oneLine(message.headline);
    });
    if (!page.open(network, plan.input, QString(), list.measurementSystem)) {
        plan.problems << opening;
        if (opening.isEmpty())
            plan.problems << Texts::tr("the input cannot be shown");
        return false;
    }
    QObject::disconnect(&page, &InputPage::message, nullptr, nullptr);
    plan.changes = typeRow(page, row, plan.problems);
    return plan.problems.isEmpty();
}

} // namespace

int ImportPlan::applicableCount() const
{
    return int(std::count_if(inputs.begin(), inputs.end(), [](const InputPlan &p) { return p.applicable(); }));
}

int ImportPlan::problemCount() const
{
    return int(std::count_if(inputs.begin(), inputs.end(), [](const InputPlan &p) { return !p.problems.isEmpty(); }));
}

QString ImportPlan::text() const
{
    QStringList lines;
    lines << Texts::tr("Preview: %1 of %2 rows would change an input, %3 cannot be applied.")
                 .arg(applicableCount())
                 .arg(inputs.size())
                 .arg(problemCount());
    for (const InputPlan &p : inputs) {
        const QString head = Texts::tr("line %1, %2 / %3").arg(p.line).arg(p.input.device, p.input.block);
        if (!p.problems.isEmpty()) {
            lines << Texts::tr("%1: cannot be applied: %2").arg(head, p.problems.join(QStringLiteral("; ")));
            continue;
        }
        if (p.changes.isEmpty()) {
            lines << Texts::tr("%1: nothing to change").arg(head);
            continue;
        }
        lines << Texts::tr("%1:").arg(head);
        for (const FieldChange &c : p.changes)
            lines << QStringLiteral("  %1 (%2): %3 -> %4%5")
                         .arg(c.field, c.caption, c.oldText, c.newText,
                             c.unit.isEmpty() ? QString() : QLatin1Char(' ') + c.unit);
        for (const QString &m : p.messages)
            lines << QStringLiteral("  ! %1").arg(m);
    }
    return lines.join(QLatin1Char('\n'));
}

ImportPlan planImport(Sim::Network &network, const PointsList &list)
{
    ImportPlan plan;
    const FormatLocaleScope locale(network, list.measurementSystem);
    QHash<QString, int> seen;
    for (const PointsRow &row : list.rows) {
        InputPlan input;
        if (resolve(network, list, row, input)) {
            const QString key = (input.input.device + QLatin1Char('/') + input.input.block).toLower();
            if (seen.contains(key)) {
                input.problems << Texts::tr("the input is listed already on line %1").arg(seen.value(key));
            } else {
                seen.insert(key, row.line);
                InputPage page;
                if (openAndType(network, list, row, page, input) && !input.changes.isEmpty()) {
                    // The write as a dry run: what the controls refuse shows here.
                    const PreviewResult dry = previewWrites(network, page);
                    input.messages = dry.messages;
                    if (!dry.error.isEmpty())
                        input.problems << dry.error;
                    for (const PreviewRow &r : dry.rows) {
                        if (r.failed)
                            input.problems << QStringLiteral("%1: %2").arg(r.label(), oneLine(r.failure));
                    }
                    for (const ControlOutcome *side : { &dry.outcome.hardware, &dry.outcome.network }) {
                        if (side->state == ControlOutcome::NotWritten)
                            input.problems << side->reasons;
                    }
                    if (!page.valueChanged())
                        input.changes.clear(); // the controls see no edit: nothing would be written
                }
            }
        }
        input.problems.removeDuplicates();
        plan.inputs << input;
    }
    return plan;
}

int ImportSummary::count(InputResult::State state) const
{
    return int(std::count_if(inputs.begin(), inputs.end(), [state](const InputResult &r) { return r.state == state; }));
}

bool ImportSummary::succeeded() const
{
    return error.isEmpty() && count(InputResult::NotWritten) == 0 && (saved || !saveWanted || !wrote);
}

QString ImportSummary::text() const
{
    QStringList lines;
    lines << Texts::tr("Import: %1 written, %2 unchanged, %3 not written, %4 not chosen.")
                 .arg(count(InputResult::Written))
                 .arg(count(InputResult::Unchanged))
                 .arg(count(InputResult::NotWritten))
                 .arg(count(InputResult::NotChosen));
    for (const InputResult &r : inputs) {
        const QString head = Texts::tr("line %1, %2 / %3").arg(r.line).arg(r.input.device, r.input.block);
        switch (r.state) {
        case InputResult::Written:
            lines << Texts::tr("%1: written: %2.").arg(head, r.fields.join(QStringLiteral(", ")));
            break;
        case InputResult::Unchanged:
            lines << Texts::tr("%1: nothing to change.").arg(head);
            break;
        case InputResult::NotChosen:
            lines << Texts::tr("%1: not chosen.").arg(head);
            break;
        case InputResult::NotWritten:
            lines << Texts::tr("%1: not written: %2").arg(head, r.reason)
                    + (r.restore.isEmpty() ? QString() : QStringLiteral("; ") + r.restore) + QLatin1Char('.');
            break;
        }
    }
    if (saved)
        lines << Texts::tr("The database was saved.");
    if (!error.isEmpty())
        lines << error;
    return lines.join(QLatin1Char('\n'));
}

ImportSummary applyImport(Sim::Network &network, const PointsList &list, const ImportPlan &plan,
    const QVector<InputRef> &chosen, bool save, const std::function<void(const LastConfirm &)> &remember)
{
    ImportSummary summary;
    summary.saveWanted = save;
    const FormatLocaleScope locale(network, list.measurementSystem);
    for (qsizetype i = 0; i < plan.inputs.size(); ++i) {
        const InputPlan &p = plan.inputs.at(i);
        InputResult result;
        result.line = p.line;
        result.input = p.input;
        const bool isChosen = chosen.isEmpty() || std::any_of(chosen.begin(), chosen.end(), [&](const InputRef &c) {
            return c.device.compare(p.input.device, Qt::CaseInsensitive) == 0
                && c.block.compare(p.input.block, Qt::CaseInsensitive) == 0;
        });
        if (!p.problems.isEmpty()) {
            result.state = InputResult::NotWritten;
            result.reason = p.problems.join(QStringLiteral("; "));
        } else if (p.changes.isEmpty()) {
            result.state = InputResult::Unchanged;
        } else if (!isChosen) {
            result.state = InputResult::NotChosen;
        } else {
            InputPage page;
            InputPlan typed = p;
            typed.changes.clear();
            QStringList reasons;
            const LastConfirm before = readLastConfirm(network, p.input);
            if (!openAndType(network, list, list.rows.at(i), page, typed)) {
                result.state = InputResult::NotWritten;
                result.reason = typed.problems.join(QStringLiteral("; "));
            } else if (!page.valueChanged()) {
                result.state = InputResult::Unchanged;
            } else if (!before.valid()) {
                result.state = InputResult::NotWritten;
                result.reason = Texts::tr("its values cannot be read first, so they could not be put back after a "
                                          "failure; nothing was written: %1")
                                    .arg(oneLine(before.before.error));
            } else {
                summary.wrote = true;
                PageOutcome outcome;
                {
                    const MKorvane::MessageBoxCapture boxes([&reasons](const QString &text, int, const QString &) {
                        reasons << text.simplified();
                        return MKorvane::vbOK;
                    });
                    outcome = page.write();
                }
                for (const FieldChange &c : std::as_const(typed.changes))
                    result.fields << c.field;
                if (outcome.failed() || !outcome.verified()) {
                    result.state = InputResult::NotWritten;
                    QStringList why;
                    for (const ControlOutcome *side : { &outcome.hardware, &outcome.network }) {
                        if (side->state == ControlOutcome::NotWritten || !side->mismatches().isEmpty())
                            why << side->text();
                    }
                    why << reasons;
                    why.removeDuplicates();
                    result.reason = oneLine(why.join(QStringLiteral("; ")));
                    result.restore = restoreLastConfirm(network, before).text();
                } else {
                    result.state = InputResult::Written;
                    if (remember)
                        remember(before);
                }
            }
        }
        summary.inputs << result;
    }
    if (summary.wrote && save) {
        summary.saved = saveAfterWrites(network, summary.error);
    }
    return summary;
}

} // namespace Host
