// SPDX-License-Identifier: MIT
// The real platform: the message box (its title, its buttons in the user's language, what Esc
// answers) and the file dialog's starting folder.
#include "platform/qtplatform.h"
#include "platform/translations.h"

#include "support/table.h"
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <QtTest>

class TestQtPlatform : public QObject
{
    Q_OBJECT

private slots:
    void messageBox_data()
    {
        // shown: title, buttons, the one Return presses (whatever has focus), modality, on top or not,
        // then Esc's answer.
        const auto row =
            columns<QString, bool, bool, QString, QString>({"title", "okCancel", "systemModal", "language", "shown"});
        row("no title, Ok", QString(), false, false, "en", "quennetproject | OK | OK | modal | - | Ok");
        row("own title, Ok and Cancel, on top", "Convert", true, true, "en",
            "Convert | OK, Cancel | OK | modal | on top | Cancel");
        row("Qt's buttons in German", "Umwandeln", true, false, "de_DE",
            "Umwandeln | OK, Abbrechen | OK | modal | - | Cancel");
    }

    void messageBox()
    {
        QFETCH(QString, title);
        QFETCH(bool, okCancel);
        QFETCH(bool, systemModal);
        QFETCH(QString, language);
        QCOMPARE(platform::useTranslations(QLocale(language)), language != "en");
        QStringList seen;
        // The box runs its own event loop; a timer inside it reads the box and presses Esc.
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            QStringList buttons;
            for (const QAbstractButton *button : box->buttons())
                buttons << QString(button->text()).remove('&');
            std::sort(buttons.begin(), buttons.end(),
                      [](const QString &a, const QString &b) { return a.size() < b.size(); });
            seen << box->windowTitle() << buttons.join(", ")
                 << (box->defaultButton() ? box->defaultButton()->text() : "-")
                 << (box->windowModality() == Qt::ApplicationModal ? "modal" : "modeless")
                 << (box->windowFlags().testFlag(Qt::WindowStaysOnTopHint) ? "on top" : "-");
            QTest::keyClick(box, Qt::Key_Escape);
        });
        platform::QtPlatform system;
        const platform::Answer answer = system.message(
            "Are you sure?", title, okCancel ? platform::Buttons::OkCancel : platform::Buttons::Ok, systemModal);
        platform::useTranslations(QLocale("en"));
        seen << (answer == platform::Answer::Ok ? "Ok" : "Cancel");
        QTEST(seen.join(" | "), "shown");
    }

    // Where the file dialog starts before any picture is loaded, with home a folder of the test's own.
    void startFolder_data()
    {
        // inRoot: else the current folder is the home folder's "work"; pictures: the home folder holds "Pictures"
        const auto row = columns<bool, bool, QString>({"inRoot", "pictures", "starts"});
        row("the current folder", false, true, "/work");
        row("in the root: Pictures", true, true, "/Pictures");
        row("in the root, no Pictures: home", true, false, "");
    }

    void startFolder()
    {
        QFETCH(bool, inRoot);
        QFETCH(bool, pictures);
        QFETCH(QString, starts);
        const QString previous = QDir::currentPath();
        const QByteArray home = qgetenv("HOME");
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir("work") && (!pictures || QDir(folder.path()).mkdir("Pictures")));
        qputenv("HOME", folder.path().toLocal8Bit());
        qunsetenv("XDG_CONFIG_HOME");
        QDir::setCurrent(inRoot ? "/" : folder.path() + "/work");
        const QString started = platform::QtPlatform().startFolder();
        QDir::setCurrent(previous);
        qputenv("HOME", home);
        QCOMPARE(started, folder.path() + starts);
    }
};

QTEST_MAIN(TestQtPlatform)
#include "tst_qtplatform.moc"
