#include "LVSampleGame.h"
#include "LVSiteServer.h"

#include <charconv>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char *usage = R"(Usage:
  lorvane-site [--port N] [--user NAME:PASSWORD]... [--data DIR] [--addon DIR] [--throttle SECONDS] [--quiet]
      Serves the reference site on 127.0.0.1 until interrupted.
      --port      port to listen on (default 8765; 0 picks a free one)
      --user      a known user and clear password; may be repeated
      --data      folder uploads are stored in (default ./lorvane-site-data)
      --addon     folder the addon manifest and downloads are served from
      --throttle  seconds /auth answers "2" after a user's upload (default 60)
      --quiet     no log line per request
  lorvane-site sample-game DIR [--accounts N] [--size MB]
      Writes a sample game folder (default 2 accounts, 1 MB of saved variables each).
  lorvane-site --help
)";

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct HelpRequested {};

class Arguments {
public:
    Arguments(int argc, char **argv)
        : mItems(argv + 1, argv + argc) {}
    bool atEnd() const { return mNext >= mItems.size(); }
    const std::string &peek() const { return mItems[mNext]; }
    std::string take() { return mItems[mNext++]; }
    std::string valueOf(const std::string &option) {
        if (atEnd())
            throw UsageError(option + " needs a value");
        return take();
    }

private:
    std::vector<std::string> mItems;
    size_t mNext = 0;
};

int integerIn(const std::string &option, const std::string &text, int lowest, int highest) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest)
        throw UsageError(option + " expects a whole number from " + std::to_string(lowest) + " to " +
                         std::to_string(highest) + ", not \"" + text + "\"");
    return value;
}

double megabytes(const std::string &text) {
    char *end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value) || value < 0 || value > 4096)
        throw UsageError("--size expects megabytes from 0 to 4096, not \"" + text + "\"");
    return value;
}

void addUser(LVSiteConfig &config, const std::string &text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0)
        throw UsageError("--user expects NAME:PASSWORD, not \"" + text + "\"");
    config.users[text.substr(0, colon)] = text.substr(colon + 1);
}

struct ServeOptions {
    LVSiteConfig config;
    int port = 8765;
};

ServeOptions serveOptions(Arguments &arguments) {
    ServeOptions options;
    while (!arguments.atEnd()) {
        const std::string option = arguments.take();
        if (option == "--help" || option == "-h")
            throw HelpRequested();
        else if (option == "--port")
            options.port = integerIn(option, arguments.valueOf(option), 0, 65535);
        else if (option == "--user")
            addUser(options.config, arguments.valueOf(option));
        else if (option == "--data")
            options.config.dataFolder = arguments.valueOf(option);
        else if (option == "--addon")
            options.config.addonFolder = arguments.valueOf(option);
        else if (option == "--throttle")
            options.config.throttleSeconds = integerIn(option, arguments.valueOf(option), 0, 86400);
        else if (option == "--quiet")
            options.config.logRequests = false;
        else
            throw UsageError("unknown argument \"" + option + "\"");
    }
    return options;
}

int serve(const ServeOptions &options) {
    // Blocked before the server starts its threads, so only sigwait() below ever receives them. A
    // background job may inherit SIGINT as ignored, and an ignored signal never reaches sigwait().
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    LVSiteServer server(options.config);
    if (!server.start(options.port)) {
        std::cerr << "lorvane-site: cannot listen on 127.0.0.1:" << options.port << "\n";
        return 1;
    }
    std::cout << "listening on http://127.0.0.1:" << server.port() << std::endl;
    int received = 0;
    sigwait(&stopSignals, &received);
    server.stop();
    return 0;
}

int writeSampleGame(Arguments &arguments) {
    if (arguments.atEnd() || arguments.peek().starts_with("--"))
        throw UsageError("sample-game needs a folder");
    const fs::path folder = arguments.take();
    int accounts = 2;
    double size = 1.0;
    while (!arguments.atEnd()) {
        const std::string option = arguments.take();
        if (option == "--accounts")
            accounts = integerIn(option, arguments.valueOf(option), 0, 1000);
        else if (option == "--size")
            size = megabytes(arguments.valueOf(option));
        else
            throw UsageError("unknown argument \"" + option + "\"");
    }
    for (const fs::path &file : LVSampleGame::writeSampleGame(folder, accounts, size))
        std::cout << "wrote " << (folder / file).string() << " (" << fs::file_size(folder / file) << " bytes)\n";
    std::cout << "sample game with " << accounts << " account(s) in " << folder.string() << std::endl;
    return 0;
}

int run(Arguments &arguments) {
    if (!arguments.atEnd() && arguments.peek() == "sample-game") {
        arguments.take();
        return writeSampleGame(arguments);
    }
    return serve(serveOptions(arguments));
}

} // namespace

int main(int argc, char **argv) {
    Arguments arguments(argc, argv);
    try {
        return run(arguments);
    } catch (const HelpRequested &) {
        std::cout << usage;
        return 0;
    } catch (const UsageError &error) {
        std::cerr << "lorvane-site: " << error.what() << "\n\n" << usage;
        return 2;
    } catch (const std::exception &error) {
        std::cerr << "lorvane-site: " << error.what() << "\n";
        return 1;
    }
}
