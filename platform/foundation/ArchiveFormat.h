#pragma once

#include <string>
#include <string_view>

namespace platform::archive_format {

// The marks that tell a keyed archive from any other JSON file.
inline constexpr std::string_view archiverKey = "archiver";
inline constexpr std::string_view archiverName = "ZorbelKeyedArchive";
inline constexpr std::string_view versionKey = "version";
inline constexpr int version = 1;
inline constexpr std::string_view topKey = "top";
// Keys an object writes may not start with this; "$class" holds its class name.
inline constexpr char reservedPrefix = '$';
inline constexpr std::string_view classKey = "$class";

// A name or a piece of text as it appears in a reason, cut short so that a
// hostile file cannot fill the log.
inline std::string shortened(std::string_view text) {
    constexpr std::size_t maxShown = 48;
    std::string out;
    if (text.size() <= maxShown) {
        out.append(text);
    } else {
        std::size_t cut = maxShown;
        // Never split a UTF-8 sequence.
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
        out.append(text.substr(0, cut));
        out.append("...");
    }
    return out;
}

inline std::string inQuotes(std::string_view text) {
    return '"' + shortened(text) + '"';
}

} // namespace platform::archive_format
