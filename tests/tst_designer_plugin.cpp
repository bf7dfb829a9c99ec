// SPDX-License-Identifier: MIT
// The Designer plugin as Qt's own loaders see it: the plugin loader finds the control
// collection, and a form loader builds a form that names the control.
#include <QBuffer>
#include <QDir>
#include <QPluginLoader>
#include <QUiLoader>
#include <QtTest>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

class tst_DesignerPlugin : public QObject
{
    Q_OBJECT

private slots:
    void pluginLoaderFindsTheControls();
    void formLoaderBuildsAFormWithTheControl();
};

static QString pluginFile()
{
    const QDir dir(QStringLiteral(VQ_DESIGNER_PLUGIN_DIR));
    const QStringList files = dir.entryList({ QStringLiteral("*vqzovezuvaveva_designer*") }, QDir::Files);
    return files.isEmpty() ? QString() : dir.filePath(files.first());
}

void tst_DesignerPlugin::pluginLoaderFindsTheControls()
{
    const QString file = pluginFile();
    QVERIFY2(!file.isEmpty(), "the plugin was not built");
    QPluginLoader loader(file);
    QObject *instance = loader.instance();
    QVERIFY2(instance, qPrintable(loader.errorString()));
    auto *collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(instance);
    QVERIFY(collection);

    QStringList names;
    for (QDesignerCustomWidgetInterface *entry : collection->customWidgets()) {
        names << entry->name();
        QVERIFY(entry->domXml().contains(entry->name()));
        QScopedPointer<QWidget> widget(entry->createWidget(nullptr));
        QVERIFY(widget);
        QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), entry->name());
    }
    QVERIFY(names.contains(QStringLiteral("ctlSensorHardware")));

    // The created control carries its widgets by their names.
    QDesignerCustomWidgetInterface *hardware = collection->customWidgets().first();
    QScopedPointer<QWidget> control(hardware->createWidget(nullptr));
    QVERIFY(control->findChild<QWidget *>(QStringLiteral("txtMin")));
    QVERIFY(control->findChild<QWidget *>(QStringLiteral("cboInput")));
}

void tst_DesignerPlugin::formLoaderBuildsAFormWithTheControl()
{
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QStringLiteral(VQ_DESIGNER_PLUGIN_DIR));
    QVERIFY(loader.availableWidgets().contains(QStringLiteral("ctlSensorHardware")));

    QByteArray form = R"(<ui version="4.0"><class>HostPage</class>
        <widget class="QWidget" name="HostPage">
          <widget class="ctlSensorHardware" name="hardware"/>
        </widget></ui>)";
    QBuffer buffer(&form);
    buffer.open(QIODevice::ReadOnly);
    QScopedPointer<QWidget> page(loader.load(&buffer));
    QVERIFY2(page, qPrintable(loader.errorString()));
    QWidget *hardware = page->findChild<QWidget *>(QStringLiteral("hardware"));
    QVERIFY(hardware);
    QCOMPARE(QString::fromLatin1(hardware->metaObject()->className()), QStringLiteral("ctlSensorHardware"));
}

QTEST_MAIN(tst_DesignerPlugin)
#include "tst_designer_plugin.moc"
