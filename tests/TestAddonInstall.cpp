#include "LVBusRecorder.h"
#include "LVGameFolder.h"
#include "LVTestWorld.h"
#include "common/LVBusyGuard.h"
#include "game/LVAddonInstaller.h"
#include "game/LVGameInstall.h"

#include <QNetworkAccessManager>

#include <QDirIterator>
#include <QtTest>

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

private slots:
    void installAddon_data() {
        QTest::addColumn<QString>("present"); // what the game folder holds; a trailing "/" makes a folder
        QTest::addColumn<bool>("pathStored");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("copied when missing") << "Interface/AddOns/" << true << QStringList();
        QTest::newRow("empty folder") << kAddon + "/" << true << QStringList();
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
        else if (present.endsWith('/'))
            game.addFolder(present);
        else
            game.writeFile(present, "## Interface: 11200\n");
        LVTestWorld world;
        world.workspace.installedApplications.insert(QStringLiteral("Wow"), game.applicationPath());
        world.settings.setValue(kWowApplicationNameKey, QStringLiteral("Wow"));
        if (pathStored)
            world.settings.setValue(kWowApplicationPathKey, game.applicationPath());
        LVBusyGuard busy;
        QNetworkAccessManager network;
        LVGameInstall install(world.settings, world.workspace);
        LVAddonInstaller installer(world.settings, install, network, busy, world.resourceFolder());
        const QMap<QString, QByteArray> before = tree(game.path());
        if (!messages.isEmpty()) // why goes to the system log
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Unable to copy .*/\\+Lorvane_Harvex to .* - .+"));
        LVBusRecorder bus;

        installer.installAddon();

        QCOMPARE(bus.messages, messages);
        const QMap<QString, QByteArray> shipped = tree(world.resourceFolder() + "/+Lorvane_Harvex");
        QVERIFY(shipped.contains("+Lorvane_Harvex.toc"));
        if (pathStored && present == QLatin1String("Interface/AddOns/"))
            QCOMPARE(tree(game.filePath(kAddon)), shipped);
        else // nothing is replaced, and no folder on the way is made
            QCOMPARE(tree(game.path()), before);
    }
};

QTEST_GUILESS_MAIN(TestAddonInstall)
#include "TestAddonInstall.moc"
