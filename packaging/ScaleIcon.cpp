// Scales the launcher icon to one of the sizes of the desktop's icon theme.
// Usage: scale_icon <source.png> <target.png> <size>

#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: scale_icon <source.png> <target.png> <size>\n");
        return 2;
    }
    const QImage source(QString::fromLocal8Bit(argv[1]));
    const int size = std::atoi(argv[3]);
    if (source.isNull() || size <= 0) {
        std::fprintf(stderr, "scale_icon: cannot read %s, or %s is no size\n", argv[1], argv[3]);
        return 1;
    }
    const QImage scaled =
        source.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!scaled.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "scale_icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
