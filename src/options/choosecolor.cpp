// SPDX-License-Identifier: MIT
#include "choosecolor.h"

#include "colorframe.h"
#include "colormap.h"

#include "engine/numbers.h"
#include "engine/replacements.h"
#include "picturesource/picturefile.h"
#include "widgets/captions.h"
#include "widgets/colorswatch.h"
#include "widgets/layout.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace ui {

namespace {

constexpr int32_t kWhite = 0xFFFFFF;

// A replacement is accepted only as a click on the map writes it: a colour 0x00BBGGRR in plain
// decimal. Anything else could not be drawn on the swatch nor encoded by the conversion.
std::optional<int32_t> readColorText(const QString &text)
{
    int32_t value = 0;
    if (!engine::readCanonicalInt32(text.toStdString(), value) || value < 0 || value > kWhite) return std::nullopt;
    return value;
}

} // namespace

choosecolor::choosecolor(ColorFrame &owner, platform::Platform &platform)
    : QWidget(owner.window(), kToolWindowFlags), m_owner(owner), m_platform(platform)
{
    setUpToolWindow(this, "choosecolor", tr("Choose Color"), 3030, 2250);

    // Created in tab order.
    colormap = place<ColorMap>(this, "colormap", 0, 0, 3030, 1830);
    deccolortext = place<QLineEdit>(this, "deccolortext", 1680, 1920, 1335, 285);
    showcolor = place<ColorSwatch>(this, "showcolor", 1320, 1920, 255, 255);
    usecolor = placeWithText<QPushButton>(this, "usecolor", tr("Use"), 120, 1920, 735, 255);
    // The main window chose its font for its own captions.
    widenToCaptions(this);
    resetChoice();

    connect(colormap, &ColorMap::mouseDown, this, &choosecolor::colormap_MouseDown);
    connect(usecolor, &QPushButton::clicked, this, &choosecolor::usecolor_Click);
}

void choosecolor::resetChoice()
{
    showcolor->setColor(0);
    deccolortext->setText("0");
}

void choosecolor::colormap_MouseDown(double x, double y)
{
    const QPoint pixel(int(engine::roundHalfEven(x / kTwipsPerPixel)), int(engine::roundHalfEven(y / kTwipsPerPixel)));
    // A press at the far edge of the last pixel can round past the picture.
    if (!colormap->picture().valid(pixel)) return;
    const int32_t color = picturesource::toColorValue(colormap->picture().pixel(pixel));
    showcolor->setColor(color);
    deccolortext->setText(QString::number(color));
}

void choosecolor::usecolor_Click()
{
    // The swatch is read now, not when "Add" was pressed: a pick on the picture meanwhile counts.
    const int32_t ignored = m_owner.pickedColor();
    const std::optional<int32_t> replacement = readColorText(deccolortext->text());
    if (!replacement) {
        m_platform.message(invalidColorMessage(), QString(), platform::Buttons::Ok, false);
        return;
    }
    m_owner.addEntry(QString::fromStdString(engine::replacementEntry(ignored, *replacement)));
    hide();
    emit m_owner.optionsEnabledRequested(true);
}

void choosecolor::Form_Unload()
{
    resetChoice();
    emit m_owner.optionsEnabledRequested(true);
}

void choosecolor::closeEvent(QCloseEvent *event)
{
    event->accept();
    Form_Unload();
}

} // namespace ui
