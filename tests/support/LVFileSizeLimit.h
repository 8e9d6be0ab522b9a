#pragma once

#include <QtGlobal>

#include <csignal>
#include <sys/resource.h>

// Files written while it lives cannot grow beyond the given size, for root too: a write past it
// fails as on a full disk.
class LVFileSizeLimit {
public:
    explicit LVFileSizeLimit(qsizetype bytes) {
        getrlimit(RLIMIT_FSIZE, &mPrevious);
        rlimit lowered = mPrevious;
        lowered.rlim_cur = rlim_t(bytes);
        mPreviousHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~LVFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &mPrevious);
        std::signal(SIGXFSZ, mPreviousHandler);
    }
    LVFileSizeLimit(const LVFileSizeLimit &) = delete;
    LVFileSizeLimit &operator=(const LVFileSizeLimit &) = delete;

private:
    rlimit mPrevious{};
    void (*mPreviousHandler)(int) = nullptr;
};
