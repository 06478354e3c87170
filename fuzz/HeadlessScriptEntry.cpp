// Headless scripts: each line checked as the driver checks it before running it.
#include <sstream>
#include <string>

#include "fuzz/FuzzEntries.h"
#include "platform/drivers/HeadlessDriver.h"
#include "platform/foundation/Log.h"

namespace fuzz {

int headlessScript(const std::uint8_t* data, std::size_t size) {
    platform::setLogQuiet(true);
    platform::clearLogCapture();
    platform::HeadlessDriver driver;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::string line;
    while (std::getline(in, line))
        (void)driver.checkLine(line);
    return 0;
}

} // namespace fuzz
