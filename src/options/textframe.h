// SPDX-License-Identifier: MIT
#pragma once

#include "engine/scan.h"

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace ui {

// The "Text" frame: the message and its presets, characters per pixel, <pre>, font size, and how
// the page draws its cells.
class TextFrame : public QGroupBox
{
    Q_OBJECT
public:
    explicit TextFrame(QWidget *window);

    // Handlers. Each is connected to its control; tests may call them directly.
    void fontsizeC_Change();
    void quickmessage_Click();
    void quickmessage_Change();

    // The message as typed.
    QString messageText() const;
    // Message, character order and count, font size, <pre> and the cells of a conversion.
    void readSettings(engine::ScanSettings &settings) const;

private:
    QComboBox *fontsizeC;
    QComboBox *quickmessage;
    QCheckBox *doublechrperpix;
    QCheckBox *Insertpre;
    QLineEdit *msgtext;
    QCheckBox *randommessage;
    QCheckBox *fillcells;
    QCheckBox *squarepixels;
    QLabel *infolabel3;
    QLabel *infolabel2;
};

} // namespace ui
