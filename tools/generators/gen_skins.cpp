// Draws the shipped skins and loose textures: procedural wood, stone, marble, paper, cloth,
// felt and leather tiles that repeat without a seam. Usage: gen_skins <repo folder>
// Writes data/Textures/<skin>/<slot>.jpg|bmp and data/Textures/<texture>.jpg, and prints
// each picture's contrast against the letters drawn on it.

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <vector>

namespace {

constexpr double Pi = std::numbers::pi;

double Smooth(double t) {
    return t * t * (3 - 2 * t);
}
double Fraction(double t) {
    return t - std::floor(t);
}
int Wrap(int i, int period) {
    return ((i % period) + period) % period;
}

QColor Mix(QColor a, QColor b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

QColor Scale(QColor c, double factor) {
    const auto part = [factor](float v) { return float(std::clamp(v * factor, 0.0, 1.0)); };
    return QColor::fromRgbF(part(c.redF()), part(c.greenF()), part(c.blueF()));
}

// Value noise on a lattice that wraps around the tile, so the picture repeats seamlessly.
// Coordinates u, v run over 0..1 across the tile.
class TTileNoise {
public:
    TTileNoise(int periodX, int periodY, quint32 seed)
        : periodX_(periodX), periodY_(periodY), values_(periodX * periodY) {
        QRandomGenerator random(seed);
        for (double& value : values_)
            value = random.generateDouble();
    }

    double At(double u, double v) const {
        const double x = u * periodX_, y = v * periodY_;
        const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
        const double fx = Smooth(x - x0), fy = Smooth(y - y0);
        const double top = Lerp(Value(x0, y0), Value(x0 + 1, y0), fx);
        const double bottom = Lerp(Value(x0, y0 + 1), Value(x0 + 1, y0 + 1), fx);
        return Lerp(top, bottom, fy);
    }

private:
    static double Lerp(double a, double b, double t) { return a + (b - a) * t; }
    double Value(int i, int j) const {
        return values_[Wrap(j, periodY_) * periodX_ + Wrap(i, periodX_)];
    }

    int periodX_, periodY_;
    std::vector<double> values_;
};

// Octaves of tile noise, each twice as fine and half as strong; the result lies in 0..1.
class TFractal {
public:
    TFractal(int periodX, int periodY, int octaves, quint32 seed) {
        for (int i = 0; i < octaves; ++i)
            octaves_.emplace_back(periodX << i, periodY << i, seed * 31 + quint32(i));
    }

    double At(double u, double v) const {
        double sum = 0, weight = 1, total = 0;
        for (const TTileNoise& octave : octaves_) {
            sum += octave.At(u, v) * weight;
            total += weight;
            weight /= 2;
        }
        return sum / total;
    }

private:
    std::vector<TTileNoise> octaves_;
};

// Distances to the nearest and second nearest of scattered points, measured around the
// tile's wrap: the cells of leather and cobbles.
class TCells {
public:
    TCells(int count, quint32 seed) {
        QRandomGenerator random(seed);
        for (int i = 0; i < count; ++i)
            points_.push_back({random.generateDouble(), random.generateDouble()});
    }

    std::pair<double, double> Nearest(double u, double v) const {
        double first = 2, second = 2;
        for (const auto& [px, py] : points_) {
            double dx = std::abs(u - px), dy = std::abs(v - py);
            dx = std::min(dx, 1 - dx);
            dy = std::min(dy, 1 - dy);
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d < first) {
                second = first;
                first = d;
            } else if (d < second) {
                second = d;
            }
        }
        return {first, second};
    }

private:
    std::vector<std::pair<double, double>> points_;
};

using TShader = std::function<QColor(double u, double v)>;

QImage Render(int size, const TShader& shader) {
    QImage image(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            image.setPixelColor(x, y, shader((x + 0.5) / size, (y + 0.5) / size));
    return image;
}

// ---- The materials ----

// Planks with growth rings running across the tile and fine fibres along it: each ring is
// a narrow dark band of late wood in pale early wood.
QImage Wood(int size, QColor light, QColor dark, int rings, quint32 seed) {
    const TFractal warp(2, 3, 4, seed), fibre(2, 64, 3, seed + 1), figure(4, 4, 3, seed + 2);
    return Render(size, [&](double u, double v) {
        const double ring = Fraction(v * rings + 0.5 * warp.At(u, v));
        const double lateWood = std::pow(0.5 - 0.5 * std::cos(2 * Pi * ring), 4);
        const double grain =
            0.55 * lateWood + 0.45 * (fibre.At(u, v) - 0.5) + 0.25 * (figure.At(u, v) - 0.5);
        return Mix(light, dark, 0.25 + grain);
    });
}

// Soft veins winding diagonally through a calm ground.
QImage Marble(int size, QColor ground, QColor vein, quint32 seed) {
    const TFractal turbulence(2, 2, 5, seed), cloud(3, 3, 3, seed + 7);
    return Render(size, [&](double u, double v) {
        const double t = 2 * u + v + 2.2 * turbulence.At(u, v);
        const double veins = std::pow(std::abs(std::sin(Pi * t)), 0.35);
        const QColor base = Mix(ground, Scale(ground, 0.93), cloud.At(u, v));
        return Mix(vein, base, veins);
    });
}

// Speckled stone: a clouded ground sprinkled with light and dark grains.
QImage Granite(int size, QColor ground, QColor light, QColor dark, quint32 seed) {
    const TFractal cloud(4, 4, 3, seed);
    const TTileNoise grains(size / 2, size / 2, seed + 3), grains2(size / 3, size / 3, seed + 5);
    return Render(size, [&](double u, double v) {
        QColor colour = Mix(ground, Scale(ground, 1.25), cloud.At(u, v));
        const double g = grains.At(u, v), h = grains2.At(u, v);
        if (g > 0.78)
            colour = Mix(colour, light, (g - 0.78) * 4);
        if (h < 0.22)
            colour = Mix(colour, dark, (0.22 - h) * 4);
        return colour;
    });
}

// Laid paper: a faint cloud, a fine tooth and the chain lines of the mould.
QImage Paper(int size, QColor ground, quint32 seed) {
    const TFractal cloud(4, 4, 4, seed), tooth(size / 2, size / 2, 1, seed + 1);
    return Render(size, [&](double u, double v) {
        const double chain = std::pow(std::abs(std::sin(Pi * 4 * u)), 40) * 0.04;
        const double shade = 1 + (cloud.At(u, v) - 0.5) * 0.10 + (tooth.At(u, v) - 0.5) * 0.06;
        return Scale(ground, shade - chain);
    });
}

// Woven cloth: warp and weft threads of `width` pixels; `twill` gives the diagonal of denim,
// otherwise a plain over-under weave. `depth` is how much the threads' edges fall into shade.
QImage Cloth(int size, QColor warp, QColor weft, int width, bool twill, double depth,
             quint32 seed) {
    const int threads = size / width;
    const TTileNoise slub(threads, 6, seed), slubWeft(6, threads, seed + 1);
    const TFractal dirt(3, 3, 3, seed + 2);
    return Render(size, [&](double u, double v) {
        const double x = u * size, y = v * size;
        const int column = int(x) / width, row = int(y) / width;
        const bool warpOnTop = twill ? Wrap(column + row, 4) != 0 : (column + row) % 2 == 0;
        const double across = warpOnTop ? Fraction(x / width) : Fraction(y / width);
        const double roundness = 1 - depth + depth * std::sin(Pi * across);
        const double thread = warpOnTop ? slub.At(u, v) : slubWeft.At(u, v);
        const QColor colour = warpOnTop ? warp : weft;
        return Scale(colour, roundness * (0.88 + 0.24 * thread) * (0.92 + 0.16 * dirt.At(u, v)));
    });
}

// Ribbed cloth: soft ridges running down the tile.
QImage Corduroy(int size, QColor colour, int ribs, quint32 seed) {
    const TFractal pile(4, 24, 2, seed);
    return Render(size, [&](double u, double v) {
        const double rib = 0.6 + 0.4 * std::pow(std::sin(Pi * Fraction(u * ribs)), 0.7);
        return Scale(colour, rib * (0.85 + 0.3 * pile.At(u, v)));
    });
}

// Felt: matted fibres, no pattern at all.
QImage Felt(int size, QColor colour, quint32 seed) {
    const TFractal mat(4, 4, 4, seed), fibres(size / 2, size / 2, 1, seed + 9);
    return Render(size, [&](double u, double v) {
        return Scale(colour, 0.85 + 0.2 * mat.At(u, v) + 0.12 * (fibres.At(u, v) - 0.5));
    });
}

// Leather: raised cells parted by darker creases.
QImage Leather(int size, QColor colour, int cells, quint32 seed) {
    const TCells grain(cells, seed);
    const TFractal cloud(3, 3, 3, seed + 4);
    const double spacing = 1.0 / std::sqrt(double(cells));
    return Render(size, [&](double u, double v) {
        const auto [first, second] = grain.Nearest(u, v);
        const double crease = std::clamp((second - first) / (0.35 * spacing), 0.0, 1.0);
        const double shade = (0.7 + 0.3 * std::sqrt(crease)) * (0.85 + 0.3 * cloud.At(u, v));
        return Scale(colour, shade);
    });
}

// ---- Checks and output ----

double Luminance(QColor c) {
    const auto linear = [](double s) {
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double Contrast(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The colour of the text each slot carries: buttons, cell, traced cell, letter, chosen
// letter, main background, other windows, side panels, word label.
const QColor SlotText[9] = {{200, 200, 255}, Qt::black,       {196, 255, 212},
                            {255, 255, 0},   {0, 0, 255},     {239, 255, 239},
                            {255, 255, 255}, {255, 210, 210}, {200, 200, 255}};

// The contrast of the text against the picture's worst tenth of pixels.
double WorstContrast(const QImage& image, QColor text) {
    std::vector<double> contrasts;
    const double textLuminance = Luminance(text);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            contrasts.push_back(Contrast(Luminance(image.pixelColor(x, y)), textLuminance));
    std::nth_element(contrasts.begin(), contrasts.begin() + contrasts.size() / 10, contrasts.end());
    return contrasts[contrasts.size() / 10];
}

bool Save(const QImage& image, const QDir& repo, const QString& relative) {
    const QString path = repo.filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    const bool jpeg = relative.endsWith(".jpg");
    const bool ok = jpeg ? image.save(path, "JPG", 85)
                         : image.convertToFormat(QImage::Format_RGB888).save(path, "BMP");
    if (!ok)
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return ok;
}

struct TSlotPicture {
    QImage Image;
    const char* Extension;
};

bool SaveSkin(const QDir& repo, const QString& name, const std::vector<TSlotPicture>& pictures) {
    bool ok = true;
    std::printf("%s\n", qPrintable(name));
    for (int slot = 0; slot < int(pictures.size()); ++slot) {
        const double contrast = WorstContrast(pictures[slot].Image, SlotText[slot]);
        std::printf("  slot %d: text contrast %.1f%s\n", slot, contrast,
                    contrast < 4.5 ? "  <-- too weak" : "");
        ok &= Save(
            pictures[slot].Image, repo,
            QString("data/Textures/%1/%2.%3").arg(name).arg(slot).arg(pictures[slot].Extension));
    }
    return ok;
}

// Walnut, maple and green baize: a wooden game board.
std::vector<TSlotPicture> WoodSkin() {
    return {
        {Wood(96, QColor(92, 60, 38), QColor(40, 24, 14), 5, 11), "jpg"},
        {Wood(96, QColor(246, 226, 184), QColor(212, 170, 112), 4, 12), "jpg"},
        {Felt(96, QColor(26, 78, 44), 13), "jpg"},
        {Wood(96, QColor(104, 40, 24), QColor(48, 14, 8), 6, 14), "jpg"},
        {Wood(96, QColor(252, 244, 222), QColor(228, 208, 170), 3, 15), "jpg"},
        {Wood(128, QColor(70, 44, 26), QColor(30, 17, 9), 4, 16), "jpg"},
        {Leather(128, QColor(64, 40, 28), 40, 17), "jpg"},
        {Leather(128, QColor(76, 22, 26), 48, 18), "jpg"},
        {Wood(96, QColor(44, 30, 24), QColor(14, 9, 6), 7, 19), "jpg"},
    };
}

// White and green marble on black granite and slate.
std::vector<TSlotPicture> MarbleSkin() {
    return {
        {Granite(96, QColor(34, 34, 38), QColor(110, 110, 118), QColor(8, 8, 10), 21), "jpg"},
        {Marble(96, QColor(242, 240, 234), QColor(150, 150, 160), 22), "jpg"},
        {Marble(96, QColor(22, 64, 50), QColor(70, 120, 96), 23), "jpg"},
        {Granite(96, QColor(44, 48, 58), QColor(96, 100, 112), QColor(14, 14, 18), 24), "jpg"},
        {Marble(96, QColor(250, 236, 210), QColor(206, 176, 140), 25), "jpg"},
        {Marble(128, QColor(30, 32, 40), QColor(84, 86, 98), 26), "jpg"},
        {Granite(128, QColor(46, 50, 60), QColor(90, 96, 110), QColor(16, 16, 20), 27), "jpg"},
        {Marble(128, QColor(36, 30, 46), QColor(92, 80, 110), 28), "jpg"},
        {Marble(96, QColor(14, 14, 18), QColor(70, 70, 80), 29), "jpg"},
    };
}

// Paper letters on cloth: denim, linen and corduroy; several slots as Windows bitmaps.
std::vector<TSlotPicture> LinenSkin() {
    return {
        {Cloth(64, QColor(34, 48, 96), QColor(70, 80, 120), 4, true, 0.4, 31), "bmp"},
        {Paper(64, QColor(244, 238, 222), 32), "bmp"},
        {Cloth(96, QColor(110, 20, 30), QColor(70, 12, 20), 4, false, 0.4, 33), "jpg"},
        {Cloth(64, QColor(24, 30, 70), QColor(50, 56, 100), 4, false, 0.4, 34), "bmp"},
        {Cloth(64, QColor(246, 238, 214), QColor(226, 214, 186), 4, false, 0.15, 35), "bmp"},
        {Cloth(128, QColor(28, 42, 88), QColor(60, 70, 110), 4, true, 0.4, 36), "jpg"},
        {Felt(128, QColor(24, 62, 68), 37), "jpg"},
        {Corduroy(128, QColor(70, 44, 28), 16, 38), "jpg"},
        {Felt(96, QColor(36, 36, 40), 39), "jpg"},
    };
}

// Single textures for choosing slot by slot.
bool SaveTextures(const QDir& repo) {
    const std::vector<std::pair<const char*, QImage>> textures = {
        {"Maple", Wood(96, QColor(246, 226, 184), QColor(212, 170, 112), 4, 51)},
        {"Walnut", Wood(96, QColor(92, 60, 38), QColor(40, 24, 14), 5, 52)},
        {"Mahogany", Wood(96, QColor(104, 40, 24), QColor(48, 14, 8), 6, 53)},
        {"Green baize", Felt(96, QColor(26, 78, 44), 54)},
        {"White marble", Marble(96, QColor(242, 240, 234), QColor(150, 150, 160), 55)},
        {"Black granite",
         Granite(96, QColor(34, 34, 38), QColor(110, 110, 118), QColor(8, 8, 10), 56)},
        {"Paper", Paper(96, QColor(244, 238, 222), 57)},
        {"Denim", Cloth(96, QColor(34, 48, 96), QColor(70, 80, 120), 4, true, 0.4, 58)},
        {"Red leather", Leather(128, QColor(96, 24, 28), 48, 59)},
    };
    bool ok = true;
    for (const auto& [name, image] : textures)
        ok &= Save(image, repo, QString("data/Textures/%1.jpg").arg(name));
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // image writers are plug-ins found through the application
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_skins <repo folder>\n");
        return 2;
    }
    const QDir repo(QString::fromLocal8Bit(argv[1]));
    bool ok = SaveSkin(repo, "Default skin", WoodSkin());
    ok &= SaveSkin(repo, "Marble", MarbleSkin());
    ok &= SaveSkin(repo, "Linen", LinenSkin());
    ok &= SaveTextures(repo);
    return ok ? 0 : 1;
}
