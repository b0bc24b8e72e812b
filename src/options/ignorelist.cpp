// SPDX-License-Identifier: MIT
// The ignore list: colour replacements "A > B", made through the colour chooser.
#include "mainwindow/controls.h"
#include "mainwindow/quennet.h"

#include "choosecolor.h"
#include "engine/numbers.h"
#include "engine/renderarea.h"

#include <QListWidget>
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

void quennet::addignorelist_Click()
{
    const int32_t color = showignorecolor->color();
    // Negative is a system colour reference: nothing has been picked yet.
    if (color < 0) {
        m_platform.message(kInvalidColorMessage, QString(), platform::Buttons::Ok, false);
        return;
    }
    for (int i = 0; i < ignorelist->count(); ++i) {
        const std::string entry = ignorelist->item(i)->text().toStdString();
        const std::vector<std::string_view> fields = engine::splitAtSpaces(entry);
        if (fields.size() != 3) continue;
        const std::optional<double> ignored = engine::parseNumber(fields[0]);
        if (ignored && *ignored == color) {
            m_platform.message("That color you have choose is already added!", QString(), platform::Buttons::Ok, false);
            return;
        }
    }
    setOptionsEnabled(false);
    if (!m_choosecolor) m_choosecolor = new choosecolor(*this, m_platform);
    m_choosecolor->show();
    m_choosecolor->raise();
    m_choosecolor->activateWindow();
}

void quennet::removeignorelist_Click()
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

void quennet::ignorelist_Click()
{
    const std::string entry = selectedText(ignorelist).toStdString();
    if (entry.empty()) return;
    const std::vector<std::string_view> fields = engine::splitAtSpaces(entry);
    int32_t ignored = 0;
    int32_t replacement = 0;
    if (fields.size() != 3 || !engine::readCanonicalInt32(fields[0], ignored)) return;
    showignorecolor->setColor(ignored);
    if (!engine::readCanonicalInt32(fields[2], replacement)) return;
    // Left half the ignore colour, right half the replacement; the outer size is in twips.
    const int width = showignorecolor->width() * kTwipsPerPixel;
    const int height = showignorecolor->height() * kTwipsPerPixel;
    showignorecolor->drawBox(width / 2, 0, width, height, replacement);
}

} // namespace ui
