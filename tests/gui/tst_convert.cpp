// SPDX-License-Identifier: MIT
// Convert and Load picture through the real window, with scripted message boxes.
#include "mainwindow/controls.h"
#include "mainwindow/quennet.h"
#include "picture/picturebox.h"
#include "support/fakeplatform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

const QString kAllowed =
    QString::fromUtf8("Allowed char in text box: QWERTYUIOPÅASDFGHJKLÖÄZXCVBNM,.-_'1234567890+*/!?@#$%&\\()");
const QByteArray kHead = "<html><head><title>Orvanta @ Lumirune</title></head><body bgcolor=#000000><font size=1>\r\n";

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Records the order in which controls change their enabled state.
class EnabledOrder : public QObject
{
public:
    explicit EnabledOrder(const QList<QWidget *> &controls)
    {
        for (QWidget *control : controls)
            control->installEventFilter(this);
    }
    QStringList changes;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange)
            changes << watched->objectName() + (static_cast<QWidget *>(watched)->isEnabled() ? "+" : "-");
        return false;
    }
};

} // namespace

class TestConvert : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void cancelChangesNothing();
    void refusals_data();
    void refusals();
    void lowerCaseNordicMessagePasses();
    void pageNamesFollowExistingPages();
    void allHundredNamesTaken();
    void fullConversionByteForByte();
    void busyWhileScanningInGroupOrder();
    void stopAfterFourPixels();
    void displaysFollowTheScan();
    void loadCancelSuccessDamaged();
    void vanishedFolderEndsTheProgram();
    void animationShowsFirstFrameAndHugePictureFails();

private:
    // A 3 x 2 picture: blue blue green / green green white. Its first pixel is not red, so a
    // page that read the red outline drawn over the picture would show it.
    void loadCat();
    void useSmallArea();
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QStringList files() const { return QDir(m_dir->path()).entryList(QDir::Files, QDir::Name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    FakePlatform m_fake;
    std::unique_ptr<ui::quennet> m_window;
};

void TestConvert::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_fake = FakePlatform();
    m_window = std::make_unique<ui::quennet>(m_fake);
    m_window->setScanEventInterval(std::chrono::nanoseconds(0)); // events after every pixel
}

void TestConvert::cleanup()
{
    m_window.reset();
    m_dir.reset();
}

void TestConvert::loadCat()
{
    QImage cat(3, 2, QImage::Format_RGB32);
    cat.setPixel(0, 0, qRgb(0, 0, 255));
    cat.setPixel(1, 0, qRgb(0, 0, 255));
    cat.setPixel(2, 0, qRgb(0, 255, 0));
    cat.setPixel(0, 1, qRgb(0, 255, 0));
    cat.setPixel(1, 1, qRgb(0, 255, 0));
    cat.setPixel(2, 1, qRgb(255, 255, 255));
    QVERIFY(cat.save(path("cat.bmp")));
    m_fake.nextFileName = path("cat.bmp");
    m_window->loadpic_Click();
    QCOMPARE(m_window->convertfilename->text(), path("cat.bmp"));
}

void TestConvert::useSmallArea()
{
    m_window->renderareapoint->setText("0 0 3 2");
    m_window->totpixels->setText("6");
    m_window->randommessage->setChecked(false);
    m_window->doublechrperpix->setChecked(false);
    m_window->msgtext->setText("AB");
}

void TestConvert::cancelChangesNothing()
{
    loadCat();
    m_fake.answers = {platform::Answer::Cancel};
    m_window->convertb->click();
    QCOMPARE(m_fake.messages.size(), 1);
    QCOMPARE(m_fake.messages[0].text, "Are you sure?");
    QCOMPARE(m_fake.messages[0].title, "Convert");
    QCOMPARE(m_fake.messages[0].buttons, platform::Buttons::OkCancel);
    QCOMPARE(files(), QStringList{"cat.bmp"});
    QCOMPARE(m_window->convertfilename->text(), path("cat.bmp"));
    QCOMPARE(m_window->convertb->text(), "Convert");
    QVERIFY(m_window->convertframe->isHidden());
}

void TestConvert::refusals_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("systemModal");
    QTest::newRow("a space is not allowed, checked before the picture")
        << "hello world" << false << kAllowed << "quennetproject" << false;
    QTest::newRow("empty message") << "" << false << "You have to choose a message text!"
                                   << "Convert" << true;
    QTest::newRow("no picture") << "01" << false << "You have to load a picture!"
                                << "Convert" << true;
    QTest::newRow("bad character with a picture") << "0 1" << true << kAllowed << "quennetproject" << false;
}

void TestConvert::refusals()
{
    QFETCH(QString, message);
    QFETCH(bool, loaded);
    QFETCH(QString, refusal);
    QFETCH(QString, title);
    QFETCH(bool, systemModal);
    if (loaded) loadCat();
    m_window->msgtext->setText(message);
    m_window->convertb_Click();
    QCOMPARE(m_fake.messageTexts(), (QStringList{"Are you sure?", refusal}));
    QCOMPARE(m_fake.messages[1].title, title);
    QCOMPARE(m_fake.messages[1].systemModal, systemModal);
    QCOMPARE(m_fake.messages[1].buttons, platform::Buttons::Ok);
    QCOMPARE(files(), loaded ? QStringList{"cat.bmp"} : QStringList{});
    QVERIFY(m_window->convertb->isEnabled() && m_window->loadpic->isEnabled());
}

void TestConvert::lowerCaseNordicMessagePasses()
{
    loadCat();
    useSmallArea();
    m_window->msgtext->setText(QString::fromUtf8("abcåäö"));
    m_window->convertb_Click();
    QCOMPARE(m_fake.messageTexts(), (QStringList{"Are you sure?", "Convert Complete"}));
    QVERIFY(readAll(path("cat1.htm"))
                .contains("<font color=#0000FF>ab</font><font color=#00FF00>c</font><br>"
                          "<font color=#00FF00>\xE5\xE4</font><font color=#FFFFFF>\xF6</font>"));
}

void TestConvert::pageNamesFollowExistingPages()
{
    loadCat();
    for (const char *name : {"cat1.htm", "cat2.htm", "cat3.htm"}) {
        QFile taken(path(name));
        QVERIFY(taken.open(QIODevice::WriteOnly));
    }
    useSmallArea();
    m_window->convertb_Click();
    QCOMPARE(m_window->convertfilename->text(), path("cat4.htm"));
    QVERIFY(readAll(path("cat4.htm")).endsWith("</font></body></html>\r\n"));
    // Without reloading, the next page is named from the last one.
    m_window->convertb_Click();
    QCOMPARE(m_window->convertfilename->text(), path("cat41.htm"));
    QCOMPARE(files(), (QStringList{"cat.bmp", "cat1.htm", "cat2.htm", "cat3.htm", "cat4.htm", "cat41.htm"}));
}

void TestConvert::allHundredNamesTaken()
{
    loadCat();
    for (int n = 1; n <= 100; ++n) {
        QFile taken(path(QString("cat%1.htm").arg(n)));
        QVERIFY(taken.open(QIODevice::WriteOnly));
    }
    m_window->convertb_Click();
    QCOMPARE(m_fake.messageTexts(), (QStringList{"Are you sure?", "Error: Cant find a plase to save file."}));
    QCOMPARE(m_fake.messages[1].title, "quennetproject");
    QCOMPARE(files().size(), 101);
    QCOMPARE(m_window->convertfilename->text(), path("cat.bmp"));
    QCOMPARE(m_window->convertb->text(), "Convert");
}

void TestConvert::fullConversionByteForByte()
{
    loadCat();
    useSmallArea();
    m_window->convertb_Click();
    QCOMPARE(m_fake.messageTexts(), (QStringList{"Are you sure?", "Convert Complete"}));
    QCOMPARE(m_fake.messages[1].title, "Convert");
    QVERIFY(m_fake.messages[1].systemModal);
    QCOMPARE(readAll(path("cat1.htm")), kHead +
                                            "<pre><font color=#0000FF>AB</font><font color=#00FF00>A</font><br>"
                                            "<font color=#00FF00>BA</font><font color=#FFFFFF>B</font><br></pre>"
                                            "<font color=#FFFFFF>Orvanta @ Lumirune</font></font></body></html>\r\n");
    ui::quennet &w = *m_window;
    QCOMPARE(w.convertfilename->text(), path("cat1.htm"));
    QCOMPARE(w.convertlinenr->text(), "2");
    QCOMPARE(w.convertpixelnr->text(), "6");
    QCOMPARE(w.convertstatus->text(), "100%");
    QCOMPARE(w.findChild<ui::Shape *>("statusbar2")->widthTwips(), 6200);
    QCOMPARE(w.convertvbcolor->text(), "16777215");
    QCOMPARE(w.convertrgbcolor->text(), "255255255");
    QCOMPARE(w.converthexcolor->text(), "FFFFFF");
    QCOMPARE(w.convertb->text(), "Convert");
    QVERIFY(!w.statustimer->isActive());
    QVERIFY(w.convertframe->isHidden() && !w.colorframe->isHidden() && !w.textframe->isHidden());
}

void TestConvert::busyWhileScanningInGroupOrder()
{
    loadCat();
    useSmallArea();
    EnabledOrder order(m_window->optionGroup());
    bool checked = false;
    m_fake.onProcessEvents = [&](int call) {
        if (call != 1) return;
        ui::quennet &w = *m_window;
        QCOMPARE(w.convertb->text(), "STOP");
        QVERIFY(w.convertb->isEnabled());
        QVERIFY(w.convertframe->isVisible() && w.colorframe->isHidden() && w.textframe->isHidden());
        QVERIFY(w.statustimer->isActive());
        QCOMPARE(w.convertlinenr->text(), "0");
        checked = true;
    };
    m_window->show();
    m_window->convertb_Click();
    QVERIFY(checked);
    const QStringList group{"renderareapoint",  "doublechrperpix", "Insertpre",  "msgtext",
                            "quickmessage",     "randommessage",   "fontsizeC",  "colorquality",
                            "blackbackground",  "whitebackground", "ignorelist", "addignorelist",
                            "removeignorelist", "loadpic",         "convertb",   "setrender"};
    QStringList expected;
    for (const QString &name : group) {
        if (name != "convertb") // stays enabled as the STOP button
            expected << name + "-";
    }
    for (const QString &name : group) {
        if (name != "convertb") expected << name + "+";
    }
    QCOMPARE(order.changes, expected);
}

void TestConvert::stopAfterFourPixels()
{
    loadCat();
    useSmallArea();
    m_fake.onProcessEvents = [&](int call) {
        if (call == 4) m_window->convertb->click(); // the STOP click, let through after the fourth pixel
    };
    m_window->convertb_Click();
    QCOMPARE(m_fake.messageTexts(), (QStringList{"Are you sure?", "Convert aborted."}));
    QCOMPARE(m_fake.messages[1].title, "quennetproject");
    QVERIFY(m_fake.messages[1].systemModal);
    QCOMPARE(m_fake.processEventsCalls, 4);
    QCOMPARE(readAll(path("cat1.htm")),
             kHead + "<pre><font color=#0000FF>AB</font><font color=#00FF00>A</font><br>"
                     "<font color=#00FF00>B</pre>"
                     "<br><font color=#FFFFFF>Orvanta @ Lumirune</font></font></body></html>\r\n");
    ui::quennet &w = *m_window;
    QCOMPARE(w.convertb->text(), "Convert");
    QVERIFY(!w.statustimer->isActive());
    QCOMPARE(w.convertlinenr->text(), "1");
    QCOMPARE(w.convertstatus->text(), "50%");
    for (QWidget *option : w.optionGroup())
        QVERIFY2(option->isEnabled(), qPrintable(option->objectName()));
}

void TestConvert::displaysFollowTheScan()
{
    loadCat();
    useSmallArea();
    m_window->colorquality->setCurrentText("100");
    QStringList seen;
    m_fake.onProcessEvents = [&](int) {
        seen << m_window->convertvbcolor->text() + " " + m_window->convertrgbcolor->text() + " " +
                    m_window->converthexcolor->text() + " " + m_window->convertlinenr->text() + "/" +
                    m_window->convertpixelnr->text();
    };
    m_window->convertb_Click();
    QCOMPARE(seen, (QStringList{"16711680 0000255 0000FF 0/0", "16711680 0000255 0000FF 0/0",
                                "65280 0025500 00FF00 1/3", "65280 0025500 00FF00 1/3", "65280 0025500 00FF00 1/3"}));
}

void TestConvert::loadCancelSuccessDamaged()
{
    ui::quennet &w = *m_window;
    w.loadpic_Click(); // Cancel: nothing is chosen
    QCOMPARE(m_fake.dialogFolder, "/opt/lumirune");
    QCOMPARE(m_fake.dialogFilters, (QStringList{"*.bmp (*.BMP)", "*.jpg (*.JPG)", "*.gif (*.GIF)"}));
    QCOMPARE(w.convertfilename->text(), QString());
    QVERIFY(m_fake.messages.isEmpty());

    loadCat();
    QCOMPARE(w.mainpic->picture().size(), QSize(3, 2));
    w.loadpic_Click(); // Cancel after a load changes nothing either
    QCOMPARE(w.convertfilename->text(), path("cat.bmp"));

    QFile damaged(path("damaged.jpg"));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("\xFF\xD8\xFF\xE0 not really");
    damaged.close();
    m_fake.nextFileName = damaged.fileName();
    w.loadpic_Click();
    QCOMPARE(m_fake.messageTexts(), QStringList{"Error: The picture file you selected maybe damaged."});
    QCOMPARE(m_fake.messages[0].title, "quennetproject");
    // The box keeps the picture that is shown, so Convert writes no page for the damaged file.
    QCOMPARE(w.convertfilename->text(), path("cat.bmp"));
    QCOMPARE(w.mainpic->picture().size(), QSize(3, 2));
    QVERIFY(!m_fake.quitCalled);
}

void TestConvert::vanishedFolderEndsTheProgram()
{
    loadCat();
    useSmallArea();
    QVERIFY(QDir(m_dir->path()).removeRecursively());
    m_window->convertb_Click();
    QCOMPARE(m_fake.messageTexts(), (QStringList{"Are you sure?", "Error: Send file errormsg.txt to Corvalis..."}));
    QVERIFY(m_fake.quitCalled);
    QVERIFY(!QFileInfo::exists(path("cat.bmp")));
}

void TestConvert::animationShowsFirstFrameAndHugePictureFails()
{
    m_fake.nextFileName = QString(TEST_DATA_DIR) + "/two-frames.gif"; // red, then blue
    m_window->loadpic_Click();
    QCOMPARE(m_window->mainpic->picture().pixel(0, 0), qRgb(255, 0, 0));

    // A bitmap header promising 30000 x 30000 pixels: more than may be allocated for a picture.
    QByteArray header("BM");
    auto put32 = [&](quint32 v) { header.append(reinterpret_cast<const char *>(&v), 4); };
    auto put16 = [&](quint16 v) { header.append(reinterpret_cast<const char *>(&v), 2); };
    put32(54), put32(0), put32(54);
    put32(40), put32(30000), put32(30000), put16(1), put16(24), put32(0), put32(0), put32(0), put32(0), put32(0),
        put32(0);
    QFile huge(path("huge.bmp"));
    QVERIFY(huge.open(QIODevice::WriteOnly));
    huge.write(header + QByteArray(64, '\0'));
    huge.close();
    m_fake.nextFileName = huge.fileName();
    m_window->loadpic_Click();
    QCOMPARE(m_fake.messageTexts(), QStringList{"Error: The picture file you selected maybe damaged."});
    QCOMPARE(m_window->mainpic->picture().pixel(0, 0), qRgb(255, 0, 0));
}

QTEST_MAIN(TestConvert)
#include "tst_convert.moc"
