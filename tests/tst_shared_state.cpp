// SPDX-License-Identifier: MIT
// One process-wide state for every user of the shared library in a process: this program
// links the library and loads the Designer plugin, which links it too, as a host with a
// plug-in does. A measurement system set through a control the plugin created is read
// through the library directly, and the other way round. Were the plugin to carry its own
// copy of the library (a static archive linked into it), each would see only its own.
#include "hardware/ctlSensorHardware.h"
#include "network/ctlSensorNV.h"
#include "shared/ProcessState.h"

#include <QApplication>
#include <QDir>
#include <QPluginLoader>
#include <QScopedPointer>
#include <QtTest>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

class tst_SharedState : public QObject
{
    Q_OBJECT

private:
    // A control of that class as the plugin creates it, or nullptr (the test then fails).
    QWidget *createThroughPlugin(const QString &className)
    {
        const QDir dir(QStringLiteral(VQ_DESIGNER_PLUGIN_DIR));
        const QStringList files = dir.entryList({ QStringLiteral("*vqzovezuvaveva_designer*") }, QDir::Files);
        if (files.isEmpty())
            return nullptr;
        QPluginLoader loader(dir.filePath(files.first()));
        auto *collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(loader.instance());
        if (!collection)
            qWarning("%s", qPrintable(loader.errorString()));
        for (QDesignerCustomWidgetInterface *entry :
            collection ? collection->customWidgets() : QList<QDesignerCustomWidgetInterface *>()) {
            if (entry->name() == className)
                return entry->createWidget(nullptr);
        }
        return nullptr;
    }

private slots:
    void measurementSystemIsOneForPluginAndHost_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<qint16>("system");
        for (const char *name : { "ctlSensorHardware", "ctlSensorNV" }) {
            QTest::addRow("%s, US", name) << QString::fromLatin1(name) << qint16(MEASUREMENT_SYSTEM_US);
            QTest::addRow("%s, SI", name) << QString::fromLatin1(name) << qint16(MEASUREMENT_SYSTEM_SI);
        }
    }

    void measurementSystemIsOneForPluginAndHost()
    {
        QFETCH(QString, className);
        QFETCH(qint16, system);
        const qint16 other = system == MEASUREMENT_SYSTEM_US ? MEASUREMENT_SYSTEM_SI : MEASUREMENT_SYSTEM_US;
        QScopedPointer<QWidget> control(createThroughPlugin(className));
        QVERIFY2(control, "the plugin did not create the control");
        // One class in the process: the plugin's control has the library's meta-object.
        const QMetaObject *libraryClass = className == QLatin1String("ctlSensorHardware")
            ? &ctlSensorHardware::staticMetaObject
            : &ctlSensorNV::staticMetaObject;
        QCOMPARE(control->metaObject(), libraryClass);

        // Set through the plugin's control, read through the library.
        MKorvane::setMesureUnit(other);
        QVERIFY(control->setProperty("MesureUnit", QVariant::fromValue(system)));
        QCOMPARE(MKorvane::MesureUnit(), system);
        // Set through the library, read through the plugin's control.
        MKorvane::setMesureUnit(other);
        QCOMPARE(control->property("MesureUnit").value<qint16>(), other);
    }
};

QTEST_MAIN(tst_SharedState)
#include "tst_shared_state.moc"
