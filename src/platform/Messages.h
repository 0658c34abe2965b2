#pragma once
// The program's few plain messages (a picture of unknown format, the version notice): a
// message box with one OK button. Tests put a recorder in its place so nothing blocks.

#include <QString>
#include <functional>

namespace Messages {

using TSink = std::function<void(const QString& text)>;

void Show(const QString& text);
// Replaces the message box until the next call; an empty sink brings it back.
void SetSink(TSink sink);

} // namespace Messages
