#include "LVPrivateBus.h"

#include "common/FileContents.h"

LVPrivateBus::LVPrivateBus() {
    const QString configuration = mDir.filePath(QStringLiteral("bus.conf"));
    lv::writeFileAtomically(configuration, {"<busconfig><type>session</type><listen>unix:dir=" + mDir.path().toUtf8() +
                                            "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                                            "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                                            "<allow own=\"*\"/></policy></busconfig>\n"});
    mDaemon.start(QStringLiteral("dbus-daemon"),
                  {"--config-file=" + configuration, "--nofork", "--nopidfile", "--print-address"});
    if (mDaemon.waitForStarted() && mDaemon.waitForReadyRead())
        mAddress = QString::fromUtf8(mDaemon.readLine()).trimmed();
}

LVPrivateBus::~LVPrivateBus() {
    mDaemon.terminate();
    mDaemon.waitForFinished();
}

QDBusConnection LVPrivateBus::connect(const QString &name) const {
    return QDBusConnection::connectToBus(mAddress, name);
}
