#pragma once
// The computer's twelve face pictures, 100 by 70: 0 at rest, 1 and 2 the refusal blink,
// 3 and 4 thinking, 5 no word or sad, 6 question, 7 to 11 laughing. The built-in pictures
// are grey; the player's face colour tints them once at start-up.

#include "platform/Checked.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QString>

inline constexpr int FaceCount = 12;
inline constexpr int FaceWidth = 100;
inline constexpr int FaceHeight = 70;

// The computer's faces, black until tinted; made after the application, as every picture.
class TFaces {
public:
    TFaces();

    // The face colour of the settings file; start-up tints the faces in it.
    QColor Tint{255, 255, 255};

    // An index outside 0..11 raises.
    const QPixmap& operator[](int index) const { return faces_[index]; }
    // Fills the faces with the built-in pictures tinted in Tint.
    void LoadFaces();

private:
    CheckedArray<QPixmap, 0, FaceCount - 1> faces_;
};

// The built-in grey picture of face `index`, e.g. ":/resources/faces/CPU0.png".
QString FaceResource(int index);

// Stretches the red shades of all pictures together over the full range and paints them in
// `tint`: the darkest red of the whole set becomes black, the lightest becomes `tint`. A set
// of one single shade has no range to stretch; it becomes `tint` throughout.
QList<QImage> TintFaces(const QList<QImage>& greys, QColor tint);
