#include "LVBusRecorder.h"
#include "LVFileSizeLimit.h"
#include "LVGameFolder.h"
#include "LVTestWorld.h"
#include "common/LVBusyGuard.h"
#include "game/LVAddonInstaller.h"
#include "game/LVGameInstalls.h"

#include <QNetworkAccessManager>

#include <QDirIterator>
#include <QProcess>
#include <QtTest>

#include <sys/stat.h>

// Putting the shipped addon into the game's addon folder when nothing of that name is there yet.
class TestAddonInstall : public QObject {
    Q_OBJECT

    const QString kAddon = QStringLiteral("Interface/AddOns/+Lorvane_Harvex");

    // Everything below a folder: each relative path with the file's bytes, or "folder".
    static QMap<QString, QByteArray> tree(const QString &folder) {
        QMap<QString, QByteArray> entries;
        for (QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
             it.hasNext();) {
            QFile file(it.next());
            entries.insert(QDir(folder).relativeFilePath(file.fileName()),
                           it.fileInfo().isDir() ? "folder" : (file.open(QIODevice::ReadOnly) ? file.readAll() : ""));
        }
        return entries;
    }

    static int mode(const QString &path) {
        struct stat status {};
        return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
    }

    // The shipped addon as a package installs it: the program's copy, one more folder, a large file,
    // and no write permission anywhere.
    static void makeShippedCopy(const QString &resources, const QString &into) {
        QDir().mkpath(into + "/+Lorvane_Harvex/Locales");
        for (const QString &name : QDir(resources + "/+Lorvane_Harvex").entryList(QDir::Files))
            QVERIFY(QFile::copy(resources + "/+Lorvane_Harvex/" + name, into + "/+Lorvane_Harvex/" + name));
        QFile large(into + "/+Lorvane_Harvex/Locales/deDE.lua");
        QVERIFY(large.open(QIODevice::WriteOnly) && large.write(QByteArray(256 * 1024, '-')) == 256 * 1024);
        large.close();
        QVERIFY(large.setPermissions(QFile::ReadOwner | QFile::ExeOwner | QFile::ExeGroup));
        QCOMPARE(QProcess::execute("chmod", {"-R", "a-w", into + "/+Lorvane_Harvex"}), 0);
    }

    // Installs into the game from the given resource folder; the bus messages.
    static QStringList install(const LVGameFolder &game, const QString &resources, bool pathStored = true) {
        LVTestWorld world;
        world.workspace.installedApplications.insert(QStringLiteral("Wow"), game.applicationPath());
        world.settings.setValue(kWowApplicationNameKey, QStringLiteral("Wow"));
        if (pathStored)
            world.settings.setValue(kWowApplicationPathKey, game.applicationPath());
        LVBusyGuard busy;
        QNetworkAccessManager network;
        LVGameInstalls installs(world.settings, world.workspace);
        LVAddonInstaller installer(world.settings, installs, network, busy, resources);
        LVBusRecorder bus;
        installer.installAddon();
        return bus.messages;
    }

private slots:
    void installAddon_data() {
        QTest::addColumn<QString>("present"); // what the game folder holds; a trailing "/" makes a folder
        QTest::addColumn<bool>("pathStored");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("copied when missing") << "Interface/AddOns/" << true << QStringList();
        QTest::newRow("outdated folder") << kAddon + "/+Lorvane_Harvex.toc" << true << QStringList();
        QTest::newRow("plain file") << kAddon << true << QStringList();
        QTest::newRow("link to nowhere") << "link" << true << QStringList();
        QTest::newRow("found, not stored") << "Interface/AddOns/" << false << QStringList();
        const QStringList refused{"error: Unable to install addon to WOW directory"};
        QTest::newRow("no AddOns folder") << "Interface/" << true << refused;
        QTest::newRow("AddOns is a file") << "Interface/AddOns" << true << refused;
    }

    void installAddon() {
        QFETCH(QString, present);
        QFETCH(bool, pathStored);
        QFETCH(QStringList, messages);
        LVGameFolder game;
        if (present == QLatin1String("link"))
            QVERIFY(QFile::link(game.filePath("nowhere"), game.addFolder("Interface/AddOns").filePath(kAddon)));
        else
            present.endsWith('/') ? void(game.addFolder(present))
                                  : void(game.writeFile(present, "## Interface: 11200\n"));
        const QMap<QString, QByteArray> before = tree(game.path());
        const QString resources = LVTestWorld().resourceFolder();
        if (!messages.isEmpty()) // why goes to the system log
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Unable to copy .*/\\+Lorvane_Harvex to .* - .+"));
        QCOMPARE(install(game, resources, pathStored), messages);
        const QMap<QString, QByteArray> shipped = tree(resources + "/+Lorvane_Harvex");
        QVERIFY(shipped.contains("+Lorvane_Harvex.toc"));
        if (pathStored && present == QLatin1String("Interface/AddOns/"))
            QCOMPARE(tree(game.filePath(kAddon)), shipped);
        else // nothing is replaced, and no folder on the way is made
            QCOMPARE(tree(game.path()), before);
    }

    // A copy cut short leaves nothing and is tried again; the copy made is the user's own to change.
    void installedCopyIsWholeAndTheUsersOwn() {
        QTemporaryDir shipped;
        makeShippedCopy(LVTestWorld().resourceFolder(), shipped.path());
        LVGameFolder game;
        game.addFolder("Interface/AddOns");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Unable to copy .*/\\+Lorvane_Harvex to .* - .+"));
        std::optional<LVFileSizeLimit> limit(std::in_place, 64 * 1024); // the large file is cut, as on a full disk
        const QStringList messages = install(game, shipped.path());
        limit.reset();
        QCOMPARE(messages, QStringList{"error: Unable to install addon to WOW directory"});
        QCOMPARE(tree(game.filePath("Interface/AddOns")), (QMap<QString, QByteArray>()));

        QCOMPARE(install(game, shipped.path()), QStringList());
        QCOMPARE(tree(game.filePath(kAddon)), tree(shipped.filePath("+Lorvane_Harvex")));
        QCOMPARE(mode(game.filePath(kAddon)), 0755);
        for (QDirIterator it(game.filePath(kAddon), QDir::AllEntries | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
             it.hasNext();) {
            const QString path = it.next();
            QCOMPARE(mode(path), it.fileInfo().isDir() ? 0755 : 0644);
        }
        // Only the addon is left in the folder: no temporary copy beside it.
        QCOMPARE(
            QDir(game.filePath("Interface/AddOns")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"+Lorvane_Harvex"});
        QProcess::execute("chmod", {"-R", "u+w", shipped.path()});
    }
};

QTEST_GUILESS_MAIN(TestAddonInstall)
#include "TestAddonInstall.moc"
