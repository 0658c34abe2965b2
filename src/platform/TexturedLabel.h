#pragma once
// Textured controls: a label that tiles a texture behind a centred caption and draws an
// outer and an inner bevel, and a button built on it. Every mouse press is a press of its
// own: a quick second press is not swallowed as a double click.

#include <QPixmap>
#include <QWidget>

class TTexturedLabel : public QWidget {
    Q_OBJECT
public:
    enum class Bevel { None, Raised, Lowered };

    explicit TTexturedLabel(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);

    const QPixmap& Texture() const { return texture_; }
    void SetTexture(const QPixmap& texture);

    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color);

    Bevel InnerBevel() const { return inner_; }
    Bevel OuterBevel() const { return outer_; }
    void SetBevels(Bevel outer, Bevel inner);

    // A transparent label paints no texture, only its caption and bevels.
    void SetTransparent(bool transparent);
    void SetAlignment(Qt::Alignment alignment);

signals:
    void Pressed(Qt::MouseButton button);
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    virtual void PaintCaption(QPainter& painter, const QRect& area);

private:
    QString caption_;
    QPixmap texture_;
    QColor fontColor_{Qt::black};
    Bevel outer_ = Bevel::None;
    Bevel inner_ = Bevel::None;
    bool transparent_ = false;
    bool leftHeld_ = false;
    Qt::Alignment alignment_ = Qt::AlignCenter;
};

// A textured button: raised while up, lowered while held, greyed when disabled.
class TTexturedButton : public TTexturedLabel {
    Q_OBJECT
public:
    explicit TTexturedButton(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void PaintCaption(QPainter& painter, const QRect& area) override;
};

// Tiles a texture over a rectangle; the shared way of dressing a background.
void TileTexture(QPainter& painter, const QRect& area, const QPixmap& texture);
