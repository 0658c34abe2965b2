#include "platform/TexturedLabel.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

void DrawBevel(QPainter& painter, QRect rect, TTexturedLabel::Bevel bevel) {
    if (bevel == TTexturedLabel::Bevel::None)
        return;
    const bool raised = bevel == TTexturedLabel::Bevel::Raised;
    const QColor light(255, 255, 255, 200);
    const QColor dark(0, 0, 0, 170);
    painter.setPen(raised ? light : dark);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(raised ? dark : light);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

} // namespace

void TileTexture(QPainter& painter, const QRect& area, const QPixmap& texture) {
    if (!texture.isNull())
        painter.drawTiledPixmap(area, texture);
}

TTexturedLabel::TTexturedLabel(QWidget* parent) : QWidget(parent) {}

void TTexturedLabel::SetCaption(const QString& caption) {
    if (caption_ == caption)
        return;
    caption_ = caption;
    update();
}

void TTexturedLabel::SetTexture(const QPixmap& texture) {
    if (texture_.cacheKey() == texture.cacheKey())
        return;
    texture_ = texture;
    update();
}

void TTexturedLabel::SetFontColor(const QColor& color) {
    if (fontColor_ == color)
        return;
    fontColor_ = color;
    update();
}

void TTexturedLabel::SetBevels(Bevel outer, Bevel inner) {
    if (outer_ == outer && inner_ == inner)
        return;
    outer_ = outer;
    inner_ = inner;
    update();
}

void TTexturedLabel::SetTransparent(bool transparent) {
    transparent_ = transparent;
    update();
}

void TTexturedLabel::SetAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    update();
}

void TTexturedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!transparent_)
        TileTexture(painter, rect(), texture_);
    PaintCaption(painter, rect().adjusted(2, 2, -2, -2));
    DrawBevel(painter, rect(), outer_);
    DrawBevel(painter, rect().adjusted(1, 1, -1, -1), inner_);
}

void TTexturedLabel::PaintCaption(QPainter& painter, const QRect& area) {
    painter.setFont(font());
    painter.setPen(fontColor_);
    painter.drawText(area, static_cast<int>(alignment_), caption_);
}

void TTexturedLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        leftHeld_ = true;
    emit Pressed(event->button());
}

void TTexturedLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void TTexturedLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasHeld = leftHeld_;
    leftHeld_ = false;
    if (wasHeld && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint()))
        emit Clicked();
}

TTexturedButton::TTexturedButton(QWidget* parent) : TTexturedLabel(parent) {
    SetBevels(Bevel::Raised, Bevel::Raised);
}

void TTexturedButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        SetBevels(Bevel::Lowered, Bevel::Lowered);
    TTexturedLabel::mousePressEvent(event);
}

void TTexturedButton::mouseReleaseEvent(QMouseEvent* event) {
    SetBevels(Bevel::Raised, Bevel::Raised);
    TTexturedLabel::mouseReleaseEvent(event);
}

void TTexturedButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange)
        update();
    TTexturedLabel::changeEvent(event);
}

void TTexturedButton::PaintCaption(QPainter& painter, const QRect& area) {
    const bool down = InnerBevel() == Bevel::Lowered;
    const QRect shifted = down ? area.translated(1, 1) : area;
    if (isEnabled()) {
        TTexturedLabel::PaintCaption(painter, shifted);
        return;
    }
    painter.setFont(font());
    painter.setPen(QColor(255, 255, 255, 120));
    painter.drawText(shifted.translated(1, 1), Qt::AlignCenter, Caption());
    painter.setPen(QColor(80, 80, 80));
    painter.drawText(shifted, Qt::AlignCenter, Caption());
}
