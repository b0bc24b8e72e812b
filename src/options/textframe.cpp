// SPDX-License-Identifier: MIT
// The message presets: a pick fills the message box; any typing returns to "Bin".
#include "textframe.h"

#include "listbox.h"

#include "engine/document.h"
#include "engine/messagetext.h"
#include "widgets/layout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace ui {

namespace {

QStringList presetNames()
{
    QStringList names;
    for (const engine::MessagePreset &preset : engine::kMessagePresets)
        names << toQString(preset.name);
    return names;
}

} // namespace

TextFrame::TextFrame(QWidget *window) : QGroupBox(window)
{
    setUpFrame(this, "textframe", "Text", 120, 4680, 3735, 3015);
    doublechrperpix =
        placeWithText<QCheckBox>(this, "doublechrperpix", "Double chr per pix (bigger file size)", 240, 240, 2895, 375);
    doublechrperpix->setChecked(true);
    Insertpre = placeWithText<QCheckBox>(this, "Insertpre", "Insert Pre", 240, 600, 2175, 255);
    Insertpre->setChecked(true);
    infolabel2 = placeWithText<QLabel>(this, "infolabel2", "Font size:", 240, 990, 855, 255);
    fontsizeC = placeListBox(this, "fontsizeC", toStringList(engine::kFontSizes), toQString(engine::kDefaultFontSize),
                             1080, 960, 495, 315);
    fillcells = placeWithText<QCheckBox>(this, "fillcells", "Fill cells", 240, 1350, 3000, 255);
    squarepixels = placeWithText<QCheckBox>(this, "squarepixels", "Square pixels", 240, 1620, 3000, 255);
    infolabel3 = placeWithText<QLabel>(this, "infolabel3", "Message:", 120, 1950, 1215, 255);
    quickmessage =
        placeListBox(this, "quickmessage", presetNames(), toQString(engine::kDefaultPreset), 1080, 1920, 1335, 315);
    randommessage = placeWithText<QCheckBox>(this, "randommessage", "Random", 2640, 1920, 975, 255);
    randommessage->setChecked(true);
    msgtext = placeWithText<QLineEdit>(this, "msgtext", toQString(*engine::presetMessage(engine::kDefaultPreset)), 120,
                                       2280, 3495, 645);
    msgtext->setMaxLength(100);
    msgtext->setReadOnly(true);

    connect(fontsizeC, &QComboBox::editTextChanged, this, &TextFrame::fontsizeC_Change);
    // A pick from the list also rewrites the edit text, and would be undone at once if it counted
    // as typing; so only a user's edit of the field is a change, and a pick is a click.
    connect(quickmessage->lineEdit(), &QLineEdit::textEdited, this, &TextFrame::quickmessage_Change);
    connect(quickmessage, &QComboBox::activated, this, &TextFrame::quickmessage_Click);
}

void TextFrame::fontsizeC_Change()
{
    keepToList(fontsizeC, toQString(engine::kDefaultFontSize));
}

void TextFrame::quickmessage_Click()
{
    const QString name = quickmessage->currentText();
    const std::optional<std::string_view> preset = engine::presetMessage(name.toStdString());
    if (!preset) return;
    msgtext->setText(toQString(*preset));
    // Locked, not disabled: the preset stays readable and selectable.
    msgtext->setReadOnly(name != toQString(engine::kOwnMessage));
}

void TextFrame::quickmessage_Change()
{
    quickmessage->setCurrentIndex(quickmessage->findText(toQString(engine::kDefaultPreset), Qt::MatchExactly));
    msgtext->setReadOnly(true);
    msgtext->setText(toQString(*engine::presetMessage(engine::kDefaultPreset)));
}

QString TextFrame::messageText() const
{
    return msgtext->text();
}

void TextFrame::readSettings(engine::ScanSettings &s) const
{
    s.message = toAnsi(msgtext->text());
    s.randomOrder = randommessage->isChecked();
    s.twoCharsPerPixel = doublechrperpix->isChecked();
    s.page.fontSize = toAnsi(fontsizeC->currentText());
    s.page.insertPre = Insertpre->isChecked();
    s.page.fillCells = fillcells->isChecked();
    s.page.squarePixels = squarepixels->isChecked();
}

} // namespace ui
