#include "platform/LVKeychainCredentialStore.h"

#include "common/FileContents.h"
#include "common/LVLogging.h"

Q_LOGGING_CATEGORY(lcAuth, "lorvane.auth")

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <qt6keychain/keychain.h>

namespace {

template <typename JobType> void prepare(JobType &job) {
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
    job.setKey(QString::fromLatin1(kAccountName));
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
// The services the keychain library talks to: the Secret Service (GNOME Keyring, KeePassXC…) and KWallet.
const QStringList kKeychainServices{QStringLiteral("org.freedesktop.secrets"), QStringLiteral("org.kde.kwalletd6"),
                                    QStringLiteral("org.kde.kwalletd5"), QStringLiteral("org.kde.kwalletd")};

// A call to the bus itself, answered before the deadline or not at all.
QDBusMessage callBus(QDBusConnection &bus, const QString &method, const QVariantList &arguments,
                     const QDeadlineTimer &deadline) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), method);
    call.setArguments(arguments);
    QDBusPendingCallWatcher watcher(bus.asyncCall(call, int(std::max<qint64>(1, deadline.remainingTime()))));
    QEventLoop loop;
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    if (!watcher.isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return watcher.reply();
}

QStringList keychainServicesIn(const QDBusMessage &answer) {
    if (answer.type() != QDBusMessage::ReplyMessage || answer.arguments().isEmpty())
        return {};
    QStringList found;
    for (const QString &name : answer.arguments().constFirst().toStringList())
        if (kKeychainServices.contains(name))
            found << name;
    return found;
}
#endif

} // namespace

LVKeychainCredentialStore::LVKeychainCredentialStore(const QDBusConnection &bus)
    : mBus(bus) {}

bool LVKeychainCredentialStore::serviceAnswers() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (!mBus.isConnected())
        return false;
    const QDeadlineTimer deadline(kServiceWaitMs);
    if (!keychainServicesIn(callBus(mBus, QStringLiteral("ListNames"), {}, deadline)).isEmpty())
        return true;
    for (const QString &name : keychainServicesIn(callBus(mBus, QStringLiteral("ListActivatableNames"), {}, deadline)))
        if (callBus(mBus, QStringLiteral("StartServiceByName"), {name, 0u}, deadline).type() ==
            QDBusMessage::ReplyMessage)
            return true;
    return false;
#else
    return true;
#endif
}

int LVKeychainCredentialStore::run(QKeychain::Job &job) {
    if (!serviceAnswers()) {
        mFailureReason = QCoreApplication::translate("LVKeychainCredentialStore",
                                                     "No keychain service is running (GNOME Keyring or KWallet)");
        return kNoService;
    }
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
