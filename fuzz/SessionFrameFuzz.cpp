// A peer's byte stream: the frame reader, whatever way the stream is cut into reads, the
// datagram decoder and the handshake payloads inside the frames. The first byte sets the
// size of the reads; the rest is the stream.

#include "FuzzCheck.h"
#include "net/SessionFraming.h"

using namespace SessionFraming;

namespace {

// The frames of the stream up to its end or the first broken frame, and whether it broke.
struct TCut {
    QList<TFrame> Frames;
    bool Broken = false;
};

TCut Cut(QByteArrayView stream, qsizetype readSize) {
    TFrameReader reader;
    TCut cut;
    for (qsizetype at = 0; at < stream.size() && !cut.Broken; at += readSize) {
        reader.Append(stream.sliced(at, std::min(readSize, stream.size() - at)));
        TFrame frame;
        TFrameReader::TResult result;
        while ((result = reader.Next(frame)) == TFrameReader::TResult::Frame)
            cut.Frames.append(frame);
        cut.Broken = result == TFrameReader::TResult::Broken;
    }
    return cut;
}

// A payload that decodes is exactly what encoding its contents gives.
void CheckPayload(const QByteArray& payload) {
    if (const auto hello = DecodeHello(payload))
        FUZZ_CHECK(EncodeHello(*hello) == payload);
    if (const auto welcome = DecodeWelcome(payload))
        FUZZ_CHECK(EncodeWelcome(*welcome) == payload);
    if (const auto names = DecodeSessionList(payload))
        FUZZ_CHECK(EncodeSessionList(*names) == payload);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const QByteArray stream = FuzzBytes(data + 1, size - 1);
    const TCut whole = Cut(stream, std::max<qsizetype>(stream.size(), 1));
    const TCut pieces = Cut(stream, 1 + data[0] % 16);
    FUZZ_CHECK(pieces.Broken == whole.Broken);
    FUZZ_CHECK(pieces.Frames.size() == whole.Frames.size());

    QByteArray encoded;
    for (int i = 0; i < whole.Frames.size(); ++i) {
        const TFrame& frame = whole.Frames[i];
        FUZZ_CHECK(frame.Type == pieces.Frames[i].Type &&
                   frame.Payload == pieces.Frames[i].Payload);
        FUZZ_CHECK(frame.Payload.size() <= MaxPayload);
        encoded += EncodeFrame(frame.Type, frame.Payload);
        CheckPayload(frame.Payload);
    }
    FUZZ_CHECK(stream.startsWith(encoded));

    if (const std::optional<TFrame> datagram = DecodeDatagram(stream))
        FUZZ_CHECK(EncodeFrame(datagram->Type, datagram->Payload) == stream);
    return 0;
}
