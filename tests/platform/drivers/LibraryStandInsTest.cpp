// The stand-ins the build leaves beside the window module carry the real
// libraries' names: the sound ones offer the functions SDL takes from them,
// each failing as the real one does when there is no sound, D-Bus's offers
// nothing, and those of the other window systems (loaded under an X11 window
// only) offer the real ones' interfaces, finding no display or device. One
// that cannot be loaded is left out with a log line.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <dlfcn.h>
#include <link.h>
#include <gtest/gtest.h>
#include <wayland-client-core.h>

#include "platform/drivers/LibraryStandIns.h"
#include "platform/foundation/LoadableModule.h"
#include "platform/foundation/Log.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

// The name another library's NEEDED entry is matched against.
std::string sonameOf(void* handle) {
    link_map* map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map)
        return {};
    const char* strings = nullptr;
    const ElfW(Dyn)* soname = nullptr;
    for (const ElfW(Dyn)* entry = map->l_ld; entry->d_tag != DT_NULL; ++entry) {
        if (entry->d_tag == DT_STRTAB)
            strings = reinterpret_cast<const char*>(entry->d_un.d_ptr);
        else if (entry->d_tag == DT_SONAME)
            soname = entry;
    }
    return strings && soname ? std::string(strings + soname->d_un.d_val) : std::string();
}

} // namespace

TEST(LibraryStandInsTest, TheBuildsStandInsCarryTheRealNamesAndFailAsWithoutSound) {
    const fs::path folder = LoadableModule::searchDirectories().front();
    if (!fs::exists(folder / "libzorbel-no-pulse.so"))
        GTEST_SKIP() << "this SDL links no sound library: no stand-ins were made";
    LibraryStandIns standIns = LibraryStandIns::loadFrom(folder, LibraryStandIns::soundFileNames());
    EXPECT_EQ(standIns.count(), LibraryStandIns::soundFileNames().size());

    // Opened by their own names: the files the build made, whatever else
    // this test program has loaded.
    void* pulse = dlopen((folder / "libzorbel-no-pulse.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    void* alsa = dlopen((folder / "libzorbel-no-asound.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(pulse, nullptr) << dlerror();
    ASSERT_NE(alsa, nullptr) << dlerror();
    EXPECT_EQ(sonameOf(pulse), "libpulse.so.0");
    EXPECT_EQ(sonameOf(alsa), "libasound.so.2");

    // PulseAudio: no main loop, so SDL's PulseAudio driver gives up at once.
    auto mainloopNew = reinterpret_cast<void* (*)()>(dlvsym(pulse, "pa_mainloop_new", "PULSE_0"));
    ASSERT_NE(mainloopNew, nullptr) << "pa_mainloop_new@PULSE_0 is missing";
    EXPECT_EQ(mainloopNew(), nullptr);
    // ALSA: no device opens, and the error has words for SDL's message.
    auto pcmOpen =
        reinterpret_cast<int (*)(void**, const char*, int, int)>(dlsym(alsa, "snd_pcm_open"));
    auto strerror = reinterpret_cast<const char* (*)(int)>(dlsym(alsa, "snd_strerror"));
    ASSERT_NE(pcmOpen, nullptr);
    ASSERT_NE(strerror, nullptr);
    void* pcm = nullptr;
    EXPECT_LT(pcmOpen(&pcm, "default", 0, 0), 0);
    EXPECT_STREQ(strerror(-19), "no sound");
    dlclose(pulse);
    dlclose(alsa);
}

// SDL looks libdbus's functions up by name once it has opened it: D-Bus's
// stand-in answers to the name and has none of them.
TEST(LibraryStandInsTest, DBussStandInCarriesItsNameAndOffersNothing) {
    const fs::path folder = LoadableModule::searchDirectories().front();
    const std::string file(LibraryStandIns::kNoDBusFileName);
    ASSERT_TRUE(fs::exists(folder / file)) << "the build makes it beside the window module";
    LibraryStandIns standIns = LibraryStandIns::loadFrom(folder, {file});
    EXPECT_EQ(standIns.count(), 1u);
    void* dbus = dlopen((folder / file).c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(dbus, nullptr) << dlerror();
    EXPECT_EQ(sonameOf(dbus), "libdbus-1.so.3");
    for (const char* function : {"dbus_bus_get_private", "dbus_threads_init_default",
                                 "dbus_connection_close", "dbus_error_init"})
        EXPECT_EQ(dlsym(dbus, function), nullptr) << function;
    dlclose(dbus);
}

// Under an X11 window SDL never starts its Wayland or console window
// systems; should X11 fail, each finds nothing: no Wayland display, no
// graphics device, no keyboard context. Their data (Wayland's interface
// descriptions, which the window module's own Wayland code names) is there,
// as large as the real library's.
TEST(LibraryStandInsTest, TheOtherWindowSystemsStandInsFindNoDisplayOrDevice) {
    const fs::path folder = LoadableModule::searchDirectories().front();
    if (!fs::exists(folder / "libzorbel-no-wayland-client.so"))
        GTEST_SKIP() << "no SDL was found to make them from";
    LibraryStandIns standIns = LibraryStandIns::loadFrom(folder, LibraryStandIns::x11FileNames());
    EXPECT_GE(standIns.count(), 1u);

    struct Expected {
        const char* file;
        const char* soname;
        const char* function; // answers null
        const char* version;  // or null: unversioned
    };
    for (const Expected& e :
         {Expected{"libzorbel-no-wayland-client.so", "libwayland-client.so.0", "wl_display_connect",
                   nullptr},
          Expected{"libzorbel-no-xkbcommon.so", "libxkbcommon.so.0", "xkb_context_new", "V_0.5.0"},
          Expected{"libzorbel-no-gbm.so", "libgbm.so.1", "gbm_create_device", nullptr},
          Expected{"libzorbel-no-drm.so", "libdrm.so.2", "drmModeGetResources", nullptr}}) {
        if (!fs::exists(folder / e.file))
            continue; // this SDL does not link it
        void* library = dlopen((folder / e.file).c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        EXPECT_EQ(sonameOf(library), e.soname);
        void* address = e.version ? dlvsym(library, e.function, e.version)
                                  : dlsym(library, e.function);
        ASSERT_NE(address, nullptr) << e.function << " is missing from " << e.file;
        EXPECT_EQ(reinterpret_cast<void* (*)(int)>(address)(-1), nullptr) << e.function;
        dlclose(library);
    }

    void* client =
        dlopen((folder / "libzorbel-no-wayland-client.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(client, nullptr) << dlerror();
    void* buffer = dlsym(client, "wl_buffer_interface");
    ASSERT_NE(buffer, nullptr);
    Dl_info info;
    void* entry = nullptr;
    ASSERT_NE(dladdr1(buffer, &info, &entry, RTLD_DL_SYMENT), 0);
    const auto* symbol = static_cast<const ElfW(Sym)*>(entry);
    ASSERT_NE(symbol, nullptr);
    EXPECT_EQ(symbol->st_size, sizeof(wl_interface));
    dlclose(client);
}

// Loaded only where SDL will open an X11 window and try nothing before it.
TEST(LibraryStandInsTest, TheOtherWindowSystemsStandInsAreForX11WindowsOnly) {
    EXPECT_TRUE(LibraryStandIns::windowWillBeX11(":0", nullptr, nullptr));
    EXPECT_TRUE(LibraryStandIns::windowWillBeX11(":0", "", ""));
    EXPECT_TRUE(LibraryStandIns::windowWillBeX11(":0", "wayland-0", "x11"));
    // A Wayland display named: SDL may well open a Wayland window.
    EXPECT_FALSE(LibraryStandIns::windowWillBeX11(":0", "wayland-0", nullptr));
    EXPECT_FALSE(LibraryStandIns::windowWillBeX11(":0", nullptr, "wayland"));
    EXPECT_FALSE(LibraryStandIns::windowWillBeX11(":0", nullptr, "wayland,x11"));
    EXPECT_FALSE(LibraryStandIns::windowWillBeX11(":0", nullptr, "offscreen"));
    EXPECT_FALSE(LibraryStandIns::windowWillBeX11(nullptr, nullptr, nullptr));
    EXPECT_FALSE(LibraryStandIns::windowWillBeX11("", nullptr, "x11"));
}

TEST(LibraryStandInsTest, OneThatCannotBeLoadedIsLeftOutWithALogLine) {
    const char* tmp = std::getenv("ZORBEL_TEST_TMP");
    const fs::path dir = fs::path(tmp ? tmp : ZORBEL_BINARY_DIR "/test-tmp") / "library-stand-ins";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "libzorbel-no-pulse.so") << std::string(4096, 'x');
    setLogQuiet(true);
    clearLogCapture();
    LibraryStandIns standIns = LibraryStandIns::loadFrom(dir, LibraryStandIns::soundFileNames());
    EXPECT_EQ(standIns.count(), 0u);
    EXPECT_TRUE(logContains("Library stand-in left out: " + (dir / "libzorbel-no-pulse.so").string()))
        << (logLines().empty() ? "" : logLines().back());
    // None at all where there is no module folder.
    EXPECT_EQ(LibraryStandIns::loadFrom({}, LibraryStandIns::soundFileNames()).count(), 0u);
    setLogQuiet(false);
    fs::remove_all(dir);
}
