// The settings: read once at launch, written once at termination
// (SettingsStore); in between the delegate's properties are the only copy.

#include <cmath>

#include "app/CanvoAppDelegate.h"
#include "app/CanvoViewController.h"
#include "app/SettingsStore.h"
#include "canvas/PaintingView.h"

namespace zorbel {

Settings CanvoAppDelegate::loadSettings(platform::UserDefaults& defaults) {
    const Settings loaded = SettingsStore(defaults).load();

    // The size is read but never written, so every launch starts at the
    // registered size; a stored 0 leaves the canvas's size alone.
    if (loaded.brushSize != 0.0f && !std::isnan(loaded.brushSize))
        setBrushSize(SettingsStore::truncateToInt(loaded.brushSize));

    const long brushIndex = settings_.brushIndex;
    // The canvas set the orientation from the picture it restored; a stored
    // one that disagrees (a run killed between the two writes, a damaged
    // file) must not turn the painting's output away from its own shape.
    const int documentOrientation = settings_.documentOrientation;
    settings_ = loaded;
    settings_.brushIndex = brushIndex;
    settings_.documentOrientation = documentOrientation;
    return loaded;
}

Settings CanvoAppDelegate::settings() const {
    Settings now = settings_;
    now.color = getSelectedColor();
    now.fingerOffset = fingerOffset();
    return now;
}

void CanvoAppDelegate::saveSettings(platform::UserDefaults& defaults) {
    SettingsStore(defaults).save(settings());
}

platform::Color CanvoAppDelegate::getSelectedColor() const {
    if (const PaintingView* canvas = getThePaintingView())
        return canvas->currentColor();
    return platform::Color::black();
}

} // namespace zorbel
