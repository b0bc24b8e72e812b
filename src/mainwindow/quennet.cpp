// SPDX-License-Identifier: MIT
#include "quennet.h"

#include "convertframe.h"

#include "engine/numbers.h"
#include "options/colorframe.h"
#include "options/textframe.h"
#include "picture/pictureframe.h"
#include "widgets/captions.h"
#include "widgets/layout.h"

#include <QCloseEvent>

namespace ui {

namespace {

// The option group in its order, by object name.
const char *const kOptionGroup[] = {"renderareapoint",  "doublechrperpix", "Insertpre",  "msgtext",
                                    "quickmessage",     "randommessage",   "fontsizeC",  "colorquality",
                                    "blackbackground",  "whitebackground", "ignorelist", "addignorelist",
                                    "removeignorelist", "loadpic",         "convertb",   "setrender"};

const char *const kTabOrder[] = {
    "mainpic",         "msgtext",         "blackbackground",  "setrender",      "loadpic",       "convertb",
    "whitebackground", "randommessage",   "removeignorelist", "ignorelist",     "addignorelist", "colorquality",
    "Insertpre",       "doublechrperpix", "quickmessage",     "fontsizeC",      "fillcells",     "squarepixels",
    "convertvbcolor",  "convertrgbcolor", "converthexcolor",  "convertfilename"};

// Locked and unlocked with the option group, after it.
const char *const kLockedWithGroup[] = {"fillcells", "squarepixels"};

} // namespace

quennet::quennet(platform::Platform &platform, QWidget *parent)
    : QWidget(parent), m_platform(platform),
      m_guard(
          platform, [this] { return stateAtFailure(); }, [this](int exitCode) { endProgram(exitCode); })
{
    setObjectName("quennet");
    setWindowTitle("Lumirune II - Orvanta");
    setWindowIcon(programIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    resize(twipsRect(0, 0, 7215, 7770).size());
    m_picture = new PictureFrame(this, platform, m_guard);
    m_color = new ColorFrame(this, platform);
    m_text = new TextFrame(this);
    m_convert = new ConvertFrame(this, platform, m_guard, *this);

    connect(m_picture, &PictureFrame::pictureLoaded, m_convert, &ConvertFrame::setPictureFile);
    connect(m_picture, &PictureFrame::colorPicked, m_color, &ColorFrame::showPickedColor);
    connect(m_picture, &PictureFrame::optionsEnabledRequested, this, [this](bool on) { setOptionsEnabled(on); });
    connect(m_color, &ColorFrame::optionsEnabledRequested, this, [this](bool on) { setOptionsEnabled(on); });
    connect(m_convert, &ConvertFrame::busyChanged, this, &quennet::showBusy);
    connect(m_picture, &PictureFrame::endRequested, this, &quennet::endProgram);
    setTabOrder();
    fitCaptions();
}

// The layout was drawn for a small system font. Of the sizes from 9 points down to 7, the window
// takes the largest at which every caption shows whole, widening a control into free space where
// its own place is too small.
void quennet::fitCaptions()
{
    QFont chosen = font();
    for (int tenths = 90; tenths >= 70; tenths -= 5) {
        chosen.setPointSizeF(tenths / 10.0);
        setFont(chosen);
        if (widenToCaptions(this, false)) break;
    }
    widenToCaptions(this);
}

quennet::~quennet() = default;

void quennet::setTabOrder()
{
    QWidget *previous = nullptr;
    for (const char *name : kTabOrder) {
        QWidget *control = findChild<QWidget *>(name);
        if (previous) QWidget::setTabOrder(previous, control);
        previous = control;
    }
    findChild<QWidget *>("mainpic")->setFocus();
}

QList<QWidget *> quennet::optionGroup() const
{
    QList<QWidget *> group;
    for (const char *name : kOptionGroup)
        group << findChild<QWidget *>(name);
    return group;
}

void quennet::setOptionsEnabled(bool enabled, bool keepConvertButton)
{
    for (QWidget *control : optionGroup()) {
        if (!(keepConvertButton && control->objectName() == "convertb")) control->setEnabled(enabled);
    }
    for (const char *name : kLockedWithGroup)
        findChild<QWidget *>(name)->setEnabled(enabled);
    m_convert->allowOpenPage(enabled);
}

// While a conversion runs only its STOP button stays enabled, and its progress shows in place of
// the option frames.
void quennet::showBusy(bool busy)
{
    if (busy) {
        m_convert->show();
        m_color->hide();
        m_text->hide();
        setOptionsEnabled(false, true);
    } else {
        setOptionsEnabled(true);
        m_convert->hide();
        m_color->show();
        m_text->show();
    }
}

void quennet::loadPicture(const QString &path)
{
    m_picture->loadPicture(path);
}

void quennet::setScanEventInterval(std::chrono::nanoseconds interval)
{
    m_convert->setScanEventInterval(interval);
}

QString quennet::messageText() const
{
    return m_text->messageText();
}

void quennet::readSettings(engine::ScanSettings &s) const
{
    s.area = engine::splitrenderareacode(m_picture->renderAreaCode().toStdString());
    s.pixelCount = engine::toInt32(m_picture->pixelTotal().toStdString(), "totpixels");
    m_text->readSettings(s);
    m_color->readSettings(s);
}

QImage quennet::drawingArea() const
{
    return m_picture->drawingArea();
}

ErrorReport quennet::stateAtFailure()
{
    ErrorReport r = m_convert->stillForReport();
    r.renderStatus = m_picture->setrenderstatus;
    r.renderArea = m_picture->renderAreaCode();
    r.renderPixels = m_picture->pixelTotal();
    return r;
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
    m_convert->haltConversion();
    m_platform.quit(exitCode);
}

} // namespace ui
