// SPDX-License-Identifier: MIT
#include "mainwindow/quennet.h"
#include "platform/qtplatform.h"

#include <QApplication>

#include <csignal>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Past a file size limit a write then fails and is reported, instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication::setApplicationName("quennetproject");
    platform::QtPlatform platform;
    ui::quennet window(platform);
    window.show();
    return QApplication::exec();
}
