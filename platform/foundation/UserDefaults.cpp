#include "platform/foundation/UserDefaults.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <system_error>

#include <nlohmann/json.hpp>

#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"

namespace platform {

namespace {

std::mutex& sharedMutex() {
    static std::mutex m;
    return m;
}

std::unique_ptr<UserDefaults>& sharedStore() {
    static std::unique_ptr<UserDefaults> store;
    return store;
}

double numberFromString(const std::string& s) {
    const char* begin = s.c_str();
    char* end = nullptr;
    const double v = std::strtod(begin, &end);
    return end == begin ? 0.0 : v;
}

double asDouble(const UserDefaults::Value& v) {
    if (const bool* b = std::get_if<bool>(&v))
        return *b ? 1.0 : 0.0;
    if (const long* i = std::get_if<long>(&v))
        return double(*i);
    if (const double* d = std::get_if<double>(&v))
        return *d;
    return numberFromString(std::get<std::string>(v));
}

// Toward zero, saturating, NaN as 0 (a boxed number's integer value).
long truncateToLong(double d) {
    if (std::isnan(d))
        return 0;
    if (d >= double(LONG_MAX))
        return LONG_MAX;
    if (d <= double(LONG_MIN))
        return LONG_MIN;
    return long(d);
}

bool asBool(const UserDefaults::Value& v) {
    if (const bool* b = std::get_if<bool>(&v))
        return *b;
    if (const long* i = std::get_if<long>(&v))
        return *i != 0;
    if (const double* d = std::get_if<double>(&v))
        return *d != 0.0;
    // A string is true when it starts with Y, T or a non-zero digit.
    const std::string& s = std::get<std::string>(v);
    for (char ch : s) {
        if (ch == ' ' || ch == '\t')
            continue;
        if (ch == 'Y' || ch == 'y' || ch == 'T' || ch == 't')
            return true;
        if (ch >= '1' && ch <= '9')
            return true;
        if (ch == '0' || ch == '+' || ch == '-')
            return numberFromString(s) != 0.0;
        return false;
    }
    return false;
}

std::string asString(const UserDefaults::Value& v) {
    if (const std::string* s = std::get_if<std::string>(&v))
        return *s;
    if (const bool* b = std::get_if<bool>(&v))
        return *b ? "1" : "0";
    if (const long* i = std::get_if<long>(&v))
        return std::to_string(*i);
    std::ostringstream out;
    out << std::get<double>(v);
    return out.str();
}

// Far more than every setting of the app takes; a larger file is not one the
// store wrote, and reading it would only fill memory.
constexpr std::size_t kMaxFileBytes = 4u << 20;

} // namespace

UserDefaults& UserDefaults::standardUserDefaults() {
    std::lock_guard lock(sharedMutex());
    auto& store = sharedStore();
    if (!store)
        store = std::make_unique<UserDefaults>(Paths::configDirectory() / "defaults.json");
    return *store;
}

void UserDefaults::resetStandardUserDefaults() {
    std::lock_guard lock(sharedMutex());
    sharedStore().reset();
}

UserDefaults::UserDefaults(std::filesystem::path file) : file_(std::move(file)) {
    load();
}

void UserDefaults::load() {
    std::error_code ec;
    if (!std::filesystem::exists(file_, ec)) // a link to nothing yet counts as no file
        return;
    auto bytes = readFile(file_, kMaxFileBytes);
    if (!bytes) {
        setAside("could not be read: " + bytes.error());
        return;
    }
    const std::string text(bytes->begin(), bytes->end());
    nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        setAside(std::string("is damaged: ") +
                 (json.is_discarded() ? "not valid JSON" : "not a JSON object"));
        return;
    }
    for (const auto& [key, value] : json.items()) {
        if (value.is_boolean())
            stored_[key] = value.get<bool>();
        else if (value.is_number_integer() && value.is_number_unsigned())
            stored_[key] = truncateToLong(double(value.get<unsigned long long>()));
        else if (value.is_number_integer())
            stored_[key] = long(value.get<long long>());
        else if (value.is_number_float())
            stored_[key] = value.get<double>();
        else if (value.is_string())
            stored_[key] = value.get<std::string>();
        else
            log("Settings file " + file_.string() + ": ignoring \"" + key +
                "\", which is not a number, boolean or string");
    }
}

void UserDefaults::setAside(const std::string& why) {
    const std::string what = "Settings file " + file_.string() + " " + why;
    auto aside = moveAside(file_, kDamagedSuffix);
    if (aside) {
        log(what + "; moved it to " + aside->string() + " and using the defaults");
        return;
    }
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(file_, ec)))
        return; // gone meanwhile: nothing to keep
    // What could not be read must not be written over either.
    keepFile_ = true;
    log(what + "; it could not be moved aside (" + aside.error() +
        "), so it is kept and the settings of this run are not written");
}

void UserDefaults::registerDefaults(const std::map<std::string, Value>& defaults) {
    std::lock_guard lock(mutex_);
    for (const auto& [key, value] : defaults)
        registered_[key] = value;
}

std::optional<UserDefaults::Value> UserDefaults::objectForKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    if (auto it = stored_.find(key); it != stored_.end())
        return it->second;
    if (auto it = registered_.find(key); it != registered_.end())
        return it->second;
    return std::nullopt;
}

float UserDefaults::floatForKey(const std::string& key) const {
    return float(doubleForKey(key));
}

double UserDefaults::doubleForKey(const std::string& key) const {
    const auto v = objectForKey(key);
    return v ? asDouble(*v) : 0.0;
}

long UserDefaults::integerForKey(const std::string& key) const {
    const auto v = objectForKey(key);
    if (!v)
        return 0;
    if (const long* i = std::get_if<long>(&*v))
        return *i;
    return truncateToLong(asDouble(*v));
}

bool UserDefaults::boolForKey(const std::string& key) const {
    const auto v = objectForKey(key);
    return v ? asBool(*v) : false;
}

std::string UserDefaults::stringForKey(const std::string& key) const {
    const auto v = objectForKey(key);
    return v ? asString(*v) : std::string();
}

void UserDefaults::setObject(const Value& value, const std::string& key) {
    std::lock_guard lock(mutex_);
    auto it = stored_.find(key);
    if (it != stored_.end() && it->second == value)
        return;
    stored_[key] = value;
    dirty_ = true;
}

void UserDefaults::removeObjectForKey(const std::string& key) {
    std::lock_guard lock(mutex_);
    if (stored_.erase(key) > 0)
        dirty_ = true;
}

Status UserDefaults::synchronize() {
    std::lock_guard lock(mutex_);
    if (!dirty_)
        return success();
    if (keepFile_) {
        const std::string why = "Settings are not written: " + file_.string() +
                                " could not be read and is kept as it is";
        log(why);
        return Status::failure(why);
    }
    nlohmann::json json = nlohmann::json::object();
    for (const auto& [key, value] : stored_) {
        if (const bool* b = std::get_if<bool>(&value))
            json[key] = *b;
        else if (const long* i = std::get_if<long>(&value))
            json[key] = *i;
        else if (const double* d = std::get_if<double>(&value)) {
            // JSON has no infinities or NaN; such a key keeps its default.
            if (std::isfinite(*d))
                json[key] = *d;
            else
                log("Setting \"" + key + "\" is not a finite number and is not written");
        } else
            json[key] = std::get<std::string>(value);
    }
    const std::string text = json.dump(2) + "\n";
    Status written = writeFileAtomically(file_, std::string_view(text));
    if (!written) {
        log("Settings could not be written to " + file_.string() + ": " + written.error());
        return written;
    }
    dirty_ = false;
    return success();
}

} // namespace platform
