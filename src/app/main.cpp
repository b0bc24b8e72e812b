// SPDX-License-Identifier: MIT
#include "engine/version.h"
#include "mainwindow/quennet.h"
#include "platform/controls.h"
#include "platform/qtplatform.h"

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
}

} // namespace

int main(int argc, char *argv[])
{
    // --help and --version are answered before anything connects to a display, so they work
    // without one. Mistakes are reported later, once Qt has taken its own options out.
    QCommandLineParser early;
    configure(early);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    early.parse(arguments);
    if (early.isSet(kHelp) || early.isSet(kVersion)) {
        const QCoreApplication core(argc, argv); // names the program in the usage line
        const QString text = early.isSet(kHelp) ? early.helpText() : QString("lumirune %1\n").arg(engine::kVersion);
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
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
    QCommandLineParser parser;
    configure(parser);
    const bool parsed = parser.parse(QApplication::arguments());
    if (!parsed || parser.positionalArguments().size() > 1) {
        const QString error = parsed ? QString("one picture at most") : parser.errorText();
        std::fprintf(stderr, "lumirune: %s\nTry 'lumirune --help'.\n", error.toLocal8Bit().constData());
        return 2;
    }

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
