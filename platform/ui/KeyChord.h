#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

class Window;

// One key press with its modifiers, named as people write shortcuts:
// "ctrl+shift+z", "f1", "escape", "return", "backspace", "b", "?". Key names
// are lower case; the modifiers come first, in the order ctrl, shift, alt.
struct KeyChord {
    std::string key;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;

    // "ctrl+z", "Ctrl+Shift+Z", "f1": empty when there is no key or an
    // unknown modifier.
    static std::optional<KeyChord> parse(std::string_view text);
    // The canonical name ("ctrl+shift+z").
    std::string name() const;
    // No Ctrl and no Alt: a key a focused text field may want.
    bool isPlain() const { return !ctrl && !alt; }
    // F1 to F12: never typed into a field.
    bool isFunctionKey() const;
    bool operator==(const KeyChord&) const = default;
};

// Delivers a key press the way both drivers do. A view with the focus (a text
// field, the slider of an open panel) keeps the plain keys: the editing keys
// (Return, Backspace, Escape, arrows) go to it and nothing else sees them.
// Every other chord is offered first to the application delegate's
// performKeyCommand; the editing keys it does not take go to the focused view
// as usual. True when something took the key.
bool deliverKeyChord(Window* window, const KeyChord& chord);

} // namespace platform
