// SPDX-License-Identifier: MIT
// The real message box: its title, its buttons, and what Return and Esc answer, laid out as
// GNOME lays out dialogs (Cancel first), where focus alone would make Return cancel.
#include "platform/qtplatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QMessageBox>
#include <QProxyStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestQtPlatform : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void messageBox_data();
    void messageBox();
    void startFolder_data();
    void startFolder();
};

void TestQtPlatform::initTestCase()
{
    struct GnomeLayout : QProxyStyle
    {
        int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                      QStyleHintReturn *returned) const override
        {
            return hint == SH_DialogButtonLayout ? QDialogButtonBox::GnomeLayout
                                                 : QProxyStyle::styleHint(hint, option, widget, returned);
        }
    };
    QApplication::setStyle(new GnomeLayout);
}

void TestQtPlatform::messageBox_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("okCancel");
    QTest::addColumn<bool>("systemModal");
    QTest::addColumn<int>("key");       // pressed in the box
    QTest::addColumn<QString>("shown"); // title, buttons, modality, on top or not, then the answer
    QTest::newRow("no title, Ok, Esc") << QString() << false << false << int(Qt::Key_Escape)
                                       << "quennetproject | OK | modal | - | Ok";
    QTest::newRow("own title, Ok and Cancel, on top, Esc") << QString("Convert") << true << true << int(Qt::Key_Escape)
                                                           << "Convert | OK, Cancel | modal | on top | Cancel";
    QTest::newRow("Ok and Cancel, Return")
        << QString("Convert") << true << false << int(Qt::Key_Return) << "Convert | OK, Cancel | modal | - | Ok";
}

void TestQtPlatform::messageBox()
{
    QFETCH(QString, title);
    QFETCH(bool, okCancel);
    QFETCH(bool, systemModal);
    QFETCH(int, key);
    QFETCH(QString, shown);
    QStringList seen;
    // The box runs its own event loop; a timer inside it reads the box and presses Esc.
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box && QTest::qWaitForWindowActive(box));
        QStringList buttons;
        for (const QAbstractButton *button : box->buttons())
            buttons << QString(button->text()).remove('&');
        std::sort(buttons.begin(), buttons.end(),
                  [](const QString &a, const QString &b) { return a.size() < b.size(); });
        seen << box->windowTitle() << buttons.join(", ")
             << (box->windowModality() == Qt::ApplicationModal ? "modal" : "modeless")
             << (box->windowFlags().testFlag(Qt::WindowStaysOnTopHint) ? "on top" : "-");
        QTest::keyClick(box->focusWidget(), Qt::Key(key));
    });
    platform::QtPlatform system;
    const platform::Answer answer = system.message(
        "Are you sure?", title, okCancel ? platform::Buttons::OkCancel : platform::Buttons::Ok, systemModal);
    seen << (answer == platform::Answer::Ok ? "Ok" : "Cancel");
    QCOMPARE(seen.join(" | "), shown);
}

// Where the file dialog starts before any picture is loaded, with home a folder of the test's own.
void TestQtPlatform::startFolder_data()
{
    QTest::addColumn<bool>("inRoot");   // else the current folder is the home folder's "work"
    QTest::addColumn<bool>("pictures"); // the home folder holds "Pictures"
    QTest::addColumn<QString>("starts");
    QTest::newRow("the current folder") << false << true << "/work";
    QTest::newRow("in the root: Pictures") << true << true << "/Pictures";
    QTest::newRow("in the root, no Pictures: home") << true << false << "";
}

void TestQtPlatform::startFolder()
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

QTEST_MAIN(TestQtPlatform)
#include "tst_qtplatform.moc"
