#pragma once

#include <string>

namespace platform {

class KeyedArchiver;

// An object that writes itself into a keyed archive under its own keys and is
// rebuilt by the factory registered for its class name (CodableRegistry).
//
// className() has the same signature as View::className(), so a view that is
// also Codable overrides both with one function. The name is recorded with the
// object and must be the one its factory is registered under.
class Codable {
public:
    virtual ~Codable() = default;

    virtual std::string className() const = 0;
    // Writes the object's own keys (encodeWithCoder:). A value the archive
    // cannot hold (a non-finite number, a string past the limits) marks the
    // coder failed; the object is then left out of the archive.
    virtual void encodeWithCoder(KeyedArchiver& coder) const = 0;
};

} // namespace platform
