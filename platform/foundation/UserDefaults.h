#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <variant>

#include "platform/foundation/Result.h"

namespace platform {

// The per-user key/value store of settings.
//
// Registered defaults answer for every key that was never set; they are not
// stored. Set values are kept in one JSON object (key to number, boolean or
// string) in Paths::configDirectory()/"defaults.json", read once when the
// store is first used and written atomically by synchronize(), which the
// application calls when it terminates. Only keys that were set (in this run
// or an earlier one) are in the file. A file that is not a JSON object, or
// that cannot be read (permission, size over 4 MiB, a FIFO or a folder) is
// moved aside (".damaged", ".damaged-2", ...), logged, and the store starts
// empty; when it cannot be moved either, it is never written over.
//
// Reads convert between kinds as a boxed number would: a bool reads as 1 or 0,
// a float read as an integer is truncated toward zero, a number reads as a
// bool when it is not zero, a string as the number it starts with.
class UserDefaults {
public:
    using Value = std::variant<bool, long, double, std::string>;

    // The application's store over the configuration folder's file.
    static UserDefaults& standardUserDefaults();
    // Forgets the shared store without writing it, so the next use reads the
    // file again (a new home folder, tests).
    static void resetStandardUserDefaults();

    // A store over `file`, read now.
    explicit UserDefaults(std::filesystem::path file);
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    const std::filesystem::path& filePath() const { return file_; }

    // Adds to (and overrides) the registered defaults.
    void registerDefaults(const std::map<std::string, Value>& defaults);

    // The set value, else the registered one, else nothing.
    std::optional<Value> objectForKey(const std::string& key) const;
    float floatForKey(const std::string& key) const;        // 0 when absent
    double doubleForKey(const std::string& key) const;      // 0 when absent
    long integerForKey(const std::string& key) const;       // 0 when absent
    bool boolForKey(const std::string& key) const;          // false when absent
    std::string stringForKey(const std::string& key) const; // "" when absent

    void setObject(const Value& value, const std::string& key);
    void setFloat(float value, const std::string& key) { setObject(double(value), key); }
    void setDouble(double value, const std::string& key) { setObject(value, key); }
    void setInteger(long value, const std::string& key) { setObject(value, key); }
    void setBool(bool value, const std::string& key) { setObject(value, key); }
    void setString(const std::string& value, const std::string& key) { setObject(value, key); }
    // The key answers its registered default again.
    void removeObjectForKey(const std::string& key);

    // Writes the set values when they changed since the file was read or last
    // written (temporary file in the same folder, then rename).
    Status synchronize();

private:
    void load();
    void setAside(const std::string& why);

    std::filesystem::path file_;
    std::map<std::string, Value> registered_;
    std::map<std::string, Value> stored_;
    bool dirty_ = false;
    bool keepFile_ = false; // unreadable and still in place
    mutable std::mutex mutex_;
};

} // namespace platform
