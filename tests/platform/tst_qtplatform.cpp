// SPDX-License-Identifier: MIT
// The real message box: its title, its buttons, and what Esc answers.
#include "platform/qtplatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

class TestQtPlatform : public QObject
{
    Q_OBJECT

private slots:
    void messageBox_data();
    void messageBox();
};

void TestQtPlatform::messageBox_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("okCancel");
    QTest::addColumn<bool>("systemModal");
    QTest::addColumn<QString>("shown"); // title, buttons, modality, on top or not, then Esc's answer
    QTest::newRow("no title, Ok") << QString() << false << false << "quennetproject | OK | modal | - | Ok";
    QTest::newRow("own title, Ok and Cancel, on top")
        << QString("Convert") << true << true << "Convert | OK, Cancel | modal | on top | Cancel";
}

void TestQtPlatform::messageBox()
{
    QFETCH(QString, title);
    QFETCH(bool, okCancel);
    QFETCH(bool, systemModal);
    QFETCH(QString, shown);
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
             << (box->windowModality() == Qt::ApplicationModal ? "modal" : "modeless")
             << (box->windowFlags().testFlag(Qt::WindowStaysOnTopHint) ? "on top" : "-");
        QTest::keyClick(box, Qt::Key_Escape);
    });
    platform::QtPlatform system;
    const platform::Answer answer = system.message(
        "Are you sure?", title, okCancel ? platform::Buttons::OkCancel : platform::Buttons::Ok, systemModal);
    seen << (answer == platform::Answer::Ok ? "Ok" : "Cancel");
    QCOMPARE(seen.join(" | "), shown);
}

QTEST_MAIN(TestQtPlatform)
#include "tst_qtplatform.moc"
