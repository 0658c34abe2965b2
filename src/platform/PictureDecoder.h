#pragma once
// Texture pictures: ".jpg" through libjpeg, ".bmp" through Qt. A picture that does not
// decode in full is an error, never a half-drawn image and never the end of the process.

#include "platform/Errors.h"

#include <QByteArrayView>
#include <QImage>
#include <QString>

// A file whose extension or content is no picture this program reads; the text names it.
class PictureFormatError : public KordiError {
public:
    using KordiError::KordiError;
};

namespace PictureDecoder {

// Bigger pictures are refused before anything is allocated for them.
constexpr int MaxSide = 8192;

// Raises PictureFormatError for data that libjpeg cannot read to its end.
QImage DecodeJpeg(QByteArrayView data);
// Raises PictureFormatError for data that is no Windows bitmap.
QImage DecodeBmp(QByteArrayView data);
// Reads the file and decodes it by its extension (".jpg" or ".bmp", any letter case).
// Raises IoError when the file cannot be read, PictureFormatError when it does not decode.
QImage LoadPicture(const QString& path);

} // namespace PictureDecoder
