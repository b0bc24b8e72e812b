// SPDX-License-Identifier: MIT
#include "setrenderareaform.h"

#include "engine/numbers.h"
#include "engine/renderarea.h"
#include "picture/pictureframe.h"
#include "widgets/layout.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ui {

using platform::Buttons;

namespace {

QLineEdit *numberBox(QWidget *parent, const char *name, const QString &text, int left, int top)
{
    auto *t = placeWithText<QLineEdit>(parent, name, text, left, top, 735, 285);
    t->setMaxLength(3);
    return t;
}

} // namespace

setrenderareaform::setrenderareaform(PictureFrame &owner, platform::Platform &platform)
    : QWidget(owner.window(), kToolWindowFlags), m_owner(owner), m_platform(platform)
{
    setUpToolWindow(this, "setrenderareaform", "Set Render Area", 3780, 870);
    setAttribute(Qt::WA_DeleteOnClose);

    Label2 = placeWithText<QLabel>(this, "Label2", "X1:", 120, 120, 255, 255);
    x1text = numberBox(this, "x1text", "0", 480, 120);
    Label4 = placeWithText<QLabel>(this, "Label4", "X2:", 1320, 120, 255, 255);
    x2text = numberBox(this, "x2text", "300", 1680, 120);
    setnewvalue = placeWithText<QPushButton>(this, "setnewvalue", "Set", 2640, 120, 975, 255);
    Label1 = placeWithText<QLabel>(this, "Label1", "Y1:", 120, 480, 255, 255);
    y1text = numberBox(this, "y1text", "0", 480, 480);
    Label3 = placeWithText<QLabel>(this, "Label3", "Y2:", 1320, 480, 255, 255);
    y2text = numberBox(this, "y2text", "300", 1680, 480);
    cancelb = placeWithText<QPushButton>(this, "cancelb", "Cancel", 2640, 480, 975, 255);

    // A focused button takes Return itself, as buttons in a dialog do; elsewhere it goes to "Set".
    setnewvalue->setAutoDefault(true);
    setnewvalue->setDefault(true);
    cancelb->setAutoDefault(true);

    const QList<QWidget *> order{y1text, x1text, x2text, y2text, setnewvalue, cancelb};
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    y1text->setFocus();

    connect(setnewvalue, &QPushButton::clicked, this, &setrenderareaform::setnewvalue_Click);
    connect(cancelb, &QPushButton::clicked, this, &setrenderareaform::cancelb_Click);
}

void setrenderareaform::setnewvalue_Click()
{
    if (m_owner.setrenderstatus == "true") {
        m_platform.message("Cant set render area...", QString(), Buttons::Ok, true);
        return;
    }
    int16_t x1value = 0, y1value = 0, x2value = 0, y2value = 0;
    if (!valuesPass(x1value, y1value, x2value, y2value)) return;
    if (!m_owner.setRenderAreaCode(QString("%1 %2 %3 %4").arg(x1value).arg(y1value).arg(x2value).arg(y2value))) return;
    backToMainWindow();
}

// The numeric tests, then the range tests, each stopping at the first failure with its message.
bool setrenderareaform::valuesPass(int16_t &x1value, int16_t &y1value, int16_t &x2value, int16_t &y2value)
{
    const QLineEdit *boxes[] = {x1text, y1text, x2text, y2text};
    const char *names[] = {"X1", "Y1", "X2", "Y2"};
    double typed[4];
    double whole[4];
    for (int i = 0; i < 4; ++i) {
        const std::optional<double> number = engine::parseNumber(boxes[i]->text().toStdString());
        if (!number) {
            m_platform.message(QString("%1 value have to be numeric.").arg(names[i]), QString(), Buttons::Ok, false);
            return false;
        }
        typed[i] = *number;
        whole[i] = engine::roundHalfEven(*number);
    }
    // Checked before narrowing, so a number beyond 16 bits gets its box's range message.
    const auto refuse = [this](const char *name, const std::string &low) {
        m_platform.message(QString("%1 value have to be between %2 and 300").arg(name, QString::fromStdString(low)),
                           QString(), Buttons::Ok, false);
        return false;
    };
    const double limit = engine::kDrawingAreaSize;
    if (whole[0] > limit || whole[0] < 0) return refuse("X1", "0");
    if (whole[1] > limit || whole[1] < 0) return refuse("Y1", "0");
    if (whole[2] > limit || whole[2] <= whole[0]) return refuse("X2", engine::shortestDecimal(typed[0] + 1));
    if (whole[3] > limit || whole[3] <= whole[1]) return refuse("Y2", engine::shortestDecimal(typed[1] + 1));
    x1value = static_cast<int16_t>(whole[0]);
    y1value = static_cast<int16_t>(whole[1]);
    x2value = static_cast<int16_t>(whole[2]);
    y2value = static_cast<int16_t>(whole[3]);
    return true;
}

void setrenderareaform::cancelb_Click()
{
    backToMainWindow();
}

void setrenderareaform::backToMainWindow()
{
    QWidget *main = m_owner.window();
    main->show();
    main->raise();
    main->activateWindow();
    hide();
}

void setrenderareaform::keyPressEvent(QKeyEvent *event)
{
    const bool plain = event->modifiers() == Qt::NoModifier ||
                       (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter))
        setnewvalue->click();
    else if (plain && event->key() == Qt::Key_Escape)
        cancelb->click();
    else
        QWidget::keyPressEvent(event);
}

void setrenderareaform::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit discarded();
}

} // namespace ui
