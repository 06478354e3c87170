#include "platform/foundation/CodableRegistry.h"

#include <exception>

#include "platform/foundation/KeyedUnarchiver.h"

namespace platform {

Status CodableRegistry::registerClass(std::string className, Factory factory) {
    if (className.empty())
        return Status::failure("A class needs a name to be registered");
    if (!factory)
        return Status::failure("Class \"" + className + "\" has no factory");
    if (factories_.count(className))
        return Status::failure("Class \"" + className + "\" is registered already");
    factories_.emplace(std::move(className), std::move(factory));
    return success();
}

bool CodableRegistry::isRegistered(std::string_view className) const {
    return factories_.find(className) != factories_.end();
}

Result<std::shared_ptr<Codable>> CodableRegistry::makeObject(std::string_view className,
                                                             KeyedUnarchiver& coder) const {
    using R = Result<std::shared_ptr<Codable>>;
    const auto it = factories_.find(className);
    if (it == factories_.end())
        return R::failure("class is not registered");
    // A factory is app code; whatever it throws stops here, at the border.
    try {
        R made = it->second(coder);
        if (coder.failed())
            return R::failure(coder.failureReason());
        if (!made)
            return made;
        if (!*made)
            return R::failure("its factory built nothing");
        return made;
    } catch (const std::exception& e) {
        return R::failure(std::string("its factory failed (") + e.what() + ")");
    } catch (...) {
        return R::failure("its factory failed");
    }
}

} // namespace platform
