#include "platform/drivers/SdlVulkanStandIn.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string_view>

#include <SDL.h>
#include <SDL_vulkan.h>
#include <dlfcn.h>

namespace {

// Vulkan's own layout and numbers (vulkan_core.h, which is not installed).
struct ExtensionProperties {
    char extensionName[256];
    std::uint32_t specVersion;
};
static_assert(sizeof(ExtensionProperties) == 260);
constexpr std::int32_t kSuccess = 0;
constexpr std::int32_t kIncomplete = 5;
constexpr std::int32_t kLayerNotPresent = -6;
using VoidFunction = void (*)();

struct Extension {
    const char* name;
    std::uint32_t version;
};
constexpr Extension kExtensions[] = {{"VK_KHR_surface", 25}, {"VK_KHR_wayland_surface", 6}};

std::int32_t enumerateInstanceExtensionProperties(const char* layer, std::uint32_t* count,
                                                  ExtensionProperties* properties) {
    if (layer)
        return kLayerNotPresent;
    if (!count)
        return kIncomplete;
    const std::uint32_t all = std::uint32_t(std::size(kExtensions));
    if (!properties) {
        *count = all;
        return kSuccess;
    }
    const std::uint32_t written = std::min(*count, all);
    for (std::uint32_t i = 0; i < written; ++i) {
        ExtensionProperties& p = properties[i];
        std::memset(p.extensionName, 0, sizeof p.extensionName);
        std::strncpy(p.extensionName, kExtensions[i].name, sizeof p.extensionName - 1);
        p.specVersion = kExtensions[i].version;
    }
    *count = written;
    return written < all ? kIncomplete : kSuccess;
}

} // namespace

// What SDL looks up in the library it takes as the Vulkan loader. Without an
// instance only the enumeration is answered; every other function, with or
// without an instance, is missing, so anything that went on to make a real
// Vulkan surface gets SDL's error instead of a call into nothing.
extern "C" __attribute__((visibility("default"))) VoidFunction
vkGetInstanceProcAddr(VkInstance instance, const char* name) {
    if (!instance && name && std::string_view(name) == "vkEnumerateInstanceExtensionProperties")
        return reinterpret_cast<VoidFunction>(&enumerateInstanceExtensionProperties);
    return nullptr;
}

namespace platform {

std::string vulkanStandInPath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&vkGetInstanceProcAddr), &info) == 0 ||
        !info.dli_fname)
        return {};
    return info.dli_fname;
}

bool loadVulkanStandIn() {
    const std::string path = vulkanStandInPath();
    if (path.empty()) {
        SDL_SetError("the window module's own file could not be found");
        return false;
    }
    return SDL_Vulkan_LoadLibrary(path.c_str()) == 0;
}

} // namespace platform
