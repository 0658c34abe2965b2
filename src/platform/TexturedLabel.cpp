#include "platform/TexturedLabel.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

void DrawBevel(QPainter& painter, QRect rect, TCoolLabel::Bevel bevel) {
    if (bevel == TCoolLabel::Bevel::None)
        return;
    const bool raised = bevel == TCoolLabel::Bevel::Raised;
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

TCoolLabel::TCoolLabel(QWidget* parent) : QWidget(parent) {}

void TCoolLabel::SetCaption(const QString& caption) {
    if (caption_ == caption)
        return;
    caption_ = caption;
    update();
}

void TCoolLabel::SetTexture(const QPixmap& texture) {
    if (texture_.cacheKey() == texture.cacheKey())
        return;
    texture_ = texture;
    update();
}

void TCoolLabel::SetFontColor(const QColor& color) {
    if (fontColor_ == color)
        return;
    fontColor_ = color;
    update();
}

void TCoolLabel::SetBevels(Bevel outer, Bevel inner) {
    if (outer_ == outer && inner_ == inner)
        return;
    outer_ = outer;
    inner_ = inner;
    update();
}

void TCoolLabel::SetTransparent(bool transparent) {
    transparent_ = transparent;
    update();
}

void TCoolLabel::SetAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    update();
}

void TCoolLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!transparent_)
        TileTexture(painter, rect(), texture_);
    PaintCaption(painter, rect().adjusted(2, 2, -2, -2));
    DrawBevel(painter, rect(), outer_);
    DrawBevel(painter, rect().adjusted(1, 1, -1, -1), inner_);
}

void TCoolLabel::PaintCaption(QPainter& painter, const QRect& area) {
    painter.setFont(font());
    painter.setPen(fontColor_);
    painter.drawText(area, static_cast<int>(alignment_), caption_);
}

void TCoolLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        leftHeld_ = true;
    emit Pressed(event->button());
}

void TCoolLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void TCoolLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasHeld = leftHeld_;
    leftHeld_ = false;
    if (wasHeld && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint()))
        emit Clicked();
}

TCoolButton::TCoolButton(QWidget* parent) : TCoolLabel(parent) {
    SetBevels(Bevel::Raised, Bevel::Raised);
}

void TCoolButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        SetBevels(Bevel::Lowered, Bevel::Lowered);
    TCoolLabel::mousePressEvent(event);
}

void TCoolButton::mouseReleaseEvent(QMouseEvent* event) {
    SetBevels(Bevel::Raised, Bevel::Raised);
    TCoolLabel::mouseReleaseEvent(event);
}

void TCoolButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange)
        update();
    TCoolLabel::changeEvent(event);
}

void TCoolButton::PaintCaption(QPainter& painter, const QRect& area) {
    const bool down = InnerBevel() == Bevel::Lowered;
    const QRect shifted = down ? area.translated(1, 1) : area;
    if (isEnabled()) {
        TCoolLabel::PaintCaption(painter, shifted);
        return;
    }
    painter.setFont(font());
    painter.setPen(QColor(255, 255, 255, 120));
    painter.drawText(shifted.translated(1, 1), Qt::AlignCenter, Caption());
    painter.setPen(QColor(80, 80, 80));
    painter.drawText(shifted, Qt::AlignCenter, Caption());
}
