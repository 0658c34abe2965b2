#include "platform/SharedFile.h"

#include "platform/Errors.h"

#include <QFile>
#include <QLockFile>
#include <QSaveFile>

namespace SharedFile {
namespace {

// The other copy holds the lock only while it rewrites one small file.
constexpr int LockWaitMs = 10000;

} // namespace

void Replace(const QString& path, const QByteArray& bytes) {
    // commit() alone reports success even when its own flush failed (a full disk), so the
    // flush is checked first; an uncommitted file is dropped and the old one stays.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() ||
        !file.commit())
        throw IoError(QString("Cannot write to file \"%1\": %2").arg(path, file.errorString()));
}

QByteArray Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError(QString("Cannot open file \"%1\": %2").arg(path, file.errorString()));
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw IoError(QString("Cannot read file \"%1\": %2").arg(path, file.errorString()));
    return content;
}

void Change(const QString& path,
            const std::function<QByteArray(const std::optional<QByteArray>& current)>& change) {
    QLockFile lock(path + ".lock");
    if (!lock.tryLock(LockWaitMs)) {
        const QString reason = lock.error() == QLockFile::LockFailedError
                                   ? "another copy of the game keeps it locked"
                                   : "its lock cannot be made";
        throw IoError(QString("Cannot write to file \"%1\": %2 (\"%1.lock\")").arg(path, reason));
    }
    const std::optional<QByteArray> current =
        QFile::exists(path) ? std::optional(Read(path)) : std::nullopt;
    Replace(path, change(current));
}

} // namespace SharedFile
