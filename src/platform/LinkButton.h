#pragma once
// A web address drawn as a small button: it looks pressed while held and opens its address
// when the button is released over it; a press dragged off it lets go and opens nothing.

#include <QUrl>
#include <QWidget>
#include <functional>

class TLinkButton : public QWidget {
    Q_OBJECT
public:
    TLinkButton(const QString& caption, const QUrl& address, QWidget* parent = nullptr);

    bool IsPressed() const { return pressed_; }
    const QUrl& Address() const { return address_; }

    // Hands the address to the desktop's browser; replaceable, so that a test can record
    // the address instead of starting a browser.
    std::function<void(const QUrl&)> OpenLink;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetPressed(bool pressed);

    QString caption_;
    QUrl address_;
    bool pressed_ = false;
};
