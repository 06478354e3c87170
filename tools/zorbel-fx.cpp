// zorbel-fx: applies the app's picture effects to picture files, and runs the stroke smoother's
// curve fitter on a list of points (tools/ZorbelFx.cpp).
#include <iostream>
#include <string_view>
#include <vector>

#include "platform/foundation/Log.h"
#include "tools/ZorbelFx.h"

int main(int argc, char** argv) {
    // Failures are reported in one line each; the platform's log stays quiet.
    platform::setLogQuiet(true);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return zorbelFx(args, std::cin, std::cout);
}
