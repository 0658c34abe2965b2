#pragma once
// Files beside the program that two copies of the game on one machine may change at the same
// time: the dictionaries and the records. A change takes a lock beside the file, reads the
// file afresh, and replaces it as a whole, so neither copy's change is lost and a change cut
// short leaves the old file.

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace SharedFile {

// The whole file; raises IoError naming it when it cannot be opened or read.
QByteArray Read(const QString& path);

// Writes `bytes` in place of the file as a whole, without the lock; a write cut short leaves
// the old file. Raises IoError naming the file when it cannot be written.
void Replace(const QString& path, const QByteArray& bytes);

// Under the lock "<path>.lock", hands `change` the file as it is now (nothing when there is
// no file) and writes what it returns in place of the file. Raises IoError naming the file
// when the other copy keeps the lock, or the file cannot be read or written; whatever
// `change` raises passes through, the file untouched.
void Change(const QString& path,
            const std::function<QByteArray(const std::optional<QByteArray>& current)>& change);

} // namespace SharedFile
