#include "platform/drivers/HeadlessCall.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace platform {

namespace headless {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() &&
           (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

std::string shortNumber(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", v);
    return text;
}

} // namespace headless

namespace {

// Words up to a "#" that starts a word.
std::vector<std::string> words(std::string_view s) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r'))
            ++i;
        if (i >= s.size() || s[i] == '#')
            break;
        std::size_t j = i;
        while (j < s.size() && s[j] != ' ' && s[j] != '\t' && s[j] != '\r')
            ++j;
        out.emplace_back(s.substr(i, j - i));
        i = j;
    }
    return out;
}

std::optional<double> parseNumber(const std::string& word) {
    double v = 0;
    const char* end = word.data() + word.size();
    auto [ptr, ec] = std::from_chars(word.data(), end, v);
    if (ec != std::errc() || ptr != end || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<int> parseInt(const std::string& word) {
    int v = 0;
    const char* end = word.data() + word.size();
    auto [ptr, ec] = std::from_chars(word.data(), end, v);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return v;
}

} // namespace

using namespace headless;

Status HeadlessDriver::Call::parse(const std::string& rest) {
    const std::size_t n = command_.paramCount();
    if (n == 1 && command_.params[0].kind == ArgKind::RawText) {
        // The rest of the line as written, after the one separating blank.
        text_ = rest;
        if (!text_.empty() && (text_.front() == ' ' || text_.front() == '\t'))
            text_.erase(0, 1);
        while (!text_.empty() && (text_.back() == '\r' || text_.back() == '\n'))
            text_.pop_back();
        present_[0] = true;
        return success();
    }
    if (n == 1 && command_.params[0].kind == ArgKind::Text) {
        text_ = std::string(trim(rest));
        if (text_.empty())
            return refuse(std::string(command_.params[0].name) + " is missing");
        present_[0] = true;
        return success();
    }
    const std::vector<std::string> w = words(rest);
    if (w.size() > n)
        return refuse(n == 0 ? "takes no arguments"
                             : "too many arguments (" + command_.usage() + ")");
    for (std::size_t i = 0; i < n; ++i) {
        const Param& p = command_.params[i];
        if (i >= w.size()) {
            if (!p.optional)
                return refuse(std::string(p.name) + " is missing");
            numbers_[i] = p.fallback;
            continue;
        }
        if (auto parsed = parseWord(i, w[i]); !parsed)
            return parsed;
        present_[i] = true;
    }
    return success();
}

Status HeadlessDriver::Call::parseWord(std::size_t i, const std::string& word) {
    const Param& p = command_.params[i];
    const std::string quoted = std::string(p.name) + " \"" + word + "\"";
    switch (p.kind) {
    case ArgKind::Number: {
        auto v = parseNumber(word);
        if (!v)
            return refuse(quoted + " is not a number");
        if (*v < p.minimum)
            return refuse(std::string(p.name) +
                          (p.minimum == 0 ? " must not be negative"
                                          : " must be at least " + shortNumber(p.minimum)));
        if (*v > p.maximum)
            return refuse(quoted + " must be at most " + shortNumber(p.maximum));
        numbers_[i] = *v;
        return success();
    }
    case ArgKind::Count: {
        auto v = parseInt(word);
        if (!v || *v < p.minimum)
            return refuse(quoted + " must be a whole number of at least " + shortNumber(p.minimum));
        if (*v > p.maximum)
            return refuse(quoted + " must be at most " + shortNumber(p.maximum));
        numbers_[i] = *v;
        return success();
    }
    case ArgKind::Choice: {
        std::vector<std::string_view> choices;
        for (std::size_t from = 0; from <= p.name.size();) {
            const std::size_t bar = std::min(p.name.find('|', from), p.name.size());
            choices.push_back(p.name.substr(from, bar - from));
            from = bar + 1;
        }
        if (std::find(choices.begin(), choices.end(), word) != choices.end()) {
            words_[i] = word;
            return success();
        }
        std::string list;
        for (std::size_t k = 0; k < choices.size(); ++k) {
            if (k > 0)
                list += p.noun.empty() ? (k + 1 == choices.size() ? " or " : ", ") : ", ";
            list += choices[k];
        }
        if (p.noun.empty())
            return refuse("expected " + list);
        return refuse("unknown " + std::string(p.noun) + " \"" + word + "\" (" + list + ")");
    }
    case ArgKind::Word:
    case ArgKind::Text:
    case ArgKind::RawText:
        words_[i] = word;
        return success();
    }
    return success();
}

} // namespace platform
