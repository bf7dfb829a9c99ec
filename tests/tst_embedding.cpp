// SPDX-License-Identifier: MIT
// The controls and forms as an integrator meets them: put into a Qt layout (or shown as
// a window of their own), each shows whole at the size of its form file.
#include "hardware/ctlSensorHardware.h"
#include "hardware/fTable.h"
#include "network/ctlSensorNV.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"

#include <QApplication>
#include <QFile>
#include <QTest>
#include <QVBoxLayout>
#include <QXmlStreamReader>
#include <functional>
#include <memory>

using Factory = std::function<QWidget *()>;
Q_DECLARE_METATYPE(Factory)

class tst_embedding : public QObject
{
    Q_OBJECT

private slots:
    void showsWholeAtItsDesignSize_data()
    {
        QTest::addColumn<Factory>("make");
        QTest::addColumn<QString>("form");
        QTest::newRow("ctlSensorHardware")
            << Factory([] { return new ctlSensorHardware; }) << QStringLiteral("hardware/ctlSensorHardware.ui");
        QTest::newRow("fTable") << Factory([] { return new fTable; }) << QStringLiteral("hardware/fTable.ui");
        QTest::newRow("ctlSensorNV") << Factory([] { return new ctlSensorNV; })
                                     << QStringLiteral("network/ctlSensorNV.ui");
    }
    void showsWholeAtItsDesignSize()
    {
        QFETCH(Factory, make);
        QFETCH(QString, form);
        TestSupport::SimFixture sim;
        TestSupport::SeamRecorder seams;
        const QSize design = formFileSize(form);
        QVERIFY2(design.isValid(), qPrintable(form));

        // Shown as a window of its own, and in a host window sized by a vertical layout alone.
        std::unique_ptr<QWidget> alone(make());
        QCOMPARE(alone->sizeHint(), design);
        QCOMPARE(alone->minimumSizeHint(), design);
        alone->show();
        QVERIFY(QTest::qWaitForWindowExposed(alone.get()));
        QVERIFY(alone->width() >= design.width() && alone->height() >= design.height());
        QCOMPARE(cutOff(alone.get()), QStringList());

        QWidget window;
        QWidget *control = make();
        (new QVBoxLayout(&window))->addWidget(control);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY2(control->isVisible(), "the control is hidden");
        QVERIFY2(control->width() >= design.width() && control->height() >= design.height(),
            qPrintable(QStringLiteral("%1x%2").arg(control->width()).arg(control->height())));
        QVERIFY(window.width() > design.width() && window.height() > design.height());
        QCOMPARE(cutOff(control), QStringList());
        // The user cannot shrink the window below what the control needs.
        window.resize(50, 50);
        QApplication::processEvents();
        QVERIFY(control->width() >= design.width() && control->height() >= design.height());
    }

private:
    // The width and height of the top-level geometry of a form file in the source tree.
    static QSize formFileSize(const QString &form)
    {
        QFile file(QStringLiteral(VQ_DATA_DIR "/../src/") + form);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QXmlStreamReader xml(&file);
        int width = -1;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("width"))
                width = xml.readElementText().toInt();
            else if (xml.name() == QLatin1String("height"))
                return { width, xml.readElementText().toInt() };
        }
        return {};
    }
    // The visible children that do not lie wholly inside their parent's rectangle.
    static QStringList cutOff(const QWidget *widget)
    {
        QStringList names;
        for (const QWidget *child : widget->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (child->isVisibleTo(widget) && !widget->rect().contains(child->geometry()))
                names << child->objectName();
        }
        return names;
    }
};

QTEST_MAIN(tst_embedding)
#include "tst_embedding.moc"
