#pragma once
// What the fuzz targets share: a property check that stops the run on the first input that
// breaks it, and the fuzzer's bytes as the program's own byte strings.

#include <QByteArray>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// libFuzzer keeps the input that made the process abort, so a broken property is a finding
// like a crash.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

inline QByteArray FuzzBytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// One folder for the files a target reads and writes, removed when the run ends.
inline const QTemporaryDir& FuzzFolder() {
    static const QTemporaryDir folder;
    if (!folder.isValid())
        std::abort();
    return folder;
}
