// The settings file as a person or another program may have left it: the reads of the
// settings, and a write of one key, which changes that key's line and no other byte.
// The first byte picks the key, the second gives the length of the value that follows;
// the rest is the file.

#include "FuzzCheck.h"
#include "settings/Settings.h"

#include <QFile>
#include <array>
#include <utility>

namespace {

using TKey = std::pair<QByteArrayView, QByteArrayView>;
// Keys of the settings sections and of a text section, in the case they are written in and
// in another one.
constexpr std::array<TKey, 8> Keys{{{"Kordi", "LanguageNumber"},
                                    {"Kordi", "Strong"},
                                    {"Images", "CPU_Face_r"},
                                    {"Images", "SkinName"},
                                    {"NetPlay", "Name"},
                                    {"netplay", "HOSTNAME"},
                                    {"English", "Title"},
                                    {"Russian", "Menu_NewGame"}}};

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

void CheckSettingsReads(const TSettingsFile& ini) {
    const quint16 language = ini.ReadLanguageNumber();
    FUZZ_CHECK(language == 1 || language == 2);
    const int level = ini.ReadStrengthLevel();
    FUZZ_CHECK(level >= 1 && level <= 6);
    FUZZ_CHECK(ini.ReadFaceTint().isValid());
    FUZZ_CHECK(ini.ReadString("Kordi", "Sound", "").size() <= TIniFile::MaxValueLength);
}

// What a read gives back after `value` was written: the value on one line, at most the
// read buffer long.
QByteArray AsRead(QByteArrayView value) {
    QByteArray line = value.toByteArray();
    line.replace('\r', ' ').replace('\n', ' ');
    return line.left(TIniFile::MaxValueLength);
}

// The bytes that differ lie within one line: nothing outside the key's own line changed,
// however the file ends its lines.
bool OnlyOneLineChanged(const QByteArray& before, const QByteArray& after) {
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const QByteArrayView removed = QByteArrayView(before).sliced(prefix).chopped(suffix);
    return !removed.contains('\n');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const auto& [section, key] = Keys[data[0] % Keys.size()];
    const auto& [otherSection, otherKey] = Keys[(data[0] + 1) % Keys.size()];
    const qsizetype valueSize = std::min<qsizetype>(data[1], qsizetype(size) - 2);
    const QByteArray value = FuzzBytes(data + 2, valueSize);
    const QByteArray before = FuzzBytes(data + 2 + valueSize, size - 2 - valueSize);

    const QString path = FuzzFolder().filePath("Kordi2000.ini");
    WriteFile(path, before);
    TSettingsFile ini(path);
    CheckSettingsReads(ini);
    const QByteArray other = ini.ReadString(otherSection, otherKey, "(none)");

    ini.WriteString(section, key, value);
    const QByteArray after = ReadFile(path);
    FUZZ_CHECK(OnlyOneLineChanged(before, after));
    FUZZ_CHECK(after.size() <= before.size() + section.size() + key.size() + value.size() + 11);
    FUZZ_CHECK(ini.ReadString(section, key, "(none)") == AsRead(value));
    FUZZ_CHECK(ini.ReadString(otherSection, otherKey, "(none)") == other);
    CheckSettingsReads(ini);
    return 0;
}
