// SPDX-License-Identifier: MIT
// The Designer plugin as Qt's own loaders see it: the plugin loader finds both controls,
// a form loader builds a form with them that restores the network control's one
// design-time setting, and a form with both controls dropped unchanged goes through uic
// and the compiler. And one process-wide state for every user of the shared library in a
// process: this program links the library and loads the plugin, which links it too, as a
// host with a plug-in does. Were the plugin to carry its own copy of the library (a static
// archive linked into it), each would see only its own.
#include "hardware/ctlSensorHardware.h"
#include "network/ctlSensorNV.h"
#include "shared/ProcessState.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUiLoader>
#include <QtTest>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

namespace {

// The plugin's controls, as Qt's plugin loader finds them (empty: the test then fails).
QList<QDesignerCustomWidgetInterface *> pluginControls()
{
    const QDir dir(QStringLiteral(VQ_DESIGNER_PLUGIN_DIR));
    const QStringList files = dir.entryList({ QStringLiteral("*vqzovezuvaveva_designer*") }, QDir::Files);
    if (files.isEmpty())
        return {};
    QPluginLoader loader(dir.filePath(files.first()));
    auto *collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(loader.instance());
    if (!collection)
        qWarning("%s", qPrintable(loader.errorString()));
    return collection ? collection->customWidgets() : QList<QDesignerCustomWidgetInterface *>();
}

} // namespace

class tst_DesignerPlugin : public QObject
{
    Q_OBJECT

private slots:
    // Each control the plugin creates is of the library's own class, and the measurement
    // system set through it is the one the library reads, and the other way round.
    void pluginCreatesTheLibrarysControls()
    {
        QStringList names;
        for (QDesignerCustomWidgetInterface *entry : pluginControls()) {
            names << entry->name();
            QVERIFY(entry->domXml().contains(entry->name()));
            QScopedPointer<QWidget> control(entry->createWidget(nullptr));
            QVERIFY(control);
#ifdef VQ_STATIC_LIBRARY
            continue; // a static library gives the plugin a copy of its own
#endif
            const QMetaObject *libraryClass = entry->name() == QLatin1String("ctlSensorHardware")
                ? &ctlSensorHardware::staticMetaObject
                : &ctlSensorNV::staticMetaObject;
            QCOMPARE(control->metaObject(), libraryClass);
            for (const qint16 system : { MEASUREMENT_SYSTEM_US, MEASUREMENT_SYSTEM_SI }) {
                const qint16 other = system == MEASUREMENT_SYSTEM_US ? MEASUREMENT_SYSTEM_SI : MEASUREMENT_SYSTEM_US;
                MKorvane::setMesureUnit(other);
                QVERIFY(control->setProperty("MesureUnit", QVariant::fromValue(system)));
                QCOMPARE(MKorvane::MesureUnit(), system);
                MKorvane::setMesureUnit(other);
                QCOMPARE(control->property("MesureUnit").value<qint16>(), other);
            }
        }
        QCOMPARE(names, (QStringList { "ctlSensorHardware", "ctlSensorNV" }));
    }

    // Designer names a dropped control by the plugin's default; uic makes that name a member of
    // the form's class, which must not be the class's own name.
    void formWithTheDefaultNamesBuilds()
    {
#if !defined(VQ_UIC)
        QSKIP("Qt's uic was not found when the tests were configured");
#else
        // The form as Designer saves it: each control's widget element as the plugin gives it.
        static const QRegularExpression widgetElement(
            QStringLiteral("<widget\\b[^>]*?(/>|>.*?</widget>)"), QRegularExpression::DotMatchesEverythingOption);
        static const QRegularExpression nameAttribute(QStringLiteral("<widget\\b[^>]*\\bname=\"([^\"]*)\""));
        QString items, custom;
        QStringList names;
        for (QDesignerCustomWidgetInterface *entry : pluginControls()) {
            const QString widget = widgetElement.match(entry->domXml()).captured(0);
            QVERIFY2(!widget.isEmpty(), qPrintable(entry->domXml()));
            names << nameAttribute.match(widget).captured(1);
            items += QStringLiteral("<item>%1</item>").arg(widget);
            custom += QStringLiteral("<customwidget><class>%1</class><extends>QWidget</extends><header>%2</header>"
                                     "</customwidget>")
                          .arg(entry->name(), entry->includeFile());
        }
        QCOMPARE(names, (QStringList { "sensorHardware", "sensorNV" }));
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const auto write = [&dir](const QString &name, const QString &text) {
            QFile file(dir.filePath(name));
            return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0;
        };
        QVERIFY(write(QStringLiteral("form.ui"),
            QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><ui version=\"4.0\"><class>Form</class>"
                           "<widget class=\"QWidget\" name=\"Form\"><layout class=\"QHBoxLayout\" name=\"row\">%1"
                           "</layout></widget><customwidgets>%2</customwidgets><resources/><connections/></ui>")
                .arg(items, custom)));
        QVERIFY(write(QStringLiteral("form.cpp"),
            QStringLiteral("#include \"ui_form.h\"\nvoid build(QWidget *form)\n{\n    Ui::Form ui;\n"
                           "    ui.setupUi(form);\n}\n")));
        const auto run = [&dir](const QString &program, const QStringList &arguments) {
            QProcess process;
            process.setWorkingDirectory(dir.path());
            process.setProcessChannelMode(QProcess::MergedChannels);
            process.start(program, arguments);
            if (!process.waitForFinished(120000)) {
                process.kill();
                process.waitForFinished();
                return QStringLiteral("%1 did not end").arg(program);
            }
            const QString output = QString::fromLocal8Bit(process.readAll());
            return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0
                ? QString()
                : QStringLiteral("%1 failed:\n%2").arg(program, output);
        };
        QString failed = run(
            QStringLiteral(VQ_UIC), { QStringLiteral("form.ui"), QStringLiteral("-o"), QStringLiteral("ui_form.h") });
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
        QStringList arguments { QStringLiteral("-std=c++17"), QStringLiteral("-fPIC"), QStringLiteral("-fsyntax-only"),
            QStringLiteral("-I."), QStringLiteral("form.cpp") };
        for (const QString &include : QStringLiteral(VQ_FORM_INCLUDES).split(QLatin1Char('|'), Qt::SkipEmptyParts))
            arguments << QStringLiteral("-I") + include;
        failed = run(QStringLiteral(VQ_CXX_COMPILER), arguments);
        QVERIFY2(failed.isEmpty(), qPrintable(failed.left(3000)));
#endif
    }

    void formKeepsAllowChangeNvName_data()
    {
        QTest::addColumn<QString>("stored"); // the property as Designer writes it; empty: not written (the default)
        QTest::addColumn<bool>("allowed");
        const QString property = "<property name=\"AllowChangeNvName\"><bool>%1</bool></property>";
        QTest::newRow("not written") << QString() << false;
        QTest::newRow("true") << property.arg("true") << true;
        QTest::newRow("false") << property.arg("false") << false;
    }
    void formKeepsAllowChangeNvName()
    {
        QFETCH(QString, stored);
        QFETCH(bool, allowed);
        QUiLoader loader;
        loader.clearPluginPaths();
        loader.addPluginPath(QStringLiteral(VQ_DESIGNER_PLUGIN_DIR));
        const QString xml = R"(<ui version="4.0"><class>HostPage</class><widget class="QWidget" name="HostPage">
            <widget class="ctlSensorHardware" name="hardware"/><widget class="ctlSensorNV" name="network">%1</widget>
            </widget></ui>)";
        QByteArray form = xml.arg(stored).toUtf8();
        QBuffer buffer(&form);
        buffer.open(QIODevice::ReadOnly);
        QScopedPointer<QWidget> page(loader.load(&buffer));
        QVERIFY2(page, qPrintable(loader.errorString()));
        QStringList built;
        for (QWidget *child : page->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            built << child->objectName() + ':' + child->metaObject()->className();
        QCOMPARE(built, (QStringList { "hardware:ctlSensorHardware", "network:ctlSensorNV" }));
        QWidget *network = page->findChild<QWidget *>(QStringLiteral("network"));

        // Designer offers and stores only this property; the host sets the others at run time.
        const QMetaObject *meta = network->metaObject();
        QStringList designable;
        for (int i = meta->superClass()->propertyCount(); i < meta->propertyCount(); ++i) {
            if (meta->property(i).isDesignable() || meta->property(i).isStored())
                designable << QString::fromLatin1(meta->property(i).name());
        }
        QCOMPARE(designable, QStringList { "AllowChangeNvName" });

        auto *name = network->findChild<QLineEdit *>(QStringLiteral("txtHwInputNVName"));
        // A name that may be edited looks like a field; a locked one like the panel around it.
        const QColor field = QApplication::palette().color(QPalette::Base);
        const QColor panel = network->palette().color(QPalette::Window);
        QVERIFY(field != panel);
        for (bool allow : { allowed, !allowed }) { // as loaded, then changed on the loaded control
            QCOMPARE(network->property("AllowChangeNvName").toBool(), allow);
            QCOMPARE(name->isReadOnly(), !allow);
            QCOMPARE(name->palette().color(QPalette::Base), allow ? field : panel);
            network->setProperty("AllowChangeNvName", !allow);
        }
    }
};

QTEST_MAIN(tst_DesignerPlugin)
#include "tst_designer_plugin.moc"
