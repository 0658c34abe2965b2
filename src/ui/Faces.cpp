#include "ui/Faces.h"

#include "platform/Errors.h"

#include <algorithm>
#include <utility>

TFaces::TFaces() {
    for (QPixmap& face : faces_) {
        face = QPixmap(FaceWidth, FaceHeight);
        face.fill(Qt::black);
    }
}

QString FaceResource(int index) {
    return QString(":/resources/faces/CPU%1.png").arg(index);
}

namespace {

// The smallest and the largest red component over every pixel of every picture.
std::pair<int, int> RedSpan(const QList<QImage>& pictures) {
    int smallest = 255, largest = 0;
    for (const QImage& picture : pictures)
        for (int y = 0; y < picture.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
            for (int x = 0; x < picture.width(); ++x) {
                smallest = std::min(smallest, qRed(row[x]));
                largest = std::max(largest, qRed(row[x]));
            }
        }
    return {smallest, largest};
}

QImage Tint(const QImage& grey, int smallest, int range, QColor tint) {
    QImage tinted(grey.size(), QImage::Format_RGB32);
    for (int y = 0; y < grey.height(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(grey.constScanLine(y));
        auto* target = reinterpret_cast<QRgb*>(tinted.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int v = qRed(source[x]) - smallest;
            // A single shade has no range: it counts as the top of its range, not a division
            // by zero.
            target[x] = range == 0 ? tint.rgb()
                                   : qRgb(tint.red() * v / range, tint.green() * v / range,
                                          tint.blue() * v / range);
        }
    }
    return tinted;
}

QImage LoadFaceResource(int index) {
    const QImage picture(FaceResource(index));
    if (picture.size() != QSize(FaceWidth, FaceHeight))
        throw KordiError("Missing or damaged face picture " + FaceResource(index));
    return picture;
}

} // namespace

QList<QImage> TintFaces(const QList<QImage>& greys, QColor tint) {
    QList<QImage> pictures;
    for (const QImage& grey : greys)
        pictures.append(grey.convertToFormat(QImage::Format_RGB32));
    const auto [smallest, largest] = RedSpan(pictures);
    QList<QImage> tinted;
    for (const QImage& picture : pictures)
        tinted.append(Tint(picture, smallest, largest - smallest, tint));
    return tinted;
}

void TFaces::LoadFaces() {
    QList<QImage> greys;
    for (int i = 0; i < FaceCount; ++i)
        greys.append(LoadFaceResource(i));
    const QList<QImage> tinted = TintFaces(greys, Tint);
    for (int i = 0; i < FaceCount; ++i)
        faces_[i] = QPixmap::fromImage(tinted[i]);
}
