#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/foundation/Codable.h"
#include "platform/foundation/Result.h"

namespace platform {

class KeyedUnarchiver;

// The classes an unarchiver may build, by the name each object records. Only
// registered classes are ever decoded: an element naming any other class is
// refused, never guessed at. The app registers its two layer classes.
//
//   CodableRegistry classes;
//   (void)classes.registerClass("TouchImageView", [](KeyedUnarchiver& coder)
//       -> Result<std::shared_ptr<Codable>> { return TouchImageView::initWithCoder(coder); });
class CodableRegistry {
public:
    // Builds an object from the coder's keys (initWithCoder:). It reads keys
    // with the coder's decode operations and returns the object, or a failure
    // with a reason. When the coder was marked failed while the factory ran
    // (a missing key, a value of the wrong kind or beyond the limits) the
    // object is refused even if the factory returned it. The object must be
    // made with std::make_shared of its own class, so that a view built here
    // can be added to a view tree.
    using Factory = std::function<Result<std::shared_ptr<Codable>>(KeyedUnarchiver& coder)>;

    // Refuses an empty name, a name registered already, or an empty factory.
    [[nodiscard]] Status registerClass(std::string className, Factory factory);
    bool isRegistered(std::string_view className) const;

    // The object the factory for className builds from coder; a failure (with
    // its reason) for an unregistered class, a refusing factory, a factory
    // that threw, or a coder marked failed. Never throws.
    [[nodiscard]] Result<std::shared_ptr<Codable>> makeObject(std::string_view className,
                                                              KeyedUnarchiver& coder) const;

private:
    std::map<std::string, Factory, std::less<>> factories_;
};

} // namespace platform
