// SPDX-License-Identifier: MIT
#include "listbox.h"

#include "engine/messagetext.h"
#include "widgets/layout.h"

#include <QComboBox>

namespace ui {

QComboBox *placeListBox(QWidget *parent, const char *name, const QStringList &items, const QString &text, int left,
                        int top, int width, int height)
{
    auto *c = place<QComboBox>(parent, name, left, top, width, height);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(items);
    c->setCurrentIndex(items.indexOf(text));
    // The boxes are narrow; a slim arrow leaves room for "100".
    c->setStyleSheet("QComboBox { padding: 0 0 0 2px; } QComboBox::drop-down { width: 13px; }");
    return c;
}

void keepToList(QComboBox *box, const QString &fallback)
{
    // The list's selection moves too, so an opened list agrees.
    if (box->findText(box->currentText(), Qt::MatchExactly) < 0)
        box->setCurrentIndex(box->findText(fallback, Qt::MatchExactly));
}

std::string toAnsi(const QString &text)
{
    return engine::toAnsi(text.toStdU32String());
}

} // namespace ui
