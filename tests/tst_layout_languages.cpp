// SPDX-License-Identifier: MIT
// Both controls in every language the sample network ships, on blocks of both object
// versions and, for the hardware control, in every signal interpretation: no two visible
// widgets overlap, every widget stays inside its frame and no caption is cut.
#include "device/sim/SimModel.h"
#include "network/ctlSensorNV.h"
#include "tst_hardware_harness.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QStyle>

using namespace HardwareTest;

namespace {

// What is wrong with the visible widgets directly inside `frame`, one line each, and whether
// `control` asks for the room its frame needs.
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

// The shipped languages, and "de+": German with captions far longer than any shipped one,
// so that both controls have to make room.
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

} // namespace

class tst_layout_languages : public QObject
{
    Q_OBJECT

private slots:
    void hardwareControl_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("typeIndex");
        QTest::addColumn<QString>("interpretation");
        for (const QString &language : shippedLanguages()) {
            for (int version : { 1, 2 }) {
                for (const char *interpretation : { "LINEAR", "TRANS_TABLE", "DIGITAL", "STD_THERMISTOR",
                         "SETPOINT_OFFSET", "MULTI_LEVEL", "DISCONNECTED" }) {
                    QTest::addRow("%s v%d %s", qPrintable(language), version, interpretation)
                        << language << version << SnvtTempP << QString::fromLatin1(interpretation);
                }
                // An enumeration chooses its range from lists.
                QTest::addRow("%s v%d enumeration LINEAR", qPrintable(language), version)
                    << language << version << SnvtOccupancy << QStringLiteral("LINEAR");
            }
        }
    }

    void hardwareControl()
    {
        QFETCH(QString, language);
        QFETCH(int, version);
        QFETCH(int, typeIndex);
        QFETCH(QString, interpretation);
        Harness h;
        chooseLanguage(h.sim, language);
        QVERIFY(h.open(version, typeIndex, "UCPTinputSignalType=RESISTANCE"));
        QVERIFY(h.choose(interpretation));
        const QStringList faults = layoutFaults(h.control.get(), h.widget("Frame1"));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
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
        TestSupport::SimFixture sim;
        TestSupport::SeamRecorder seams;
        chooseLanguage(sim, language);
        const QString device = sim->deviceNames().value(0);
        ctlSensorNV control;
        control.setSystem(sim->system());
        control.setDeviceObject(sim->device(device));
        control.setDeviceProgID(sim->programId(device));
        control.setMesureUnit(MEASUREMENT_SYSTEM_SI);
        control.setNodeObject(sim->block(device, block));
        control.ZovezuVavevaInit();
        const QStringList faults = layoutFaults(&control, control.findChild<QGroupBox *>(QStringLiteral("fraNV")));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
        QCOMPARE(seams.messageTexts(), QStringList());
    }
};

QTEST_MAIN(tst_layout_languages)
#include "tst_layout_languages.moc"
