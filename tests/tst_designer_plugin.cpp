// SPDX-License-Identifier: MIT
// The Designer plugin as Qt's own loaders see it: the plugin loader finds both controls,
// and a form loader builds a form with them that restores the network control's one
// design-time setting.
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
    void pluginLoaderFindsTheControls()
    {
        const QDir dir(QStringLiteral(VQ_DESIGNER_PLUGIN_DIR));
        const QStringList files = dir.entryList({ QStringLiteral("*vqzovezuvaveva_designer*") }, QDir::Files);
        QVERIFY2(!files.isEmpty(), "the plugin was not built");
        QPluginLoader loader(dir.filePath(files.first()));
        auto *collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(loader.instance());
        QVERIFY2(collection, qPrintable(loader.errorString()));
        QStringList names;
        for (QDesignerCustomWidgetInterface *entry : collection->customWidgets()) {
            names << entry->name();
            QVERIFY(entry->domXml().contains(entry->name()));
            QScopedPointer<QWidget> widget(entry->createWidget(nullptr));
            QVERIFY(widget);
            QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), entry->name());
        }
        QCOMPARE(names, (QStringList { "ctlSensorHardware", "ctlSensorNV" }));
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

        QCOMPARE(network->property("AllowChangeNvName").toBool(), allowed);
        auto *name = network->findChild<QLineEdit *>(QStringLiteral("txtHwInputNVName"));
        // A name that may be edited looks like a field; a locked one like the panel around it.
        const QColor field = QApplication::palette().color(QPalette::Base);
        const QColor panel = network->palette().color(QPalette::Window);
        QVERIFY(field != panel);
        for (bool allow : { allowed, !allowed }) { // as loaded, then changed on the loaded control
            QCOMPARE(name->isReadOnly(), !allow);
            QCOMPARE(name->palette().color(QPalette::Base), allow ? field : panel);
            network->setProperty("AllowChangeNvName", !allow);
        }
    }
};

QTEST_MAIN(tst_DesignerPlugin)
#include "tst_designer_plugin.moc"
