// SPDX-License-Identifier: MIT
// Walking through the inputs offscreen, saving pictures and printing what was shown.
#include "ScreenshotTour.h"

#include "ControlProbe.h"
#include "HostWindow.h"
#include "device/sim/SimNetwork.h"
#include "hardware/ctlSensorHardware.h"
#include "shared/MKorvane.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QTextStream>

namespace Host {

namespace {

QString slug(const QString &text)
{
    QString s = text.toLower();
    for (QChar &c : s) {
        if (!c.isLetterOrNumber())
            c = QLatin1Char('-');
    }
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
        m_out.flush();
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

int runScreenshotTour(const QString &database, bool reset, const QString &picture)
{
    HostWindow window;
    window.resize(980, 640);
    window.show();
    if (!window.openDatabase(database, reset))
        return 1;
    Tour tour(window, picture);
    tour.out() << "Network database: " << window.databasePath() << "\n";

    // Every input of every device, in SI units.
    bool first = true;
    QString firstConfigurable[2];
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
            if (firstConfigurable[0].isEmpty()) {
                firstConfigurable[0] = device;
                firstConfigurable[1] = input;
            }
            tour.shoot(first ? QString() : slug(device + QLatin1Char('-') + input),
                QStringLiteral("%1 / %2 (SI units)").arg(device, input));
            tour.printControl();
            first = false;
        }
    }
    if (firstConfigurable[0].isEmpty())
        return tour.failures() == 0 ? 0 : 1;

    // The first input again in US units, then in German, then after an edit confirmed with OK.
    window.selectInput(firstConfigurable[0], firstConfigurable[1]);
    window.setMeasurementSystem(MEASUREMENT_SYSTEM_US);
    tour.shoot(
        QStringLiteral("us"), QStringLiteral("%1 / %2 (US units)").arg(firstConfigurable[0], firstConfigurable[1]));
    tour.printControl();
    window.setMeasurementSystem(MEASUREMENT_SYSTEM_SI);
    if (window.network()->languages().contains(QStringLiteral("de"))) {
        window.setLanguage(QStringLiteral("de"));
        tour.shoot(
            QStringLiteral("de"), QStringLiteral("%1 / %2 (German)").arg(firstConfigurable[0], firstConfigurable[1]));
        tour.printControl();
        window.setLanguage(QStringLiteral("en"));
    }
    if (auto reverse = window.hardwareControl()
            ? window.hardwareControl()->findChild<QCheckBox *>(QStringLiteral("chkReverse"))
            : nullptr) {
        reverse->click();
        const bool written = window.confirm();
        tour.shoot(QStringLiteral("saved"),
            QStringLiteral("%1 / %2 after ticking chkReverse and OK (%3)")
                .arg(firstConfigurable[0], firstConfigurable[1],
                    written ? QStringLiteral("written and saved") : QStringLiteral("write failed")));
        tour.printControl();
    }
    tour.out() << "\n-- log pane:\n" << window.logText() << "\n";
    return tour.failures() == 0 ? 0 : 1;
}

} // namespace Host
