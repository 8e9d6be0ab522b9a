#include "platform/LVKeychainCredentialStore.h"

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
    job.setBinaryData(password);
    return run(job);
}
