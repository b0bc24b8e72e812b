// SPDX-License-Identifier: MIT
// The ignore list and the colour chooser that makes its entries.
#include "support/fakeplatform.h"

#include "mainwindow/controls.h"
#include "mainwindow/quennet.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Cells of the chooser's colour map, in pixels of its picture.
const QPoint kGreenCell(75, 5);
const QPoint kBlueCell(5, 85);
const QPoint kWhiteCell(5, 55);

QRgb rgbOf(int32_t value)
{
    return qRgb(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

} // namespace

class tst_ColorChooser : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void mapClickShowsColor_data();
    void mapClickShowsColor();
    void useKeepsChoiceAndCloseBoxDiscardsIt();
    void useRefusesReplacementText_data();
    void useRefusesReplacementText();
    void refusalsOfAddAndRem();
    void selectingShowsBothColorsAndRemoveKeepsThem();
    void conversionUsesEarlierOfTwoEntriesForOneColor();

private:
    // Add after a pick of swatch on the picture; with a map cell, a click on it and Use follow.
    void add(int32_t swatch, std::optional<QPoint> cell = std::nullopt);
    void clickMap(QPoint pixel);
    void clickUse() { QTest::mouseClick(chooser()->findChild<QPushButton *>("usecolor"), Qt::LeftButton); }
    void selectEntry(int row);
    QWidget *chooser() { return m_window->findChild<QWidget *>("choosecolor"); }
    QString chooserText() { return chooser()->findChild<QLineEdit *>("deccolortext")->text(); }
    QRgb chooserSwatch() { return chooser()->findChild<QWidget *>("showcolor")->grab().toImage().pixel(8, 8); }
    QPair<QRgb, QRgb> mainSwatchHalves();
    QStringList entries();
    int enabledOptionControls();

    FakePlatform m_fake;
    ui::quennet *m_window = nullptr;
};

void tst_ColorChooser::init()
{
    m_fake = FakePlatform();
    m_window = new ui::quennet(m_fake);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void tst_ColorChooser::cleanup()
{
    delete m_window;
}

void tst_ColorChooser::add(int32_t swatch, std::optional<QPoint> cell)
{
    m_window->showignorecolor->setColor(swatch);
    QTest::mouseClick(m_window->addignorelist, Qt::LeftButton);
    if (!cell) return;
    clickMap(*cell);
    clickUse();
}

// A press on the map inside its one-pixel border.
void tst_ColorChooser::clickMap(QPoint pixel)
{
    QTest::mouseClick(chooser()->findChild<QWidget *>("colormap"), Qt::LeftButton, {}, pixel + QPoint(1, 1));
}

void tst_ColorChooser::selectEntry(int row)
{
    QListWidget *list = m_window->ignorelist;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

QPair<QRgb, QRgb> tst_ColorChooser::mainSwatchHalves()
{
    const QImage shown = m_window->showignorecolor->grab().toImage();
    return {shown.pixel(5, shown.height() / 2), shown.pixel(shown.width() - 5, shown.height() / 2)};
}

QStringList tst_ColorChooser::entries()
{
    QStringList texts;
    for (int i = 0; i < m_window->ignorelist->count(); ++i)
        texts << m_window->ignorelist->item(i)->text();
    return texts;
}

int tst_ColorChooser::enabledOptionControls()
{
    int enabled = 0;
    for (const char *name : {"renderareapoint", "doublechrperpix", "Insertpre", "msgtext", "quickmessage",
                             "randommessage", "fontsizeC", "colorquality", "blackbackground", "whitebackground",
                             "ignorelist", "addignorelist", "removeignorelist", "loadpic", "convertb", "setrender"})
        enabled += m_window->findChild<QWidget *>(name)->isEnabled();
    return enabled;
}

void tst_ColorChooser::mapClickShowsColor_data()
{
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<int>("value");

    QTest::newRow("column 7 row 0 is pure green") << kGreenCell << 65280;
    QTest::newRow("first and last pixel inside a cell") << QPoint(71, 9) << 65280;
    QTest::newRow("white cell, column 0 row 5") << kWhiteCell << 16777215;
    QTest::newRow("last cell, column 19 row 11") << QPoint(199, 119) << 16777215;
    QTest::newRow("grid line") << QPoint(70, 5) << 0;
    QTest::newRow("grey level 1 takes green from its own table") << QPoint(5, 15) << 3223601;
    QTest::newRow("yellow, column 0 row 9") << QPoint(5, 95) << 65535;
    QTest::newRow("column 3 row 2: green 1, blue 2") << QPoint(35, 25) << 6500352;
    QTest::newRow("column 8 row 7: red level 4, blue 1") << QPoint(85, 75) << 3211470;
}

void tst_ColorChooser::mapClickShowsColor()
{
    QFETCH(QPoint, pixel);
    QFETCH(int, value);

    add(255);
    clickMap(QPoint(15, 15));
    clickMap(pixel);
    QCOMPARE(chooserText(), QString::number(value));
    QCOMPARE(chooserSwatch(), rgbOf(value));
    // The value read is the colour the map shows there.
    const QImage map = chooser()->findChild<QWidget *>("colormap")->grab().toImage();
    QCOMPARE(map.pixel(pixel + QPoint(1, 1)), rgbOf(value));
}

void tst_ColorChooser::useKeepsChoiceAndCloseBoxDiscardsIt()
{
    add(255);
    QCOMPARE(enabledOptionControls(), 0);
    clickUse();
    QCOMPARE(entries(), QStringList{"255 > 0"});
    QVERIFY(!chooser()->isVisible());
    QCOMPARE(enabledOptionControls(), 16);

    add(16711680, kGreenCell);
    add(65535);
    QCOMPARE(chooserText(), "65280");
    QCOMPARE(chooserSwatch(), qRgb(0, 255, 0));

    clickMap(kWhiteCell);
    QVERIFY(chooser()->close());
    QCOMPARE(entries(), (QStringList{"255 > 0", "16711680 > 65280"}));
    QCOMPARE(enabledOptionControls(), 16);
    add(65535);
    QCOMPARE(chooserText(), "0");
    QCOMPARE(chooserSwatch(), qRgb(0, 0, 0));
    QVERIFY(m_fake.messages.isEmpty());
}

void tst_ColorChooser::useRefusesReplacementText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("white") << QString("16777215") << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("not a number") << QString("red") << false;
    QTest::newRow("space inside") << QString("1 2") << false;
    QTest::newRow("leading zero") << QString("0255") << false;
    QTest::newRow("decimal part") << QString("2.5") << false;
    QTest::newRow("negative") << QString("-1") << false;
    QTest::newRow("beyond white") << QString("16777216") << false;
}

void tst_ColorChooser::useRefusesReplacementText()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);

    add(255);
    QLineEdit *text = chooser()->findChild<QLineEdit *>("deccolortext");
    text->selectAll();
    QTest::keyClick(text, Qt::Key_Delete);
    QTest::keyClicks(text, typed);
    clickUse();
    QCOMPARE(entries(), accepted ? QStringList{"255 > " + typed} : QStringList());
    QCOMPARE(chooser()->isVisible(), !accepted);
    QCOMPARE(enabledOptionControls(), accepted ? 16 : 0);
    if (!accepted) {
        QCOMPARE(m_fake.messageTexts(), QStringList{"The color code is invalid, please use a new color."});
        QCOMPARE(m_fake.messages.first().title, "quennetproject");
    }
}

void tst_ColorChooser::refusalsOfAddAndRem()
{
    QTest::mouseClick(m_window->addignorelist, Qt::LeftButton);
    QTest::mouseClick(m_window->removeignorelist, Qt::LeftButton);
    add(255, kGreenCell);
    selectEntry(0);
    QTest::mouseClick(m_window->addignorelist, Qt::LeftButton);

    QCOMPARE(m_fake.messageTexts(),
             (QStringList{"The color code is invalid, please use a new color.", "Select item from ignore list!",
                          "That color you have choose is already added!"}));
    for (const FakePlatform::Message &message : std::as_const(m_fake.messages)) {
        QCOMPARE(message.title, "quennetproject");
        QCOMPARE(message.buttons, platform::Buttons::Ok);
    }
    QVERIFY(!chooser()->isVisible());
    QCOMPARE(enabledOptionControls(), 16);
    QCOMPARE(entries(), QStringList{"255 > 65280"});
}

void tst_ColorChooser::selectingShowsBothColorsAndRemoveKeepsThem()
{
    add(255, kGreenCell);
    add(16777215, kBlueCell);
    add(65280, kWhiteCell);

    selectEntry(0);
    QCOMPARE(mainSwatchHalves(), (QPair<QRgb, QRgb>(qRgb(255, 0, 0), qRgb(0, 255, 0))));
    // A pick on the picture covers both halves; a click on the selected entry brings them back.
    m_window->showignorecolor->setColor(0);
    selectEntry(0);
    QCOMPARE(mainSwatchHalves(), (QPair<QRgb, QRgb>(qRgb(255, 0, 0), qRgb(0, 255, 0))));

    selectEntry(1);
    QTest::mouseClick(m_window->removeignorelist, Qt::LeftButton);
    QCOMPARE(entries(), (QStringList{"255 > 65280", "65280 > 16777215"}));
    QVERIFY(m_window->ignorelist->selectedItems().isEmpty());
    QCOMPARE(mainSwatchHalves(), (QPair<QRgb, QRgb>(qRgb(255, 255, 255), qRgb(0, 0, 255))));
    QVERIFY(m_fake.messages.isEmpty());
}

void tst_ColorChooser::conversionUsesEarlierOfTwoEntriesForOneColor()
{
    QTemporaryDir dir;
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 255, 0));
    QVERIFY(picture.save(dir.filePath("pair.bmp")));
    m_fake.nextFileName = dir.filePath("pair.bmp");
    m_window->loadpic_Click();

    add(255, kBlueCell);
    // A pick on the picture while the chooser is open: Use stores it without Add's checks.
    add(0);
    m_window->showignorecolor->setColor(255);
    clickMap(kGreenCell);
    clickUse();
    add(65280, kWhiteCell);
    QCOMPARE(entries(), (QStringList{"255 > 16711680", "255 > 65280", "65280 > 16777215"}));

    m_window->findChild<QLabel *>("renderareapoint")->setText("0 0 2 1");
    m_window->findChild<QLabel *>("totpixels")->setText("2");
    m_window->convertb_Click();
    QCOMPARE(m_fake.messageTexts(), (QStringList{"Are you sure?", "Convert Complete"}));
    QFile page(dir.filePath("pair1.htm"));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QByteArray text = page.readAll();
    const int row = text.indexOf("<pre>");
    const QByteArray pixels = text.mid(row, text.indexOf("</font><br>") - row);
    // Red became blue, and the second red entry no longer matched; green became white.
    QVERIFY2(pixels.contains("<font color=#0000FF>") && pixels.contains("<font color=#FFFFFF>"), pixels);
    QVERIFY2(!pixels.contains("FF0000") && !pixels.contains("00FF00"), pixels);
}

QTEST_MAIN(tst_ColorChooser)
#include "tst_colorchooser.moc"
