#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Codable.h"
#include "platform/foundation/Result.h"

namespace platform {

// Writes values and objects by key into a keyed archive, stored as JSON text:
//
//   {"archiver": "ZorbelKeyedArchive", "version": 1,
//    "top": {"root": [{"$class": "TouchImageView", "Center": [160, 230], ...}, ...]}}
//
// "top" holds this archiver's keys. A value's JSON kind says what it is: a
// boolean, a number (float, double or integer), a string, a list of numbers
// (encodeFloats: rectangles, points, colours), an object with its class name
// under "$class" (encodeObject), or a list of such objects (encodeObjects,
// kept in order). Geometry values (Rect, Point, Color, AffineTransform) are
// written with the functions of platform/graphics/GeometryCoding.h.
//
// Values the reader would refuse are not written: a non-finite number, a
// string longer than ArchiveLimits::maxStringBytes, too many floats, a list of
// more than ArchiveLimits::maxListCount objects, objects nested too deeply.
// Such a value marks the archiver failed (the first reason is kept). An object
// in a list whose own keys fail is left out of the list, with its reason added
// to problems(); the rest of the list is written.
//
// Encoding the same key twice keeps the last value. Nothing here throws.
class KeyedArchiver {
public:
    // The key under which the archive file keeps its list of objects.
    static constexpr std::string_view rootKey = "root";

    KeyedArchiver();
    ~KeyedArchiver();
    KeyedArchiver(KeyedArchiver&&) noexcept;
    KeyedArchiver& operator=(KeyedArchiver&&) noexcept;

    void encodeBool(bool value, std::string_view key);
    void encodeInt(int value, std::string_view key);
    void encodeInt64(std::int64_t value, std::string_view key);
    // Written as the shortest decimal text that reads back as the same float.
    void encodeFloat(float value, std::string_view key);
    void encodeDouble(double value, std::string_view key);
    void encodeString(std::string_view utf8, std::string_view key);
    // A short list of floats (at most ArchiveLimits::maxFloatCount).
    void encodeFloats(std::span<const float> values, std::string_view key);
    // The object's class name and its own keys (its encodeWithCoder).
    void encodeObject(const Codable& object, std::string_view key);
    // The objects in order; null pointers are skipped.
    void encodeObjects(std::span<const Codable* const> objects, std::string_view key);

    // Marks the archiver failed; the first reason is kept. For encoders of
    // composite values (geometry) that find a value they must not write.
    void failWithReason(std::string reason);
    bool failed() const;
    const std::string& failureReason() const; // "" unless failed
    // One line per object left out of a list, in order.
    const std::vector<std::string>& problems() const;

    // The archive text with this archiver's keys at its top; a failure when
    // the archiver failed or the text would exceed ArchiveLimits::maxArchiveBytes.
    [[nodiscard]] Result<std::string> encodedData() const;
    // The archive of one list of objects under rootKey (archiveRootObject:).
    // Objects left out are listed in `problems` when it is given.
    [[nodiscard]] static Result<std::string>
    archivedDataWithRootObjects(std::span<const Codable* const> objects,
                                std::vector<std::string>* problems = nullptr);

private:
    struct Impl;
    explicit KeyedArchiver(int depth);
    std::unique_ptr<Impl> impl_;
};

} // namespace platform
