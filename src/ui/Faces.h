#pragma once
// The computer's twelve face pictures, 100 by 70: 0 at rest, 1 and 2 the refusal blink,
// 3 and 4 thinking, 5 no word or sad, 6 question, 7 to 11 laughing. The built-in pictures
// are grey; the player's face colour tints them once at start-up.

#include <QColor>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QString>

inline constexpr int FaceCount = 12;
inline constexpr int FaceWidth = 100;
inline constexpr int FaceHeight = 70;

// The faces are created on first use, black until tinted: pictures cannot exist before the
// application does. An index outside 0..11 raises.
class TFaces {
public:
    QPixmap& operator[](int index);
};

extern TFaces Faces;

// The face colour of the settings file; start-up tints the faces in it.
extern QColor FaceTint;

// The built-in grey picture of face `index`, e.g. ":/resources/faces/CPU0.png".
QString FaceResource(int index);

// Stretches the red shades of all pictures together over the full range and paints them in
// `tint`: the darkest red of the whole set becomes black, the lightest becomes `tint`. A set
// of one single shade has no range to stretch; it becomes `tint` throughout.
QList<QImage> TintFaces(const QList<QImage>& greys, QColor tint);

// Fills `Faces` with the built-in pictures tinted in the colour (r, g, b); each component is
// held to 0..255, so a bad setting cannot overflow a pixel.
void LoadFaces(int r, int g, int b);
