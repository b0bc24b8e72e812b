// SPDX-License-Identifier: MIT
// The message presets: a pick fills the message box; any typing returns to "Bin".
#include "mainwindow/quennet.h"

#include "engine/messagetext.h"

#include <QComboBox>
#include <QLineEdit>

namespace ui {

void quennet::quickmessage_Click()
{
    const QString name = quickmessage->currentText();
    const std::optional<std::string_view> preset = engine::presetMessage(name.toStdString());
    if (!preset) return;
    msgtext->setText(QString::fromLatin1(preset->data(), qsizetype(preset->size())));
    // Locked, not disabled: the preset stays readable and selectable.
    msgtext->setReadOnly(name != "Own message");
}

void quennet::quickmessage_Change()
{
    quickmessage->setCurrentIndex(quickmessage->findText("Bin", Qt::MatchExactly));
    msgtext->setReadOnly(true);
    msgtext->setText("01");
}

} // namespace ui
