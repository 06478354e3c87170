// The stand-ins the build leaves beside the window module carry the real
// libraries' names: the sound ones offer the functions SDL takes from them,
// each failing as the real one does when there is no sound, and D-Bus's
// offers nothing. One that cannot be loaded is left out with a log line.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <dlfcn.h>
#include <link.h>
#include <gtest/gtest.h>

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
