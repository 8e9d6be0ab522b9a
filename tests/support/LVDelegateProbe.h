#pragma once

#include "app/LVApplicationDelegate.h"

// Sets controller state that other parts of the program own, so that a test can start from it.
struct LVDelegateProbe {
    static void setWoWIsRunning(LVApplicationDelegate &delegate, bool running) { delegate.mWoWIsRunning = running; }
    static void setAccountStatus(LVApplicationDelegate &delegate, qint32 status) { delegate.mAccountStatus = status; }
    static void setUploadState(LVApplicationDelegate &delegate, qint32 state) { delegate.mUploadState = state; }
    static void setVerboseLogging(LVApplicationDelegate &delegate, bool verbose) { delegate.mVerboseLogging = verbose; }
    static void setLocales(LVApplicationDelegate &delegate, std::optional<QStringList> locales) {
        delegate.mLocales = std::move(locales);
    }
    static void setFilesToCleanup(LVApplicationDelegate &delegate, const QStringList &files) {
        delegate.mFilesToCleanup = files;
    }
    static void setRealm(LVApplicationDelegate &delegate, const QString &realm) { delegate.mRealm = realm; }
    static void setFilesToCleanup(LVApplicationDelegate &delegate, std::optional<QStringList> files) {
        delegate.mFilesToCleanup = std::move(files);
    }
    static const std::optional<QStringList> &filesToCleanup(const LVApplicationDelegate &delegate) {
        return delegate.mFilesToCleanup;
    }
};
