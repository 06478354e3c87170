#include "platform/drivers/ApplicationMain.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/drivers/HeadlessDriver.h"
#include "platform/foundation/Allocator.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/ui/Font.h"
#include "platform/ui/RunLoop.h"

namespace platform {

namespace {

volatile std::sig_atomic_t terminationSignal = 0;

extern "C" void onTerminationSignal(int signal) {
    terminationSignal = signal;
}

} // namespace

std::string launchUsage() {
    const std::string name = appName().name;
    return "usage: " + name + " [--home DIR] [PICTURE]\n       " + name +
           " --headless [--home DIR] [--script FILE] [--scale N] [PICTURE]\n"
           "(FILE - reads standard input; N pixels per point, 1 to 4, in screenshots)\n"
           "PICTURE (PNG or JPEG) starts a new document from that picture\n"
           "exit status: 0 done, 1 a script command failed, 2 bad arguments or an unreadable\n"
           "script, 3 something the app saves when it ends could not be written (a\n"
           "read-only or full disk; the log says what)\n";
}

Result<LaunchOptions> parseLaunchArguments(const std::vector<std::string>& arguments) {
    LaunchOptions options;
    bool sawHome = false;
    bool sawScale = false;
    auto usage = [](const std::string& reason) {
        return Result<LaunchOptions>::failure(reason + "\n" + launchUsage());
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--headless") {
            if (options.headless)
                return usage("--headless given twice");
            options.headless = true;
        } else if (arg == "--scale") {
            if (i + 1 >= arguments.size())
                return usage("--scale needs a value");
            const std::string& value = arguments[++i];
            if (sawScale)
                return usage("--scale given twice");
            sawScale = true;
            if (value.size() != 1 || value[0] < '1' || value[0] > '4')
                return usage("--scale must be 1, 2, 3 or 4");
            options.scale = value[0] - '0';
        } else if (arg == "--home" || arg == "--script") {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty())
                return usage(arg + " needs a value");
            const std::string& value = arguments[++i];
            if (arg == "--home") {
                if (sawHome)
                    return usage("--home given twice");
                sawHome = true;
                options.home = value;
            } else {
                if (options.script)
                    return usage("--script given twice");
                options.script = value;
            }
        } else if (!arg.empty() && arg[0] != '-') {
            if (!options.files.empty())
                return usage("only one PICTURE can be opened");
            options.files.emplace_back(arg);
        } else {
            return usage("unknown argument \"" + arg + "\"");
        }
    }
    if (options.script && !options.headless)
        return usage("--script needs --headless");
    if (sawScale && !options.headless)
        return usage("--scale needs --headless");
    return options;
}

void openLaunchFiles(const std::vector<std::filesystem::path>& files) {
    ApplicationDelegate* delegate = Application::shared().delegate();
    if (!delegate)
        return;
    for (const auto& file : files)
        delegate->applicationOpenFile(file);
    RunLoop::main().runOnce(0);
}

void installTerminationSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read of the script from standard input returns, so
    // the driver can end normally.
    action.sa_flags = 0;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    // The log goes to standard error: when that is a pipe whose reader has
    // gone (a closed terminal, `| head`), a log line must fail quietly, not
    // end the app before it saves the painting.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
}

bool terminationRequested() {
    return terminationSignal != 0;
}

void clearTerminationRequest() {
    terminationSignal = 0;
}

int ApplicationMain(int argc, char** argv, const AppName& name,
                    const DelegateFactory& makeDelegate, const LaunchPreparation& prepare) {
    setAppName(name);
    return ApplicationMain(argc, argv, makeDelegate, prepare);
}

namespace {

DelegateFactory& storedFactory() {
    static DelegateFactory factory;
    return factory;
}

} // namespace

const DelegateFactory& relaunchDelegateFactory() {
    return storedFactory();
}

void setRelaunchDelegateFactory(DelegateFactory factory) {
    storedFactory() = std::move(factory);
}

int ApplicationMain(int argc, char** argv, const DelegateFactory& makeDelegate,
                    const LaunchPreparation& prepare) {
    Allocator::keepLargeBlocksApart();
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    auto parsed = parseLaunchArguments(arguments);
    if (!parsed) {
        std::fprintf(stderr, "%s", parsed.error().c_str());
        return int(ExitStatus::Usage);
    }
    const LaunchOptions& options = parsed.value();
    if (options.help) {
        std::fputs(launchUsage().c_str(), stdout);
        return int(ExitStatus::Success);
    }
    if (!options.home.empty())
        Paths::setHome(options.home);
    installTerminationSignalHandlers();
    // The window runs on the real clock from the start: the timers the main
    // interface schedules (the status bar's clock among them) must live in it.
    if (!options.headless)
        RunLoop::main().reset(ClockMode::Real);
    if (!options.headless)
        startWindowDriver();
    // The first frame's text needs fontconfig, which takes a while to start:
    // it starts beside the interface being made.
    std::jthread fontWarmUp;
    if (!options.headless)
        fontWarmUp = std::jthread([] { Font::warmUpInterfaceFaces(); });
    if (prepare)
        prepare(options);
    Application& app = Application::shared();
    if (makeDelegate)
        app.setOwnedDelegate(makeDelegate());
    setRelaunchDelegateFactory(makeDelegate);

    if (options.headless) {
        const HeadlessRun run = runHeadless(options.script, options.files, options.scale);
        if (run.killed) {
            // At once: no will-terminate, no destructors that might save.
            std::fflush(stdout);
            std::fflush(stderr);
            std::_Exit(0);
        }
        return run.status;
    }
    return runWindowDriver(options);
}

} // namespace platform
