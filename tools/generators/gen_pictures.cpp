// Draws the game's built-in pictures: the computer's twelve grey faces, the three network
// icons, the splash picture and the desktop launcher's icon. Usage: gen_pictures <repo folder>

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <array>
#include <cmath>
#include <cstdio>

namespace {

// ---- Shared drawing helpers ----

QColor Grey(int level) {
    return QColor(level, level, level);
}

QImage Canvas(int width, int height, QColor fill) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

QFont BoldFont(qreal pixelSize) {
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(qRound(pixelSize));
    return font;
}

QPen RoundPen(QColor colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A wooden letter tile like the board's: bevelled, with a soft shadow and a dark letter.
void DrawLetterTile(QPainter& painter, const QRectF& tile, const QString& letter) {
    const qreal size = tile.height();
    const qreal radius = size * 0.14;
    const qreal bevel = size * 0.09;

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 20, 5, 110));
    painter.drawRoundedRect(tile.translated(size * 0.06, size * 0.08), radius, radius);

    QLinearGradient rim(tile.topLeft(), tile.bottomRight());
    rim.setColorAt(0, QColor(255, 250, 232));
    rim.setColorAt(1, QColor(150, 110, 60));
    painter.setBrush(rim);
    painter.drawRoundedRect(tile, radius, radius);

    const QRectF face = tile.adjusted(bevel, bevel, -bevel, -bevel);
    QLinearGradient wood(face.topLeft(), face.bottomLeft());
    wood.setColorAt(0, QColor(250, 236, 200));
    wood.setColorAt(1, QColor(226, 200, 150));
    painter.setBrush(wood);
    painter.drawRoundedRect(face, radius * 0.6, radius * 0.6);

    painter.setFont(BoldFont(size * 0.78));
    painter.setPen(QColor(255, 248, 230));
    painter.drawText(face.translated(size * 0.025, size * 0.03), Qt::AlignCenter, letter);
    painter.setPen(QColor(90, 40, 20));
    painter.drawText(face, Qt::AlignCenter, letter);
}

// A light wooden band with a wavy grain, light enough for dark captions drawn over it.
void DrawGrainBand(QPainter& painter, const QRect& band) {
    QLinearGradient base(band.topLeft(), band.bottomLeft());
    base.setColorAt(0, QColor(238, 222, 186));
    base.setColorAt(1, QColor(214, 190, 146));
    painter.fillRect(band, base);

    QRandomGenerator grain(2000); // fixed seed: the same picture on every run
    for (int line = 0; line < 40; ++line) {
        const qreal y = band.top() + grain.bounded(band.height());
        const qreal wave = 0.6 + grain.generateDouble() * 1.6;
        QPainterPath path(QPointF(band.left(), y));
        for (int x = band.left(); x <= band.right(); x += 8)
            path.lineTo(x, y + wave * std::sin(x / (13.0 + line % 5)));
        const bool dark = line % 3 != 0;
        painter.setPen(
            QPen(dark ? QColor(150, 110, 60, 40 + grain.bounded(30)) : QColor(255, 250, 235, 70),
                 0.6 + grain.generateDouble()));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
    painter.setPen(QColor(120, 80, 40));
    painter.drawRect(band.adjusted(0, 0, -1, -1));
}

// ---- Faces ----

enum class Mouth { Smile, Flat, Frown, Ooh, Laugh };

// One expression of the computer's face; the twelve pictures differ only in these.
struct FaceLook {
    double eyeOpen = 1;        // 1 wide open, 0 shut
    bool eyesSqueezed = false; // laughing "^ ^" eyes
    QPointF gaze = {};         // pupil shift, each axis -1..1
    double browLeft = 0;       // raise of each brow in pixels
    double browRight = 0;
    double browWorry = 0; // inner brow ends raised: a sad look
    Mouth mouth = Mouth::Smile;
    double mouthOpen = 0;  // laughing mouth, 0..1
    double mouthSlant = 0; // right end of a flat mouth raised by this many pixels
    double bounce = 0;     // the head moved down by this many pixels
    int thoughtSide = 0;   // thinking dots on the left (-1) or the right (1)
    bool question = false; // a question mark beside the head
};

constexpr int FaceWidth = 100;
constexpr int FaceHeight = 70;
constexpr qreal EyeY = 30;
constexpr std::array<qreal, 2> EyeX = {39, 61};
constexpr qreal EyeRadius = 7;
constexpr qreal MouthY = 51;

const QColor VisorGrey = Grey(62);
const QColor GlowGrey = Grey(238);
const QColor InkGrey = Grey(52);

void DrawFaceBackground(QPainter& painter) {
    QRadialGradient glow(QPointF(50, 36), 60);
    glow.setColorAt(0, Grey(46));
    glow.setColorAt(1, Grey(14));
    painter.fillRect(QRect(0, 0, FaceWidth, FaceHeight), glow);
}

void DrawHead(QPainter& painter) {
    painter.setPen(RoundPen(Grey(120), 2));
    painter.drawLine(QPointF(50, 9), QPointF(50, 5));
    painter.setPen(QPen(Grey(80), 1));
    painter.setBrush(Grey(205));
    painter.drawEllipse(QPointF(50, 4.5), 2.8, 2.8);

    painter.setBrush(Grey(118));
    for (const qreal x : {12.5, 81.5})
        painter.drawRoundedRect(QRectF(x, 26, 6, 16), 2, 2);

    QLinearGradient metal(QPointF(0, 8), QPointF(0, 66));
    metal.setColorAt(0, Grey(192));
    metal.setColorAt(1, Grey(128));
    painter.setPen(QPen(Grey(78), 1.5));
    painter.setBrush(metal);
    painter.drawRoundedRect(QRectF(18, 8, 64, 58), 13, 13);

    painter.setPen(QPen(Grey(96), 1));
    painter.setBrush(VisorGrey);
    painter.drawRoundedRect(QRectF(25, 20, 50, 21), 8, 8);
}

QRectF EyeBox(qreal centreX) {
    return QRectF(centreX - EyeRadius, EyeY - EyeRadius, 2 * EyeRadius, 2 * EyeRadius);
}

void DrawOpenEye(QPainter& painter, qreal centreX, const FaceLook& look) {
    const QRectF box = EyeBox(centreX);
    QPainterPath eye;
    eye.addEllipse(box);
    painter.save();
    painter.setClipPath(eye);
    painter.fillPath(eye, GlowGrey);
    const QPointF pupil = box.center() + look.gaze * 3.2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(InkGrey);
    painter.drawEllipse(pupil, 3.3, 3.3);
    painter.setBrush(Grey(250));
    painter.drawEllipse(pupil + QPointF(-1.2, -1.2), 1, 1);
    const qreal lidEdge = box.top() + (1 - look.eyeOpen) * box.height();
    painter.fillRect(QRectF(box.left(), box.top(), box.width(), lidEdge - box.top()), VisorGrey);
    painter.restore();
    if (look.eyeOpen < 1) {
        painter.setPen(RoundPen(GlowGrey, 1.6));
        const qreal halfChord = EyeRadius * std::sqrt(1 - std::pow(1 - 2 * look.eyeOpen, 2));
        painter.drawLine(QPointF(centreX - halfChord - 0.5, lidEdge),
                         QPointF(centreX + halfChord + 0.5, lidEdge));
    }
}

void DrawEye(QPainter& painter, qreal centreX, const FaceLook& look) {
    if (look.eyesSqueezed) {
        painter.setPen(RoundPen(GlowGrey, 2.4));
        painter.setBrush(Qt::NoBrush);
        const QPointF tip(centreX, EyeY - 3.5);
        painter.drawPolyline(QList<QPointF>{tip + QPointF(-5.5, 5), tip, tip + QPointF(5.5, 5)});
    } else if (look.eyeOpen <= 0) {
        painter.setPen(RoundPen(GlowGrey, 2));
        painter.setBrush(Qt::NoBrush);
        QPainterPath closed(QPointF(centreX - 6, EyeY));
        closed.quadTo(QPointF(centreX, EyeY + 3.5), QPointF(centreX + 6, EyeY));
        painter.drawPath(closed);
    } else {
        DrawOpenEye(painter, centreX, look);
    }
}

void DrawBrows(QPainter& painter, const FaceLook& look) {
    painter.setPen(RoundPen(Grey(64), 2.4));
    for (int side = 0; side < 2; ++side) {
        const qreal lift = side == 0 ? look.browLeft : look.browRight;
        const qreal inward = side == 0 ? 1 : -1; // towards the middle of the face
        const qreal y = 15.5 - lift;
        const QPointF outer(EyeX[side] - 6 * inward, y);
        const QPointF inner(EyeX[side] + 5 * inward, y - look.browWorry);
        painter.drawLine(outer, inner);
    }
}

QPainterPath LaughMouthPath(double open) {
    const qreal halfWidth = 9 + 4 * open;
    const qreal depth = 4 + 8 * open;
    const qreal top = MouthY - 3;
    QPainterPath mouth(QPointF(50 - halfWidth, top));
    mouth.lineTo(50 + halfWidth, top);
    mouth.arcTo(QRectF(50 - halfWidth, top - depth, 2 * halfWidth, 2 * depth), 0, -180);
    mouth.closeSubpath();
    return mouth;
}

void DrawLaughMouth(QPainter& painter, double open) {
    const QPainterPath mouth = LaughMouthPath(open);
    const QRectF box = mouth.boundingRect();
    painter.save();
    painter.setClipPath(mouth);
    painter.fillPath(mouth, Grey(34));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Grey(128));
    painter.drawEllipse(QPointF(50, box.bottom() + 1), box.width() * 0.32, box.height() * 0.45);
    painter.fillRect(QRectF(box.left(), box.top(), box.width(), 2.6), Grey(236));
    painter.restore();
    painter.setPen(RoundPen(InkGrey, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(mouth);
}

void DrawMouth(QPainter& painter, const FaceLook& look) {
    painter.setPen(RoundPen(InkGrey, 2.4));
    painter.setBrush(Qt::NoBrush);
    QPainterPath line;
    switch (look.mouth) {
    case Mouth::Smile:
        line.moveTo(40, MouthY - 2);
        line.quadTo(50, MouthY + 6, 60, MouthY - 2);
        break;
    case Mouth::Frown:
        line.moveTo(41, MouthY + 4);
        line.quadTo(50, MouthY - 3, 59, MouthY + 4);
        break;
    case Mouth::Flat:
        line.moveTo(43, MouthY + 1 + look.mouthSlant / 2);
        line.lineTo(57, MouthY + 1 - look.mouthSlant / 2);
        break;
    case Mouth::Ooh:
        painter.setBrush(Grey(34));
        painter.setPen(QPen(InkGrey, 1.4));
        painter.drawEllipse(QPointF(50, MouthY + 1), 3.6, 4.3);
        return;
    case Mouth::Laugh:
        DrawLaughMouth(painter, look.mouthOpen);
        return;
    }
    painter.drawPath(line);
}

// Three rising dots beside the head: the computer is pondering.
void DrawThoughtDots(QPainter& painter, int side) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(Grey(200));
    const qreal baseX = side < 0 ? 11 : 89;
    for (int i = 0; i < 3; ++i) {
        const qreal radius = 1.4 + i * 0.6;
        painter.drawEllipse(QPointF(baseX + side * i * 3, 18 - i * 6), radius, radius);
    }
}

void DrawQuestionMark(QPainter& painter) {
    painter.setFont(BoldFont(20));
    painter.setPen(Grey(225));
    painter.drawText(QRectF(84, 0, 16, 26), Qt::AlignCenter, "?");
}

QImage DrawFace(const FaceLook& look) {
    QImage image = Canvas(FaceWidth, FaceHeight, Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    DrawFaceBackground(painter);
    if (look.question)
        DrawQuestionMark(painter);
    if (look.thoughtSide != 0)
        DrawThoughtDots(painter, look.thoughtSide);
    painter.translate(0, look.bounce);
    DrawHead(painter);
    for (const qreal x : EyeX)
        DrawEye(painter, x, look);
    DrawBrows(painter, look);
    DrawMouth(painter, look);
    painter.end();
    return image.convertToFormat(QImage::Format_Grayscale8);
}

// Faces 0..11: rest, refusal blink (2), thinking (2), no word, question, laughing (5).
std::array<FaceLook, 12> FaceLooks() {
    const auto laughing = [](double open, double bounce) {
        return FaceLook{.eyesSqueezed = true,
                        .browLeft = 1.5,
                        .browRight = 1.5,
                        .mouth = Mouth::Laugh,
                        .mouthOpen = open,
                        .bounce = bounce};
    };
    return {{
        {},
        {.eyeOpen = 0.45, .browLeft = -0.5, .browRight = -0.5, .mouth = Mouth::Flat},
        {.eyeOpen = 0, .browLeft = -1, .browRight = -1, .mouth = Mouth::Flat},
        {.gaze = {-0.7, -0.7},
         .browLeft = 3.5,
         .mouth = Mouth::Flat,
         .mouthSlant = -2,
         .thoughtSide = -1},
        {.gaze = {0.7, -0.7},
         .browRight = 3.5,
         .mouth = Mouth::Flat,
         .mouthSlant = 2,
         .thoughtSide = 1},
        {.eyeOpen = 0.7, .gaze = {0, 0.75}, .browWorry = 2.5, .mouth = Mouth::Frown, .bounce = 1},
        {.gaze = {0.3, -0.3}, .browLeft = 3, .browRight = 3, .mouth = Mouth::Ooh, .question = true},
        laughing(0.5, 0),
        laughing(0.9, -1.5),
        laughing(0.3, 1),
        laughing(1.0, -1.5),
        laughing(0.65, 0.5),
    }};
}

// ---- Network icons ----

constexpr int IconSize = 16;

// A tiny monitor, 8 wide and 8 high, drawn pixel-exact so it stays crisp at 16 pixels.
void DrawTinyScreen(QPainter& painter, QPoint at, QColor frame, QColor glass) {
    painter.fillRect(QRect(at, QSize(8, 6)), frame);
    painter.setCompositionMode(QPainter::CompositionMode_Source); // a clear glass stays clear
    painter.fillRect(QRect(at + QPoint(1, 1), QSize(6, 4)), glass);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.fillRect(QRect(at + QPoint(3, 6), QSize(2, 1)), frame);
    painter.fillRect(QRect(at + QPoint(2, 7), QSize(4, 1)), frame);
}

// The cable between the two screens; a cut cable leaves a gap in its middle.
void DrawCable(QPainter& painter, QColor colour, bool cut) {
    painter.fillRect(QRect(8, 3, cut ? 1 : 4, 1), colour);
    painter.fillRect(QRect(11, cut ? 6 : 3, 1, cut ? 2 : 5), colour);
}

// 0 no session: two dim screens, the cable cut; 1 a session waiting for a peer: our screen
// lit orange, the far one a dim outline; 2 a peer present: both screens green and linked.
QImage DrawNetIcon(int state) {
    const QColor dimFrame = Grey(110), dimGlass = Grey(60);
    const QColor orange(255, 160, 20), orangeGlass(150, 80, 0);
    const QColor green(70, 220, 70), greenGlass(20, 110, 30);
    QImage image = Canvas(IconSize, IconSize, Qt::transparent);
    QPainter painter(&image);
    switch (state) {
    case 0:
        DrawTinyScreen(painter, {0, 0}, dimFrame, dimGlass);
        DrawTinyScreen(painter, {8, 8}, dimFrame, dimGlass);
        DrawCable(painter, dimFrame, true);
        break;
    case 1:
        DrawTinyScreen(painter, {0, 0}, orange, orangeGlass);
        DrawTinyScreen(painter, {8, 8}, Grey(90), Qt::transparent);
        DrawCable(painter, orange, true);
        break;
    default:
        DrawTinyScreen(painter, {0, 0}, green, greenGlass);
        DrawTinyScreen(painter, {8, 8}, green, greenGlass);
        DrawCable(painter, green, false);
        break;
    }
    return image;
}

// ---- Splash picture and launcher icon ----

// "KORDI" low on the left, "2000" high on the right: the corners (4,3) and (189,33) stay
// free for the window's own "loading" captions.
QImage DrawSplash() {
    QImage image = Canvas(240, 50, Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    DrawGrainBand(painter, image.rect());
    const auto lay = [&painter](const QString& word, qreal left, qreal top) {
        for (int i = 0; i < word.size(); ++i)
            DrawLetterTile(painter, QRectF(left + i * 24, top, 22, 22), word.mid(i, 1));
    };
    lay("KORDI", 8, 22);
    lay("2000", 136, 5);
    return image;
}

QImage DrawLauncherIcon() {
    QImage image = Canvas(128, 128, Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    DrawLetterTile(painter, QRectF(6, 4, 112, 112), "K");
    return image;
}

// ---- Output ----

bool Save(const QImage& image, const QDir& repo, const QString& relative) {
    const QString path = repo.filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    if (image.save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // text drawing needs the font database
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_pictures <repo folder>\n");
        return 2;
    }
    const QDir repo(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    const std::array<FaceLook, 12> looks = FaceLooks();
    for (int i = 0; i < int(looks.size()); ++i)
        ok &= Save(DrawFace(looks[i]), repo, QString("src/resources/faces/CPU%1.png").arg(i));
    for (int state = 0; state < 3; ++state)
        ok &= Save(DrawNetIcon(state), repo, QString("src/resources/net/NET%1.png").arg(state));
    ok &= Save(DrawSplash(), repo, "src/resources/splash.png");
    ok &= Save(DrawLauncherIcon(), repo, "data/kordi2000.png");
    return ok ? 0 : 1;
}
