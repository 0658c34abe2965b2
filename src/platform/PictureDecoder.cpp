#include "platform/PictureDecoder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>

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

} // namespace

QImage DecodeJpeg(QByteArrayView data) {
    TJpegJob job;
    if (data.isEmpty() || !RunJpeg(job, data) || job.image.isNull())
        throw PictureFormatError(QString("JPEG: ") + job.errors.message);
    return job.image;
}

QImage DecodeBmp(QByteArrayView data) {
    QByteArray bytes = data.toByteArray();
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "BMP");
    const QSize size = reader.size();
    if (size.width() > MaxSide || size.height() > MaxSide)
        throw PictureFormatError("BMP: picture too large");
    QImage image = reader.read();
    if (image.isNull())
        throw PictureFormatError("BMP: " + reader.errorString());
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
