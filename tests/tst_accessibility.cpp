// SPDX-License-Identifier: MIT
// One walk over every widget a user reads or changes, under the Fusion style with a dark
// palette (the two controls on several inputs, the transfer table with its curve and, with the
// host, the window and its dialogs): every value widget has a name a screen reader can say (the
// one Qt's accessibility layer reports), and every text reaches its WCAG 2 contrast ratio
// against the background it is painted on. Body text needs 4.5:1; large text (18 pt, or 14 pt
// bold) 3:1 as WCAG allows, and disabled widgets 3:1 too: WCAG asks nothing of them, but a user
// still has to read what a greyed field holds. Of the curve's own colours the line in the
// highlight colour is a graphic (3:1); its marks carry row numbers, text (4.5:1).
#include "hardware/TransferCurve.h"
#include "hardware/fTable.h"
#include "tst_hardware_harness.h"
#include "tst_network_harness.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QPaintEngine>
#include <QScrollBar>
#include <QSet>
#include <QStyleFactory>
#include <cmath>

#ifdef VQ_TEST_HOST
#include "window/HostWindow.h"
#include "window/UnsavedQuestion.h"

#include <QDir>
#include <QFile>
#endif

namespace {

double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &colour) {
        const auto channel
            = [](double value) { return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette darkPalette()
{
    const std::pair<QPalette::ColorRole, QRgb> roles[] = { { QPalette::Window, 0x353535 },
        { QPalette::WindowText, 0xeeeeee }, { QPalette::Base, 0x242424 }, { QPalette::AlternateBase, 0x2e2e2e },
        { QPalette::Text, 0xeeeeee }, { QPalette::Button, 0x404040 }, { QPalette::ButtonText, 0xeeeeee },
        { QPalette::BrightText, 0xffffff }, { QPalette::ToolTipBase, 0x242424 }, { QPalette::ToolTipText, 0xeeeeee },
        { QPalette::PlaceholderText, 0x9a9a9a }, { QPalette::Highlight, 0x3d8ee0 },
        { QPalette::HighlightedText, 0x000000 }, { QPalette::Link, 0x6ab0f0 }, { QPalette::Light, 0x505050 },
        { QPalette::Midlight, 0x484848 }, { QPalette::Mid, 0x2a2a2a }, { QPalette::Dark, 0x202020 },
        { QPalette::Shadow, 0x000000 } };
    QPalette dark;
    for (const auto &[role, rgb] : roles)
        dark.setColor(role, QColor(rgb));
    for (const auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        dark.setColor(QPalette::Disabled, role, QColor(0x8a, 0x8a, 0x8a));
    return dark;
}

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

// The colour the widget's text is painted on: its own panel for fields, lists and buttons,
// otherwise that of the nearest widget that fills its background.
QColor backgroundOf(const QWidget *widget, QPalette::ColorGroup group)
{
    if (qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QAbstractItemView *>(widget))
        return widget->palette().color(group, QPalette::Base);
    if (auto combo = qobject_cast<const QComboBox *>(widget))
        return widget->palette().color(group, combo->isEditable() ? QPalette::Base : QPalette::Button);
    if (qobject_cast<const QPushButton *>(widget))
        return widget->palette().color(group, QPalette::Button);
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (w->autoFillBackground() || w->isWindow())
            return w->palette().color(group, w->backgroundRole());
    }
    return widget->palette().color(group, QPalette::Window);
}

// The text a widget shows, and the role it is painted in.
bool textOf(const QWidget *widget, QString &text, QPalette::ColorRole &role)
{
    if (auto label = qobject_cast<const QLabel *>(widget)) {
        text = label->text();
        role = label->foregroundRole();
    } else if (auto field = qobject_cast<const QLineEdit *>(widget)) {
        text = field->text();
        role = QPalette::Text;
    } else if (auto combo = qobject_cast<const QComboBox *>(widget)) {
        text = combo->currentText();
        role = combo->isEditable() ? QPalette::Text : QPalette::ButtonText;
    } else if (auto button = qobject_cast<const QAbstractButton *>(widget)) {
        text = button->text();
        role = qobject_cast<const QPushButton *>(widget) ? QPalette::ButtonText : QPalette::WindowText;
    } else if (auto frame = qobject_cast<const QGroupBox *>(widget)) {
        text = frame->title();
        role = QPalette::WindowText;
    } else {
        return false;
    }
    return !text.trimmed().isEmpty();
}

// What one walk over root (root included) judged, and what failed.
struct Walk
{
    int valueWidgets = 0;
    int texts = 0;
    QStringList faults;
};

Walk walk(QWidget *root)
{
    Walk result;
    const auto judge = [&](const QString &what, const QColor &fore, const QColor &back, bool relaxed) {
        const double needed = relaxed ? 3.0 : 4.5;
        const double ratio = contrast(fore, back);
        ++result.texts;
        if (ratio < needed)
            result.faults << QStringLiteral("%1: %2 on %3 is %4:1, below %5:1")
                                 .arg(what, fore.name(), back.name())
                                 .arg(ratio, 0, 'f', 2)
                                 .arg(needed);
    };
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    for (QWidget *widget : widgets << root) {
        if (!widget->isVisibleTo(root) && widget != root)
            continue;
        const QString name = QStringLiteral("%1 (%2)").arg(widget->objectName(), widget->metaObject()->className());
        if (widget != root && isValueWidget(widget)) {
            ++result.valueWidgets;
            if (spokenName(widget).isEmpty())
                result.faults << QStringLiteral("without a name: ") + name;
        }
        const QPalette::ColorGroup group = widget->isEnabled() ? QPalette::Active : QPalette::Disabled;
        const QFont font = widget->font();
        const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75;
        const bool relaxed = !widget->isEnabled() || points >= 18 || (font.bold() && points >= 14);
        QString text;
        QPalette::ColorRole role = QPalette::NoRole;
        if (textOf(widget, text, role))
            judge(name + QStringLiteral(" \"") + text + QLatin1Char('"'), widget->palette().color(group, role),
                backgroundOf(widget, group), relaxed);
        // A view's items may carry colours of their own.
        const auto view = qobject_cast<QAbstractItemView *>(widget);
        if (!view || !view->model() || qobject_cast<QHeaderView *>(view))
            continue;
        const QAbstractItemModel *model = view->model();
        QList<QModelIndex> pending { QModelIndex() };
        while (!pending.isEmpty()) {
            const QModelIndex parent = pending.takeFirst();
            for (int row = 0; row < model->rowCount(parent); ++row) {
                for (int column = 0; column < model->columnCount(parent); ++column) {
                    const QModelIndex index = model->index(row, column, parent);
                    if (column == 0)
                        pending << index;
                    const QVariant foreground = index.data(Qt::ForegroundRole);
                    const QVariant background = index.data(Qt::BackgroundRole);
                    if (index.data().toString().isEmpty() || (!foreground.isValid() && !background.isValid()))
                        continue;
                    const QColor fore = foreground.isValid() ? foreground.value<QBrush>().color()
                                                             : widget->palette().color(group, QPalette::Text);
                    const QColor back = background.isValid() ? background.value<QBrush>().color()
                                                             : widget->palette().color(group, QPalette::Base);
                    judge(name + QStringLiteral(" item \"") + index.data().toString() + QLatin1Char('"'), fore, back,
                        relaxed);
                }
            }
        }
    }
    return result;
}

// A walk that judged nothing proves nothing.
#define VERIFY_WALK(root)                                                                                              \
    do {                                                                                                               \
        const Walk w = walk(root);                                                                                     \
        QVERIFY(w.valueWidgets > 0 && w.texts > 0);                                                                    \
        QVERIFY2(w.faults.isEmpty(), qPrintable(w.faults.join(QLatin1Char('\n'))));                                    \
    } while (false)

// Records the colours a widget paints with, from the paint calls themselves rather than the
// pixels (which smoothing blends with the background): the pen of every text and line, and the
// brush of every filled shape.
class ColourRecorder : public QPaintEngine
{
public:
    ColourRecorder()
        : QPaintEngine(QPaintEngine::AllFeatures)
    {
    }
    QVector<std::pair<QColor, bool>> uses; // the colour, and whether a text is drawn with it

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState &state) override
    {
        if (state.state() & QPaintEngine::DirtyPen)
            m_pen = state.pen();
        if (state.state() & QPaintEngine::DirtyBrush)
            m_brush = state.brush();
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override { }
    void drawPath(const QPainterPath &) override { shape(true); }
    void drawPolygon(const QPointF *, int, PolygonDrawMode mode) override { shape(mode != PolylineMode); }
    void drawTextItem(const QPointF &, const QTextItem &) override { uses.append({ m_pen.color(), true }); }

private:
    void shape(bool filled)
    {
        if (m_pen.style() != Qt::NoPen)
            uses.append({ m_pen.color(), false });
        if (filled && m_brush.style() != Qt::NoBrush)
            uses.append({ m_brush.color(), false });
    }
    QPen m_pen;
    QBrush m_brush;
};

// An image's size and resolution, painted into the recorder.
class RecordingDevice : public QImage
{
public:
    explicit RecordingDevice(QSize size)
        : QImage(size, QImage::Format_ARGB32)
    {
    }
    mutable ColourRecorder recorder;
    QPaintEngine *paintEngine() const override { return &recorder; }
};

} // namespace

class tst_accessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QAccessible::setActive(true);
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(darkPalette());
        // The palette is dark: a text that ignores it shows dark on dark.
        QVERIFY(QApplication::palette().color(QPalette::Window).lightness() < 80);
    }

    void hardwareControl_data() { HardwareTest::addWalkRows(); }
    void hardwareControl()
    {
        HardwareTest::Harness h;
        QVERIFY(HardwareTest::openWalkRow(h));
        VERIFY_WALK(h.control.get());
    }

    void networkControl_data() { NetworkTest::addWalkRows(); }
    void networkControl()
    {
        NetworkTest::Harness h;
        NetworkTest::openWalkRow(h);
        VERIFY_WALK(h.control.get());
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

    // A theme changed while the controls are open reaches the fields that show another role
    // than their own: the locked name on the panel's colour, the live value on the button face.
    void fieldsFollowAThemeChange()
    {
        NetworkTest::Harness n;
        HardwareTest::Harness hw;
        n.open(NetworkTest::Temperature);
        QVERIFY(hw.open(2, HardwareTest::SnvtTempP));
        const std::tuple<QWidget *, QLineEdit *, QPalette::ColorRole> fields[]
            = { { n.control.get(), n.widget<QLineEdit>(QStringLiteral("txtHwInputNVName")), QPalette::Window },
                  { hw.control.get(), hw.widget<QLineEdit>(QStringLiteral("txtValue")), QPalette::Button } };
        n.control->show();
        hw.control->show();
        const auto restore = qScopeGuard([] { QApplication::setPalette(darkPalette()); });
        for (const QPalette &theme : { QPalette(QColor(0xf0, 0xf0, 0xf0)), darkPalette() }) {
            QApplication::setPalette(theme);
            QCoreApplication::processEvents(); // the widgets hear of it through posted events
            for (const auto &[control, field, shown] : fields) {
                QCOMPARE(field->palette().color(QPalette::Base), control->palette().color(shown));
                QCOMPARE(control->palette().color(QPalette::Window), theme.color(QPalette::Window));
                VERIFY_WALK(control);
            }
        }
    }

    // The cells are named by their column's caption and their row, in English and in other
    // captions. The curve paints the line, the points and the marks of a cell that is not a
    // number and of an output out of range.
    void transferTable_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::newRow("English") << "Input Value"
                                 << "Output Value";
        QTest::newRow("other captions") << "Widerstand"
                                        << "Temperatur";
    }
    void transferTable()
    {
        QFETCH(QString, input);
        QFETCH(QString, output);
        TestSupport::SimFixture sim;
        TestSupport::SeamRecorder seams;
        fTable form;
        QStringList fields;
        for (int row = 0; row < 16; ++row)
            fields << QString::number(row * 10) << QString::number(row * 7);
        fields[5] = QStringLiteral("x"); // not a number: a cross and its row number
        fields[9] = QStringLiteral("500"); // beyond the range: a square and its row number
        form.setCPTransTableValue(fields.join(QLatin1Char(' ')));
        form.InitForm(
            QStringLiteral("SNVT_temp_p#SI"), sim->programId(sim.firstDeviceName()), 3, input, output, true, 0, 100);
        form.show();
        VERIFY_WALK(&form);
        auto cell = [&](int k) { return form.findChild<QLineEdit *>(QStringLiteral("txtTable_%1").arg(k)); };
        QVERIFY(spokenName(cell(0)).startsWith(input));
        QVERIFY(spokenName(cell(31)).startsWith(output));
        QVERIFY(spokenName(cell(0)) != spokenName(cell(2)));

        auto curve = form.findChild<TransferCurve *>();
        QVERIFY(curve);
        RecordingDevice device(curve->size());
        curve->render(&device);
        const QColor base = curve->palette().color(QPalette::Base);
        const QColor highlight = curve->palette().color(QPalette::Highlight);
        QStringList faults;
        QSet<QRgb> painted;
        for (const auto &[colour, text] : std::as_const(device.recorder.uses)) {
            if (colour == base)
                continue; // the background itself
            painted.insert(colour.rgb());
            // The line and the points in the highlight colour are graphics; all else carries text.
            const double needed = !text && colour == highlight ? 3.0 : 4.5;
            const double ratio = contrast(colour, base);
            if (ratio < needed)
                faults << QStringLiteral("%1 %2 on %3: %4:1")
                              .arg(text ? "text" : "shape", colour.name(), base.name())
                              .arg(ratio, 0, 'f', 2);
        }
        QVERIFY2(painted.size() >= 3, qPrintable(QString::number(painted.size()))); // text, line, marks
        faults.removeDuplicates();
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QVERIFY(!curve->rowsMarked(TransferCurve::Mark::NotNumeric).isEmpty());
    }

#ifdef VQ_TEST_HOST
    // The window on an input of each control (one that cannot be configured shows its state in
    // the problem's colour), and each dialog it opens, as it is shown.
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
        VERIFY_WALK(&window);

        QStringList walked;
        QStringList faults;
        seams.setModalDriver([&](QDialog &dialog) {
            dialog.show();
            walked << dialog.metaObject()->className();
            const Walk w = walk(&dialog);
            if (w.valueWidgets == 0 || w.texts == 0)
                faults << walked.last() + QStringLiteral(": nothing to judge");
            for (const QString &fault : w.faults)
                faults << walked.last() + QStringLiteral(": ") + fault;
            return int(QDialog::Rejected);
        });
        // The preview lists an edit, made after the dialogs that would ask about it.
        for (const char *button : { "hostSaveAsInputType", "hostCopyToInputs", "hostPreview" }) {
            if (button == std::string_view("hostPreview"))
                window.page()->findChild<QLineEdit *>(QStringLiteral("txtOff"))->setText(QStringLiteral("1"));
            QTest::mouseClick(window.findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
        }
        auto interpretation = window.page()->findChild<QComboBox *>(QStringLiteral("cboInput"));
        interpretation->setCurrentIndex(interpretation->findText(QStringLiteral("TRANS_TABLE")));
        QTest::mouseClick(window.page()->findChild<QPushButton *>(QStringLiteral("cmdTable")), Qt::LeftButton);
        QCOMPARE(walked.size(), 4);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));

        // The second view, the live value and its trend.
        for (const char *button : { "hostSecondView", "hostWatch" })
            QTest::mouseClick(window.findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top != &window && top->isVisible() && walk(top).valueWidgets > 0)
                VERIFY_WALK(top);
        }
        VERIFY_WALK(&window);
        seams.setModalDriver({});
        // The edits made to reach the preview and the table are dropped unasked.
        setUnsavedQuestion([](QWidget *, const QString &) { return UnsavedAnswer::Discard; });
        window.close();
        setUnsavedQuestion({});
    }
#endif
};

QTEST_MAIN(tst_accessibility)
#include "tst_accessibility.moc"
