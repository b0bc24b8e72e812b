// SPDX-License-Identifier: MIT
#include "engine/pagecommit.h"
#include "engine/version.h"
#include "mainwindow/quennet.h"
#include "platform/qtplatform.h"
#include "widgets/layout.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>

#include <csignal>
#include <cstdio>

namespace {

const QCommandLineOption kHelp({"h", "help"}, "Show this help and exit.");
const QCommandLineOption kVersion({"v", "version"}, "Show the version and exit.");

void configure(QCommandLineParser &parser)
{
    parser.setApplicationDescription("Lumirune II turns a picture into a web page drawn in coloured text.");
    parser.addOptions({kHelp, kVersion});
    parser.addPositionalArgument("PICTURE", "Picture to load at start, as if chosen with \"Load picture\".",
                                 "[PICTURE]");
    // Qt's own options are single-dash words (-platform, -reverse); none may read as -v.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Known here too, though QApplication takes them, so that the command line is judged whole
    // before anything connects to a display: without one, Qt would end the program first.
    for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger",
                             "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "display", "geometry",
                             "style", "stylesheet", "name", "title", "visual", "ncols"}) {
        QCommandLineOption option(name, QString(), "value");
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : {"reverse", "widgetcount", "nograb", "dograb", "cmap"}) {
        QCommandLineOption option(name);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    // Nothing the window opens may take the place of a closed standard stream.
    engine::reserveStandardDescriptors();
    // Answered before anything connects to a display, so that help, the version and mistakes
    // are told without one.
    QCommandLineParser parser;
    configure(parser);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const bool parsed = parser.parse(arguments);
    if (parsed && (parser.isSet(kHelp) || parser.isSet(kVersion))) {
        const QCoreApplication core(argc, argv); // names the program in the usage line
        const QString text = parser.isSet(kHelp) ? parser.helpText() : QString("lumirune %1\n").arg(engine::kVersion);
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!parsed || parser.positionalArguments().size() > 1) {
        const QString error = parsed ? QString("one picture at most") : parser.errorText();
        std::fprintf(stderr, "lumirune: %s\nTry 'lumirune --help'.\n", error.toLocal8Bit().constData());
        return 2;
    }

    QApplication app(argc, argv);
    // Past a file size limit a write then fails and is reported, instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication::setApplicationName("quennetproject");
    QApplication::setApplicationVersion(engine::kVersion);
    // Ties the window to its menu entry and icon on desktops that ask (Wayland).
    QGuiApplication::setDesktopFileName(LUMIRUNE_APP_ID);
    // Message boxes and the file dialog too.
    QApplication::setWindowIcon(ui::programIcon());

    platform::QtPlatform platform;
    ui::quennet window(platform);
    window.show();
    if (!parser.positionalArguments().isEmpty()) {
        // The dialog of "Load picture" gives full paths; a name given here is taken from the
        // current folder. Loaded once the window is up, so a message shows over it.
        const QString picture = QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath();
        QTimer::singleShot(0, &window, [&window, picture] { window.loadPicture(picture); });
    }
    return QApplication::exec();
}
