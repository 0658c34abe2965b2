#pragma once
// The program's few plain messages (an error, a picture of unknown format, the version
// notice): a message box with one OK button that does not wait for its answer, so the
// program goes on around it. Tests put a recorder in its place.

#include <QString>
#include <functional>

namespace Messages {

using TSink = std::function<void(const QString& text)>;

void Show(const QString& text);
void ShowError(const QString& text);
// Replaces the message box until the next call; an empty sink brings it back.
void SetSink(TSink sink);

} // namespace Messages
