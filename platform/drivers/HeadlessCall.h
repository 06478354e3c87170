#pragma once

#include <array>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

#include "platform/drivers/HeadlessDriver.h"
#include "platform/foundation/Result.h"

namespace platform {

// The rows of the headless driver's command table and the checked arguments a
// handler gets (HeadlessDriver.cpp holds the table).
namespace headless {

enum class ArgKind {
    Number,  // a finite decimal number
    Count,   // a whole number of at least 1
    Word,    // one word
    Choice,  // one of the words of its name ("portrait|landscape")
    Text,    // the rest of the line, trimmed, "#" included; not empty
    RawText, // the rest of the line as written after one blank; may be empty
};

struct Param {
    std::string_view name; // as the messages and the usage show it; empty: unused
    ArgKind kind = ArgKind::Number;
    bool optional = false;
    double minimum = -std::numeric_limits<double>::infinity();
    double maximum = std::numeric_limits<double>::infinity();
    int fallback = 0;      // a Count's value when it is left out
    std::string_view noun; // a Choice's refusal: "unknown key ..." or "expected a or b"
};

constexpr Param number(std::string_view name) {
    return {name};
}
// A number from `minimum` to `maximum`, which may be left out when `optional`.
constexpr Param number(std::string_view name, double minimum, double maximum,
                       bool optional = false) {
    return {name, ArgKind::Number, optional, minimum, maximum};
}
// An optional whole number from 1 to `maximum`, `fallback` when left out.
constexpr Param count(std::string_view name, int fallback, int maximum) {
    return {name, ArgKind::Count, true, 1, double(maximum), fallback};
}
constexpr Param word(std::string_view name) {
    return {name, ArgKind::Word};
}
// One of the words of `choices` ("a|b|c").
constexpr Param choice(std::string_view choices, std::string_view noun = {}) {
    return {choices, ArgKind::Choice, false, 0, 0, 0, noun};
}
// A word that may be written or left out ("shift").
constexpr Param flag(std::string_view word) {
    return {word, ArgKind::Choice, true};
}
// The rest of the line; only as a command's one argument.
constexpr Param text(std::string_view name) {
    return {name, ArgKind::Text};
}
constexpr Param rawText(std::string_view name) {
    return {name, ArgKind::RawText, true};
}

// What must be there before the handler runs.
enum class Needs {
    Nothing,
    Window, // "there is no window"
    Focus,  // a window whose first responder takes text
};

constexpr std::size_t kMaxParams = 5;

using Handler = Result<HeadlessDriver::Outcome> (*)(const HeadlessDriver::Call&);

struct Command {
    std::string_view name;
    std::array<Param, kMaxParams> params;
    Needs needs;
    Handler handler;

    std::size_t paramCount() const {
        std::size_t n = 0;
        while (n < kMaxParams && !params[n].name.empty())
            ++n;
        return n;
    }
    // "X Y [FINGER]"
    std::string usage() const {
        std::string out;
        for (std::size_t i = 0; i < paramCount(); ++i) {
            const Param& p = params[i];
            if (!out.empty())
                out += ' ';
            out += p.optional ? "[" + std::string(p.name) + "]" : std::string(p.name);
        }
        return out;
    }
};

// The line without blanks (and a line end) around it.
std::string_view trim(std::string_view s);
// A number as a message shows it ("1e+07" is "10000000").
std::string shortNumber(double v);

} // namespace headless

// One command line, its arguments checked against the command's row.
class HeadlessDriver::Call {
public:
    Call(HeadlessDriver& driver, const headless::Command& command, Window* window)
        : driver_(driver), command_(command), window_(window) {}

    // Checks the arguments; a failure carries the whole message.
    Status parse(const std::string& rest);

    std::string_view name() const { return command_.name; }
    bool has(std::size_t i) const { return present_[i]; }
    double number(std::size_t i) const { return numbers_[i]; }
    int count(std::size_t i) const { return int(numbers_[i]); }
    const std::string& word(std::size_t i) const { return words_[i]; }
    const std::string& text() const { return text_; }
    // Set when the row needs a window.
    Window& window() const { return *window_; }
    HeadlessDriver& driver() const { return driver_; }

    // What the input set off at this moment (posted work, timers already due), then the
    // window is drawn again.
    void settle() const { driver_.settleInput(); }
    void render() const { driver_.render(); }
    // "NAME: reason"
    Result<HeadlessDriver::Outcome> fail(const std::string& reason) const {
        return Result<HeadlessDriver::Outcome>::failure(std::string(command_.name) + ": " + reason);
    }

private:
    Status refuse(const std::string& reason) const {
        return Status::failure(std::string(command_.name) + ": " + reason);
    }
    Status parseWord(std::size_t i, const std::string& word);

    HeadlessDriver& driver_;
    const headless::Command& command_;
    Window* window_;
    std::array<bool, headless::kMaxParams> present_{};
    std::array<double, headless::kMaxParams> numbers_{};
    std::array<std::string, headless::kMaxParams> words_{};
    std::string text_;
};

} // namespace platform
