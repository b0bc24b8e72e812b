// SPDX-License-Identifier: MIT
#include "mainwindow/quennet.h"
#include "platform/qtplatform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("quennetproject");
    platform::QtPlatform platform;
    ui::quennet window(platform);
    window.show();
    return QApplication::exec();
}
