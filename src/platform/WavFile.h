#pragma once
// How long a RIFF WAVE file plays, read from its header.

#include <QByteArray>
#include <chrono>

// Data bytes actually present over the byte rate; zero when the bytes are no readable WAVE
// file, including a header cut short or a byte rate of zero.
std::chrono::milliseconds WavLength(const QByteArray& file);
