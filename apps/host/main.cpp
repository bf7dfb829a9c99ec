// SPDX-License-Identifier: MIT
// vqhost: the host application. Without options it opens the main window on the
// working copy of the sample network (or on the database given); --report prints the
// headless report (--format text, csv or json); --screenshot walks through the inputs offscreen and saves pictures;
// --script runs a script of commands on the window without a display; --export and --import
// write and read a points list (CSV, one row per input).
// A headless mode exits with 1 when a load, a read, a write or a save failed, so that a
// script can trust a 0.
#include "points/PointsCommand.h"
#include "report/HostReport.h"
#include "report/ReportFormats.h"
#include "script/ScriptRunner.h"
#include "shared/Seams.h"
#include "tour/ScreenshotTour.h"
#include "window/HostSession.h"
#include "window/HostWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
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

// The value of "--name value" or "--name=value", empty when not given.
QString argumentValue(int argc, char **argv, const char *name)
{
    const QByteArray prefix = QByteArray(name) + '=';
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0 && i + 1 < argc)
            return QString::fromLocal8Bit(argv[i + 1]);
        if (QByteArray(argv[i]).startsWith(prefix))
            return QString::fromLocal8Bit(argv[i] + prefix.size());
    }
    return QString();
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

int runReport(const QString &database, bool reset, const QString &formatName)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    printMessageBoxes();
    const Host::OpenResult opened = Host::openNetwork(database, reset);
    if (!opened.network) {
        err << "vqhost: cannot load the network database"
            << (opened.path.isEmpty() ? QString() : QStringLiteral(" ") + opened.path) << ": " << opened.error << "\n";
        return 1;
    }
    Host::ReportFormat format = Host::ReportFormat::Text;
    if (!Host::parseReportFormat(formatName.isEmpty() ? QStringLiteral("text") : formatName, format)) {
        err << "vqhost: unknown report format \"" << formatName << "\" (text, csv or json)\n";
        return 2;
    }
    Host::NetworkReport report = Host::buildReport(*opened.network);
    if (format == Host::ReportFormat::Text) {
        out << "Network database: " << opened.path << "\n\n";
        out << Host::formatReport(report);
        out.flush();
    } else {
        // What the controls show, read from the input page as the window shows it.
        Host::addShownFields(report, *opened.network);
        QFile file;
        if (!file.open(stdout, QIODevice::WriteOnly))
            return 1;
        file.write(format == Host::ReportFormat::Csv ? Host::formatReportCsv(report)
                                                     : Host::formatReportJson(report, opened.path));
        file.flush();
    }
    // A report with gaps is not a report a script may rely on.
    const QStringList unread = report.unreadInputs();
    if (!unread.isEmpty()) {
        err << "vqhost: " << unread.size() << " input(s) could not be read: " << unread.join(QStringLiteral(", "))
            << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const bool report = hasArgument(argc, argv, "--report");
    const bool screenshot = hasArgument(argc, argv, "--screenshot");
    const bool script = hasArgument(argc, argv, "--script");
    const bool help = hasArgument(argc, argv, "--help") || hasArgument(argc, argv, "-h");
    const bool points = hasArgument(argc, argv, "--export") || hasArgument(argc, argv, "--import")
        || !argumentValue(argc, argv, "--export").isEmpty() || !argumentValue(argc, argv, "--import").isEmpty();
    // The CSV and JSON reports read what the controls show, so they need widgets.
    const QString reportFormat = argumentValue(argc, argv, "--format");
    const bool reportWidgets
        = points || (report && !reportFormat.isEmpty() && reportFormat.toLower() != QLatin1String("text"));
    // Pictures and widgets need no screen: without one, draw offscreen.
    if ((screenshot || reportWidgets) && !hasDisplay())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A script never shows its window, display or not (unless a platform is asked for).
    if (script && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // The text report and the help run without any display; only the window needs a screen.
    // Without one the command line is still read, so that a mistake in it is named first.
    std::unique_ptr<QCoreApplication> app;
    const bool noDisplay = !reportWidgets && !report && !help && !hasDisplay();
    if (reportWidgets)
        app = std::make_unique<QApplication>(argc, argv);
    else if (report || help || noDisplay)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("VqZovezuVaveva"));
    QCoreApplication::setApplicationName(QStringLiteral("vqhost"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Configures the hardware inputs of the devices of a (simulated) LonWorks network.\n"
        "Exit status of --report and --screenshot: 0 when every load, read, write and save "
        "succeeded, 1 when one failed, 2 on a mistake in the command line or without a display for the window."));
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
    const QCommandLineOption formatOption(QStringLiteral("format"),
        QStringLiteral("With --report: text (the default), csv (RFC 4180) or json; csv and json list every field "
                       "the controls show, in SI and in US units."),
        QStringLiteral("text|csv|json"));
    const QCommandLineOption resetOption(
        QStringLiteral("reset"), QStringLiteral("Replace the working copy with a fresh copy of the sample."));
    const QCommandLineOption scriptOption(QStringLiteral("script"),
        QStringLiteral("Run the commands of a script (\"-\": standard input) without a display, one JSON line "
                       "per command; exit 0 only when every command succeeded (see docs/scripting.md)."),
        QStringLiteral("file.vqs"));
    const QCommandLineOption exportOption(QStringLiteral("export"),
        QStringLiteral("Write the points list (CSV: one row per input, one column per field of the page) and exit."),
        QStringLiteral("file.csv"));
    const QCommandLineOption unitsOption(QStringLiteral("units"),
        QStringLiteral("With --export: the units of the list (default: those the database was last shown in)."),
        QStringLiteral("SI|US"));
    const QCommandLineOption importOption(QStringLiteral("import"),
        QStringLiteral("Print what a points list would change, write it through the controls, save once and exit; "
                       "exit 1 when a row could not be applied or an input not written."),
        QStringLiteral("file.csv"));
    const QCommandLineOption dryRunOption(
        QStringLiteral("dry-run"), QStringLiteral("With --import: print the preview only; nothing is written."));
    parser.addOptions({ reportOption, formatOption, screenshotOption, scriptOption, exportOption, unitsOption,
        importOption, dryRunOption, resetOption });
    // A usage error (an unknown option, an option without its value, a second database)
    // exits with 2, as every other usage error does.
    const auto usageError = [](const QString &what) {
        QTextStream(stderr) << "vqhost: " << what << " (see --help)\n";
        return 2;
    };
    if (!parser.parse(app->arguments()))
        return usageError(parser.errorText());
    if (parser.positionalArguments().size() > 1)
        return usageError(QStringLiteral("one database at most; also given: %1")
                              .arg(parser.positionalArguments().mid(1).join(QStringLiteral(", "))));
    parser.process(*app); // --help
    if (noDisplay) {
        QTextStream(stderr) << "vqhost: no display; use --report, or --screenshot file.png (see --help)\n";
        return 2;
    }

    const QString database = parser.positionalArguments().value(0);
    const bool reset = parser.isSet(resetOption);
    if (parser.isSet(reportOption))
        return runReport(database, reset, parser.value(formatOption));
    if (parser.isSet(unitsOption) && !parser.isSet(exportOption))
        return usageError(QStringLiteral("--units goes with --export"));
    if (parser.isSet(dryRunOption) && !parser.isSet(importOption))
        return usageError(QStringLiteral("--dry-run goes with --import"));
    if (parser.isSet(exportOption) || parser.isSet(importOption)) {
        printMessageBoxes();
        return parser.isSet(exportOption)
            ? Host::runExport(parser.value(exportOption), database, reset, parser.value(unitsOption))
            : Host::runImport(parser.value(importOption), database, reset, parser.isSet(dryRunOption));
    }

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
