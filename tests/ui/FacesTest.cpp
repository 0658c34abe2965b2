#include "ui/Faces.h"

#include <QImage>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// A one-row picture whose pixels have the given colours.
QImage Row(const QList<QRgb>& colours) {
    QImage picture(int(colours.size()), 1, QImage::Format_RGB32);
    for (int x = 0; x < colours.size(); ++x)
        picture.setPixel(x, 0, colours[x]);
    return picture;
}

QRgb Grey(int shade) {
    return qRgb(shade, shade, shade);
}

void ForEachPixel(const QImage& picture, const std::function<void(QRgb)>& check) {
    const QImage rgb = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            check(rgb.pixel(x, y));
}

} // namespace

// The darkest red of the whole set becomes black and the lightest the full tint, across
// pictures; each tint component takes the same share of its value, rounded down, and only
// red is read. A set of one shade has no range: no division by zero, every pixel the tint.
TEST(TintFaces, StretchesRedOverTheWholeSet) {
    const QList<QImage> red =
        TintFaces({Row({Grey(40), Grey(120)}), Row({Grey(200), Grey(80)})}, QColor(255, 0, 0));
    ASSERT_EQ(red.size(), 2);
    EXPECT_EQ(red[0].pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(red[0].pixel(1, 0), qRgb(255 * 80 / 160, 0, 0));
    EXPECT_EQ(red[1].pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(red[1].pixel(1, 0), qRgb(255 * 40 / 160, 0, 0));

    const QList<QImage> mixed =
        TintFaces({Row({Grey(40), qRgb(120, 255, 0), Grey(200)})}, QColor(255, 128, 7));
    EXPECT_EQ(mixed[0].pixel(1, 0), qRgb(127, 64, 3));
    EXPECT_EQ(mixed[0].pixel(2, 0), qRgb(255, 128, 7));

    const QList<QImage> flat =
        TintFaces({Row({Grey(90), Grey(90)}), Row({Grey(90)})}, QColor(10, 20, 30));
    ASSERT_EQ(flat.size(), 2);
    for (const QImage& picture : flat)
        ForEachPixel(picture, [](QRgb pixel) { EXPECT_EQ(pixel, qRgb(10, 20, 30)); });
    EXPECT_TRUE(TintFaces({}, QColor(10, 20, 30)).isEmpty());
}

// The tint reads only red, so the built-in faces are true grey and of the face size; tinted
// with a colour from the settings held to 0..255, they run in red shades from black to red.
TEST(LoadFaces, TintsTheGreyBuiltInFaces) {
    for (int i = 0; i < FaceCount; ++i) {
        const QImage face(FaceResource(i));
        ASSERT_EQ(face.size(), QSize(FaceWidth, FaceHeight)) << i;
        ForEachPixel(face, [](QRgb pixel) {
            EXPECT_TRUE(qRed(pixel) == qGreen(pixel) && qRed(pixel) == qBlue(pixel));
        });
    }
    TFaces faces;
    faces.LoadFaces(300, -4, 0);
    bool black = false, red = false;
    for (int i = 0; i < FaceCount; ++i)
        ForEachPixel(faces[i].toImage(), [&](QRgb pixel) {
            EXPECT_EQ(pixel & 0xFFFF, 0u);
            black |= pixel == qRgb(0, 0, 0);
            red |= pixel == qRgb(255, 0, 0);
        });
    EXPECT_TRUE(black && red);
    EXPECT_THROW(faces[FaceCount], std::out_of_range);
}

// The network icons are small and keep black free for the transparent colour; the splash
// picture fills the splash window's 240x50 picture.
TEST(BuiltInPictures, NetIconsAndSplash) {
    for (int state = 0; state < 3; ++state) {
        const QImage icon(QString(":/resources/net/NET%1.png").arg(state));
        ASSERT_FALSE(icon.isNull()) << state;
        EXPECT_TRUE(icon.width() <= 20 && icon.height() <= 20);
        ForEachPixel(
            icon, [](QRgb pixel) { EXPECT_TRUE(qAlpha(pixel) == 0 || (pixel & 0xFFFFFF) != 0); });
    }
    EXPECT_EQ(QImage(":/resources/splash.png").size(), QSize(240, 50));
}
