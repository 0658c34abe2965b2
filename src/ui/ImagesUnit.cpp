#include "ui/ImagesUnit.h"

#include <QPainter>

TSkinBitmaps SkinBitmaps;
CheckedArray<QByteArray, 0, 8> ImageNames;
QByteArray SkinName;
bool UseSkins = true;

QPixmap& TSkinBitmaps::operator[](int slot) {
    static CheckedArray<QPixmap, 0, 8> bitmaps;
    return bitmaps[slot];
}

namespace {

// A small tile with a soft diagonal grain, so a plain colour still reads as a surface.
QPixmap GrainTile(QColor base) {
    QPixmap tile(32, 32);
    tile.fill(base);
    QPainter painter(&tile);
    for (int i = 0; i < 32; i += 4) {
        painter.setPen(base.lighter(108));
        painter.drawLine(i, 0, 0, i);
        painter.setPen(base.darker(106));
        painter.drawLine(31, i, i, 31);
    }
    return tile;
}

} // namespace

void LoadSkinImages() {
    SkinBitmaps[SlotButton] = GrainTile(QColor(70, 60, 120));
    SkinBitmaps[SlotCell] = GrainTile(QColor(225, 205, 160));
    SkinBitmaps[SlotTracedCell] = GrainTile(QColor(40, 110, 70));
    SkinBitmaps[SlotLetter] = GrainTile(QColor(110, 60, 40));
    SkinBitmaps[SlotChosenLetter] = GrainTile(QColor(240, 230, 120));
    SkinBitmaps[SlotMainBackground] = GrainTile(QColor(50, 40, 80));
    SkinBitmaps[SlotWindowBackground] = GrainTile(QColor(60, 50, 90));
    SkinBitmaps[SlotPanel] = GrainTile(QColor(35, 30, 60));
    SkinBitmaps[SlotWordLabel] = GrainTile(QColor(30, 25, 50));
}
