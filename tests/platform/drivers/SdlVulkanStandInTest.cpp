// The window module as SDL's Vulkan loader on Wayland: looked up and asked
// exactly as SDL 2.26's Wayland backend does (Wayland_Vulkan_LoadLibrary),
// it lists the two extensions SDL requires there and offers nothing else.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <dlfcn.h>
#include <gtest/gtest.h>

#include "platform/drivers/SdlVulkanStandIn.h"

namespace {

struct ExtensionProperties {
    char extensionName[256];
    std::uint32_t specVersion;
};
using VoidFunction = void (*)();
using GetInstanceProcAddr = VoidFunction (*)(void* instance, const char* name);
using EnumerateInstanceExtensionProperties = std::int32_t (*)(const char* layer,
                                                              std::uint32_t* count,
                                                              ExtensionProperties* properties);
constexpr std::int32_t kSuccess = 0;
constexpr std::int32_t kIncomplete = 5;
constexpr std::int32_t kLayerNotPresent = -6;

// The loader's entry, found in the module's file as SDL finds it.
class VulkanStandIn : public testing::Test {
protected:
    void SetUp() override {
        const std::string path = platform::vulkanStandInPath();
        ASSERT_FALSE(path.empty());
        handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        getProc_ = reinterpret_cast<GetInstanceProcAddr>(dlsym(handle_, "vkGetInstanceProcAddr"));
        ASSERT_NE(getProc_, nullptr) << "the module exports no vkGetInstanceProcAddr";
    }
    void TearDown() override {
        if (handle_)
            dlclose(handle_);
    }
    EnumerateInstanceExtensionProperties enumerate() const {
        return reinterpret_cast<EnumerateInstanceExtensionProperties>(
            getProc_(nullptr, "vkEnumerateInstanceExtensionProperties"));
    }
    void* handle_ = nullptr;
    GetInstanceProcAddr getProc_ = nullptr;
};

TEST_F(VulkanStandIn, IsTheWindowModuleItself) {
    const std::string path = platform::vulkanStandInPath();
    EXPECT_NE(path.find("libzorbel-window.so"), std::string::npos) << path;
}

// SDL asks the count, then the names, and requires both of these.
TEST_F(VulkanStandIn, ListsTheSurfaceExtensionsSdlRequiresOnWayland) {
    const EnumerateInstanceExtensionProperties list = enumerate();
    ASSERT_NE(list, nullptr);
    std::uint32_t count = 0;
    ASSERT_EQ(list(nullptr, &count, nullptr), kSuccess);
    ASSERT_EQ(count, 2u);
    std::vector<ExtensionProperties> properties(count);
    std::memset(properties.data(), 0xff, properties.size() * sizeof(ExtensionProperties));
    ASSERT_EQ(list(nullptr, &count, properties.data()), kSuccess);
    ASSERT_EQ(count, 2u);
    EXPECT_STREQ(properties[0].extensionName, "VK_KHR_surface");
    EXPECT_STREQ(properties[1].extensionName, "VK_KHR_wayland_surface");
    EXPECT_GT(properties[0].specVersion, 0u);
    EXPECT_GT(properties[1].specVersion, 0u);
}

// A short array gets what fits and says it is incomplete; no layer exists.
TEST_F(VulkanStandIn, AnswersShortArraysAndLayersAsALoaderWould) {
    const EnumerateInstanceExtensionProperties list = enumerate();
    ASSERT_NE(list, nullptr);
    ExtensionProperties one[2]{};
    std::memset(&one[1], 0x5a, sizeof one[1]);
    std::uint32_t count = 1;
    EXPECT_EQ(list(nullptr, &count, one), kIncomplete);
    EXPECT_EQ(count, 1u);
    EXPECT_STREQ(one[0].extensionName, "VK_KHR_surface");
    EXPECT_EQ(static_cast<unsigned char>(one[1].extensionName[0]), 0x5au) << "wrote past the count";
    count = 7;
    EXPECT_EQ(list("VK_LAYER_KHRONOS_validation", &count, nullptr), kLayerNotPresent);
}

// Whatever would go on to make a real Vulkan instance or surface finds
// nothing to call, rather than a function that pretends.
TEST_F(VulkanStandIn, OffersNoOtherFunction) {
    for (const char* name :
         {"vkCreateInstance", "vkEnumerateInstanceLayerProperties", "vkEnumerateInstanceVersion",
          "vkCreateWaylandSurfaceKHR", "vkGetDeviceProcAddr", ""})
        EXPECT_EQ(getProc_(nullptr, name), nullptr) << name;
    EXPECT_EQ(getProc_(nullptr, nullptr), nullptr);
    int instance = 0;
    EXPECT_EQ(getProc_(&instance, "vkEnumerateInstanceExtensionProperties"), nullptr);
}

} // namespace
