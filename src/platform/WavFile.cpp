#include "platform/WavFile.h"

#include <QtEndian>
#include <optional>

namespace {

quint32 Word(const QByteArray& file, qint64 at) {
    return qFromLittleEndian<quint32>(file.constData() + at);
}

// What the length needs of a WAVE header; a data chunk cut short counts only what is there.
struct TWavFormat {
    qint64 ByteRate = 0;
    qint64 DataBytes = 0;
};

std::optional<TWavFormat> ReadWavFormat(const QByteArray& file) {
    constexpr qint64 ChunkHeader = 8;
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE")
        return std::nullopt;
    TWavFormat format;
    bool haveFmt = false, haveData = false;
    // Chunk sizes come from the file: 64-bit sums keep a huge size from wrapping around.
    for (qint64 at = 12; at + ChunkHeader <= file.size();) {
        const QByteArray id = file.mid(at, 4);
        const qint64 size = Word(file, at + 4);
        const qint64 body = at + ChunkHeader;
        if (id == "fmt " && size >= 16 && body + 16 <= file.size()) {
            format.ByteRate = Word(file, body + 8);
            haveFmt = true;
        } else if (id == "data") {
            format.DataBytes = std::min(size, file.size() - body);
            haveData = true;
        }
        at = body + size + (size & 1); // chunks are padded to an even length
    }
    if (!haveFmt || !haveData || format.ByteRate <= 0)
        return std::nullopt;
    return format;
}

} // namespace

std::chrono::milliseconds WavLength(const QByteArray& file) {
    const auto format = ReadWavFormat(file);
    if (!format)
        return std::chrono::milliseconds(0);
    return std::chrono::milliseconds(format->DataBytes * 1000 / format->ByteRate);
}
