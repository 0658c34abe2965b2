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

// Whole pictures decode to their size and colour, by the file's extension in any case.
TEST(PictureDecoder, DecodesJpegAndBmpFiles) {
    TestFolder folder;
    folder.Write("a.JPG", Encoded("JPG"));
    folder.Write("b.bmp", Encoded("BMP"));
    for (const char* name : {"a.JPG", "b.bmp"}) {
        const QImage image = PictureDecoder::LoadPicture(folder.Path(name));
        EXPECT_EQ(image.size(), QSize(40, 30));
        EXPECT_NEAR(image.pixelColor(20, 15).green(), 160, 8) << name;
    }
    EXPECT_THROW(PictureDecoder::LoadPicture(folder.Path("missing.jpg")), IoError);
}

// Damaged data is refused with an error, never half decoded: cut short, pixels cut short, or
// a header that claims a picture too big to allocate, top down too.
TEST(PictureDecoder, RefusesDamagedData) {
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
