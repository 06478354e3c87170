#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Codable.h"
#include "platform/foundation/Result.h"

namespace platform {

class CodableRegistry;

// Reads an archive written by KeyedArchiver, building objects only through
// the factories of a CodableRegistry.
//
// The whole archive is refused (unarchiverForReadingData fails with the
// reason) when it is larger than ArchiveLimits::maxArchiveBytes, nested or
// crowded past the JSON limits, not JSON, not a keyed archive, or written in a
// newer format.
//
// Each decode operation checks the key's value: a missing key, a value of
// another kind, a number that is not finite (or does not fit the type asked
// for), a string longer than ArchiveLimits::maxStringBytes, objects nested
// deeper than ArchiveLimits::maxObjectDepth. Such a decode returns a neutral
// value (false, 0, "", an empty list, null) and marks the unarchiver failed,
// keeping the first reason. The object whose keys are being read is then
// refused as a whole, whatever its factory returns.
//
// Lists of objects (decodeObjects), e.g. the layer stack: the elements that
// decode are returned in their order; an element that does not (not an
// object, a class that is not registered, a bad key, a refusing factory) is
// left out and its reason added to problems(), as "element 3 (TouchImageView):
// missing key \"Center\"". Leaving out only the bad elements keeps every good
// layer; the caller learns from problems() that the file was not read whole
// and sets it aside (ArchiveFile does), so nothing is lost. A list of more than
// ArchiveLimits::maxListCount elements is absurd rather than damaged: it is
// refused whole (empty result, unarchiver failed).
//
// Nothing here throws: factories that throw are caught and their element
// refused.
class KeyedUnarchiver {
public:
    // An unarchiver over the archive's top keys; the registry must outlive it.
    [[nodiscard]] static Result<KeyedUnarchiver>
    unarchiverForReadingData(std::string_view text, const CodableRegistry& registry);

    ~KeyedUnarchiver();
    KeyedUnarchiver(KeyedUnarchiver&&) noexcept;
    KeyedUnarchiver& operator=(KeyedUnarchiver&&) noexcept;

    bool containsValueForKey(std::string_view key) const;

    [[nodiscard]] bool decodeBool(std::string_view key);
    [[nodiscard]] int decodeInt(std::string_view key);            // an integer in int's range
    [[nodiscard]] std::int64_t decodeInt64(std::string_view key); // an integer
    [[nodiscard]] float decodeFloat(std::string_view key);        // finite as a float
    [[nodiscard]] double decodeDouble(std::string_view key);      // finite
    [[nodiscard]] std::string decodeString(std::string_view key);
    // A list of at most ArchiveLimits::maxFloatCount numbers, each finite as a
    // float; callers check the count they expect.
    [[nodiscard]] std::vector<float> decodeFloats(std::string_view key);
    // The object under key, built by its registered factory; null when refused.
    [[nodiscard]] std::shared_ptr<Codable> decodeObject(std::string_view key);
    // The list's objects in order, bad elements left out (see above).
    [[nodiscard]] std::vector<std::shared_ptr<Codable>> decodeObjects(std::string_view key);

    // For factories and composite decoders (geometry) that find a value they
    // cannot accept; the first reason is kept.
    void failWithReason(std::string reason);
    bool failed() const;
    const std::string& failureReason() const; // "" unless failed
    // Elements left out of lists so far (also those of nested objects' lists).
    const std::vector<std::string>& problems() const;

private:
    struct Impl;
    explicit KeyedUnarchiver(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

} // namespace platform
