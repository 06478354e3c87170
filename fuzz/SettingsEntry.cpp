// The settings file a launch reads and termination writes.

#include "app/Settings.h"
#include "app/SettingsStore.h"
#include "fuzz/FuzzEntries.h"
#include "fuzz/FuzzScratch.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"

namespace fuzz {

int settingsReader(const std::uint8_t* data, std::size_t size) {
    platform::setLogQuiet(true);
    platform::clearLogCapture();
    const auto folder = scratchFolder();
    const auto path = folder / "defaults.json";
    writeScratchFile(path, data, size);
    zorbel::Settings loaded;
    {
        platform::UserDefaults defaults(path);
        zorbel::SettingsStore store(defaults);
        loaded = store.load();
        // Written back as termination writes it, and read again.
        store.save(loaded);
        (void)defaults.synchronize();
    }
    platform::UserDefaults again(path);
    zorbel::SettingsStore store(again);
    (void)store.load();
    return 0;
}

} // namespace fuzz
