#pragma once
// The text of the error an action raises, as the player would see it; empty when it raises
// none, so a missing error fails the comparison.

#include "platform/Errors.h"

#include <functional>

template <typename Error = KordiError> QString ErrorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.Text();
    }
    return {};
}
