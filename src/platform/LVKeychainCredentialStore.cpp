#include "platform/LVKeychainCredentialStore.h"

#include "common/FileContents.h"
#include "common/LVLogging.h"

Q_LOGGING_CATEGORY(lcAuth, "lorvane.auth")

#include <QEventLoop>
#include <qt6keychain/keychain.h>

namespace {

template <typename JobType> void prepare(JobType &job) {
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
    job.setKey(QString::fromLatin1(kAccountName));
}

} // namespace

int LVKeychainCredentialStore::run(QKeychain::Job &job) {
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    switch (job.error()) {
    case QKeychain::NoError:
        mFailureReason.clear();
        return kSuccess;
    case QKeychain::EntryNotFound:
        mFailureReason.clear();
        return kItemNotFound;
    default:
        mFailureReason = job.errorString();
        qCWarning(lcAuth).noquote() << "Keychain:" << mFailureReason;
        return kUnavailable;
    }
}

// The item's bytes, whichever way it was stored: QtKeychain marks an item written as binary data
// (base64-encoded, as earlier versions of the program wrote it) and decodes it; a text item comes back
// as its UTF-8 bytes.
LVCredentialStore::Item LVKeychainCredentialStore::findPassword() {
    QKeychain::ReadPasswordJob job(QString::fromLatin1(kServiceName));
    prepare(job);
    const int status = run(job);
    return {status, status == kSuccess ? job.binaryData() : QByteArray()};
}

int LVKeychainCredentialStore::deletePassword() {
    QKeychain::DeletePasswordJob job(QString::fromLatin1(kServiceName));
    prepare(job);
    return run(job);
}

int LVKeychainCredentialStore::addPassword(const QByteArray &password) {
    QKeychain::WritePasswordJob job(QString::fromLatin1(kServiceName));
    prepare(job);
    // As text, so that other keychain tools show the password as typed; bytes that are not UTF-8
    // (typed at a terminal in another encoding) can only be kept as they are.
    if (lv::isValidUtf8(password))
        job.setTextData(QString::fromUtf8(password));
    else
        job.setBinaryData(password);
    return run(job);
}
