// SPDX-License-Identifier: MIT
#include "engine/pagecommit.h"
#include "engine/terminaltext.h"
#include "engine/version.h"
#include "mainwindow/quennet.h"
#include "platform/qtplatform.h"
#include "platform/translations.h"
#include "widgets/layout.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

#include <csignal>
#include <cstdio>

namespace {

// The context of the command line's texts for translators.
struct CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

// The options and their help in the language of the translations installed when it runs.
void configure(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        CommandLine::tr("Lumirune II turns a picture into a web page drawn in coloured text."));
    parser.addOption({{"h", "help"}, CommandLine::tr("Show this help and exit.")});
    parser.addOption({{"V", "version"}, CommandLine::tr("Show the version and exit.")});
    // -v answered the version before -V, which both programs take.
    QCommandLineOption version("v");
    version.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(version);
    parser.addPositionalArgument(CommandLine::tr("PICTURE"),
                                 CommandLine::tr("Picture to load at start, as if chosen with \"Load picture\"."),
                                 CommandLine::tr("[PICTURE]"));
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

// Help, the version or the mistake, told in the user's language without a display.
int answerCommandLine(QStringList arguments)
{
    int count = 1;
    char name[] = "lumirune"; // the usage line names the program as the user would type it
    char *names[] = {name, nullptr};
    const QCoreApplication core(count, names);
    platform::useTranslations(QLocale::system());
    QCommandLineParser parser;
    configure(parser);
    arguments[0] = name;
    const bool parsed = parser.parse(arguments);
    if (parsed && (parser.isSet("help") || parser.isSet("version") || parser.isSet("v"))) {
        const QString text = parser.isSet("help") ? parser.helpText() : QString("lumirune %1\n").arg(engine::kVersion);
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    // The parser's text holds the argument as the user gave it: quoted, it cannot drive the terminal.
    const QString error = parsed ? CommandLine::tr("one picture at most")
                                 : QString::fromStdString(engine::escapedText(parser.errorText().toStdString()));
    std::fputs(
        ("lumirune: " + error + '\n' + CommandLine::tr("Try 'lumirune --help'.") + '\n').toLocal8Bit().constData(),
        stderr);
    return 2;
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
    if (!parser.parse(arguments) || parser.isSet("help") || parser.isSet("version") || parser.isSet("v") ||
        parser.positionalArguments().size() > 1)
        return answerCommandLine(arguments);

    QApplication app(argc, argv);
    platform::useTranslations(QLocale::system());
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
