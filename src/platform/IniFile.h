#pragma once
// A private-profile INI file read and written key by key, as the platform's
// GetPrivateProfileStringA / WritePrivateProfileStringA do: sections and keys match
// without regard to case, the first match wins, and anything missing yields the
// caller's default. Values are single-byte text and are never decoded here.

#include <QByteArray>
#include <QString>
#include <optional>

class TIniFile {
public:
    // The read buffer of the platform holds 2,048 bytes with the terminator.
    static constexpr qsizetype MaxValueLength = 2047;

    explicit TIniFile(QString fileName);
    virtual ~TIniFile() = default;

    const QString& FileName() const { return fileName_; }

    // Every read looks at the file as it is on disk now.
    QByteArray ReadString(QByteArrayView section, QByteArrayView key,
                          QByteArrayView defaultValue) const;
    // The value of the key, none when the key, its section or the file is missing.
    std::optional<QByteArray> Find(QByteArrayView section, QByteArrayView key) const;
    // The default also stands in for a value that is not a decimal integer.
    int ReadInteger(QByteArrayView section, QByteArrayView key, int defaultValue) const;

    // Changes only the key's own line, adding the key or its section when missing; the file
    // is replaced as a whole, so a failed write leaves the old one intact. Raises IoError
    // "Unable to write to <path>" on failure.
    void WriteString(QByteArrayView section, QByteArrayView key, QByteArrayView value);
    void WriteInteger(QByteArrayView section, QByteArrayView key, int value);

private:
    QString fileName_;
};
