#pragma once
// The header of a RIFF WAVE file: its sample format and how long it plays.

#include <QByteArray>
#include <chrono>
#include <optional>

struct TWavFormat {
    int AudioFormat = 0; // 1 is integer PCM
    int Channels = 0;
    int SampleRate = 0;
    int ByteRate = 0;
    int BitsPerSample = 0;
    // Sample bytes actually present: a data chunk cut short counts only what is there.
    qint64 DataBytes = 0;
};

// The format of the WAVE file whose bytes are given; empty for anything else, including a
// header cut short or a byte rate of zero.
std::optional<TWavFormat> ReadWavFormat(const QByteArray& file);

// Data bytes over byte rate; zero when the bytes are no readable WAVE file.
std::chrono::milliseconds WavLength(const QByteArray& file);
