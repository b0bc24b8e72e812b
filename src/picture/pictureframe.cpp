// SPDX-License-Identifier: MIT
// Loading the picture, choosing the render area on it, picking a colour from it, and the outline
// and pixel total that show the render area.
#include "pictureframe.h"

#include "picturebox.h"
#include "setrenderareaform.h"

#include "engine/numbers.h"
#include "engine/renderarea.h"
#include "widgets/clicklabel.h"
#include "widgets/layout.h"

#include <QCheckBox>
#include <QLabel>
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

PictureFrame::PictureFrame(QWidget *window, platform::Platform &platform, platform::Guard &guard)
    : QWidget(window), m_platform(platform), m_guard(guard)
{
    setObjectName("pictureframe");
    // Above the option frames, which start at 4680 twips.
    setGeometry(twipsRect(0, 0, 7215, 4680));
    loadpic = placeWithText<QPushButton>(this, "loadpic", "Load picture", 4920, 120, 2055, 255);
    setrender = placeWithText<QPushButton>(this, "setrender", "Set render area", 4920, 1560, 2055, 255);
    // Under the help text, above "Set render area"; it can be changed whenever a picture can be loaded.
    fitpicture = placeWithText<QCheckBox>(this, "fitpicture", "Fit picture to box", 4920, 1200, 2055, 255);
    loadpic->installEventFilter(this);
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    mainpic = place<PictureBox>(this, "mainpic", 120, 120, 4530, 4530);
    totpixels = placeWithText<QLabel>(this, "totpixels", "90000", 4920, 2760, 2055, 255);
    info3 = placeWithText<QLabel>(this, "info3", "Total pixels in render area:", 4920, 2520, 2055, 255);
    renderareapoint = placeWithText<ClickLabel>(this, "renderareapoint", "0 0 300 300", 4920, 2160, 2055, 255);
    info2 = placeWithText<QLabel>(this, "info2", "Render area  (x1 y1 x2 y2):", 4920, 1920, 2175, 255);
    info1 = placeWithText<QLabel>(this, "info1", "Load the picture you want to convert and then setup your options.",
                                  4920, 480, 2175, 735);
    info1->setWordWrap(true);
    info1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    buildOverlays();

    connect(loadpic, &QPushButton::clicked, this, &PictureFrame::loadpic_Click);
    connect(setrender, &QPushButton::clicked, this, &PictureFrame::setrender_Click);
    connect(fitpicture, &QCheckBox::toggled, this, &PictureFrame::fitpicture_Click);
    connect(mainpic, &PictureBox::mouseDown, this, &PictureFrame::mainpic_MouseDown);
    connect(mainpic, &PictureBox::mouseMove, this, &PictureFrame::mainpic_MouseMove);
    connect(renderareapoint, &ClickLabel::clicked, this, &PictureFrame::renderareapoint_Click);
    // A first corner in the last column or row admits no second one while every command is
    // locked, so Esc leaves selection mode wherever the focus is in this window.
    m_cancelSelection = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_cancelSelection->setContext(Qt::WindowShortcut);
    m_cancelSelection->setEnabled(false);
    connect(m_cancelSelection, &QShortcut::activated, this, &PictureFrame::cancelRenderSelection);
    connect(mainpic, &PictureBox::escapePressed, this, &PictureFrame::cancelRenderSelection);
}

void PictureFrame::buildOverlays()
{
    const QColor green(0, 192, 0);
    const QColor darkGreen(0, 128, 0);
    Line1 = mainpic->addOverlay(Overlay::Kind::Line, "Line1", green);
    Line1->setLine(149, 0, 149, 4470);
    Line2 = mainpic->addOverlay(Overlay::Kind::Line, "Line2", green);
    Line2->setLine(0, 149, 4470, 149);
    renderareabox = mainpic->addOverlay(Overlay::Kind::Rectangle, "renderareabox", QColor(255, 0, 0));
    renderareabox->setRectangle(0, 0, 4500, 4500);
    renderareabox->setVisible(true);
    pointline2 = mainpic->addOverlay(Overlay::Kind::Line, "pointline2", darkGreen);
    pointline2->setLine(480, 600, 480, 900);
    pointline1 = mainpic->addOverlay(Overlay::Kind::Line, "pointline1", darkGreen);
    pointline1->setLine(480, 600, 780, 600);
}

QString PictureFrame::renderAreaCode() const
{
    return renderareapoint->text();
}

QString PictureFrame::pixelTotal() const
{
    return totpixels->text();
}

QImage PictureFrame::drawingArea() const
{
    return mainpic->drawingArea();
}

void PictureFrame::setrender_Click()
{
    setrenderstatus = "true";
    if (m_renderAreaForm) m_renderAreaForm->hide();
    Line1->setVisible(true);
    Line2->setVisible(true);
    emit optionsEnabledRequested(false);
    renderstartpoint = "0x0";
    m_cancelSelection->setEnabled(true);
}

// Any button acts alike.
void PictureFrame::mainpic_MouseDown(int, int, double x, double y)
{
    m_guard.runGuarded(platform::Handler::MainpicMouse, [&] {
        if (setrenderstatus != "true")
            pickColor(x, y);
        else if (renderstartpoint == "0x0")
            takeFirstCorner(x, y);
        else
            takeSecondCorner(x, y);
    });
}

void PictureFrame::pickColor(double x, double y)
{
    // Rounded rather than floored: a position between two pixels takes the nearer one.
    const int column = static_cast<int>(engine::roundHalfEven(x / kTwipsPerPixel));
    const int row = static_cast<int>(engine::roundHalfEven(y / kTwipsPerPixel));
    // The colour as shown, outline included.
    const QPoint shown(PictureBox::kBorder + column, PictureBox::kBorder + row);
    emit colorPicked(m_platform.pixelShown(mainpic, shown));
}

void PictureFrame::takeFirstCorner(double x, double y)
{
    renderstartpoint = QString::number(pixelAt(x)) + ' ' + QString::number(pixelAt(y));
    pointline1->setVisible(true);
    pointline2->setVisible(true);
    pointline1->setLine(x, y, kDrawingAreaTwips, y);
    pointline2->setLine(x, y, x, kDrawingAreaTwips);
}

void PictureFrame::takeSecondCorner(double x, double y)
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
    hideCrosshair();
    if (!applyRenderAreaCode()) return;

    // The dialog opens on the area last made, whether typed or clicked.
    const QStringList code = renderareapoint->text().split(' ');
    setrenderareaform *form = renderAreaForm();
    form->x1text->setText(code[0]);
    form->y1text->setText(code[1]);
    form->x2text->setText(code[2]);
    form->y2text->setText(code[3]);
    endSelection();
}

void PictureFrame::mainpic_MouseMove(int, int, double x, double y)
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
    Line1->setLine(x, Line1->line().y1(), x, Line1->line().y2());
    Line2->setLine(Line2->line().x1(), y, Line2->line().x2(), y);
}

void PictureFrame::cancelRenderSelection()
{
    if (setrenderstatus != "true") return;
    hideCrosshair();
    endSelection();
}

void PictureFrame::hideCrosshair()
{
    pointline1->setVisible(false);
    pointline2->setVisible(false);
    Line1->setVisible(false);
    Line2->setVisible(false);
}

void PictureFrame::endSelection()
{
    setrenderstatus = "false";
    m_cancelSelection->setEnabled(false);
    emit optionsEnabledRequested(true);
}

bool PictureFrame::setRenderAreaCode(const QString &code)
{
    renderareapoint->setText(code);
    return applyRenderAreaCode();
}

bool PictureFrame::applyRenderAreaCode()
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
void PictureFrame::endOnBrokenCode(const QString &text)
{
    m_platform.message(text, QString(), Buttons::Ok, false);
    emit endRequested(1);
}

void PictureFrame::renderareapoint_Click()
{
    setrenderareaform *form = renderAreaForm();
    form->show();
    form->raise();
    form->activateWindow();
}

setrenderareaform *PictureFrame::renderAreaForm()
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
