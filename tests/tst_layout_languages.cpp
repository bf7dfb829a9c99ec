// SPDX-License-Identifier: MIT
// Both controls in every language the sample network ships, on blocks of both
// object versions and, for the hardware control, in every signal
// interpretation: which widgets show and where, the range and unit captions,
// the set-point-offset event, and that no two visible widgets overlap, every
// widget stays inside its frame and no caption is cut.
#include "device/sim/SimModel.h"
#include "tst_hardware_harness.h"
#include "tst_network_harness.h"

#include <QAbstractButton>
#include <QStyle>

using namespace HardwareTest;

namespace {

struct Layout
{
    int version;
    int typeIndex;
    QString before {}; // an interpretation chosen first, or none
    QString interpretation {};
    QString visible {}; // names of the widgets shown
    QString tops {}; // "name=top ..." in twips
    QString captions {}; // lblMax/lblMin, in English
    QString units {}; // range unit/offset unit, for the unit labels shown
    QString setpointEvents {}; // "1" entered, "0" left set-point offset
};

// What is wrong with the visible widgets directly inside `frame`, one line
// each, and whether `control` asks for the room its frame needs.
QStringList layoutFaults(const QWidget *control, const QWidget *frame)
{
    QStringList faults;
    QList<const QWidget *> shown;
    for (const QWidget *child : frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->isHidden())
            shown.append(child);
    }
    for (const QWidget *widget : shown) {
        const QString name = widget->objectName();
        if (!frame->rect().contains(widget->geometry()))
            faults << name + " leaves its frame";
        auto *label = qobject_cast<const QLabel *>(widget);
        auto *button = qobject_cast<const QAbstractButton *>(widget);
        const QString caption = label ? label->text() : button ? button->text() : QString();
        if (label && label->wordWrap()) {
            if (label->heightForWidth(label->width()) > label->height())
                faults << name + " cut: " + caption;
        } else if (!caption.isEmpty()) {
            // A button's caption needs the style's margin and frame too.
            const QStyle *style = widget->style();
            const int needed = widget->fontMetrics().horizontalAdvance(caption)
                + (label ? 0
                         : style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, widget)
                            + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget));
            if (needed > (label ? label->contentsRect().width() : widget->width()))
                faults << QStringLiteral("%1 cut: %2 needs %3, has %4")
                              .arg(name, caption)
                              .arg(needed)
                              .arg(widget->width());
        }
        for (const QWidget *other : shown) {
            if (other < widget && other->geometry().intersects(widget->geometry()))
                faults << name + " overlaps " + other->objectName();
        }
    }
    if (control->sizeHint().width() < frame->geometry().right() + 1)
        faults << "the control asks for less room than its frame needs";
    return faults;
}

// The shipped languages, and "de+": German with captions far longer than any
// shipped one, so that both controls have to make room.
QStringList shippedLanguages()
{
    TestSupport::SimFixture sim;
    return sim->languages() << QStringLiteral("de+");
}

void chooseLanguage(TestSupport::SimFixture &sim, const QString &code)
{
    for (Sim::LanguageDef &language : sim->model().languages) {
        for (auto &strings : language.applications) {
            if (code != QLatin1String("de+") || language.code != QLatin1String("de"))
                continue;
            strings[QStringLiteral("INPUT SIGNAL INTERPRETATION")]
                = QStringLiteral("Auswertung des Signals am Eingang der Hardware");
            strings[QStringLiteral("SIGNAL TYPE")] = QStringLiteral("Art des Signals am Eingang der Hardware");
            strings[QStringLiteral("OVERRIDE VALUE")] = QStringLiteral("Wert beim Übersteuern des Ausgangs");
        }
    }
    sim->setLanguage(QString(code).remove(QLatin1Char('+')));
}

// The widgets shown for a linear input, and the default tops of the range and
// offset widgets.
const QString linear = "cboInput cboSignal cmdValue lblCboSignal lblMax lblMin lblOff lblSignal "
                       "lblUnitMaxRange "
                       "lblUnitMinRange lblUnitOffset lblValue txtMax txtMin txtOff txtValue";
const QString rangeTops = "lblOff=360 txtOff=585 lblUnitOffset=675 lblMax=960 "
                          "txtMax=1200 cboMax=1200 lblMin=1560 "
                          "txtMin=1800 cboMin=1800";
const QString range = "Max. Value/Min. Value";

} // namespace

Q_DECLARE_METATYPE(Layout)

class tst_layout_languages : public QObject
{
    Q_OBJECT

private slots:
    void hardwareControl_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<Layout>("layout");
        const int t = SnvtTempP;
        for (const QString &language : shippedLanguages()) {
            const auto row = [&](const QByteArray &name, const Layout &layout) {
                QTest::newRow(qPrintable(language + ' ' + name)) << language << layout;
            };
            for (int v : { 1, 2 }) {
                const QByteArray n = "v" + QByteArray::number(v) + " ";
                const QString linearTops = rangeTops + " lblUnitMinRange=1860";
                row(n + "LINEAR", { v, t, "", "LINEAR", linear, linearTops, range, "°C/°C" });
                row(n + "TRANS_TABLE",
                    { v, t, "", "TRANS_TABLE", linear + " cmdTable", rangeTops + " cmdTable=2280", range, "°C/°C" });
                row(n + "DIGITAL",
                    { v, t, "", "DIGITAL",
                        "cboInput cboSignal chkReverse cmdValue lblCboSignal lblMax lblMin lblReverse lblSignal txtMax "
                        "txtMin txtValue",
                        "lblMax=360 txtMax=585 cboMax=585 lblMin=960 txtMin=1200 cboMin=1200", "ON Value/OFF Value" });
                row(n + "STD_THERMISTOR",
                    { v, t, "", "STD_THERMISTOR", linear + " lblTherm cboTherm",
                        rangeTops + " lblTherm=2160 cboTherm=2400", range, "°C/°C" });
                row(n + "SETPOINT_OFFSET", { v, t, "", "SETPOINT_OFFSET", linear, rangeTops, range, "°C/°C", "1" });
                row(n + "DISCONNECTED", { v, t, "", "DISCONNECTED", "cboInput lblSignal" });
                // Leaving the digital layout restores the range captions and positions; leaving
                // set-point offset tells the host.
                row(n + "DIGITAL then LINEAR", { v, t, "DIGITAL", "LINEAR", linear, linearTops, range, "°C/°C" });
                row(n + "SETPOINT_OFFSET then LINEAR",
                    { v, t, "SETPOINT_OFFSET", "LINEAR", linear, linearTops, range, "°C/°C", "10" });
                // An enumeration chooses its range from lists and has neither offset nor units.
                row(n + "enumeration LINEAR",
                    { v, SnvtOccupancy, "", "LINEAR",
                        "cboInput cboMax cboMin cboSignal cmdValue lblCboSignal lblMax lblMin lblSignal txtValue",
                        rangeTops, range });
            }
            // Version 1 keeps the increment and the multi-level value in the offset box; version 2 the table.
            row("v1 MULTI_LEVEL",
                { 1, t, "", "MULTI_LEVEL",
                    "cboInput cboSignal cmdValue lblCboSignal lblOff lblSelector lblSelectorUnit lblSignal "
                    "lblUnitOffset txtOff txtSelector txtValue",
                    "lblSelector=360 txtSelector=600 lblSelectorUnit=720 lblOff=960 txtOff=1200 lblUnitOffset=1320 "
                    "cmdTable=2280",
                    range, "/K Ohm" });
            row("v2 MULTI_LEVEL",
                { 2, t, "", "MULTI_LEVEL", "cboInput cboSignal cmdTable cmdValue lblCboSignal lblSignal txtValue",
                    "cmdTable=2280", range });
            // A switch offset is a percentage on version 2, in the format's unit on version 1.
            row("v1 switch LINEAR", { 1, SnvtSwitch, "", "LINEAR", linear, rangeTops, range, "%/%" });
            row("v2 switch LINEAR", { 2, SnvtSwitch, "", "LINEAR", linear, rangeTops, range, "%/percent" });
        }
    }

    void hardwareControl()
    {
        QFETCH(QString, language);
        QFETCH(Layout, layout);
        Harness h;
        chooseLanguage(h.sim, language);
        QVERIFY(h.open(layout.version, layout.typeIndex, "UCPTinputSignalType=RESISTANCE"));
        h.setpointEvents.clear();
        QVERIFY(layout.before.isEmpty() || h.choose(layout.before));
        QVERIFY(h.choose(layout.interpretation));
        QCOMPARE(h.setpointEvents, layout.setpointEvents);
        const QStringList faults = layoutFaults(h.control.get(), h.widget("Frame1"));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));

        QStringList visible = layout.visible.split(' ');
        QStringList shown;
        for (QWidget *child : h.widget("Frame1")->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!child->isHidden())
                shown.append(child->objectName());
        }
        visible.sort();
        shown.sort();
        QCOMPARE(shown, visible);
        for (const QString &top : layout.tops.split(' ', Qt::SkipEmptyParts)) {
            const QString name = top.section('=', 0, 0);
            QCOMPARE(name + "=" + QString::number(h.widget(name)->y() * 15), top);
        }
        QCOMPARE(h.seams.messageTexts(), QStringList());
        if (language != "en")
            return;
        if (!layout.captions.isEmpty())
            QCOMPARE(h.shown("lblMax") + "/" + h.shown("lblMin"), layout.captions);
        for (const QString &label : QStringList { "lblUnitMaxRange", "lblUnitMinRange", "lblValue", "lblUnitOffset" }) {
            const int field = label == "lblUnitOffset" ? 1 : 0;
            if (!h.widget(label)->isHidden())
                QCOMPARE(label + ": " + h.shown(label), label + ": " + layout.units.section('/', field, field));
        }
    }

    void networkControl_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("block");
        for (const QString &language : shippedLanguages()) {
            // Object versions 2 and 1, a number and an enumeration.
            for (const char *block : { "HwInput[0]", "HwInput[3]", "HwInput[4]", "HwInput[7]" })
                QTest::addRow("%s %s", qPrintable(language), block) << language << QString::fromLatin1(block);
        }
    }

    void networkControl()
    {
        QFETCH(QString, language);
        QFETCH(QString, block);
        NetworkTest::Harness h { QString() }; // the sample network
        chooseLanguage(h.sim, language);
        h.open(block);
        const QStringList faults = layoutFaults(h.control.get(), h.widget(QStringLiteral("fraNV")));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
        QCOMPARE(h.seams.messageTexts(), QStringList());
    }
};

QTEST_MAIN(tst_layout_languages)
#include "tst_layout_languages.moc"
