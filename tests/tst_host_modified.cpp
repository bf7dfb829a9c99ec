// SPDX-License-Identifier: MIT
// The window's modified mark means a real difference: reading the live value, watching
// it, an editor closed with Cancel or with OK on the values it showed, or a field typed
// back to what it showed never mark the page, and OK then stores nothing. An edit marks
// it, and OK stores exactly that edit. Everything goes through the widgets. Watching, with a
// short interval: the trend gathers readings of a moving value in the input's unit, and
// stops when the input or the units change or the window hides.
#include "support/HostTestCase.h"
#include "watch/LiveTrend.h"
#include "watch/TrendView.h"

#include <QDialog>
#include <QPushButton>

using namespace Host;

class tst_host_modified : public TestSupport::HostTestCase
{
    Q_OBJECT

    double seconds = 0;

    QPushButton *hostButton(const char *name) const { return hostWidget<QPushButton>(QString::fromLatin1(name)); }
    QByteArray database() const
    {
        QFile file(sim->databasePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Send times belong to the variable.
    QString stored(const QString &block, const QString &cp) const
    {
        return storedText(block, cp, cp.endsWith(QLatin1String("SendTime")));
    }

public:
    tst_host_modified()
    {
        host.recordSeams = true;
        host.size = QSize(1250, 680);
    }

protected:
    void afterWindow() override
    {
        // Every reading of the network's clock is seven seconds on: the live value moves.
        seconds = 0;
        window->network()->setClock([this] { return seconds += 7; });
        window->trend()->setInterval(20);
        recordQuestions();
    }

private slots:
    void onlyARealDifferenceMarksThePage_data()
    {
        QTest::addColumn<QString>("block");
        // Each step: "value" (Get Value), "watch" (Watch on until it has read twice),
        // "type <field> <text>", "back <field>" (types what the field showed before the
        // first type), "table <cell> <text> ok|cancel" (the table editor, one cell typed;
        // cell -1 types none).
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QString>("cp"); // a property the edit stores, or none
        QTest::addColumn<QString>("value"); // what it stores afterwards, as a number
        // Get Value alone, a maximum typed back and a maximum typed are each the start of a row.
        const auto row
            = [](const char *name, const char *block, const QStringList &steps, bool modified, const char *cp = "",
                  const char *value = "") { QTest::newRow(name) << block << steps << modified << cp << value; };
        row("Watch, then Get Value", "HwInput[0]", { "watch", "value" }, false);
        row("table editor, a cell typed, Cancel", "HwInput[3]", { "table 6 7 cancel" }, false);
        // The sample's tables of enumerated inputs lie within the enumeration's range.
        row("table editor, OK on the values shown", "HwInput[3]", { "table -1 - ok" }, false);
        row("table editor of a version-1 block, OK", "HwInput[7]", { "table -1 - ok" }, false);
        row("heartbeat typed back", "HwInput[0]", { "type txtHeart 120", "back txtHeart" }, false);
        row("maximum typed back, then Get Value", "HwInput[0]", { "type txtMax 30", "back txtMax", "value" }, false);
        row("heartbeat typed", "HwInput[0]", { "type txtHeart 120" }, true, "SCPTmaxSendTime", "120");
        row("maximum typed, then Get Value", "HwInput[0]", { "value", "type txtMax 30", "value" }, true, "SCPTmaxRnge",
            "30");
        row("table cell typed, OK, then Cancel", "HwInput[3]", { "table 6 7 ok", "table -1 - cancel" }, true,
            "UCPTtransTable", "");
    }
    void onlyARealDifferenceMarksThePage()
    {
        QFETCH(QString, block);
        QFETCH(QStringList, steps);
        QFETCH(bool, modified);
        QFETCH(QString, cp);
        QFETCH(QString, value);
        QVERIFY(window->selectInput(Controller, block));
        QVERIFY(!window->isWindowModified());
        const QByteArray before = database();
        const QString tableBefore = stored(block, QStringLiteral("UCPTtransTable"));
        QHash<QString, QString> shownFirst;
        for (const QString &step : std::as_const(steps)) {
            const QStringList word = step.split(QLatin1Char(' '));
            if (word.first() == QLatin1String("value")) {
                auto live = pageWidget(QStringLiteral("txtValue"));
                const QString was = live->text();
                QTest::mouseClick(pageWidget<QPushButton>(QStringLiteral("cmdValue")), Qt::LeftButton);
                QVERIFY2(live->text() != was, qPrintable(was)); // the live value moved
            } else if (word.first() == QLatin1String("watch")) {
                QTest::mouseClick(hostButton("hostWatch"), Qt::LeftButton);
                QVERIFY(window->watching());
                QTRY_VERIFY(window->trend()->view()->readings().size() >= 2);
                QTest::mouseClick(hostButton("hostWatch"), Qt::LeftButton);
                QVERIFY(!window->watching());
            } else if (word.first() == QLatin1String("type") || word.first() == QLatin1String("back")) {
                auto field = pageWidget(word.at(1));
                QVERIFY2(field && field->isVisible(), qPrintable(word.at(1)));
                if (!shownFirst.contains(word.at(1)))
                    shownFirst.insert(word.at(1), field->text());
                typeInto(field, word.first() == QLatin1String("type") ? word.at(2) : shownFirst.value(word.at(1)));
                if (word.first() == QLatin1String("type"))
                    QVERIFY(window->isWindowModified()); // a real edit marks at once
            } else if (word.first() == QLatin1String("table")) {
                const int modals = seams->modalCount();
                seams->setModalDriver([&word](QDialog &dialog) {
                    dialog.show();
                    if (word.at(1) != QLatin1String("-1")) {
                        auto cell = dialog.findChild<QLineEdit *>(QStringLiteral("txtTable_%1").arg(word.at(1)));
                        typeInto(cell, word.at(2));
                    }
                    const bool ok = word.at(3) == QLatin1String("ok");
                    QTest::mouseClick(
                        dialog.findChild<QPushButton *>(ok ? QStringLiteral("cmdOK") : QStringLiteral("cmdCancel")),
                        Qt::LeftButton);
                    return dialog.result();
                });
                QTest::mouseClick(pageWidget<QPushButton>(QStringLiteral("cmdTable")), Qt::LeftButton);
                QCOMPARE(seams->modalCount(), modals + 1);
            }
        }
        QVERIFY2(seams->messageTexts().isEmpty(), qPrintable(seams->messageTexts().join(QLatin1Char('\n'))));
        QCOMPARE(window->isWindowModified(), modified);

        QTest::mouseClick(hostButton("hostOk"), Qt::LeftButton);
        QVERIFY2(asked.isEmpty(), qPrintable(asked.join(QLatin1Char('\n'))));
        QVERIFY2(!window->isVisible(), qPrintable(window->logText()));
        if (!modified) {
            QVERIFY2(window->logText().contains(block + QStringLiteral(": nothing to write.")),
                qPrintable(window->logText()));
            QVERIFY2(!window->logText().contains(QLatin1String("side: written")), qPrintable(window->logText()));
            QVERIFY(database() == before);
        } else if (cp == QLatin1String("UCPTtransTable")) {
            QVERIFY(stored(block, cp) != tableBefore);
        } else {
            QCOMPARE(stored(block, cp).toDouble(), value.toDouble());
        }
    }

    void watchingStops_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("another input") << "input";
        QTest::newRow("other units") << "units";
        QTest::newRow("window hidden") << "hide";
        QTest::newRow("button") << "button";
    }
    // The trend draws the moving value in the input's unit until watching stops.
    void watchingStops()
    {
        QFETCH(QString, how);
        hostButton("hostWatch")->click();
        QVERIFY(window->watching());
        QVERIFY(window->trend()->isVisible());
        QTRY_VERIFY(window->trend()->view()->readings().size() >= 3);
        const QVector<QPointF> readings = window->trend()->view()->readings();
        QSet<double> values;
        for (const QPointF &reading : readings) {
            QVERIFY2(reading.y() > 19.9 && reading.y() < 23.1, qPrintable(QString::number(reading.y())));
            values.insert(reading.y());
        }
        QVERIFY(values.size() >= 2); // it moves
        QVERIFY(readings.last().x() > readings.first().x());
        QCOMPARE(window->trend()->view()->unit(), QStringLiteral("°C"));
        QVERIFY(!window->trend()->view()->grab().isNull()); // paints without a fault
        if (how == QLatin1String("input"))
            QVERIFY(window->selectInput(Controller, QStringLiteral("HwInput[1]")));
        else if (how == QLatin1String("units"))
            QVERIFY(window->setMeasurementSystem(1));
        else if (how == QLatin1String("hide"))
            window->hide();
        else
            hostButton("hostWatch")->click();
        QVERIFY(!window->watching());
        QVERIFY(!hostButton("hostWatch")->isChecked());
        QVERIFY(window->trend()->isHidden());
        const int count = window->trend()->view()->readings().size();
        QTest::qWait(100); // five intervals
        QCOMPARE(window->trend()->view()->readings().size(), count);
    }
};

QTEST_MAIN(tst_host_modified)
#include "tst_host_modified.moc"
