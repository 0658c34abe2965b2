#include "platform/PictureDecoder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <cstdlib>
#include <jpeglib.h>
#include <optional>

namespace PictureDecoder {
namespace {

// libjpeg's default error handler ends the process; this one jumps back to the decoder.
// Warnings (damaged or truncated data that libjpeg would paper over with grey) count as
// errors too.
struct TJpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
};

void FailJpeg(j_common_ptr info) {
    auto* errors = reinterpret_cast<TJpegErrors*>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->escape, 1);
}

void JpegMessage(j_common_ptr info, int level) {
    if (level < 0)
        FailJpeg(info);
}

// Everything that must survive the longjmp lives outside the function that calls setjmp.
struct TJpegJob {
    jpeg_decompress_struct info{};
    TJpegErrors errors{};
    QImage image;
};

// Returns false with errors.message filled when libjpeg gave up.
bool RunJpeg(TJpegJob& job, QByteArrayView data) {
    job.info.err = jpeg_std_error(&job.errors.manager);
    job.errors.manager.error_exit = FailJpeg;
    job.errors.manager.emit_message = JpegMessage;
    if (setjmp(job.errors.escape)) {
        jpeg_destroy_decompress(&job.info);
        return false;
    }
    jpeg_create_decompress(&job.info);
    jpeg_mem_src(&job.info, reinterpret_cast<const unsigned char*>(data.data()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&job.info, TRUE);
    if (job.info.image_width > MaxSide || job.info.image_height > MaxSide) {
        std::snprintf(job.errors.message, sizeof job.errors.message, "picture too large");
        jpeg_destroy_decompress(&job.info);
        return false;
    }
    job.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&job.info);
    job.image = QImage(static_cast<int>(job.info.output_width),
                       static_cast<int>(job.info.output_height), QImage::Format_RGB888);
    while (job.info.output_scanline < job.info.output_height) {
        JSAMPROW row = job.image.scanLine(static_cast<int>(job.info.output_scanline));
        jpeg_read_scanlines(&job.info, &row, 1);
    }
    jpeg_finish_decompress(&job.info);
    jpeg_destroy_decompress(&job.info);
    return true;
}

// What the headers of a Windows bitmap say of its size: the width and height in pixels
// (a bitmap stored top down gives a negative height), and for uncompressed pixels where the
// last of them ends.
struct TBmpLayout {
    qint64 Width = 0;
    qint64 Height = 0;
    std::optional<qint64> PixelEnd;
};

// Nothing for headers this reader does not know; the platform's reader judges those.
std::optional<TBmpLayout> BmpLayout(QByteArrayView data) {
    constexpr int InfoAt = 14; // after the file header
    const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(data.data() + at); };
    const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(data.data() + at); };
    if (data.size() < InfoAt + 12 || !data.startsWith("BM"))
        return std::nullopt;
    TBmpLayout layout;
    int bits = 0;
    quint32 compression = 0;
    const quint32 infoSize = u32(InfoAt);
    if (infoSize == 12) { // the old core header: 16-bit sizes
        layout.Width = u16(InfoAt + 4);
        layout.Height = u16(InfoAt + 6);
        bits = u16(InfoAt + 10);
    } else if (infoSize >= 40 && data.size() >= InfoAt + 40) {
        layout.Width = std::abs(qint64(qint32(u32(InfoAt + 4))));
        layout.Height = std::abs(qint64(qint32(u32(InfoAt + 8))));
        bits = u16(InfoAt + 14);
        compression = u32(InfoAt + 16);
    } else {
        return std::nullopt;
    }
    constexpr quint32 Uncompressed = 0, BitFields = 3;
    if ((compression == Uncompressed || compression == BitFields) && layout.Width <= MaxSide &&
        layout.Height <= MaxSide) {
        const qint64 rowBytes = (layout.Width * bits + 31) / 32 * 4; // rows end on 4 bytes
        layout.PixelEnd = u32(10) + rowBytes * layout.Height;
    }
    return layout;
}

} // namespace

QImage DecodeJpeg(QByteArrayView data) {
    TJpegJob job;
    if (data.isEmpty() || !RunJpeg(job, data) || job.image.isNull())
        throw PictureFormatError(QString("JPEG: ") + job.errors.message);
    return job.image;
}

QImage DecodeBmp(QByteArrayView data) {
    if (const std::optional<TBmpLayout> layout = BmpLayout(data)) {
        if (layout->Width > MaxSide || layout->Height > MaxSide)
            throw PictureFormatError("BMP: picture too large");
        // The platform's reader would fill the missing rows in and call it a picture.
        if (layout->PixelEnd && data.size() < *layout->PixelEnd)
            throw PictureFormatError("BMP: picture cut short");
    }
    QByteArray bytes = data.toByteArray();
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "BMP");
    QImage image = reader.read();
    if (image.isNull())
        throw PictureFormatError("BMP: " + reader.errorString());
    if (image.width() > MaxSide || image.height() > MaxSide)
        throw PictureFormatError("BMP: picture too large");
    return image;
}

QImage LoadPicture(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension != "jpg" && extension != "bmp")
        throw PictureFormatError(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError(path);
    const QByteArray data = file.readAll();
    try {
        return extension == "jpg" ? DecodeJpeg(data) : DecodeBmp(data);
    } catch (const PictureFormatError& error) {
        throw PictureFormatError(path + ": " + error.Text());
    }
}

} // namespace PictureDecoder
