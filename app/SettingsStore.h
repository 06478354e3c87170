#pragma once

#include "app/Settings.h"

namespace platform {
class UserDefaults;
} // namespace platform

namespace zorbel {

// The settings in the user defaults: every key registered with its default,
// read once at launch and written once at termination (nothing is written
// while the application runs).
class SettingsStore {
public:
    // Not owned; it must outlive the store.
    explicit SettingsStore(platform::UserDefaults& defaults) : defaults_(defaults) {}

    // Registers all 57 keys with the values of Settings{}: floats as float
    // numbers, ints as int numbers, flags as boolean numbers.
    void registerDefaults();
    // Registers, then reads every key. Values are taken as they are stored,
    // list indices included (the lists check them, see validateIndex), except
    // a "DocumentOrientation" other than 1 or 3, which is logged and read as 1.
    Settings load();
    // Writes every key but "BrushSize", which is never written. A palette
    // shorter than twelve colours leaves the missing ones as they are stored.
    void save(const Settings& settings);

    // An index outside 0..count-1 becomes count-1, and 0 if that is negative.
    static long validateIndex(long index, long count);
    // Red, green, blue, alpha of a colour; a grey gives its grey three times.
    static void UIColorToRGB(const platform::Color& color, float rgba[4]);
    // A stored number as an int, truncated toward zero; a damaged file's
    // numbers beyond the range of int stop at its ends, NaN reads as 0.
    static int truncateToInt(double value);

private:
    platform::UserDefaults& defaults_;
};

} // namespace zorbel
