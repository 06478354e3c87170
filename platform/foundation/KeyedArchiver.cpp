#include "platform/foundation/KeyedArchiver.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <exception>

#include <nlohmann/json.hpp>

#include "platform/foundation/ArchiveFormat.h"
#include "platform/foundation/ArchiveLimits.h"

namespace platform {

using archive_format::inQuotes;
// Written in the order the keys were encoded, so the file reads like the code.
using Json = nlohmann::ordered_json;

struct KeyedArchiver::Impl {
    Json top = Json::object();
    int depth = 0; // of the object whose keys these are; 0 at the top
    std::string failure;
    std::vector<std::string> problems;

    void fail(std::string reason) {
        if (failure.empty())
            failure = std::move(reason);
    }

    bool acceptsKey(std::string_view key) {
        if (key.empty() || key.front() == archive_format::reservedPrefix) {
            fail("key " + inQuotes(key) + " is reserved");
            return false;
        }
        return true;
    }

    void put(std::string_view key, Json value) {
        if (acceptsKey(key))
            top[std::string(key)] = std::move(value);
    }

    // The object's class and keys; a failure when they cannot all be written.
    Result<Json> encodeObject(const Codable& object) {
        using R = Result<Json>;
        if (depth + 1 > ArchiveLimits::maxObjectDepth)
            return R::failure("objects are nested too deeply");
        std::string name;
        KeyedArchiver child(depth + 1);
        try {
            name = object.className();
            object.encodeWithCoder(child);
        } catch (const std::exception& e) {
            child.failWithReason(std::string("its keys could not be written (") + e.what() + ")");
        } catch (...) {
            child.failWithReason("its keys could not be written");
        }
        if (name.empty() || name.size() > ArchiveLimits::maxStringBytes)
            child.failWithReason("it has no usable class name");
        for (const std::string& p : child.problems())
            problems.push_back(name + ": " + p);
        if (child.failed())
            return R::failure(child.failureReason());
        Json coded = Json::object();
        coded[std::string(archive_format::classKey)] = name;
        for (auto& [k, v] : child.impl_->top.items())
            coded[k] = std::move(v);
        return coded;
    }
};

namespace {

// The float as the double its shortest text reads as, so that 0.1f is stored
// as 0.1 and still reads back as exactly 0.1f.
double shortestDouble(float v) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf - 1, v);
    *res.ptr = '\0';
    return std::strtod(buf, nullptr);
}

} // namespace

KeyedArchiver::KeyedArchiver() : KeyedArchiver(0) {}
KeyedArchiver::KeyedArchiver(int depth) : impl_(std::make_unique<Impl>()) {
    impl_->depth = depth;
}
KeyedArchiver::~KeyedArchiver() = default;
KeyedArchiver::KeyedArchiver(KeyedArchiver&&) noexcept = default;
KeyedArchiver& KeyedArchiver::operator=(KeyedArchiver&&) noexcept = default;

void KeyedArchiver::encodeBool(bool value, std::string_view key) {
    impl_->put(key, value);
}

void KeyedArchiver::encodeInt(int value, std::string_view key) {
    impl_->put(key, std::int64_t(value));
}

void KeyedArchiver::encodeInt64(std::int64_t value, std::string_view key) {
    impl_->put(key, value);
}

void KeyedArchiver::encodeFloat(float value, std::string_view key) {
    if (!std::isfinite(value))
        return impl_->fail(inQuotes(key) + " is not a finite number");
    impl_->put(key, value == 0 ? 0.0 : shortestDouble(value));
}

void KeyedArchiver::encodeDouble(double value, std::string_view key) {
    if (!std::isfinite(value))
        return impl_->fail(inQuotes(key) + " is not a finite number");
    impl_->put(key, value);
}

void KeyedArchiver::encodeString(std::string_view utf8, std::string_view key) {
    if (utf8.size() > ArchiveLimits::maxStringBytes)
        return impl_->fail(inQuotes(key) + " is a string of " + std::to_string(utf8.size()) +
                           " bytes (at most " + std::to_string(ArchiveLimits::maxStringBytes) +
                           ")");
    impl_->put(key, std::string(utf8));
}

void KeyedArchiver::encodeFloats(std::span<const float> values, std::string_view key) {
    if (values.size() > ArchiveLimits::maxFloatCount)
        return impl_->fail(inQuotes(key) + " holds too many numbers");
    Json list = Json::array();
    for (float v : values) {
        if (!std::isfinite(v))
            return impl_->fail(inQuotes(key) + " holds a number that is not finite");
        list.push_back(v == 0 ? 0.0 : shortestDouble(v));
    }
    impl_->put(key, std::move(list));
}

void KeyedArchiver::encodeObject(const Codable& object, std::string_view key) {
    if (!impl_->acceptsKey(key))
        return;
    Result<Json> coded = impl_->encodeObject(object);
    if (!coded)
        return impl_->fail(inQuotes(key) + ": " + coded.error());
    impl_->put(key, std::move(*coded));
}

void KeyedArchiver::encodeObjects(std::span<const Codable* const> objects, std::string_view key) {
    if (!impl_->acceptsKey(key))
        return;
    std::size_t count = 0;
    for (const Codable* object : objects)
        count += object != nullptr;
    if (count > ArchiveLimits::maxListCount)
        return impl_->fail(inQuotes(key) + " holds " + std::to_string(count) +
                           " objects (at most " + std::to_string(ArchiveLimits::maxListCount) +
                           ")");
    Json list = Json::array();
    std::size_t index = 0;
    for (const Codable* object : objects) {
        if (!object)
            continue;
        ++index;
        Result<Json> coded = impl_->encodeObject(*object);
        if (coded) {
            list.push_back(std::move(*coded));
            continue;
        }
        std::string name;
        try {
            name = object->className();
        } catch (...) {
        }
        impl_->problems.push_back("element " + std::to_string(index) + " (" + name + ") of " +
                                  inQuotes(key) + " left out: " + coded.error());
    }
    impl_->put(key, std::move(list));
}

void KeyedArchiver::failWithReason(std::string reason) {
    impl_->fail(std::move(reason));
}

bool KeyedArchiver::failed() const {
    return !impl_->failure.empty();
}

const std::string& KeyedArchiver::failureReason() const {
    return impl_->failure;
}

const std::vector<std::string>& KeyedArchiver::problems() const {
    return impl_->problems;
}

Result<std::string> KeyedArchiver::encodedData() const {
    using R = Result<std::string>;
    if (failed())
        return R::failure(impl_->failure);
    try {
        Json whole = Json::object();
        whole[std::string(archive_format::archiverKey)] = archive_format::archiverName;
        whole[std::string(archive_format::versionKey)] = archive_format::version;
        whole[std::string(archive_format::topKey)] = impl_->top;
        // Text that is not UTF-8 is written with replacement characters
        // rather than refused: it can only have come from a caption.
        std::string text = whole.dump(1, '\t', false, Json::error_handler_t::replace) + "\n";
        if (text.size() > ArchiveLimits::maxArchiveBytes)
            return R::failure("the archive would take " + std::to_string(text.size()) +
                              " bytes (at most " + std::to_string(ArchiveLimits::maxArchiveBytes) +
                              ")");
        return text;
    } catch (const std::exception& e) {
        return R::failure(std::string("the archive could not be made (") + e.what() + ")");
    }
}

Result<std::string>
KeyedArchiver::archivedDataWithRootObjects(std::span<const Codable* const> objects,
                                           std::vector<std::string>* problems) {
    KeyedArchiver archiver;
    archiver.encodeObjects(objects, rootKey);
    if (problems)
        *problems = archiver.problems();
    return archiver.encodedData();
}

} // namespace platform
