#pragma once
// The program's few plain messages (an error, a picture of unknown format, the version
// notice). The app hands its messages to the parts that show them; tests hand a recorder.

#include <QString>
#include <functional>

class IMessages {
public:
    virtual ~IMessages() = default;

    virtual void Show(const QString& text) = 0;
    virtual void ShowError(const QString& text) = 0;
    // Runs `action` and shows any error it raises (a cancelled step ends quietly).
    void Guard(const std::function<void()>& action);
};

// A message box with one OK button that does not wait for its answer, so the program goes on
// around it.
class TMessageBoxes final : public IMessages {
public:
    void Show(const QString& text) override;
    void ShowError(const QString& text) override;
    // The error, then `closed` once the player has closed its box.
    void ShowErrorThen(const QString& text, const std::function<void()>& closed);
};
