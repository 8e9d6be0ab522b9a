#include "app/LVApplicationDelegate.h"

#include <QPushButton>

void LVApplicationDelegate::upload() {
    if (deferWhileBusy([this] { upload(); }))
        return;
    if (mUploadState != UploadIdle || mWoWIsRunning)
        return;
    BusyScope busy(*this);
    QString username;
    QString password;
    if (!obtainUsername(username, password))
        return;
    if (mAccountStatus != AccountValid) {
        sendErrorMessage(QStringLiteral("Invalid Lorvane credentials"));
        return;
    }

    if (mUploadButton)
        mUploadButton->setEnabled(false);
    if (!mFilesToCleanup)
        mFilesToCleanup.emplace();
    mUploadState = Uploading;
    bool posted = false;
    if (checkSupportedRealms())
        posted = uploadAccounts(username, password);
    else
        sendErrorMessage(QStringLiteral("This version of WoW uses an unsupported realm"));
    sendStatusMessage(QStringLiteral(""));
    if (posted) {
        // The site takes no new upload for a minute: the retest enables the button again.
        scheduleRetest(65);
        sendStatusMessage(QStringLiteral("Upload successful. You can upload again after 1 minute."));
    } else if (mUploadButton) {
        mUploadButton->setEnabled(true);
    }
    mUploadState = UploadIdle;
}

// Answers whether any account's request was started.
bool LVApplicationDelegate::uploadAccounts(const QString &username, const QString &password) {
    bool posted = false;
    for (const QString &account : mAccounts.value_or(QStringList())) {
        sendStatusMessage(QStringLiteral("----------\n%1 %2").arg(QStringLiteral("Using account"), account));
        if (mVerboseLogging)
            sendStatusMessage(QStringLiteral("Checking for uploaded flag…"));
        if (alreadyUploadedForAccount(account)) {
            sendStatusMessage(QStringLiteral("Nothing to upload to the server"));
            continue;
        }
        if (mVerboseLogging)
            sendStatusMessage(QStringLiteral("Validating cache files…"));
        sendStatusMessage(QStringLiteral("Validating data…"));
        if (!validateCacheFilesForAccount(account)) {
            sendErrorMessage(QStringLiteral("One or more .wdb cache files are corrupt"));
            keepForNextUpload(account);
            continue;
        }
        sendStatusMessage(QStringLiteral("Initiating upload…"));
        if (!postFilesWithUsername(username, password, account)) {
            // Nothing was sent, and the error has been posted.
            keepForNextUpload(account);
            continue;
        }
        sendStatusMessage(QStringLiteral("Cleaning up…"));
        cleanup();
        sendStatusMessage(QStringLiteral(""));
        posted = true;
    }
    return posted;
}

// An account stopped before its request: its files go back as they were, new data flag included.
void LVApplicationDelegate::keepForNextUpload(const QString &account) {
    cleanup();
    restoreNewDataFlag(account);
}

void LVApplicationDelegate::authenticationComplete() {
    if (mUploadState == UploadWaitingForSignIn) {
        mUploadState = UploadIdle;
        upload();
    }
    testAuthentication();
}

void LVApplicationDelegate::authenticationFailed() {
    if (mUploadState == UploadWaitingForSignIn)
        mUploadState = UploadIdle;
}
