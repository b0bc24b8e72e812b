// SPDX-License-Identifier: MIT
// Choosing the render area on the picture, picking a colour from it, and the outline and pixel
// total that show the render area.
#include "mainwindow/controls.h"
#include "mainwindow/quennet.h"
#include "picture/picturebox.h"
#include "picture/setrenderareaform.h"

#include "engine/numbers.h"
#include "engine/renderarea.h"

#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include <cmath>

namespace ui {

using platform::Buttons;

namespace {

const QColor kCrosshairGreen(0, 192, 0);
const QColor kCrosshairRed(255, 0, 0);
constexpr double kDrawingAreaTwips = engine::kDrawingAreaSize * kTwipsPerPixel;

// Column or row under a pointer position in twips, as the selection counts them.
int pixelAt(double twips)
{
    return static_cast<int>(std::floor(twips / kTwipsPerPixel));
}

double cornerField(std::string_view field)
{
    const std::optional<double> number = engine::parseNumber(field);
    if (!number)
        throw engine::Failure(engine::ErrorNumber::TypeMismatch,
                              "Type mismatch: corner field \"" + std::string(field) + "\" is not a number", "quennet");
    return *number;
}

// Red where a second click would be refused, green elsewhere; other colours are left alone.
void markRefused(Overlay *line, bool refused)
{
    if (refused && line->color() == kCrosshairGreen)
        line->setColor(kCrosshairRed);
    else if (!refused && line->color() == kCrosshairRed)
        line->setColor(kCrosshairGreen);
}

} // namespace

void quennet::connectRenderAreaHandlers()
{
    connect(setrender, &QPushButton::clicked, this, &quennet::setrender_Click);
    connect(mainpic, &PictureBox::mouseDown, this, &quennet::mainpic_MouseDown);
    connect(mainpic, &PictureBox::mouseMove, this, &quennet::mainpic_MouseMove);
    connect(renderareapoint, &ClickLabel::clicked, this, &quennet::renderareapoint_Click);
    // A first corner in the last column or row admits no second one while every command is
    // locked, so Esc leaves selection mode wherever the focus is in this window.
    m_cancelSelection = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_cancelSelection->setContext(Qt::WindowShortcut);
    m_cancelSelection->setEnabled(false);
    connect(m_cancelSelection, &QShortcut::activated, this, &quennet::cancelRenderSelection);
    connect(mainpic, &PictureBox::escapePressed, this, &quennet::cancelRenderSelection);
}

void quennet::setrender_Click()
{
    setrenderstatus = "true";
    if (m_renderAreaForm) m_renderAreaForm->hide();
    Line1->setVisible(true);
    Line2->setVisible(true);
    setOptionsEnabled(false);
    renderstartpoint = "0x0";
    m_cancelSelection->setEnabled(true);
}

// Any button acts alike.
void quennet::mainpic_MouseDown(int, int, double x, double y)
{
    runGuarded(engine::Operation::MainpicMouse, [&] {
        if (setrenderstatus != "true")
            pickColor(x, y);
        else if (renderstartpoint == "0x0")
            takeFirstCorner(x, y);
        else
            takeSecondCorner(x, y);
    });
}

void quennet::pickColor(double x, double y)
{
    // Rounded rather than floored: a position between two pixels takes the nearer one.
    const int column = static_cast<int>(engine::roundHalfEven(x / kTwipsPerPixel));
    const int row = static_cast<int>(engine::roundHalfEven(y / kTwipsPerPixel));
    // The colour as shown, outline included.
    const QPoint shown(PictureBox::kBorder + column, PictureBox::kBorder + row);
    showignorecolor->setColor(m_platform.pixelShown(mainpic, shown));
}

void quennet::takeFirstCorner(double x, double y)
{
    renderstartpoint = QString::number(pixelAt(x)) + ' ' + QString::number(pixelAt(y));
    pointline1->setVisible(true);
    pointline2->setVisible(true);
    pointline1->setLine(x, y, kDrawingAreaTwips, y);
    pointline2->setLine(x, y, x, kDrawingAreaTwips);
}

void quennet::takeSecondCorner(double x, double y)
{
    const std::string corner = renderstartpoint.toStdString();
    const std::vector<std::string_view> fields = engine::splitAtSpaces(corner);
    if (fields.size() != 2) {
        endOnBrokenCode("Error: Ubound splitrenderareacode <> 1");
        return;
    }
    const int column = pixelAt(x);
    const int row = pixelAt(y);
    // The second corner lies strictly right of and below the first, or the click is ignored.
    if (cornerField(fields[0]) >= column || cornerField(fields[1]) >= row) return;

    renderareapoint->setText(renderstartpoint + ' ' + QString::number(column) + ' ' + QString::number(row));
    pointline1->setVisible(false);
    pointline2->setVisible(false);
    Line1->setVisible(false);
    Line2->setVisible(false);
    if (!applyRenderAreaCode()) return;

    // The dialog opens on the area last made, whether typed or clicked.
    const QStringList code = renderareapoint->text().split(' ');
    setrenderareaform *form = renderAreaForm();
    form->x1text->setText(code[0]);
    form->y1text->setText(code[1]);
    form->x2text->setText(code[2]);
    form->y2text->setText(code[3]);

    setrenderstatus = "false";
    m_cancelSelection->setEnabled(false);
    setOptionsEnabled(true);
}

void quennet::mainpic_MouseMove(int, int, double x, double y)
{
    if (setrenderstatus != "true") return;
    if (renderstartpoint != "0x0") {
        const std::string corner = renderstartpoint.toStdString();
        const std::vector<std::string_view> fields = engine::splitAtSpaces(corner);
        const std::optional<double> x1 = fields.size() == 2 ? engine::parseNumber(fields[0]) : std::nullopt;
        const std::optional<double> y1 = fields.size() == 2 ? engine::parseNumber(fields[1]) : std::nullopt;
        if (x1 && y1) {
            markRefused(Line1, *x1 >= pixelAt(x));
            markRefused(Line2, *y1 >= pixelAt(y));
        }
    }
    Line1->setLine(x, Line1->y1, x, Line1->y2);
    Line2->setLine(Line2->x1, y, Line2->x2, y);
}

void quennet::cancelRenderSelection()
{
    if (setrenderstatus != "true") return;
    pointline1->setVisible(false);
    pointline2->setVisible(false);
    Line1->setVisible(false);
    Line2->setVisible(false);
    setrenderstatus = "false";
    m_cancelSelection->setEnabled(false);
    setOptionsEnabled(true);
}

bool quennet::applyRenderAreaCode()
{
    const std::string code = renderareapoint->text().toStdString();
    if (engine::splitAtSpaces(code).size() != 4) {
        endOnBrokenCode("Error: Ubound splitrenderareacode <> 3");
        return false;
    }
    const engine::RenderArea area = engine::splitrenderareacode(code);
    const int k = kTwipsPerPixel;
    renderareabox->setRectangle(area.x1 * k, area.y1 * k, area.width() * k, area.height() * k);
    // The scan reads the total back, so it is rewritten with every code.
    totpixels->setText(QString::number(area.pixelCount()));
    return true;
}

// The codes are built here, so a malformed one means the window's state cannot be trusted.
void quennet::endOnBrokenCode(const QString &text)
{
    m_platform.message(text, QString(), Buttons::Ok, false);
    endProgram(1);
}

void quennet::renderareapoint_Click()
{
    setrenderareaform *form = renderAreaForm();
    form->show();
    form->raise();
    form->activateWindow();
}

setrenderareaform *quennet::renderAreaForm()
{
    if (!m_renderAreaForm) {
        auto *form = new setrenderareaform(*this, m_platform);
        connect(form, &setrenderareaform::discarded, this, [this, form] {
            if (m_renderAreaForm == form) m_renderAreaForm = nullptr;
        });
        m_renderAreaForm = form;
    }
    return m_renderAreaForm;
}

} // namespace ui
