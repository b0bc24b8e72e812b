// SPDX-License-Identifier: MIT
#pragma once

#include "platform/platform.h"

#include <QCoreApplication>
#include <QString>
#include <QWidget>

class QLineEdit;
class QPushButton;

namespace ui {

class ColorFrame;
class ColorMap;
class ColorSwatch;

// Refusal of a colour that cannot make an ignore-list entry; "Add" and "Use" share it.
inline QString invalidColorMessage()
{
    return QCoreApplication::translate("ui::choosecolor", "The color code is invalid, please use a new color.");
}

// The colour chooser: picks the replacement colour of a new ignore-list entry. The main window
// creates it on the first "Add" and owns it; "Use" hides it with its state kept, the close box
// closes it and discards that state.
class choosecolor : public QWidget
{
    Q_OBJECT
public:
    choosecolor(ColorFrame &owner, platform::Platform &platform);

    // Handlers. Each is connected to its control; tests may call them directly.
    // x and y are twips of the map's picture.
    void colormap_MouseDown(double x, double y);
    void usecolor_Click();
    void Form_Unload();

    QPushButton *usecolor;
    ColorSwatch *showcolor;
    QLineEdit *deccolortext;
    ColorMap *colormap;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void resetChoice();

    ColorFrame &m_owner;
    platform::Platform &m_platform;
};

} // namespace ui
