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

namespace {

// The width and height of the top-level geometry of a form file in the source tree.
QSize formFileSize(const QString &form)
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

// What keeps the shown control from being whole at the design size: too small, or visible
// children that do not lie wholly inside it.
QStringList notWhole(const QWidget *control, const QSize &design)
{
    QStringList faults;
    if (!control->isVisible() || control->width() < design.width() || control->height() < design.height())
        faults << QStringLiteral("shown at %1x%2").arg(control->width()).arg(control->height());
    for (const QWidget *child : control->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->isVisibleTo(control) && !control->rect().contains(child->geometry()))
            faults << child->objectName();
    }
    return faults;
}

} // namespace

class tst_embedding : public QObject
{
    Q_OBJECT

private slots:
    void showsWholeAtItsDesignSize()
    {
        const std::pair<std::function<QWidget *()>, QString> forms[]
            = { { [] { return new ctlSensorHardware; }, QStringLiteral("hardware/ctlSensorHardware.ui") },
                  { [] { return new fTable; }, QStringLiteral("hardware/fTable.ui") },
                  { [] { return new ctlSensorNV; }, QStringLiteral("network/ctlSensorNV.ui") } };
        TestSupport::SimFixture sim;
        TestSupport::SeamRecorder seams;
        for (const auto &[make, form] : forms) {
            const QSize design = formFileSize(form);
            QVERIFY2(design.isValid(), qPrintable(form));
            // Shown as a window of its own, and in a host window sized by a vertical layout alone.
            std::unique_ptr<QWidget> alone(make());
            QCOMPARE(alone->sizeHint(), design);
            QCOMPARE(alone->minimumSizeHint(), design);
            alone->show();
            QVERIFY(QTest::qWaitForWindowExposed(alone.get()));
            QCOMPARE(notWhole(alone.get(), design), QStringList());

            QWidget window;
            QWidget *control = make();
            (new QVBoxLayout(&window))->addWidget(control);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(notWhole(control, design), QStringList());
            QVERIFY(window.width() > design.width() && window.height() > design.height());
            // The user cannot shrink the window below what the control needs.
            window.resize(50, 50);
            QApplication::processEvents();
            QCOMPARE(notWhole(control, design), QStringList());
        }
    }
};

QTEST_MAIN(tst_embedding)
#include "tst_embedding.moc"
