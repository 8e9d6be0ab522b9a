// What watching the game's process costs while nothing happens: 500 extra processes run (`sleep`),
// the monitor is built on the real /proc, and the CPU time of its first full read and of one look
// are measured, with the share of a core that one look every two seconds takes.

#include "platform/LVProcProcessMonitor.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

constexpr int kChildren = 500;
constexpr int kPolls = 50;
constexpr double kPollSeconds = 2.0;
// The children end by themselves after this long should the benchmark be killed before it kills them.
constexpr const char *kChildLifetime = "120";

double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

std::vector<pid_t> startChildren(int count) {
    std::vector<pid_t> children;
    char sleepProgram[] = "sleep";
    char lifetime[8];
    std::snprintf(lifetime, sizeof lifetime, "%s", kChildLifetime);
    char *arguments[] = {sleepProgram, lifetime, nullptr};
    for (int i = 0; i < count; ++i) {
        pid_t child = 0;
        if (posix_spawnp(&child, "sleep", nullptr, nullptr, arguments, environ) != 0)
            break;
        children.push_back(child);
    }
    return children;
}

void stopChildren(const std::vector<pid_t> &children) {
    for (const pid_t child : children)
        kill(child, SIGKILL);
    for (const pid_t child : children)
        waitpid(child, nullptr, 0);
}

// Waits until every child runs `sleep`, so that no look catches one between its fork and its exec;
// five seconds at most.
void waitForExec(const std::vector<pid_t> &children) {
    const QDeadlineTimer deadline(5000);
    for (const pid_t child : children) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(child));
        while (!deadline.hasExpired() &&
               !(cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().startsWith("sleep"))) {
            cmdline.close();
            const timespec pause{0, 1000000};
            nanosleep(&pause, nullptr);
        }
    }
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    const std::vector<pid_t> children = startChildren(kChildren);
    waitForExec(children);

    double start = processCpuSeconds();
    LVProcProcessMonitor monitor;
    const double firstRead = processCpuSeconds() - start;
    const qsizetype running = monitor.runningApplicationNames().size();
    const int sleeping = monitor.runningCount(QStringLiteral("sleep"));
    monitor.pollNow(); // the look after the first one still confirms what the first one read

    start = processCpuSeconds();
    for (int i = 0; i < kPolls; ++i)
        monitor.pollNow();
    const double onePoll = (processCpuSeconds() - start) / kPolls;

    start = processCpuSeconds();
    for (int i = 0; i < kPolls; ++i)
        monitor.runningApplicationNames();
    const double oneListing = (processCpuSeconds() - start) / kPolls;
    stopChildren(children);

    std::printf("processes seen                %8lld (%d of them sleep; %zu started here)\n", (long long)running,
                sleeping, children.size());
    std::printf("first full read               %8.3f ms CPU\n", firstRead * 1e3);
    std::printf("one look (mean of %d)         %8.3f ms CPU\n", kPolls, onePoll * 1e3);
    std::printf("running names (mean of %d)    %8.3f ms CPU\n", kPolls, oneListing * 1e3);
    std::printf("one look every %.0f s           %8.4f %% of a core\n", kPollSeconds, onePoll / kPollSeconds * 100.0);
    return 0;
}
