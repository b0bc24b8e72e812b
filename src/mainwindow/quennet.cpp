// SPDX-License-Identifier: MIT
#include "quennet.h"

#include "controls.h"
#include "picture/picturebox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace ui {

namespace {

QComboBox *combo(QWidget *parent, const char *name, const QStringList &items, const QString &text, int left, int top,
                 int width, int height)
{
    auto *c = place<QComboBox>(parent, name, left, top, width, height);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(items);
    c->setCurrentIndex(items.indexOf(text));
    // The boxes are narrow; a slim arrow leaves room for "100".
    c->setStyleSheet("QComboBox { padding: 0 0 0 2px; } QComboBox::drop-down { width: 13px; }");
    return c;
}

QGroupBox *frame(QWidget *parent, const char *name, const QString &caption, int left, int top, int width, int height)
{
    auto *f = place<QGroupBox>(parent, name, left, top, width, height);
    f->setTitle(caption);
    return f;
}

} // namespace

quennet::quennet(platform::Platform &platform, QWidget *parent) : QWidget(parent), m_platform(platform)
{
    buildWindow();
    connectHandlers();
    setTabOrder();
}

quennet::~quennet() = default;

void quennet::buildWindow()
{
    setObjectName("quennet");
    setWindowTitle("Lumirune II - Orvanta");
    setWindowIcon(programIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    resize(twipsRect(0, 0, 7215, 7770).size());
    // The layout was drawn for a small, narrow system font; the toolkit's default is wider.
    QFont small = font();
    small.setPointSize(8);
    small.setStretch(QFont::SemiCondensed);
    setFont(small);

    statustimer = new QTimer(this);
    statustimer->setObjectName("statustimer");
    statustimer->setInterval(1000);

    convertb = placeWithText<QPushButton>(this, "convertb", "Convert", 4800, 4080, 2295, 495);
    QFont bold = convertb->font();
    bold.setFamily("Sans Serif");
    bold.setPointSize(12);
    bold.setBold(true);
    convertb->setFont(bold);
    loadpic = placeWithText<QPushButton>(this, "loadpic", "Load picture", 4920, 120, 2055, 255);
    setrender = placeWithText<QPushButton>(this, "setrender", "Set render area", 4920, 1560, 2055, 255);
    colorframe = frame(this, "colorframe", "Color", 3960, 4680, 3135, 3015);
    textframe = frame(this, "textframe", "Text", 120, 4680, 3735, 3015);
    mainpic = place<PictureBox>(this, "mainpic", 120, 120, 4530, 4530);
    convertframe = frame(this, "convertframe", "Convert", 120, 4680, 6975, 3015);
    convertframe->hide();
    totpixels = placeWithText<QLabel>(this, "totpixels", "90000", 4920, 2760, 2055, 255);
    info3 = placeWithText<QLabel>(this, "info3", "Total pixels in render area:", 4920, 2520, 2055, 255);
    renderareapoint = placeWithText<ClickLabel>(this, "renderareapoint", "0 0 300 300", 4920, 2160, 2055, 255);
    info2 = placeWithText<QLabel>(this, "info2", "Render area  (x1 y1 x2 y2):", 4920, 1920, 2175, 255);
    info1 = placeWithText<QLabel>(this, "info1", "Load the picture you want to convert and then setup your options.",
                                  4920, 480, 2175, 735);
    info1->setWordWrap(true);
    info1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    buildColorFrame();
    buildTextFrame();
    buildConvertFrame();
    buildPictureOverlays();
}

void quennet::buildColorFrame()
{
    QWidget *f = colorframe;
    infolabel1 = placeWithText<QLabel>(f, "infolabel1", "Color quality:" + QString(16, ' ') + "%", 240, 270, 1815, 255);
    colorquality = combo(f, "colorquality", {"100", "90", "80", "70", "60", "50", "40", "30", "20", "10"}, "100", 1200,
                         240, 615, 315);
    blackbackground = placeWithText<QRadioButton>(f, "blackbackground", "Black background color", 240, 600, 2535, 255);
    blackbackground->setChecked(true);
    whitebackground = placeWithText<QRadioButton>(f, "whitebackground", "White background color", 240, 840, 2535, 195);
    infolabel5 = placeWithText<QLabel>(f, "infolabel5", "Ignore color:", 120, 1200, 2175, 255);
    ignorelist = place<QListWidget>(f, "ignorelist", 120, 1440, 2175, 1425);
    addignorelist = placeWithText<QPushButton>(f, "addignorelist", "Add", 2400, 1440, 615, 255);
    removeignorelist = placeWithText<QPushButton>(f, "removeignorelist", "Rem", 2400, 1800, 615, 255);
    showignorecolor = place<ColorSwatch>(f, "showignorecolor", 2400, 2320, 615, 540);
}

void quennet::buildTextFrame()
{
    QWidget *f = textframe;
    doublechrperpix =
        placeWithText<QCheckBox>(f, "doublechrperpix", "Double chr per pix (bigger file size)", 240, 240, 2895, 375);
    doublechrperpix->setChecked(true);
    Insertpre = placeWithText<QCheckBox>(f, "Insertpre", "Insert Pre", 240, 600, 2175, 255);
    Insertpre->setChecked(true);
    infolabel2 = placeWithText<QLabel>(f, "infolabel2", "Font size:", 240, 990, 855, 255);
    fontsizeC = combo(f, "fontsizeC", {"7", "6", "5", "4", "3", "2", "1"}, "1", 1080, 960, 495, 315);
    infolabel3 = placeWithText<QLabel>(f, "infolabel3", "Message:", 120, 1950, 1215, 255);
    quickmessage = combo(f, "quickmessage", {"Dec", "Chr", "Chr & Dec", "Hex", "Oct", "Bin", "Own message"}, "Bin",
                         1080, 1920, 1335, 315);
    randommessage = placeWithText<QCheckBox>(f, "randommessage", "Random", 2640, 1920, 975, 255);
    randommessage->setChecked(true);
    msgtext = placeWithText<QLineEdit>(f, "msgtext", "01", 120, 2280, 3495, 645);
    msgtext->setMaxLength(100);
    msgtext->setReadOnly(true);
}

void quennet::buildConvertFrame()
{
    QWidget *f = convertframe;
    infolabel7 = placeWithText<QLabel>(f, "infolabel7", "Status:", 360, 360, 1695, 255);
    statusbar1 = place<Shape>(f, "statusbar1", 360, 600, 6200, 375);
    statusbar2 = place<Shape>(f, "statusbar2", 360, 600, 15, 375);
    statusbar2->setFill(kDesktop);
    convertstatus = placeWithText<QLabel>(f, "convertstatus", "0%", 3240, 720, 735, 255);
    convertinfo3 = placeWithText<QLabel>(f, "convertinfo3", "0 sec elasped, 0 sec left.", 360, 1080, 2535, 255);
    infolabel4 = placeWithText<QLabel>(f, "infolabel4", "Working on:" + QString(44, ' ') + "Save in file:", 360, 1440,
                                       4455, 255);
    convertinfo1 = placeWithText<QLabel>(f, "convertinfo1", "Pixel number:", 360, 1680, 975, 255);
    convertpixelnr = placeWithText<QLabel>(f, "convertpixelnr", "0", 1440, 1680, 855, 255);
    convertinfo2 = placeWithText<QLabel>(f, "convertinfo2", "Line number:", 360, 1920, 975, 255);
    convertlinenr = placeWithText<QLabel>(f, "convertlinenr", "0", 1440, 1920, 1095, 255);
    convertfilename = placeWithText<QLineEdit>(f, "convertfilename", QString(), 3240, 1680, 3375, 285);
    convertfilename->setReadOnly(true);
    infolabel6 = placeWithText<QLabel>(
        f, "infolabel6", "Dec:" + QString(40, ' ') + "RGB:" + QString(39, ' ') + "HEX:", 360, 2280, 6255, 255);
    convertvbcolor = placeWithText<QLineEdit>(f, "convertvbcolor", "0", 360, 2520, 1935, 285);
    convertrgbcolor = placeWithText<QLineEdit>(f, "convertrgbcolor", "0", 2520, 2520, 1935, 285);
    converthexcolor = placeWithText<QLineEdit>(f, "converthexcolor", "0", 4680, 2520, 1935, 285);
}

void quennet::buildPictureOverlays()
{
    const QColor green(0, 192, 0);
    const QColor darkGreen(0, 128, 0);
    Line1 = mainpic->addOverlay(Overlay::Kind::Line, "Line1", green);
    Line1->setLine(149, 0, 149, 4470);
    Line2 = mainpic->addOverlay(Overlay::Kind::Line, "Line2", green);
    Line2->setLine(0, 149, 4470, 149);
    renderareabox = mainpic->addOverlay(Overlay::Kind::Rectangle, "renderareabox", QColor(255, 0, 0));
    renderareabox->setRectangle(0, 0, 4500, 4500);
    renderareabox->setVisible(true);
    pointline2 = mainpic->addOverlay(Overlay::Kind::Line, "pointline2", darkGreen);
    pointline2->setLine(480, 600, 480, 900);
    pointline1 = mainpic->addOverlay(Overlay::Kind::Line, "pointline1", darkGreen);
    pointline1->setLine(480, 600, 780, 600);
}

void quennet::connectHandlers()
{
    connect(convertb, &QPushButton::clicked, this, &quennet::convertb_Click);
    connect(loadpic, &QPushButton::clicked, this, &quennet::loadpic_Click);
    connectRenderAreaHandlers();
    connectOptionHandlers();
    connectStatusHandlers();
}

void quennet::setTabOrder()
{
    const QList<QWidget *> order{mainpic,       msgtext,         blackbackground, setrender,        loadpic,
                                 convertb,      whitebackground, randommessage,   removeignorelist, ignorelist,
                                 addignorelist, colorquality,    Insertpre,       doublechrperpix,  quickmessage,
                                 fontsizeC,     convertvbcolor,  convertrgbcolor, converthexcolor,  convertfilename};
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    mainpic->setFocus();
}

QList<QWidget *> quennet::optionGroup() const
{
    return {renderareapoint,  doublechrperpix, Insertpre,       msgtext,         quickmessage, randommessage,
            fontsizeC,        colorquality,    blackbackground, whitebackground, ignorelist,   addignorelist,
            removeignorelist, loadpic,         convertb,        setrender};
}

void quennet::setOptionsEnabled(bool enabled, bool keepConvertButton)
{
    for (QWidget *control : optionGroup()) {
        if (!(keepConvertButton && control == convertb)) control->setEnabled(enabled);
    }
}

void quennet::Form_Unload()
{
    endProgram(0);
}

void quennet::closeEvent(QCloseEvent *event)
{
    event->accept();
    Form_Unload();
}

void quennet::endProgram(int exitCode)
{
    m_ended = true;
    m_platform.quit(exitCode);
}

} // namespace ui
