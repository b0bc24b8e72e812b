// SPDX-License-Identifier: MIT
#pragma once

#include "platform/platform.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {

class PictureFrame;

// The render area dialog: the four numbers of the render area typed in instead of clicked.
// A small tool window beside the main window, never modal. Hiding it keeps what was typed;
// closing it with the close box discards it. As in a dialog, Return presses "Set" and Esc "Cancel".
class setrenderareaform : public QWidget
{
    Q_OBJECT
public:
    setrenderareaform(PictureFrame &owner, platform::Platform &platform);

    void setnewvalue_Click();
    void cancelb_Click();

    QLabel *Label2;
    QLineEdit *x1text;
    QLabel *Label4;
    QLineEdit *x2text;
    QPushButton *setnewvalue;
    QLabel *Label1;
    QLineEdit *y1text;
    QLabel *Label3;
    QLineEdit *y2text;
    QPushButton *cancelb;

signals:
    // Closed with the close box: the owner forgets it before it is deleted.
    void discarded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool valuesPass(int16_t &x1value, int16_t &y1value, int16_t &x2value, int16_t &y2value);
    void backToMainWindow();

    PictureFrame &m_owner;
    platform::Platform &m_platform;
};

} // namespace ui
