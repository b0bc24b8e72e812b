// SPDX-License-Identifier: MIT
// The colour quality and the ignore list: colour replacements "A > B", made through the colour chooser.
#include "colorframe.h"

#include "choosecolor.h"
#include "listbox.h"

#include "engine/colorcode.h"
#include "engine/messagetext.h"
#include "engine/numbers.h"
#include "engine/replacements.h"
#include "widgets/colorswatch.h"
#include "widgets/layout.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace ui {

namespace {

// The selected entry's text, empty when nothing is selected.
QString selectedText(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

} // namespace

ColorFrame::ColorFrame(QWidget *window, platform::Platform &platform) : QGroupBox(window), m_platform(platform)
{
    setUpFrame(this, "colorframe", "Color", 3960, 4680, 3135, 3015);
    infolabel1 =
        placeWithText<QLabel>(this, "infolabel1", "Color quality:" + QString(16, ' ') + "%", 240, 270, 1815, 255);
    colorquality = placeListBox(this, "colorquality", toStringList(engine::kQualities),
                                toQString(engine::kDefaultQuality), 1200, 240, 615, 315);
    blackbackground =
        placeWithText<QRadioButton>(this, "blackbackground", "Black background color", 240, 600, 2535, 255);
    blackbackground->setChecked(true);
    whitebackground =
        placeWithText<QRadioButton>(this, "whitebackground", "White background color", 240, 840, 2535, 195);
    infolabel5 = placeWithText<QLabel>(this, "infolabel5", "Ignore color:", 120, 1200, 2175, 255);
    ignorelist = place<QListWidget>(this, "ignorelist", 120, 1440, 2175, 1425);
    addignorelist = placeWithText<QPushButton>(this, "addignorelist", "Add", 2400, 1440, 615, 255);
    removeignorelist = placeWithText<QPushButton>(this, "removeignorelist", "Rem", 2400, 1800, 615, 255);
    showignorecolor = place<ColorSwatch>(this, "showignorecolor", 2400, 2320, 615, 540);

    connect(colorquality, &QComboBox::editTextChanged, this, &ColorFrame::colorquality_Change);
    connect(addignorelist, &QPushButton::clicked, this, &ColorFrame::addignorelist_Click);
    connect(removeignorelist, &QPushButton::clicked, this, &ColorFrame::removeignorelist_Click);
    connect(ignorelist, &QListWidget::itemSelectionChanged, this, &ColorFrame::ignorelist_Click);
    // A click on the entry already selected shows its colours again after a pick on the picture.
    connect(ignorelist, &QListWidget::itemClicked, this, &ColorFrame::ignorelist_Click);
}

void ColorFrame::colorquality_Change()
{
    keepToList(colorquality, toQString(engine::kDefaultQuality));
}

int32_t ColorFrame::pickedColor() const
{
    return showignorecolor->color();
}

void ColorFrame::showPickedColor(int32_t color)
{
    showignorecolor->setColor(color);
}

void ColorFrame::addEntry(const QString &entry)
{
    ignorelist->addItem(entry);
}

void ColorFrame::readSettings(engine::ScanSettings &s) const
{
    s.quality = engine::toInt16(colorquality->currentText().toStdString(), "colorquality");
    for (int i = 0; i < ignorelist->count(); ++i)
        s.replacements.push_back(toAnsi(ignorelist->item(i)->text()));
    s.page.blackBackground = blackbackground->isChecked();
}

void ColorFrame::addignorelist_Click()
{
    const int32_t color = showignorecolor->color();
    // Negative is a system colour reference: nothing has been picked yet.
    if (color < 0) {
        m_platform.message(kInvalidColorMessage, QString(), platform::Buttons::Ok, false);
        return;
    }
    for (int i = 0; i < ignorelist->count(); ++i) {
        const std::string entry = ignorelist->item(i)->text().toStdString();
        const std::optional<engine::ReplacementFields> fields = engine::splitReplacement(entry);
        if (!fields) continue;
        const std::optional<double> ignored = engine::parseNumber(fields->from);
        if (ignored && *ignored == color) {
            m_platform.message("That color you have choose is already added!", QString(), platform::Buttons::Ok, false);
            return;
        }
    }
    emit optionsEnabledRequested(false);
    if (!m_choosecolor) m_choosecolor = new choosecolor(*this, m_platform);
    m_choosecolor->show();
    m_choosecolor->raise();
    m_choosecolor->activateWindow();
}

void ColorFrame::removeignorelist_Click()
{
    if (selectedText(ignorelist).isEmpty()) {
        m_platform.message("Select item from ignore list!", QString(), platform::Buttons::Ok, false);
        return;
    }
    // The swatch keeps the removed entry's colours, so the selection that the removal moves must
    // not be taken for the user's.
    const QSignalBlocker quiet(ignorelist);
    delete ignorelist->takeItem(ignorelist->row(ignorelist->selectedItems().first()));
    ignorelist->clearSelection();
    ignorelist->setCurrentItem(nullptr);
}

void ColorFrame::ignorelist_Click()
{
    const std::string entry = selectedText(ignorelist).toStdString();
    if (entry.empty()) return;
    const std::optional<engine::ReplacementFields> fields = engine::splitReplacement(entry);
    int32_t ignored = 0;
    int32_t replacement = 0;
    if (!fields || !engine::readCanonicalInt32(fields->from, ignored)) return;
    showignorecolor->setColor(ignored);
    if (!engine::readCanonicalInt32(fields->to, replacement)) return;
    // Left half the ignore colour, right half the replacement; the outer size is in twips.
    const int width = showignorecolor->width() * kTwipsPerPixel;
    const int height = showignorecolor->height() * kTwipsPerPixel;
    showignorecolor->drawBox(width / 2, 0, width, height, replacement);
}

} // namespace ui
