// zorbel-fx's arguments and the files they name.
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzEntries.h"
#include "fuzz/FuzzScratch.h"
#include "platform/foundation/Log.h"
#include "tools/ZorbelFx.h"

namespace fuzz {

// The input is zorbel-fx's arguments, one a line, then a NUL and the bytes of
// the file "in" (also standard input). Every argument that is not an option
// or a number names a file in the scratch folder, so the fuzzer writes
// nowhere else: "out" is scratch/f_out.
int zorbelFxTool(const std::uint8_t* data, std::size_t size) {
    platform::setLogQuiet(true);
    platform::clearLogCapture();
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = all.find('\0');
    const std::string_view argText = all.substr(0, nul);
    const std::string_view file = nul == std::string_view::npos ? std::string_view{}
                                                                : all.substr(nul + 1);
    const auto folder = scratchFolder();
    writeScratchFile(folder / "f_in", reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
    std::vector<std::string> owned;
    std::size_t start = 0;
    while (start <= argText.size() && owned.size() < 16) {
        std::size_t end = argText.find('\n', start);
        if (end == std::string_view::npos)
            end = argText.size();
        std::string arg(argText.substr(start, end - start));
        start = end + 1;
        const bool keep = owned.empty() || arg.rfind("-", 0) == 0 ||
                          arg.find_first_not_of("0123456789.+-eE") == std::string::npos;
        if (!keep) {
            for (char& c : arg)
                if (c == '/' || c == '\0')
                    c = '_';
            arg = (folder / ("f_" + arg)).string();
        }
        owned.push_back(std::move(arg));
    }
    const std::vector<std::string_view> args(owned.begin(), owned.end());
    std::istringstream in{std::string(file)};
    std::ostringstream out;
    (void)zorbelFx(args, in, out);
    return 0;
}

} // namespace fuzz
