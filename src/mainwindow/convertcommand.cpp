// SPDX-License-Identifier: MIT
// The Convert button: checks, output name, busy state, the scan, and STOP.
#include "convertframe.h"

#include "engine/messagetext.h"
#include "engine/numbers.h"
#include "engine/pagefile.h"
#include "picturesource/picturefile.h"
#include "widgets/shape.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <exception>
#include <random>

namespace ui {

using platform::Answer;
using platform::Buttons;

namespace {

constexpr int kProgressBarTwips = 6200;

} // namespace

void ConvertFrame::convertb_Click()
{
    m_guard.runGuarded(platform::Handler::ConvertButton, [this] {
        // While a conversion runs the same button stops it.
        if (convertb->text() == tr("STOP"))
            abortConvert();
        else
            startConvert();
    });
}

void ConvertFrame::startConvert()
{
    if (!convertInputsPass()) return;
    // The page is claimed here, so no other conversion can take its name; a page that cannot be
    // created is reported where it is written, after the busy state and the scan's set-up.
    std::optional<engine::PageFile> page;
    std::exception_ptr cannotCreate;
    try {
        page = engine::claimNextFreePage(QFile::encodeName(convertfilename->text()).toStdString(), ".htm",
                                         !m_nameIsPicture);
    } catch (const engine::Failure &failure) {
        if (failure.number() != int32_t(engine::ErrorNumber::FileAccess)) throw;
        cannotCreate = std::current_exception();
    }
    if (!page && !cannotCreate) {
        m_platform.message(tr("Error: Cant find a plase to save file."), QString(), Buttons::Ok, false);
        return;
    }
    if (page) {
        convertfilename->setText(QFile::decodeName(QByteArray::fromStdString(page->path())));
        m_nameIsPicture = false;
    }

    enterBusyState();
    const engine::ScanSettings settings = scanSettingsFromControls();
    totallines = static_cast<int16_t>(settings.area.height());
    rendertime = 0;
    statusbar2->setWidthTwips(0);
    convertlinenr->setText("0");
    convertpixelnr->setText("0");
    m_conversion = std::make_shared<engine::Conversion>(settings);
    if (cannotCreate) std::rethrow_exception(cannotCreate);
    m_conversion->startDocument(*page);
    // Kept whole: the current folder may change before the page is opened.
    m_lastPage = QFileInfo(convertfilename->text()).absoluteFilePath();
    statustimer->start();
    Loopconvert();
}

// The confirmation and the checks, each stopping with its own message.
bool ConvertFrame::convertInputsPass()
{
    if (m_platform.message(tr("Are you sure?"), tr("Convert"), Buttons::OkCancel, false) != Answer::Ok) return false;
    const QString message = m_inputs.messageText();
    if (engine::firstDisallowedChar(message.toStdU32String())) {
        m_platform.message(tr("Allowed char in text box: ") +
                               QString::fromStdU32String(std::u32string(engine::kAllowedMessageChars)),
                           QString(), Buttons::Ok, false);
        return false;
    }
    if (message.isEmpty()) {
        m_platform.message(tr("You have to choose a message text!"), tr("Convert"), Buttons::Ok, true);
        return false;
    }
    if (convertfilename->text().isEmpty()) {
        m_platform.message(tr("You have to load a picture!"), tr("Convert"), Buttons::Ok, true);
        return false;
    }
    return true;
}

engine::ScanSettings ConvertFrame::scanSettingsFromControls() const
{
    engine::ScanSettings s;
    m_inputs.readSettings(s);
    s.seed = std::random_device()();
    s.eventInterval = m_eventInterval;
    return s;
}

void ConvertFrame::enterBusyState()
{
    emit busyChanged(true);
    convertb->setText(tr("STOP"));
}

void ConvertFrame::returnToIdle()
{
    convertb->setText(tr("Convert"));
    emit busyChanged(false);
}

void ConvertFrame::Loopconvert()
{
    // Held here as well: a conversion started from inside this one's event processing replaces
    // m_conversion while this scan is still on the stack.
    const std::shared_ptr<engine::Conversion> conversion = m_conversion;
    // The picture and its background only: the outline drawn over it is not part of the page.
    const engine::PixelGrid grid = picturesource::pixelGrid(m_inputs.drawingArea());
    engine::GridPixelSource pixels(grid);
    engine::ScanResult result;
    try {
        result = conversion->Loopconvert(pixels, *this);
    } catch (...) {
        showScanProgress();
        throw;
    }
    if (result == engine::ScanResult::Stopped) return; // STOP has already returned the window to idle
    showScanProgress();
    statustimer->stop();
    m_platform.message(tr("Convert Complete"), tr("Convert"), Buttons::Ok, true);
    returnToIdle();
}

void ConvertFrame::abortConvert()
{
    m_platform.message(tr("Convert aborted."), QString(), Buttons::Ok, true);
    returnToIdle();
    statustimer->stop();
    m_conversion->abort();
}

// What the progress display shows: the last pixel's colour, rows and pixels done; after a failed
// write, where the page on disk ends.
void ConvertFrame::showScanProgress()
{
    const engine::Conversion &c = *m_conversion;
    const engine::ScanProgress progress = c.progress();
    convertvbcolor->setText(QString::fromStdString(c.pixelcolor()));
    if (progress.encoded) {
        hexcolor = engine::hexText(progress.rgb);
        convertrgbcolor->setText(QString::fromStdString(engine::rgbText(progress.rgb)));
        converthexcolor->setText(QString::fromStdString(hexcolor));
    }
    const int rows = progress.linesDone;
    convertpixelnr->setText(QString::number(progress.pixelsDone));
    convertlinenr->setText(QString::number(rows));
    // convertstatus keeps the last conversion's text until a row is done.
    if (c.totallines > 0 && rows > 0) {
        statusbar2->setWidthTwips(int(int64_t(rows) * kProgressBarTwips / c.totallines));
        convertstatus->setText(QString::number(int64_t(rows) * 100 / c.totallines) + "%");
    }
}

void ConvertFrame::processEvents()
{
    showScanProgress();
    m_platform.processEvents();
}

void ConvertFrame::haltConversion()
{
    if (m_conversion) m_conversion->halt();
}

} // namespace ui
