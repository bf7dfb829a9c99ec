// SPDX-License-Identifier: MIT
// Under the Fusion style with a dark palette (dark window, light text) every text of the two
// controls, the transfer table and the host stays readable: each visible widget's text colour
// against the background it is painted on, in the palette roles the style paints it with, and
// the colours the transfer curve paints, sampled from its picture.
//
// The measure is the WCAG 2 contrast ratio. Body text needs 4.5:1. Disabled widgets need 3:1:
// WCAG asks nothing of them, but a user still has to read what a greyed field holds; large text
// (18 pt, or 14 pt bold) needs 3:1 as WCAG allows. Of the curve's own colours the line in the
// highlight colour is a graphic (3:1); its marks carry row numbers, text (4.5:1).
#include "hardware/TransferCurve.h"
#include "hardware/fTable.h"
#include "tst_hardware_harness.h"
#include "tst_network_harness.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QPaintEngine>
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

double luminance(const QColor &colour)
{
    const auto channel
        = [](double value) { return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x24, 0x24, 0x24));
    dark.setColor(QPalette::AlternateBase, QColor(0x2e, 0x2e, 0x2e));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Button, QColor(0x40, 0x40, 0x40));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::BrightText, Qt::white);
    dark.setColor(QPalette::ToolTipBase, QColor(0x24, 0x24, 0x24));
    dark.setColor(QPalette::ToolTipText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::PlaceholderText, QColor(0x9a, 0x9a, 0x9a));
    dark.setColor(QPalette::Highlight, QColor(0x3d, 0x8e, 0xe0));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    dark.setColor(QPalette::Link, QColor(0x6a, 0xb0, 0xf0));
    dark.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
    dark.setColor(QPalette::Midlight, QColor(0x48, 0x48, 0x48));
    dark.setColor(QPalette::Mid, QColor(0x2a, 0x2a, 0x2a));
    dark.setColor(QPalette::Dark, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Shadow, Qt::black);
    for (const auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        dark.setColor(QPalette::Disabled, role, QColor(0x8a, 0x8a, 0x8a));
    return dark;
}

bool isLarge(const QFont &font)
{
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75;
    return points >= 18 || (font.bold() && points >= 14);
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
    } else if (auto button = qobject_cast<const QPushButton *>(widget)) {
        text = button->text();
        role = QPalette::ButtonText;
    } else if (auto button = qobject_cast<const QAbstractButton *>(widget)) {
        text = button->text();
        role = QPalette::WindowText;
    } else if (auto frame = qobject_cast<const QGroupBox *>(widget)) {
        text = frame->title();
        role = QPalette::WindowText;
    } else {
        return false;
    }
    return !text.trimmed().isEmpty();
}

// Every visible text under root (root included) that does not reach its contrast, described.
QStringList unreadable(QWidget *root, int *judged = nullptr)
{
    QStringList faults;
    QList<QWidget *> widgets { root };
    widgets << root->findChildren<QWidget *>();
    const auto judge = [&](const QString &what, const QColor &fore, const QColor &back, bool relaxed) {
        const double needed = relaxed ? 3.0 : 4.5;
        const double ratio = contrast(fore, back);
        if (judged)
            ++*judged;
        if (ratio < needed)
            faults << QStringLiteral("%1: %2 on %3 is %4:1, below %5:1")
                          .arg(what, fore.name(), back.name())
                          .arg(ratio, 0, 'f', 2)
                          .arg(needed);
    };
    for (QWidget *widget : std::as_const(widgets)) {
        if (!widget->isVisibleTo(root) && widget != root)
            continue;
        const QPalette::ColorGroup group = widget->isEnabled() ? QPalette::Active : QPalette::Disabled;
        const bool relaxed = !widget->isEnabled() || isLarge(widget->font());
        const QString name = QStringLiteral("%1 (%2)").arg(widget->objectName(), widget->metaObject()->className());
        QString text;
        QPalette::ColorRole role = QPalette::NoRole;
        if (textOf(widget, text, role))
            judge(name + QStringLiteral(" \"") + text + QLatin1Char('"'), widget->palette().color(group, role),
                backgroundOf(widget, group), relaxed);
        // A view's items may carry colours of their own.
        if (auto view = qobject_cast<QAbstractItemView *>(widget);
            view && view->model() && !qobject_cast<QHeaderView *>(view)) {
            QList<QModelIndex> pending { QModelIndex() };
            while (!pending.isEmpty()) {
                const QModelIndex parent = pending.takeFirst();
                const QAbstractItemModel *model = view->model();
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
                        judge(name + QStringLiteral(" item \"") + index.data().toString() + QLatin1Char('"'), fore,
                            back, relaxed);
                    }
                }
            }
        }
    }
    return faults;
}

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
    struct Use
    {
        QColor colour;
        bool text = false;
    };
    QVector<Use> uses;

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

class RecordingDevice : public QPaintDevice
{
public:
    explicit RecordingDevice(QSize size)
        : m_size(size)
    {
    }
    ColourRecorder recorder;
    QPaintEngine *paintEngine() const override { return const_cast<ColourRecorder *>(&recorder); }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmWidthMM:
            return m_size.width() * 254 / 960;
        case PdmHeightMM:
            return m_size.height() * 254 / 960;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    QSize m_size;
};

#define VERIFY_READABLE(root)                                                                                          \
    do {                                                                                                               \
        int judged = 0;                                                                                                \
        const QStringList faults = unreadable(root, &judged);                                                          \
        QVERIFY(judged > 0);                                                                                           \
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));                                        \
    } while (false)

} // namespace

class tst_dark_palette : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
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
        VERIFY_READABLE(h.control.get());
        // The live value sits on the button face: its text must read there too.
        const auto value = h.widget<QLineEdit>(QStringLiteral("txtValue"));
        QCOMPARE(value->palette().color(QPalette::Base), h.control->palette().color(QPalette::Button));
    }

    void networkControl_data() { NetworkTest::addWalkRows(); }
    void networkControl()
    {
        NetworkTest::Harness h;
        NetworkTest::openWalkRow(h);
        VERIFY_READABLE(h.control.get());
    }

    // A theme changed while a control is open reaches the fields that show another role than
    // their own: the locked name on the panel's colour, the live value on the button face.
    void fieldsFollowAThemeChange_data()
    {
        QTest::addColumn<bool>("network");
        QTest::newRow("network name") << true;
        QTest::newRow("live value") << false;
    }
    void fieldsFollowAThemeChange()
    {
        QFETCH(bool, network);
        NetworkTest::Harness n;
        HardwareTest::Harness hw;
        QWidget *control = nullptr;
        QLineEdit *field = nullptr;
        QPalette::ColorRole shown = QPalette::Window;
        if (network) {
            n.open(NetworkTest::Temperature);
            control = n.control.get();
            field = n.widget<QLineEdit>(QStringLiteral("txtHwInputNVName"));
        } else {
            QVERIFY(hw.open(2, HardwareTest::SnvtTempP));
            control = hw.control.get();
            field = hw.widget<QLineEdit>(QStringLiteral("txtValue"));
            shown = QPalette::Button;
        }
        control->show();
        const auto restore = qScopeGuard([] {
            QApplication::setPalette(darkPalette());
            QCoreApplication::processEvents();
        });
        for (const QPalette &theme : { QPalette(QColor(0xf0, 0xf0, 0xf0)), darkPalette() }) {
            QApplication::setPalette(theme);
            QCoreApplication::processEvents(); // the widgets hear of it through posted events
            QCOMPARE(field->palette().color(QPalette::Base), control->palette().color(shown));
            QCOMPARE(control->palette().color(QPalette::Window), theme.color(QPalette::Window));
            QVERIFY(unreadable(control).isEmpty());
        }
    }

    // The table's cells and captions, and the colours its curve paints: the line, the points
    // and the marks of a cell that is not a number and of an output out of range.
    void transferTable()
    {
        TestSupport::SimFixture sim;
        TestSupport::SeamRecorder seams;
        fTable form;
        QStringList fields;
        for (int row = 0; row < 16; ++row)
            fields << QString::number(row * 10) << QString::number(row * 7);
        fields[5] = QStringLiteral("x"); // not a number: a cross and its row number
        fields[9] = QStringLiteral("500"); // beyond the range: a square and its row number
        form.setCPTransTableValue(fields.join(QLatin1Char(' ')));
        form.InitForm(QStringLiteral("SNVT_temp_p#SI"), sim->programId(sim.firstDeviceName()), 3,
            QStringLiteral("Input Value"), QStringLiteral("Output Value"), true, 0, 100);
        form.show();
        VERIFY_READABLE(&form);

        auto curve = form.findChild<TransferCurve *>();
        QVERIFY(curve);
        RecordingDevice device(curve->size());
        curve->render(&device);
        const QColor base = curve->palette().color(QPalette::Base);
        const QColor highlight = curve->palette().color(QPalette::Highlight);
        QStringList faults;
        QSet<QRgb> painted;
        for (const ColourRecorder::Use &use : std::as_const(device.recorder.uses)) {
            if (use.colour == base)
                continue; // the background itself
            painted.insert(use.colour.rgb());
            // The line and the points in the highlight colour are graphics; all else carries text.
            const double needed = !use.text && use.colour == highlight ? 3.0 : 4.5;
            const double ratio = contrast(use.colour, base);
            if (ratio < needed)
                faults << QStringLiteral("%1 %2 on %3: %4:1")
                              .arg(use.text ? "text" : "shape", use.colour.name(), base.name())
                              .arg(ratio, 0, 'f', 2);
        }
        QVERIFY2(painted.size() >= 3, qPrintable(QString::number(painted.size()))); // text, line, marks
        faults.removeDuplicates();
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QVERIFY(!curve->rowsMarked(TransferCurve::Mark::NotNumeric).isEmpty());
    }

#ifdef VQ_TEST_HOST
    // The host's window with a device that cannot be configured (its state in the problem's
    // colour) and the preview of a write.
    void hostWindow()
    {
        using namespace Host;
        TestSupport::SimFixture sim;
        TestSupport::SeamRecorder seams;
        HostWindow window;
        window.setReproducible(true);
        window.resize(1250, 680);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.openDatabase(sim.databasePath()));
        VERIFY_READABLE(&window);
        QStringList faults;
        seams.setModalDriver([&](QDialog &dialog) {
            dialog.show();
            faults << unreadable(&dialog);
            return int(QDialog::Rejected);
        });
        auto offset = window.page()->findChild<QLineEdit *>(QStringLiteral("txtOff"));
        offset->setText(QStringLiteral("1"));
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("hostPreview")), Qt::LeftButton);
        QCOMPARE(seams.modalCount(), 1);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        seams.setModalDriver({});
        setUnsavedQuestion([](QWidget *, const QString &) { return UnsavedAnswer::Discard; });
        window.close();
        setUnsavedQuestion({});
    }
#endif
};

QTEST_MAIN(tst_dark_palette)
#include "tst_dark_palette.moc"
