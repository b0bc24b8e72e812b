// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

#include <string>
#include <string_view>

class QComboBox;
class QWidget;

namespace ui {

// An editable drop-down box of the option frames, placed in twips, showing text from items.
QComboBox *placeListBox(QWidget *parent, const char *name, const QStringList &items, const QString &text, int left,
                        int top, int width, int height);

// The box's own list holds its allowed texts; any other text (compared exactly, no trimming)
// puts the box back to fallback.
void keepToList(QComboBox *box, const QString &fallback);

// Texts of the engine's lists, which are all Latin-1.
inline QString toQString(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

template <class List> QStringList toStringList(const List &texts)
{
    QStringList list;
    for (std::string_view text : texts)
        list << toQString(text);
    return list;
}

// A box's text as a page writes it, in Windows-1252.
std::string toAnsi(const QString &text);

} // namespace ui
