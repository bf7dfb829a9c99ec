// SPDX-License-Identifier: MIT
// Every widget a user reads or changes has a name a screen reader can say: the two controls
// on several inputs, the transfer table and, with the host, the window and its dialogs. The
// name is the one Qt's accessibility layer reports, not the object name.
#include "hardware/fTable.h"
#include "tst_hardware_harness.h"
#include "tst_network_harness.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QGroupBox>
#include <QHeaderView>
#include <QScrollBar>

#ifdef VQ_TEST_HOST
#include "window/HostWindow.h"
#include "window/UnsavedQuestion.h"

#include <QDir>
#include <QFile>
#endif

namespace {

// The widgets that hold a value or act: fields, lists, boxes, buttons and views. A field that
// is part of another one (a combo box's editor, a spin box's) is named with its owner.
bool isValueWidget(const QWidget *widget)
{
    if (qobject_cast<const QScrollBar *>(widget) || qobject_cast<const QHeaderView *>(widget))
        return false;
    const QWidget *parent = widget->parentWidget();
    if (parent && (qobject_cast<const QComboBox *>(parent) || qobject_cast<const QAbstractSpinBox *>(parent)))
        return false;
    return qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QComboBox *>(widget)
        || qobject_cast<const QAbstractSpinBox *>(widget) || qobject_cast<const QAbstractButton *>(widget)
        || qobject_cast<const QAbstractItemView *>(widget);
}

// The name a screen reader says for the widget. A combo box answers its current item as its
// name on some platforms and is announced with the label it is labelled by instead; and a
// widget without a name of its own is given its frame's title by Qt, which does not tell one
// field of the frame from the next, so that counts as no name.
QString spokenName(QWidget *widget)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    if (!iface)
        return QString();
    QString name = iface->text(QAccessible::Name);
    if (iface->role() == QAccessible::ComboBox && name == iface->text(QAccessible::Value))
        name = widget->accessibleName();
    const auto frame = qobject_cast<const QGroupBox *>(widget->parentWidget());
    if (frame && name == frame->title() && widget->accessibleName().isEmpty())
        name.clear();
    if (name.isEmpty()) {
        for (const auto &relation : iface->relations(QAccessible::Label)) {
            if (qobject_cast<QLabel *>(relation.first->object()))
                name = relation.first->text(QAccessible::Name);
        }
    }
    return name.trimmed();
}

// The visible value widgets under root that have no name, by object name and class.
QStringList unnamed(QWidget *root)
{
    QStringList missing;
    for (QWidget *widget : root->findChildren<QWidget *>()) {
        if (widget->isVisibleTo(root) && isValueWidget(widget) && spokenName(widget).isEmpty())
            missing << QStringLiteral("%1 (%2)").arg(widget->objectName(), widget->metaObject()->className());
    }
    return missing;
}

// How many value widgets the walk judged: a walk that finds none proves nothing.
int valueWidgets(QWidget *root)
{
    int count = 0;
    for (QWidget *widget : root->findChildren<QWidget *>())
        count += widget->isVisibleTo(root) && isValueWidget(widget);
    return count;
}

#define VERIFY_NAMED(root)                                                                                             \
    do {                                                                                                               \
        QVERIFY(valueWidgets(root) > 0);                                                                               \
        const QStringList missing = unnamed(root);                                                                     \
        QVERIFY2(missing.isEmpty(), qPrintable("without a name: " + missing.join(QStringLiteral(", "))));              \
    } while (false)

} // namespace

class tst_accessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QAccessible::setActive(true); }

    void hardwareControl_data() { HardwareTest::addWalkRows(); }
    void hardwareControl()
    {
        HardwareTest::Harness h;
        QVERIFY(HardwareTest::openWalkRow(h));
        VERIFY_NAMED(h.control.get());
    }

    // A range caption follows the interpretation; the range fields' names follow it too.
    void rangeNamesFollowTheirCaptions()
    {
        HardwareTest::Harness h;
        QVERIFY(h.open(2, HardwareTest::SnvtTempP, "UCPTinputSignalInterpretation=LINEAR"));
        h.control->show();
        for (const char *interpretation : { "DIGITAL", "LINEAR", "SETPOINT_OFFSET" }) {
            QVERIFY(h.choose(QLatin1String(interpretation)));
            for (const char *field : { "Min", "Max" }) {
                auto caption = h.widget<QLabel>(QLatin1String("lbl") + QLatin1String(field));
                auto box = h.widget<QLineEdit>(QLatin1String("txt") + QLatin1String(field));
                if (caption->isVisibleTo(h.control.get()) && box->isVisibleTo(h.control.get()))
                    QCOMPARE(spokenName(box), caption->text());
            }
        }
    }

    void networkControl_data() { NetworkTest::addWalkRows(); }
    void networkControl()
    {
        NetworkTest::Harness h;
        NetworkTest::openWalkRow(h);
        VERIFY_NAMED(h.control.get());
    }

    void transferTable_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::newRow("English") << "Input Value"
                                 << "Output Value";
        QTest::newRow("other captions") << "Widerstand"
                                        << "Temperatur";
    }
    // The cells are named by their column's caption and their row.
    void transferTable()
    {
        QFETCH(QString, input);
        QFETCH(QString, output);
        TestSupport::SimFixture sim;
        TestSupport::SeamRecorder seams;
        fTable form;
        form.InitForm(
            QStringLiteral("SNVT_temp_p#SI"), sim->programId(sim.firstDeviceName()), 3, input, output, false, 0, 100);
        form.show();
        VERIFY_NAMED(&form);
        auto cell = [&](int k) { return form.findChild<QLineEdit *>(QStringLiteral("txtTable_%1").arg(k)); };
        QVERIFY(spokenName(cell(0)).startsWith(input));
        QVERIFY(spokenName(cell(31)).startsWith(output));
        QVERIFY(spokenName(cell(0)) != spokenName(cell(2)));
    }

#ifdef VQ_TEST_HOST
    // The window on an input of each control, and each dialog it opens, as it is shown.
    void hostWindowAndDialogs()
    {
        using namespace Host;
        TestSupport::SimFixture sim;
        const QString defaults = sim.tempPath() + QStringLiteral("/CommonFiles/InputDefaultValues.ini");
        QVERIFY(QDir(sim.tempPath()).mkpath(QStringLiteral("CommonFiles")));
        QVERIFY(QFile::copy(QStringLiteral(VQ_DATA_DIR "/CommonFiles/InputDefaultValues.ini"), defaults));
        QFile::setPermissions(defaults, QFile::ReadOwner | QFile::WriteOwner);
        TestSupport::SeamRecorder seams;
        HostWindow window;
        window.setReproducible(true);
        window.resize(1250, 680);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.openDatabase(sim.databasePath()));
        VERIFY_NAMED(&window);

        QStringList walked;
        QStringList missing;
        seams.setModalDriver([&](QDialog &dialog) {
            dialog.show();
            walked << dialog.metaObject()->className();
            if (valueWidgets(&dialog) == 0)
                missing << walked.last() + QStringLiteral(": nothing to judge");
            for (const QString &widget : unnamed(&dialog))
                missing << walked.last() + QStringLiteral(": ") + widget;
            return int(QDialog::Rejected);
        });
        for (const char *button : { "hostPreview", "hostSaveAsInputType", "hostCopyToInputs" })
            QTest::mouseClick(window.findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
        auto interpretation = window.page()->findChild<QComboBox *>(QStringLiteral("cboInput"));
        interpretation->setCurrentIndex(interpretation->findText(QStringLiteral("TRANS_TABLE")));
        QTest::mouseClick(window.page()->findChild<QPushButton *>(QStringLiteral("cmdTable")), Qt::LeftButton);
        QCOMPARE(walked.size(), 4);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));

        // The second view, the live value and its trend.
        for (const char *button : { "hostSecondView", "hostWatch" })
            QTest::mouseClick(window.findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top != &window && top->isVisible() && valueWidgets(top) > 0)
                QVERIFY2(unnamed(top).isEmpty(), qPrintable(unnamed(top).join(QStringLiteral(", "))));
        }
        VERIFY_NAMED(&window);
        seams.setModalDriver({});
        // The edit made to reach the table is dropped unasked.
        setUnsavedQuestion([](QWidget *, const QString &) { return UnsavedAnswer::Discard; });
        window.close();
        setUnsavedQuestion({});
    }
#endif
};

QTEST_MAIN(tst_accessibility)
#include "tst_accessibility.moc"
