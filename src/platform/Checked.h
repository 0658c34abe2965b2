#pragma once
// A fixed array with declared bounds Lo..Hi whose every access is range-checked,
// so a bad index raises instead of corrupting memory.

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

template <typename T, int Lo, int Hi> class CheckedArray {
public:
    static constexpr int Low = Lo;
    static constexpr int High = Hi;

    T& operator[](int i) { return items_[Slot(i)]; }
    const T& operator[](int i) const { return items_[Slot(i)]; }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    static std::size_t Slot(int i) {
        if (i < Lo || i > Hi)
            throw std::out_of_range("index " + std::to_string(i) + " outside " +
                                    std::to_string(Lo) + ".." + std::to_string(Hi));
        return static_cast<std::size_t>(i - Lo);
    }
    std::array<T, Hi - Lo + 1> items_{};
};
