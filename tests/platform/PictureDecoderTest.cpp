#include "platform/PictureDecoder.h"
#include "TestFolder.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

QByteArray Encoded(const char* format) {
    QImage image(QSize(40, 30), QImage::Format_RGB32);
    image.fill(QColor(30, 160, 90));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 95);
    return data;
}

} // namespace

// Damaged data is refused with an error, never half decoded: cut short, pixels cut short, or
// a header that claims a picture too big to allocate, top down too; a missing file as well.
// (Whole pictures of both kinds decode in the skin loading tests.)
TEST(PictureDecoder, RefusesDamagedData) {
    const TestFolder folder;
    EXPECT_THROW(PictureDecoder::LoadPicture(folder.Path("missing.jpg")), IoError);
    QByteArray jpeg = Encoded("JPG");
    EXPECT_THROW(PictureDecoder::DecodeJpeg(jpeg.left(jpeg.size() * 2 / 3)), PictureFormatError);
    EXPECT_THROW(PictureDecoder::DecodeBmp(Encoded("BMP").chopped(4 * 40)), PictureFormatError);
    const qsizetype frame = jpeg.indexOf("\xff\xc0");
    ASSERT_GT(frame, 0);
    jpeg.replace(frame + 5, 4, "\xea\x60\xea\x60"); // 60000 by 60000
    EXPECT_THROW(PictureDecoder::DecodeJpeg(jpeg), PictureFormatError);
    // Four by 458,749, stored top down, with the pixels of three rows.
    const QByteArray tall = QByteArray::fromBase64(
        "Qk1aAAAAAAAAADMAAAAoAAAABAAAAAMA+f8BABgAAAAAAAsAABMLAAAAAAAAAAAAAB6gWgAAWg==");
    EXPECT_THROW(PictureDecoder::DecodeBmp(tall), PictureFormatError);
}
