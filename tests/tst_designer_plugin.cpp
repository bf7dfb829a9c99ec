// SPDX-License-Identifier: MIT
// The Designer plugin as Qt's own loaders see it: the plugin loader finds the control
// collection, and a form loader builds a form that names the controls and restores the
// network control's one design-time setting.
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QLineEdit>
#include <QMetaProperty>
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
    void allowChangeNvNameIsKeptInTheForm_data();
    void allowChangeNvNameIsKeptInTheForm();
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
    QCOMPARE(names, (QStringList { "ctlSensorHardware", "ctlSensorNV" }));

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

void tst_DesignerPlugin::allowChangeNvNameIsKeptInTheForm_data()
{
    QTest::addColumn<QString>("stored"); // the property as Designer writes it; empty: not written (the default)
    QTest::addColumn<bool>("allowed");

    QTest::newRow("not written") << QString() << false;
    QTest::newRow("true") << "<property name=\"AllowChangeNvName\"><bool>true</bool></property>" << true;
    QTest::newRow("false") << "<property name=\"AllowChangeNvName\"><bool>false</bool></property>" << false;
}

void tst_DesignerPlugin::allowChangeNvNameIsKeptInTheForm()
{
    QFETCH(QString, stored);
    QFETCH(bool, allowed);

    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QStringLiteral(VQ_DESIGNER_PLUGIN_DIR));
    QByteArray form = QStringLiteral(R"(<ui version="4.0"><class>HostPage</class>
        <widget class="QWidget" name="HostPage">
          <widget class="ctlSensorNV" name="network">%1</widget>
        </widget></ui>)")
                          .arg(stored)
                          .toUtf8();
    QBuffer buffer(&form);
    buffer.open(QIODevice::ReadOnly);
    QScopedPointer<QWidget> page(loader.load(&buffer));
    QVERIFY2(page, qPrintable(loader.errorString()));
    QWidget *network = page->findChild<QWidget *>(QStringLiteral("network"));
    QVERIFY(network);

    // Designer offers and stores only this property; the host sets the others at run time.
    const QMetaObject *meta = network->metaObject();
    QStringList designable;
    for (int i = meta->superClass()->propertyCount(); i < meta->propertyCount(); ++i) {
        if (meta->property(i).isDesignable() || meta->property(i).isStored())
            designable << QString::fromLatin1(meta->property(i).name());
    }
    QCOMPARE(designable, QStringList { "AllowChangeNvName" });

    QCOMPARE(network->property("AllowChangeNvName").toBool(), allowed);
    auto *name = network->findChild<QLineEdit *>(QStringLiteral("txtHwInputNVName"));
    QCOMPARE(name->isReadOnly(), !allowed);
    // A name that may be edited looks like a field; a locked one like the panel around it.
    const QColor field = QApplication::palette().color(QPalette::Base);
    const QColor panel = network->palette().color(QPalette::Window);
    QVERIFY(field != panel);
    QCOMPARE(name->palette().color(QPalette::Base), allowed ? field : panel);

    // Both ways on the loaded control.
    network->setProperty("AllowChangeNvName", !allowed);
    QCOMPARE(name->isReadOnly(), allowed);
    QCOMPARE(name->palette().color(QPalette::Base), allowed ? panel : field);
}

QTEST_MAIN(tst_DesignerPlugin)
#include "tst_designer_plugin.moc"
