// SPDX-License-Identifier: MIT
// Colour and text options: the boxes that keep their text to their lists, and their connections.
#include "mainwindow/quennet.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace ui {

namespace {

// The box's own list holds its allowed texts; any other text (compared exactly, no trimming)
// puts the box back to fallback. The list's selection moves too, so an opened list agrees.
void keepToList(QComboBox *box, const QString &fallback)
{
    if (box->findText(box->currentText(), Qt::MatchExactly) < 0)
        box->setCurrentIndex(box->findText(fallback, Qt::MatchExactly));
}

} // namespace

void quennet::connectOptionHandlers()
{
    connect(colorquality, &QComboBox::editTextChanged, this, &quennet::colorquality_Change);
    connect(fontsizeC, &QComboBox::editTextChanged, this, &quennet::fontsizeC_Change);
    // A pick from the list also rewrites the edit text, and would be undone at once if it counted
    // as typing; so only a user's edit of the field is a change, and a pick is a click.
    connect(quickmessage->lineEdit(), &QLineEdit::textEdited, this, &quennet::quickmessage_Change);
    connect(quickmessage, &QComboBox::activated, this, &quennet::quickmessage_Click);

    connect(addignorelist, &QPushButton::clicked, this, &quennet::addignorelist_Click);
    connect(removeignorelist, &QPushButton::clicked, this, &quennet::removeignorelist_Click);
    connect(ignorelist, &QListWidget::itemSelectionChanged, this, &quennet::ignorelist_Click);
    // A click on the entry already selected shows its colours again after a pick on the picture.
    connect(ignorelist, &QListWidget::itemClicked, this, &quennet::ignorelist_Click);
}

void quennet::colorquality_Change()
{
    keepToList(colorquality, "100");
}

void quennet::fontsizeC_Change()
{
    keepToList(fontsizeC, "1");
}

} // namespace ui
