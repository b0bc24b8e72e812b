// SPDX-License-Identifier: MIT
// What the option tests share: picking from a combo box's list as a user does, and the lock
// state of the main window's option group.
#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QStringList>
#include <QTest>
#include <QWidget>

// Opens the list, moves to the item and presses Enter.
inline void pickFromList(QComboBox *box, const QString &item)
{
    box->showPopup();
    QAbstractItemView *view = box->view();
    QTRY_VERIFY(view->isVisible());
    view->setCurrentIndex(box->model()->index(box->findText(item, Qt::MatchExactly), 0));
    QTest::keyClick(view, Qt::Key_Return);
}

// Names of the option group's controls that are enabled, in lock order.
inline QStringList enabledOptionControls(const QWidget &window)
{
    static const char *const names[] = {"renderareapoint",  "doublechrperpix", "Insertpre",  "msgtext",
                                        "quickmessage",     "randommessage",   "fontsizeC",  "colorquality",
                                        "blackbackground",  "whitebackground", "ignorelist", "addignorelist",
                                        "removeignorelist", "loadpic",         "convertb",   "setrender"};
    QStringList enabled;
    for (const char *name : names) {
        const QWidget *control = window.findChild<QWidget *>(name);
        if (control && control->isEnabled()) enabled << name;
    }
    return enabled;
}
