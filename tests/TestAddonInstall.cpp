#include "LVBusRecorder.h"
#include "LVGameFolder.h"
#include "LVTestWorld.h"

#include <QDirIterator>
#include <QtTest>

// Putting the shipped addon into the game's addon folder when it is not there yet.
class TestAddonInstall : public QObject {
    Q_OBJECT

    const QString kAddon = QStringLiteral("Interface/AddOns/+Lorvane_Harvex");
    const QString kUnableToInstall = QStringLiteral("error: Unable to install addon to WOW directory");

    static QByteArray contents(const QFileInfo &entry) {
        if (entry.isDir())
            return "folder";
        QFile file(entry.filePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
    }

    // Everything below a folder: each relative path with the file's bytes, or "folder".
    static QMap<QString, QByteArray> tree(const QString &folder) {
        QMap<QString, QByteArray> entries;
        QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            entries.insert(QDir(folder).relativeFilePath(path), contents(it.fileInfo()));
        }
        return entries;
    }

    struct Game {
        Game() { world.settings.setValue(kWowApplicationPathKey, folder.applicationPath()); }
        LVGameFolder folder;
        LVTestWorld world;
        LVApplicationDelegate &delegate = world.makeDelegate();
    };

private slots:
    void missingAddonIsCopiedWhole() {
        Game game;
        game.folder.addFolder(QStringLiteral("Interface/AddOns/OtherAddon"));
        LVBusRecorder bus;

        game.delegate.installAddon();

        const QMap<QString, QByteArray> shipped =
            tree(game.world.resourceFolder() + QStringLiteral("/+Lorvane_Harvex"));
        QVERIFY(shipped.contains(QStringLiteral("+Lorvane_Harvex.toc")));
        QCOMPARE(tree(game.folder.filePath(kAddon)), shipped);
        QCOMPARE(bus.messages, QStringList());
    }

    void presentAddonIsLeftAlone_data() {
        QTest::addColumn<QString>("present"); // what stands at the addon's place

        QTest::newRow("empty folder") << "folder";
        QTest::newRow("outdated folder") << "outdated";
        QTest::newRow("plain file") << "file";
        QTest::newRow("link to nowhere") << "dangling link";
    }

    void presentAddonIsLeftAlone() {
        QFETCH(QString, present);
        Game game;
        game.folder.addFolder(QStringLiteral("Interface/AddOns"));
        const QString addon = game.folder.filePath(kAddon);
        if (present == QLatin1String("folder"))
            game.folder.addFolder(kAddon);
        else if (present == QLatin1String("outdated"))
            game.folder.writeFile(kAddon + QStringLiteral("/+Lorvane_Harvex.toc"), "## Interface: 11200\n");
        else if (present == QLatin1String("file"))
            game.folder.writeFile(kAddon, "not an addon\n");
        else
            QVERIFY(QFile::link(game.folder.filePath(QStringLiteral("nowhere")), addon));
        const QMap<QString, QByteArray> before = tree(game.folder.path());
        LVBusRecorder bus;

        game.delegate.installAddon();

        QCOMPARE(tree(game.folder.path()), before);
        QCOMPARE(bus.messages, QStringList());
    }

    void refusedCopyPostsOneError_data() {
        QTest::addColumn<QString>("made"); // what the game folder has on the way to the addon

        QTest::newRow("no AddOns folder") << "Interface";
        QTest::newRow("no Interface folder") << "";
        QTest::newRow("AddOns is a file") << "Interface/AddOns as a file";
    }

    void refusedCopyPostsOneError() {
        QFETCH(QString, made);
        Game game;
        if (made == QLatin1String("Interface"))
            game.folder.addFolder(made);
        else if (!made.isEmpty())
            game.folder.writeFile(QStringLiteral("Interface/AddOns"), "a file\n");
        const QMap<QString, QByteArray> before = tree(game.folder.path());
        LVBusRecorder bus;
        // Why it failed goes to the system log.
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("Unable to copy .*/\\+Lorvane_Harvex to .*%1 - .+")
                                                    .arg(QRegularExpression::escape(kAddon))));

        game.delegate.installAddon();

        QCOMPARE(bus.messages, QStringList{kUnableToInstall});
        // No folder on the way is made.
        QCOMPARE(tree(game.folder.path()), before);
    }

    void noGamePathMeansNoDestination() {
        LVGameFolder folder;
        folder.addFolder(QStringLiteral("Interface/AddOns"));
        LVTestWorld world;
        world.workspace.installedApplications.insert(QStringLiteral("Wow"), folder.applicationPath());
        world.settings.setValue(kWowApplicationNameKey, QStringLiteral("Wow"));
        LVBusRecorder bus;

        world.makeDelegate().installAddon();

        QVERIFY(!QFileInfo::exists(folder.filePath(kAddon)));
        QCOMPARE(bus.messages, QStringList());
    }
};

QTEST_GUILESS_MAIN(TestAddonInstall)
#include "TestAddonInstall.moc"
