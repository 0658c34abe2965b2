// A texture or skin picture as any file in the textures folder may hold it: the bytes decode,
// as JPEG and as a Windows bitmap, into a whole picture within the size limit, or are refused
// with PictureFormatError; nothing else happens.

#include "FuzzCheck.h"
#include "platform/PictureDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = FuzzBytes(data, size);
    for (const auto decode : {&PictureDecoder::DecodeJpeg, &PictureDecoder::DecodeBmp}) {
        try {
            const QImage image = decode(bytes);
            FUZZ_CHECK(!image.isNull());
            FUZZ_CHECK(image.width() <= PictureDecoder::MaxSide &&
                       image.height() <= PictureDecoder::MaxSide);
        } catch (const PictureFormatError&) {
        }
    }
    return 0;
}
