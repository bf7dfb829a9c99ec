// SPDX-License-Identifier: MIT
// The mouse wheel over a list changes its value only when the list has the focus; otherwise
// the page scrolls. Every list of both controls (on an input that shows them) and of the host.
#include "support/HostTestCase.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"
#include "window/HostWindow.h"

#include <QComboBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <QtTest/qtestspontaneevent.h>

namespace {

void turnWheel(QWidget *widget, QPoint angle = QPoint(0, -120))
{
    const QPointF at = QRectF(widget->rect()).center();
    QWheelEvent wheel(
        at, widget->mapToGlobal(at), QPoint(), angle, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    // As from the mouse, which Qt passes on to the parents (sendEvent would make it synthetic).
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    qApp->notify(widget, &wheel);
}

} // namespace

class tst_host_wheel : public TestSupport::HostTestCase
{
    Q_OBJECT

public:
    tst_host_wheel()
    {
        host.size = QSize(640, 400); // smaller than the page: the page scrolls
    }

private slots:
    void wheelChangesOnlyAFocusedList_data()
    {
        QTest::addColumn<QString>("input"); // an input whose page shows the list
        QTest::addColumn<QString>("list");
        // clang-format off
        QTest::newRow("interpretation") << "HwInput[0]" << "cboInput";
        QTest::newRow("signal type") << "HwInput[1]" << "cboSignal";
        QTest::newRow("thermistor") << "HwInput[0]" << "cboTherm";
        QTest::newRow("enumerated override") << "HwInput[3]" << "cboOverride";
        QTest::newRow("enumerated default") << "HwInput[3]" << "cboDefault";
        QTest::newRow("host: interpretations offered") << "HwInput[0]" << "hostChoice";
        // clang-format on
    }
    void wheelChangesOnlyAFocusedList()
    {
        QFETCH(QString, input);
        QFETCH(QString, list);
        QVERIFY(window->selectInput(QStringLiteral("HWI-Controller 1"), input));
        auto combo = window->findChild<QComboBox *>(list);
        QVERIFY(combo && combo->isVisible() && combo->count() > 1);
        combo->setCurrentIndex(0);
        QCoreApplication::processEvents(); // the page's layout settles
        auto scroll = window->findChild<QScrollArea *>();
        QVERIFY(scroll);
        const auto position
            = [scroll] { return QPoint(scroll->horizontalScrollBar()->value(), scroll->verticalScrollBar()->value()); };
        const QPoint scrolled = position();

        window->findChild<QTreeWidget *>()->setFocus();
        turnWheel(combo);
        QCOMPARE(combo->currentIndex(), 0);
        // The page is wider than the window, not taller: a sideways turn over the list scrolls it.
        turnWheel(combo, QPoint(-120, 0));
        if (scroll->isAncestorOf(combo))
            QVERIFY2(position() != scrolled, "the page did not scroll");

        QCOMPARE(combo->focusPolicy(), Qt::StrongFocus);
        combo->setFocus();
        QTRY_VERIFY(combo->hasFocus());
        turnWheel(combo);
        QCOMPARE(combo->currentIndex(), 1);
    }

    // Lists the rows above do not reach (shown only for some inputs) are guarded the same way.
    void everyListTakesTheFocusOnlyByTabOrClick()
    {
        QVERIFY(window->selectInput(QStringLiteral("HWI-Controller 1"), QStringLiteral("HwInput[3]")));
        QStringList loose;
        for (auto combo : window->findChildren<QComboBox *>()) {
            if (combo->focusPolicy() != Qt::StrongFocus)
                loose << combo->objectName();
        }
        QCOMPARE(loose, QStringList());
    }

private:
};

QTEST_MAIN(tst_host_wheel)
#include "tst_host_wheel.moc"
