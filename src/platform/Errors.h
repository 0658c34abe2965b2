#pragma once
// Failures travel as exceptions whose text is what the player sees (a path, or a message).

#include <QString>
#include <stdexcept>

class KordiError : public std::runtime_error {
public:
    explicit KordiError(const QString& text) : std::runtime_error(text.toStdString()) {}
    QString Text() const { return QString::fromUtf8(what()); }
};

// A file that cannot be opened, read or written; the text names the file.
class IoError : public KordiError {
public:
    using KordiError::KordiError;
};

// The player cancelled a step in a dialog of its own; the step ends without a message.
class Cancelled : public std::exception {
public:
    const char* what() const noexcept override { return "Cancelled"; }
};
