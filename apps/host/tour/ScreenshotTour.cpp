// SPDX-License-Identifier: MIT
// Walking through the inputs offscreen, saving pictures and printing what was shown.
#include "ScreenshotTour.h"

#include "ControlProbe.h"
#include "device/sim/SimNetwork.h"
#include "hardware/TransferCurve.h"
#include "hardware/ctlSensorHardware.h"
#include "inputtypes/CopyToInputsDialog.h"
#include "shared/MKorvane.h"
#include "watch/LiveTrend.h"
#include "window/HostWindow.h"
#include "window/UnsavedQuestion.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleFactory>
#include <QTextStream>
#include <QThread>

namespace Host {

namespace {

QString slug(const QString &text)
{
    // "HWI-Controller 1/HwInput[0]" -> "hwi-controller-1-hwinput-0"
    QString s = text.toLower();
    for (QChar &c : s) {
        if (!c.isLetterOrNumber())
            c = QLatin1Char('-');
    }
    static const QRegularExpression dashes(QStringLiteral("-+"));
    s.replace(dashes, QStringLiteral("-"));
    while (s.endsWith(QLatin1Char('-')))
        s.chop(1);
    return s;
}

class Tour
{
public:
    Tour(HostWindow &window, const QString &picture)
        : m_window(window)
        , m_picture(QFileInfo(picture))
        , m_out(stdout)
    {
        QDir().mkpath(m_picture.absolutePath());
    }

    // Lets the window lay itself out and paint, then saves it; suffix empty = the given name.
    void shoot(const QString &suffix, const QString &what)
    {
        // A control that grows asks its page for room, and the page then asks the window.
        for (int round = 0; round < 3; ++round)
            QApplication::processEvents();
        const QString path = suffix.isEmpty() ? m_picture.absoluteFilePath()
                                              : m_picture.absolutePath() + QLatin1Char('/')
                + m_picture.completeBaseName() + QLatin1Char('-') + suffix + QStringLiteral(".png");
        const bool saved = m_window.grab().save(path);
        m_out << "\n-- " << what << "\n   picture: " << (saved ? path : QStringLiteral("NOT SAVED ") + path) << "\n";
        if (!saved)
            ++m_failures;
    }

    void printControl()
    {
        const QWidget *control = m_window.hardwareControl();
        if (!m_window.deviceProblem().isEmpty()) {
            m_out << "   device cannot be configured: "
                  << QString(m_window.deviceProblem()).replace(QStringLiteral("\r\n"), QStringLiteral(" / ")) << "\n";
            return;
        }
        if (!control) {
            m_out << "   no control shown\n";
            return;
        }
        m_out << "   interpretation: " << comboText(control, QStringLiteral("cboInput"))
              << ", signal type: " << comboText(control, QStringLiteral("cboSignal")) << "\n";
        m_out << "   visible fields:\n";
        for (const QString &line : describeVisibleFields(control))
            m_out << "     " << line << "\n";
        m_out << "   network variable:\n";
        for (const QString &line : describeVisibleFields(m_window.networkControl()))
            m_out << "     " << line << "\n";
        m_out.flush();
    }

    // Saves a picture of another widget (a question box) beside the window's pictures.
    void shootWidget(QWidget &widget, const QString &suffix, const QString &what)
    {
        QApplication::processEvents();
        const QString path = m_picture.absolutePath() + QLatin1Char('/') + m_picture.completeBaseName()
            + QLatin1Char('-') + suffix + QStringLiteral(".png");
        const bool saved = widget.grab().save(path);
        m_out << "\n-- " << what << "\n   picture: " << (saved ? path : QStringLiteral("NOT SAVED ") + path) << "\n";
        if (!saved)
            ++m_failures;
    }
    void fail(const QString &what)
    {
        m_out << "   FAILED: " << what << "\n";
        ++m_failures;
    }

    int failures() const { return m_failures; }
    QTextStream &out() { return m_out; }

private:
    HostWindow &m_window;
    QFileInfo m_picture;
    QTextStream m_out;
    int m_failures = 0;
};

} // namespace

namespace {

struct Shown
{
    QString device;
    QString input;
    QString interpretation;
    QString rangeUnit;
    bool reverseVisible = false;
    QString label() const { return device + QStringLiteral(" / ") + input; }
};

QString labelText(const QWidget *control, const QString &objectName)
{
    const auto label = control ? control->findChild<QLabel *>(objectName) : nullptr;
    return label ? label->text() : QString();
}

// The input that shows the units best: a linear one whose range unit changes with the
// measurement system; else the first input.
Shown unitsExample(HostWindow &window, const QVector<Shown> &shown)
{
    for (const Shown &s : shown) {
        if (s.interpretation != QLatin1String("LINEAR") || s.rangeUnit.isEmpty())
            continue;
        window.selectInput(s.device, s.input);
        window.setMeasurementSystem(MEASUREMENT_SYSTEM_US);
        const bool changes = labelText(window.hardwareControl(), QStringLiteral("lblUnitMaxRange")) != s.rangeUnit;
        window.setMeasurementSystem(MEASUREMENT_SYSTEM_SI);
        if (changes)
            return s;
    }
    return shown.first();
}

} // namespace

namespace {

// A dark theme as a user may choose one: dark window and fields, light text.
QPalette darkPalette()
{
    QPalette dark(QColor(0x40, 0x40, 0x40), QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x24, 0x24, 0x24));
    dark.setColor(QPalette::AlternateBase, QColor(0x2e, 0x2e, 0x2e));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::ToolTipBase, QColor(0x24, 0x24, 0x24));
    dark.setColor(QPalette::ToolTipText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::PlaceholderText, QColor(0x9a, 0x9a, 0x9a));
    dark.setColor(QPalette::Highlight, QColor(0x3d, 0x8e, 0xe0));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    dark.setColor(QPalette::Link, QColor(0x6a, 0xb0, 0xf0));
    for (const auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        dark.setColor(QPalette::Disabled, role, QColor(0x8a, 0x8a, 0x8a));
    return dark;
}

// An input under the Fusion style with a dark palette: the controls, the tree with a device
// that cannot be configured and the Messages pane take the theme's colours.
void showDarkTheme(HostWindow &window, Tour &tour, const Shown &input)
{
    if (!window.selectInput(input.device, input.input))
        return;
    const QPalette palette = QApplication::palette();
    const QString style = QApplication::style()->name();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(darkPalette());
    tour.shoot(QStringLiteral("dark"), input.label() + QStringLiteral(" under the Fusion style with a dark palette"));
    QApplication::setStyle(QStyleFactory::create(style));
    QApplication::setPalette(palette);
    QApplication::processEvents();
}

// A minimum the device refuses, applied: the Messages pane says which side did not write
// and why. Then a switch to another input with that edit pending: the question.
void showRefusalAndQuestion(HostWindow &window, Tour &tour, const Shown &input)
{
    if (!window.selectInput(input.device, input.input) || !window.hardwareControl())
        return;
    window.hardwareControl()->findChild<QLineEdit *>(QStringLiteral("txtMin"))->setText(QStringLiteral("abc"));
    const bool written = window.apply();
    tour.shoot(QStringLiteral("refused"), input.label() + QStringLiteral(" after typing \"abc\" as minimum and Apply"));
    tour.out() << (written ? "   written (unexpected)\n" : "   not written, the edit kept\n");
    setUnsavedQuestion([&tour](QWidget *parent, const QString &what) {
        const auto box = unsavedQuestionBox(parent, what);
        box->show();
        tour.shootWidget(*box, QStringLiteral("question"), QStringLiteral("The question before \"%1\"").arg(what));
        return UnsavedAnswer::Stay;
    });
    const QStringList inputs = window.inputNames();
    if (inputs.size() > 1)
        window.selectInput(input.device, inputs.at(1));
    window.discard();
}

} // namespace

namespace {

// The fields that differ from another input type's defaults, marked; then an edit shown
// in the preview dialog, listing what OK would write, and forgotten.
void showDeviationsAndPreview(HostWindow &window, Tour &tour, const Shown &input)
{
    const auto types = window.findChild<QComboBox *>(QStringLiteral("hostInputType"));
    if (!window.selectInput(input.device, input.input) || !window.hardwareControl() || !types || types->count() == 0)
        return;
    types->setCurrentIndex(0);
    window.setMarkDeviations(true);
    tour.shoot(QStringLiteral("deviations"),
        input.label() + QStringLiteral(" with the fields marked that differ from the defaults of ")
            + types->currentText());
    for (const DeviationMark &mark : window.deviations()->marks())
        tour.out() << "     " << mark.field << ": " << mark.toolTip << "\n";
    window.setMarkDeviations(false);

    window.hardwareControl()->findChild<QLineEdit *>(QStringLiteral("txtMax"))->setText(QStringLiteral("45"));
    window.networkControl()->findChild<QLineEdit *>(QStringLiteral("txtHeart"))->setText(QStringLiteral("120"));
    MKorvane::setModalRunner([&tour](QDialog &dialog) {
        dialog.show();
        tour.shootWidget(dialog, QStringLiteral("preview"),
            QStringLiteral("Preview after typing 45 as maximum and 120 as heartbeat"));
        return int(QDialog::Rejected);
    });
    const PreviewResult result = window.preview();
    MKorvane::setModalRunner({});
    for (const PreviewRow &row : result.rows)
        tour.out() << "     " << row.owner << '.' << row.property << ": " << row.oldText << " -> " << row.newText
                   << (row.failed ? QStringLiteral(" (fails: %1)").arg(row.failure) : QString()) << "\n";
    if (result.rows.size() != 2 || result.failed())
        tour.fail(QStringLiteral("the preview of two edits"));
    window.discard();
}

// Watching an input whose value moves: a dozen readings, quickly, on a clock that runs
// five seconds a reading, so that the wave looks the same on every run.
void showTrend(HostWindow &window, Tour &tour, const Shown &input)
{
    if (!window.selectInput(input.device, input.input))
        return;
    double seconds = 0;
    window.network()->setClock([&seconds] { return seconds += 5; });
    window.trend()->setInterval(50);
    window.setWatching(true);
    QElapsedTimer waited;
    waited.start();
    while (window.trend()->view()->readings().size() < 12 && waited.elapsed() < 10000) {
        QThread::msleep(10);
        QApplication::processEvents();
    }
    tour.shoot(QStringLiteral("trend"), input.label() + QStringLiteral(" watched: its live value against time"));
    for (const QPointF &reading : window.trend()->view()->readings())
        tour.out() << "     " << reading.y() << ' ' << window.trend()->view()->unit() << "\n";
    if (window.trend()->view()->readings().size() < 3)
        tour.fail(QStringLiteral("watching a moving value"));
    window.setWatching(false);
    window.trend()->setInterval(LiveTrend::DefaultIntervalMs);
    window.network()->setClock({});
}

// The dialogs of "Save as input type" and "Copy to inputs" (up to two inputs ticked), pictured
// and cancelled, so the tour's database keeps its inputs as they were.
void showCopyDialogs(HostWindow &window, Tour &tour, const Shown &input)
{
    if (!window.selectInput(input.device, input.input) || !window.page())
        return;
    MKorvane::setModalRunner([&](QDialog &dialog) {
        QString suffix = QStringLiteral("save-as");
        QString what = QStringLiteral("Save as input type, for ") + input.label();
        if (auto copy = qobject_cast<CopyToInputsDialog *>(&dialog)) {
            const QVector<InputRef> targets = copyTargets(*window.network(), window.page()->input());
            const int ticked = std::min(2, int(targets.size()));
            for (int i = 0; i < ticked; ++i)
                copy->tick(targets[i]);
            suffix = QStringLiteral("copy");
            what = QStringLiteral("Copy to inputs, from %1, %2 of the inputs offered ticked")
                       .arg(input.label())
                       .arg(ticked);
        }
        dialog.adjustSize();
        dialog.show();
        tour.shootWidget(dialog, suffix, what);
        dialog.hide();
        return int(QDialog::Rejected);
    });
    window.saveAsInputType();
    window.copyToInputs();
    MKorvane::setModalRunner({});
}

// The transfer-table editor of an input switched to TRANS_TABLE, with one input typed
// lower than the one before it so that the curve marks it; cancelled, the edit discarded.
void showTransferTable(HostWindow &window, Tour &tour, const Shown &input)
{
    if (!window.selectInput(input.device, input.input) || !window.hardwareControl())
        return;
    QWidget *control = window.hardwareControl();
    const auto interpretation = control->findChild<QComboBox *>(QStringLiteral("cboInput"));
    const auto open = control->findChild<QPushButton *>(QStringLiteral("cmdTable"));
    if (!interpretation || !open || interpretation->findText(QStringLiteral("TRANS_TABLE")) < 0)
        return;
    interpretation->setCurrentText(QStringLiteral("TRANS_TABLE"));
    MKorvane::setModalRunner([&tour](QDialog &dialog) {
        if (auto cell = dialog.findChild<QLineEdit *>(QStringLiteral("txtTable_6")))
            cell->setText(QStringLiteral("1.5"));
        dialog.show();
        tour.shootWidget(dialog, QStringLiteral("transtable"),
            QStringLiteral("The transfer table, 1.5 typed as input 4 (below input 3)"));
        if (auto curve = dialog.findChild<TransferCurve *>()) {
            for (const int row : curve->rowsMarked(TransferCurve::Mark::NotAscending))
                tour.out() << "     row " << row + 1 << ": input not above the row before\n";
            for (const int row : curve->rowsMarked(TransferCurve::Mark::NotNumeric))
                tour.out() << "     row " << row + 1 << ": a cell that is not a number\n";
        }
        dialog.hide();
        return int(QDialog::Rejected);
    });
    open->click();
    MKorvane::setModalRunner({});
    window.discard();
}

} // namespace

int runScreenshotTour(const QString &database, bool reset, const QString &picture)
{
    HostWindow window;
    window.setAskWhenLocked(false); // nobody could answer
    window.setReproducible(true);
    window.resize(1250, 640);
    window.show();
    if (!window.openDatabase(database, reset))
        return 1;
    Tour tour(window, picture);
    tour.out() << "Network database: " << window.databasePath() << "\n";
    // An input whose stored interpretation is not offered is due a write without an edit;
    // the tour leaves such inputs as they are.
    setUnsavedQuestion([&tour](QWidget *, const QString &what) {
        tour.out() << "   (unsaved changes before \"" << what << "\": discarded)\n";
        return UnsavedAnswer::Discard;
    });
    struct Restore
    {
        ~Restore() { setUnsavedQuestion({}); }
    } restore;

    // Every input of every device, in SI units.
    QVector<Shown> shown;
    for (const QString &device : window.deviceNames()) {
        window.selectDevice(device);
        const QStringList inputs = window.inputNames();
        if (!window.deviceProblem().isEmpty() || inputs.isEmpty()) {
            tour.shoot(slug(device), QStringLiteral("Device %1").arg(device));
            tour.printControl();
            continue;
        }
        for (const QString &input : inputs) {
            window.selectInput(device, input);
            tour.shoot(shown.isEmpty() ? QString() : slug(device + QLatin1Char('-') + input),
                QStringLiteral("%1 / %2 (SI units)").arg(device, input));
            tour.printControl();
            const QWidget *control = window.hardwareControl();
            const auto reverse = control ? control->findChild<QCheckBox *>(QStringLiteral("chkReverse")) : nullptr;
            shown.append({ device, input, comboText(control, QStringLiteral("cboInput")),
                labelText(control, QStringLiteral("lblUnitMaxRange")), reverse && reverse->isVisibleTo(control) });
        }
    }
    if (shown.isEmpty())
        return tour.failures() == 0 ? 0 : 1;

    // One input in US units and in German.
    const Shown example = unitsExample(window, shown);
    window.selectInput(example.device, example.input);
    window.setMeasurementSystem(MEASUREMENT_SYSTEM_US);
    tour.shoot(QStringLiteral("us"), example.label() + QStringLiteral(" (US units)"));
    tour.printControl();
    window.setMeasurementSystem(MEASUREMENT_SYSTEM_SI);
    if (window.network()->languages().contains(QStringLiteral("de"))) {
        window.setLanguage(QStringLiteral("de"));
        tour.shoot(QStringLiteral("de"), example.label() + QStringLiteral(" (German)"));
        tour.printControl();
        window.setLanguage(QStringLiteral("en"));
    }
    showDarkTheme(window, tour, example);

    // An edit confirmed with OK: tick Reverse where it is shown, write and save. "Saved" is
    // said only of what reached the file.
    const auto editable = std::find_if(shown.cbegin(), shown.cend(), [](const Shown &s) { return s.reverseVisible; });
    if (editable != shown.cend()) {
        window.selectInput(editable->device, editable->input);
        window.hardwareControl()->findChild<QCheckBox *>(QStringLiteral("chkReverse"))->click();
        const int savesBefore = window.savesDone();
        const int failedBefore = window.savesFailed();
        const bool written = window.apply();
        const bool saved = window.savesDone() > savesBefore && window.savesFailed() == failedBefore;
        // The device's values read back after the write: a mismatch is told with them.
        QStringList reported;
        for (const ControlOutcome *one : { &window.lastWrite().hardware, &window.lastWrite().network }) {
            for (const ReadBackItem &item : one->mismatches())
                reported << item.text();
        }
        const QString outcome = !reported.isEmpty()
            ? QStringLiteral("written, but %1").arg(reported.join(QStringLiteral("; ")))
            : written && saved                    ? QStringLiteral("written and saved")
            : window.savesFailed() > failedBefore ? QStringLiteral("written, NOT saved")
                                                  : QStringLiteral("NOT written, NOT saved");
        tour.shoot(QStringLiteral("saved"),
            editable->label() + QStringLiteral(" after ticking Reverse and Apply (%1)").arg(outcome));
        if (!written || !saved)
            tour.fail(QStringLiteral("writing or saving"));
        tour.printControl();

        const bool shownAfterApply
            = window.hardwareControl()->findChild<QCheckBox *>(QStringLiteral("chkReverse"))->isChecked();
        // Another tick, then Cancel: the control reads the device again and shows the state written.
        window.hardwareControl()->findChild<QCheckBox *>(QStringLiteral("chkReverse"))->click();
        window.discard();
        const auto reverse = window.hardwareControl()->findChild<QCheckBox *>(QStringLiteral("chkReverse"));
        const QString state = saved ? QStringLiteral("saved") : QStringLiteral("written to the device, NOT saved");
        tour.out() << "\n-- " << editable->label() << " after ticking Reverse again and Cancel\n   chkReverse = "
                   << (reverse->isChecked() ? "[x]" : "[ ]")
                   << (reverse->isChecked() == shownAfterApply ? QStringLiteral(" (as %1)\n").arg(state)
                                                               : QStringLiteral(" (NOT as %1)\n").arg(state));
    }
    // An input type's defaults written to the first input.
    const auto types = window.findChild<QComboBox *>(QStringLiteral("hostInputType"));
    window.selectInput(shown.first().device, shown.first().input);
    if (types && types->count() > 1) {
        types->setCurrentIndex(1);
        const int failedBefore = window.savesFailed();
        const bool written = window.applyDefaults();
        tour.shoot(QStringLiteral("defaults"),
            shown.first().label() + QStringLiteral(" after applying the defaults of ") + types->currentText()
                + (written                                    ? QStringLiteral(" (written and saved)")
                        : window.savesFailed() > failedBefore ? QStringLiteral(" (NOT saved)")
                                                              : QStringLiteral(" (NOT all written)")));
        if (!written)
            tour.fail(QStringLiteral("applying defaults"));
        tour.printControl();
    }
    showDeviationsAndPreview(window, tour, shown.first());
    showCopyDialogs(window, tour, shown.first());
    showTransferTable(window, tour, shown.first());
    showRefusalAndQuestion(window, tour, shown.first());
    showTrend(window, tour, shown.first());
    tour.out() << "\n-- log pane:\n" << window.logText() << "\n";
    // A save that failed anywhere on the tour (after the refused minimum too) fails the tour.
    if (window.savesFailed() > 0)
        tour.out() << "\nFAILED: " << window.savesFailed() << " of " << window.savesFailed() + window.savesDone()
                   << " saves of the database\n";
    return tour.failures() == 0 && window.savesFailed() == 0 ? 0 : 1;
}

} // namespace Host
