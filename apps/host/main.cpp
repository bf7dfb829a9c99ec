// SPDX-License-Identifier: MIT
// vqhost: the host application. Without options it opens the main window on the
// working copy of the sample network (or on the database given); --report prints the
// headless report; --screenshot walks through the inputs offscreen and saves pictures;
// --script runs a script of commands on the window without a display.
#include "HostReport.h"
#include "HostSession.h"
#include "HostWindow.h"
#include "ScreenshotTour.h"
#include "ScriptRunner.h"
#include "shared/Seams.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>
#include <QTextStream>
#include <cstring>

namespace {

bool hasArgument(int argc, char **argv, const char *name)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0)
            return true;
    }
    return false;
}

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// Message boxes that nobody could click become lines on stderr.
void printMessageBoxes()
{
    MKorvane::setMessageBoxHandler([](const QString &text, int style, const QString &title) {
        QTextStream(stderr) << "[message box, style " << style << "] " << title << ": " << text << "\n";
        return MKorvane::vbOK;
    });
}

int runReport(const QString &database, bool reset)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    printMessageBoxes();
    const Host::OpenResult opened = Host::openNetwork(database, reset);
    if (!opened.network) {
        err << "vqhost: cannot load the network database " << opened.path << ": " << opened.error << "\n";
        return 1;
    }
    out << "Network database: " << opened.path << "\n\n";
    out << Host::formatReport(Host::buildReport(*opened.network));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const bool report = hasArgument(argc, argv, "--report");
    const bool screenshot = hasArgument(argc, argv, "--screenshot");
    const bool script = hasArgument(argc, argv, "--script");
    const bool help = hasArgument(argc, argv, "--help") || hasArgument(argc, argv, "-h");
    // Pictures need no screen: without one, draw offscreen.
    if (screenshot && !hasDisplay())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A script never shows its window, display or not (unless a platform is asked for).
    if (script && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // The report and the help run without any display; only the window needs a screen.
    std::unique_ptr<QCoreApplication> app;
    if (report || help) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else if (!hasDisplay()) {
        QTextStream(stderr) << "vqhost: no display; use --report, or --screenshot file.png (see --help)\n";
        return 2;
    } else {
        app = std::make_unique<QApplication>(argc, argv);
    }
    QCoreApplication::setOrganizationName(QStringLiteral("VqZovezuVaveva"));
    QCoreApplication::setApplicationName(QStringLiteral("vqhost"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Configures the hardware inputs of the devices of a (simulated) LonWorks network."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("database"),
        QStringLiteral("The network database to open (default: a working copy of the "
                       "sample network in the user's data folder)."),
        QStringLiteral("[database.json]"));
    const QCommandLineOption reportOption(
        QStringLiteral("report"), QStringLiteral("Print every hardware input in SI and US units and exit."));
    const QCommandLineOption screenshotOption(QStringLiteral("screenshot"),
        QStringLiteral("Show each input in turn, save a picture of the window per input and exit."),
        QStringLiteral("file.png"));
    const QCommandLineOption resetOption(
        QStringLiteral("reset"), QStringLiteral("Replace the working copy with a fresh copy of the sample."));
    const QCommandLineOption scriptOption(QStringLiteral("script"),
        QStringLiteral("Run the commands of a script (\"-\": standard input) without a display, one JSON line "
                       "per command; exit 0 only when every command succeeded (see docs/scripting.md)."),
        QStringLiteral("file.vqs"));
    parser.addOptions({ reportOption, screenshotOption, scriptOption, resetOption });
    parser.process(*app);

    const QString database = parser.positionalArguments().value(0);
    const bool reset = parser.isSet(resetOption);
    if (parser.isSet(reportOption))
        return runReport(database, reset);

    if (parser.isSet(screenshotOption)) {
        printMessageBoxes();
        return Host::runScreenshotTour(database, reset, parser.value(screenshotOption));
    }
    if (parser.isSet(scriptOption))
        return Host::runScriptFile(parser.value(scriptOption), database, reset);
    Host::HostWindow window;
    // Room for the tree and both controls side by side, within the screen.
    window.resize(QSize(1250, 680).boundedTo(window.screen()->availableGeometry().size()));
    window.show();
    window.openDatabase(database, reset);
    return app->exec();
}
