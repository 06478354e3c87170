#include "platform/foundation/KeyedUnarchiver.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <exception>
#include <optional>

#include <nlohmann/json.hpp>

#include "platform/foundation/ArchiveFormat.h"
#include "platform/foundation/ArchiveLimits.h"
#include "platform/foundation/CodableRegistry.h"

namespace platform {

using archive_format::inQuotes;
using Json = nlohmann::json;

namespace {

// Walks the text once before it is parsed, so that a file of nothing but
// brackets or commas is turned away before it costs a deep recursion or
// millions of nodes.
Status checkJsonShape(std::string_view text) {
    int depth = 0;
    std::size_t values = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (inString) {
            if (ch == '\\')
                ++i;
            else if (ch == '"')
                inString = false;
            continue;
        }
        switch (ch) {
        case '"':
            inString = true;
            break;
        case '{':
        case '[':
            if (++depth > ArchiveLimits::maxJsonDepth)
                return Status::failure("nested too deeply");
            ++values;
            break;
        case '}':
        case ']':
            --depth;
            break;
        case ',':
            ++values;
            break;
        default:
            break;
        }
        if (values > ArchiveLimits::maxJsonValues)
            return Status::failure("holds too many values");
    }
    return success();
}

} // namespace

struct KeyedUnarchiver::Impl {
    // The parsed archive, shared by the unarchivers of nested objects.
    std::shared_ptr<const Json> document;
    const Json* node = nullptr; // the object whose keys are read
    const CodableRegistry* registry = nullptr;
    int depth = 0;
    std::string failure;
    std::vector<std::string> problems;

    void fail(std::string reason) {
        if (failure.empty())
            failure = std::move(reason);
    }

    const Json* find(std::string_view key) const {
        if (key.empty() || key.front() == archive_format::reservedPrefix)
            return nullptr;
        const auto it = node->find(key);
        return it == node->end() ? nullptr : &*it;
    }

    const Json* require(std::string_view key) {
        const Json* value = find(key);
        if (!value)
            fail("missing key " + inQuotes(key));
        return value;
    }

    // The number as a float, when it is one that rounds to a finite float.
    static std::optional<float> asFloat(const Json& v) {
        if (!v.is_number())
            return std::nullopt;
        const double d = v.get<double>();
        if (std::fabs(d) <= double(FLT_MAX))
            return float(d);
        // The shortest text of FLT_MAX reads as a double just above it; it
        // still rounds to FLT_MAX. Beyond half a step it would be infinite.
        constexpr double roundsToMax = double(FLT_MAX) + 0x1p103;
        if (std::fabs(d) < roundsToMax)
            return d < 0 ? -FLT_MAX : FLT_MAX;
        return std::nullopt;
    }

    // One coded object, built by its class's factory.
    Result<std::shared_ptr<Codable>> decodeElement(const Json& element, std::string& className) {
        using R = Result<std::shared_ptr<Codable>>;
        if (!element.is_object())
            return R::failure("not an object");
        const auto it = element.find(archive_format::classKey);
        if (it == element.end() || !it->is_string())
            return R::failure("no class name");
        className = it->get<std::string>();
        if (depth + 1 > ArchiveLimits::maxObjectDepth)
            return R::failure("objects are nested too deeply");
        if (!registry->isRegistered(className))
            return R::failure("class " + inQuotes(className) + " is not registered");
        auto impl = std::make_unique<Impl>();
        impl->document = document;
        impl->node = &element;
        impl->registry = registry;
        impl->depth = depth + 1;
        KeyedUnarchiver child(std::move(impl));
        R made = registry->makeObject(className, child);
        for (const std::string& p : child.problems())
            problems.push_back(inQuotes(className) + ": " + p);
        return made;
    }
};

KeyedUnarchiver::KeyedUnarchiver(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
KeyedUnarchiver::~KeyedUnarchiver() = default;
KeyedUnarchiver::KeyedUnarchiver(KeyedUnarchiver&&) noexcept = default;
KeyedUnarchiver& KeyedUnarchiver::operator=(KeyedUnarchiver&&) noexcept = default;

Result<KeyedUnarchiver> KeyedUnarchiver::unarchiverForReadingData(std::string_view text,
                                                                  const CodableRegistry& registry) {
    using R = Result<KeyedUnarchiver>;
    if (text.size() > ArchiveLimits::maxArchiveBytes)
        return R::failure("larger than " + std::to_string(ArchiveLimits::maxArchiveBytes >> 20) +
                          " MB (" + std::to_string(text.size()) + " bytes)");
    if (Status shape = checkJsonShape(text); !shape)
        return R::failure(shape.error());
    auto document = std::make_shared<Json>();
    try {
        *document = Json::parse(text, nullptr, false);
    } catch (const std::exception& e) {
        return R::failure(std::string("could not be parsed (") + e.what() + ")");
    }
    if (document->is_discarded())
        return R::failure("not valid JSON");
    if (!document->is_object())
        return R::failure("not a keyed archive");
    const auto archiver = document->find(archive_format::archiverKey);
    if (archiver == document->end() || !archiver->is_string() ||
        archiver->get_ref<const std::string&>() != archive_format::archiverName)
        return R::failure("not a keyed archive");
    const auto version = document->find(archive_format::versionKey);
    if (version == document->end() || !version->is_number_integer() ||
        version->get<std::int64_t>() < 1)
        return R::failure("a keyed archive without a usable version");
    if (version->get<std::int64_t>() > archive_format::version)
        return R::failure("written by a newer version (format " + version->dump() + ")");
    const auto top = document->find(archive_format::topKey);
    if (top == document->end() || !top->is_object())
        return R::failure("a keyed archive without its top keys");
    auto impl = std::make_unique<Impl>();
    impl->node = &*top;
    impl->document = std::move(document);
    impl->registry = &registry;
    return KeyedUnarchiver(std::move(impl));
}

bool KeyedUnarchiver::containsValueForKey(std::string_view key) const {
    return impl_->find(key) != nullptr;
}

bool KeyedUnarchiver::decodeBool(std::string_view key) {
    const Json* v = impl_->require(key);
    if (!v)
        return false;
    if (!v->is_boolean()) {
        impl_->fail(inQuotes(key) + " is not a boolean");
        return false;
    }
    return v->get<bool>();
}

std::int64_t KeyedUnarchiver::decodeInt64(std::string_view key) {
    const Json* v = impl_->require(key);
    if (!v)
        return 0;
    if (!v->is_number_integer()) {
        impl_->fail(inQuotes(key) + " is not an integer");
        return 0;
    }
    if (v->is_number_unsigned() && v->get<std::uint64_t>() > std::uint64_t(INT64_MAX)) {
        impl_->fail(inQuotes(key) + " is out of range");
        return 0;
    }
    return v->get<std::int64_t>();
}

int KeyedUnarchiver::decodeInt(std::string_view key) {
    const bool wasFailed = failed();
    const std::int64_t v = decodeInt64(key);
    if (failed() && !wasFailed)
        return 0;
    if (v < INT_MIN || v > INT_MAX) {
        impl_->fail(inQuotes(key) + " is out of range");
        return 0;
    }
    return int(v);
}

float KeyedUnarchiver::decodeFloat(std::string_view key) {
    const Json* v = impl_->require(key);
    if (!v)
        return 0;
    const std::optional<float> f = Impl::asFloat(*v);
    if (!f) {
        impl_->fail(inQuotes(key) + " is not a finite number");
        return 0;
    }
    return *f;
}

double KeyedUnarchiver::decodeDouble(std::string_view key) {
    const Json* v = impl_->require(key);
    if (!v)
        return 0;
    if (!v->is_number() || !std::isfinite(v->get<double>())) {
        impl_->fail(inQuotes(key) + " is not a finite number");
        return 0;
    }
    return v->get<double>();
}

std::string KeyedUnarchiver::decodeString(std::string_view key) {
    const Json* v = impl_->require(key);
    if (!v)
        return {};
    if (!v->is_string()) {
        impl_->fail(inQuotes(key) + " is not a string");
        return {};
    }
    const auto& s = v->get_ref<const std::string&>();
    if (s.size() > ArchiveLimits::maxStringBytes) {
        impl_->fail(inQuotes(key) + " is a string of " + std::to_string(s.size()) +
                    " bytes (at most " + std::to_string(ArchiveLimits::maxStringBytes) + ")");
        return {};
    }
    return s;
}

std::vector<float> KeyedUnarchiver::decodeFloats(std::string_view key) {
    const Json* v = impl_->require(key);
    if (!v)
        return {};
    if (!v->is_array() || v->size() > ArchiveLimits::maxFloatCount) {
        impl_->fail(inQuotes(key) + " is not a short list of numbers");
        return {};
    }
    std::vector<float> out;
    out.reserve(v->size());
    for (const Json& n : *v) {
        const std::optional<float> f = Impl::asFloat(n);
        if (!f) {
            impl_->fail(inQuotes(key) + " holds something that is not a finite number");
            return {};
        }
        out.push_back(*f);
    }
    return out;
}

std::shared_ptr<Codable> KeyedUnarchiver::decodeObject(std::string_view key) {
    const Json* v = impl_->require(key);
    if (!v)
        return nullptr;
    std::string className;
    auto made = impl_->decodeElement(*v, className);
    if (!made) {
        impl_->fail(inQuotes(key) + " could not be read: " + made.error());
        return nullptr;
    }
    return std::move(*made);
}

std::vector<std::shared_ptr<Codable>> KeyedUnarchiver::decodeObjects(std::string_view key) {
    const Json* v = impl_->require(key);
    if (!v)
        return {};
    if (!v->is_array()) {
        impl_->fail(inQuotes(key) + " is not a list");
        return {};
    }
    if (v->size() > ArchiveLimits::maxListCount) {
        impl_->fail(inQuotes(key) + " holds " + std::to_string(v->size()) + " elements (at most " +
                    std::to_string(ArchiveLimits::maxListCount) + ")");
        return {};
    }
    std::vector<std::shared_ptr<Codable>> objects;
    objects.reserve(v->size());
    std::size_t index = 0;
    for (const Json& element : *v) {
        ++index;
        std::string className;
        auto made = impl_->decodeElement(element, className);
        if (made) {
            objects.push_back(std::move(*made));
            continue;
        }
        std::string where = "element " + std::to_string(index);
        if (!className.empty())
            where += " (" + archive_format::shortened(className) + ")";
        impl_->problems.push_back(where + " of " + inQuotes(key) + " left out: " + made.error());
    }
    return objects;
}

void KeyedUnarchiver::failWithReason(std::string reason) {
    impl_->fail(std::move(reason));
}

bool KeyedUnarchiver::failed() const {
    return !impl_->failure.empty();
}

const std::string& KeyedUnarchiver::failureReason() const {
    return impl_->failure;
}

const std::vector<std::string>& KeyedUnarchiver::problems() const {
    return impl_->problems;
}

} // namespace platform
