#include "platform/LinkButton.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

TLinkButton::TLinkButton(const QString& caption, const QUrl& address, QWidget* parent)
    : QWidget(parent), OpenLink([](const QUrl& url) { QDesktopServices::openUrl(url); }),
      caption_(caption), address_(address) {
    setCursor(Qt::PointingHandCursor);
    setToolTip(address.toString());
}

void TLinkButton::SetPressed(bool pressed) {
    pressed_ = pressed;
    update();
}

void TLinkButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionButton face;
    face.initFrom(this);
    face.state |= pressed_ ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButtonBevel, &face, &painter, this);
    // The text sinks with the face while the button is held.
    const QRect text = pressed_ ? rect().translated(1, 1) : rect();
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(text, Qt::AlignCenter, caption_);
}

void TLinkButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        SetPressed(true);
}

void TLinkButton::mouseMoveEvent(QMouseEvent* event) {
    if (pressed_ && !rect().contains(event->position().toPoint()))
        SetPressed(false);
}

void TLinkButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_)
        return;
    SetPressed(false);
    if (rect().contains(event->position().toPoint()))
        OpenLink(address_);
}
