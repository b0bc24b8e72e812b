// SPDX-License-Identifier: MIT
#pragma once

#include "engine/scan.h"
#include "platform/platform.h"

#include <QGroupBox>

#include <cstdint>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace ui {

class choosecolor;
class ColorSwatch;

// The "Color" frame: colour quality, page background, and the ignore list with the swatch of
// the colour last picked, whose entries are made through the colour chooser.
class ColorFrame : public QGroupBox
{
    Q_OBJECT
public:
    ColorFrame(QWidget *window, platform::Platform &platform);

    // Handlers. Each is connected to its control; tests may call them directly.
    void colorquality_Change();
    void addignorelist_Click();
    void removeignorelist_Click();
    void ignorelist_Click();

    // The colour on the swatch (a system colour reference until one is picked), and a new pick.
    int32_t pickedColor() const;
    void showPickedColor(int32_t color);
    // Appends an ignore-list entry "A > B" as the chooser writes it.
    void addEntry(const QString &entry);

    // Quality, ignore list and page background of a conversion. Throws Failure for a quality
    // that is not a 16-bit number.
    void readSettings(engine::ScanSettings &settings) const;

signals:
    // The window's options are to be locked (false) or unlocked (true).
    void optionsEnabledRequested(bool enabled);

private:
    platform::Platform &m_platform;
    QComboBox *colorquality;
    QPushButton *addignorelist;
    ColorSwatch *showignorecolor;
    QListWidget *ignorelist;
    QPushButton *removeignorelist;
    QRadioButton *whitebackground;
    QRadioButton *blackbackground;
    QLabel *infolabel1;
    QLabel *infolabel5;
    choosecolor *m_choosecolor = nullptr; // created by the first "Add"
};

} // namespace ui
