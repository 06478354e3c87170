#include "platform/ui/KeyChord.h"

#include <algorithm>
#include <cctype>

#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

namespace platform {

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

std::optional<Key> editingKey(const std::string& key) {
    if (key == "return")
        return Key::Return;
    if (key == "backspace")
        return Key::Backspace;
    if (key == "escape")
        return Key::Escape;
    if (key == "left")
        return Key::Left;
    if (key == "right")
        return Key::Right;
    if (key == "up")
        return Key::Up;
    if (key == "down")
        return Key::Down;
    return std::nullopt;
}

} // namespace

std::optional<KeyChord> KeyChord::parse(std::string_view text) {
    KeyChord chord;
    // The key is what follows the last "+" separator; "+" alone, or a chord
    // ending in "++", names the plus key itself.
    std::string_view key;
    if (text == "+") {
        key = text;
        text = {};
    } else if (text.size() >= 2 && text.ends_with("++")) {
        key = "+";
        text.remove_suffix(1);
    } else if (const auto last = text.rfind('+'); last == std::string_view::npos) {
        key = text;
        text = {};
    } else {
        key = text.substr(last + 1);
        text = text.substr(0, last + 1);
    }
    if (key.empty())
        return std::nullopt;
    // What is left is "modifier+" repeated.
    while (!text.empty()) {
        const auto plus = text.find('+');
        const std::string modifier = lower(text.substr(0, plus));
        if (modifier == "ctrl" || modifier == "control")
            chord.ctrl = true;
        else if (modifier == "shift")
            chord.shift = true;
        else if (modifier == "alt")
            chord.alt = true;
        else
            return std::nullopt;
        text.remove_prefix(plus + 1);
    }
    chord.key = lower(key);
    return chord;
}

std::string KeyChord::name() const {
    std::string out;
    if (ctrl)
        out += "ctrl+";
    if (shift)
        out += "shift+";
    if (alt)
        out += "alt+";
    return out + key;
}

bool KeyChord::isFunctionKey() const {
    if (key.size() < 2 || key.size() > 3 || key[0] != 'f')
        return false;
    const int n = std::atoi(key.c_str() + 1);
    return n >= 1 && n <= 12 && std::isdigit(static_cast<unsigned char>(key[1]));
}

bool deliverKeyChord(Window* window, const KeyChord& chord) {
    const std::optional<Key> editing = editingKey(chord.key);
    const bool focused = window && window->firstResponder();
    if (focused && chord.isPlain() && !chord.isFunctionKey()) {
        if (!editing)
            return false;
        window->key(*editing);
        return true;
    }
    if (ApplicationDelegate* delegate = Application::shared().delegate())
        if (delegate->performKeyCommand(chord))
            return true;
    if (focused && editing && chord.isPlain()) {
        window->key(*editing);
        return true;
    }
    return false;
}

} // namespace platform
