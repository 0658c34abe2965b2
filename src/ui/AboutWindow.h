#pragma once
// The about window: the credits rise letter by letter over a black surface to looping
// music; now and then a letter breaks loose, falls and bounces, and a click shakes loose
// a fifth of the letters in view.

#include "platform/Checked.h"
#include "ui/SkinnedDialog.h"

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QList>
#include <array>
#include <functional>

class QFrame;
class QTimer;
class TTexturedButton;

// One shown letter of the credits.
struct TAboutLetter {
    quint8 Ch = 0;
    quint8 Big = 0;   // 1 on a highlighted line
    quint8 Loose = 0; // 1 once broken loose from the text
    qint32 X = 0;     // left edge, surface pixels
    qint32 Y = 0;     // top edge, surface pixels
    qint32 VX = 0;    // speed of a loose letter, pixels per frame
    qint32 VY = 0;
    qint32 Line = 0; // line of the credits text, from 0
    qint32 R = 0, G = 0, B = 0;
};

// A double-buffered drawing surface: a frame is drawn into the back picture and shown
// whole by Flip.
class TFrameSurface : public QWidget {
    Q_OBJECT
public:
    static constexpr int Width = 300;
    static constexpr int Height = 250;

    explicit TFrameSurface(QWidget* parent);

    // Only a visible surface is drawn on; frames still run without it.
    bool CanDraw() const { return isVisible(); }
    QImage& BackBuffer() { return back_; }
    const QImage& FrontBuffer() const { return front_; }
    void Flip();

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage front_;
    QImage back_;
};

class TAboutWindow : public TSkinnedDialog {
    Q_OBJECT
public:
    static constexpr int FrameMs = 33;

    explicit TAboutWindow(TPresentation& look, QWidget* parent = nullptr);

    QFrame* SurfaceFrame;
    TFrameSurface* Surface;
    TTexturedButton* OkButton;
    QTimer* FrameTimer;
    // The credits in code page 1251; a line that starts with "|" is highlighted.
    QList<QByteArray> RussianText;
    QList<QByteArray> EnglishText;

    // A number from 0 to range - 1; tests put a predictable source here.
    std::function<int(int range)> Random;

    CheckedArray<TAboutLetter, 0, 999> Letters;
    int Count = -1; // index of the last letter
    qint32 Frame = 0;

    void NextFrame();
    void SurfaceClick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void BuildLetterTable(const QList<QByteArray>& text);
    void Release(TAboutLetter& letter);
    void MoveLetter(TAboutLetter& letter) const;
    bool InBand(const TAboutLetter& letter) const { return letter.Y > 0 && letter.Y < 220; }

    QImage cornerMark_;
    // The letters' fonts and their ascents, small [0] and big [1].
    std::array<QFont, 2> fonts_;
    std::array<int, 2> ascents_;
};
