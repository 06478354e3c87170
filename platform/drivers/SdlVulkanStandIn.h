#pragma once

#include <string>

namespace platform {

// SDL 2.26's Wayland backend makes every window an OpenGL one unless it is
// flagged for Vulkan: it loads EGL, Mesa's driver and LLVM (about 70 ms of a
// launch and tens of megabytes) and gives the window an EGL surface that is
// never drawn into, since our pixels go up as shared memory
// (SdlWaylandSurface). A window flagged for Vulkan makes SDL load a Vulkan
// loader instead, and of it SDL only asks which instance extensions there
// are. This module is that loader: it exports vkGetInstanceProcAddr, which
// answers only that question (VK_KHR_surface and VK_KHR_wayland_surface, what
// SDL requires on Wayland) and gives no other function, so nothing of the
// real Vulkan or OpenGL is loaded.

// The file of this module (libzorbel-window.so), empty when it cannot be told.
std::string vulkanStandInPath();

// Has SDL take this module as its Vulkan loader; call after SDL's video has
// started and before a window flagged SDL_WINDOW_VULKAN is made. False with
// SDL's error set when SDL would not (a backend without Vulkan, a loader
// already taken). Each success is undone by one SDL_Vulkan_UnloadLibrary.
[[nodiscard]] bool loadVulkanStandIn();

} // namespace platform
