#pragma once
// The main window with the question, records and result windows in a throw-away program
// folder, and a way to answer a modal window from inside its own event loop.

#include "TestFolder.h"
#include "core/MainUnit.h"
#include "settings/AddRatingUnit.h"
#include "settings/WinnersUnit.h"
#include "ui/ChoiceUnit.h"

#include <QApplication>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

class GameWindows : public ::testing::Test {
  protected:
    GameWindows() {
        folder_.LayShippedData();
        main_ = std::make_unique<TMainWindow>();
        new TChoiceWindow(main_.get());
        new TWinnersWindow(main_.get());
        new TAddRatingWindow(main_.get());
        ClearTable(Winners);
    }
    ~GameWindows() override { ClearTable(Winners); }

    TestFolder folder_;
    std::unique_ptr<TMainWindow> main_;
};

// Runs `action` on the modal window of type T as soon as it is open. After 5 s it fails
// the test and closes whatever modal window is open instead, so that the test ends.
template <typename T> void WhenModal(std::function<void(T*)> action) {
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(500);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, action] {
        auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (window == nullptr && --*tries > 0)
            return;
        poll->deleteLater();
        poll->stop();
        if (window != nullptr) {
            action(window);
            return;
        }
        ADD_FAILURE() << "the expected modal window did not open";
        if (QWidget* other = QApplication::activeModalWidget())
            other->close();
    });
    poll->start(10);
}
