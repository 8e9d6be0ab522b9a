#include "platform/LVLinuxWorkspace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Finding the game in fake Wine prefixes of a temporary home folder.
class TestLinuxWorkspace : public QObject {
    Q_OBJECT

    static void touch(const QString &path) {
        QDir().mkpath(QFileInfo(path).path());
        QFile(path).open(QIODevice::WriteOnly);
    }

private slots:
    void findsTheGameInTheFirstPrefixThatHasIt_data() {
        QTest::addColumn<QStringList>("games"); // relative to the home folder
        QTest::addColumn<QString>("expected");
        const QString retail = QStringLiteral("drive_c/Program Files (x86)/World of Warcraft/_retail_/Wow.exe");
        const QString classic = QStringLiteral("drive_c/Program Files (x86)/World of Warcraft/_classic_/Wow.exe");
        const QString plain = QStringLiteral("drive_c/Program Files/World of Warcraft/Wow.exe");
        const QString steam = QStringLiteral(".local/share/Steam/steamapps/compatdata/2/pfx/");

        QTest::newRow("plain wine before lutris")
            << QStringList{".wine/" + plain, "Games/world-of-warcraft/" + retail} << ".wine/" + plain;
        QTest::newRow("lutris prefixes in name order")
            << QStringList{"Games/b-wow/" + retail, "Games/a-wow/" + classic} << "Games/a-wow/" + classic;
        QTest::newRow("retail before classic, x86 before the other")
            << QStringList{".wine/" + plain, ".wine/" + classic, ".wine/" + retail} << ".wine/" + retail;
        QTest::newRow("steam before flatpak steam")
            << QStringList{".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/1/pfx/" + retail,
                           steam + classic}
            << steam + classic;
        QTest::newRow("bottles") << QStringList{".local/share/bottles/bottles/WoW/" + retail}
                                 << ".local/share/bottles/bottles/WoW/" + retail;
        QTest::newRow("a name that only starts like the game's")
            << QStringList{".wine/drive_c/Program Files/World of Warcraft/WowB.exe"} << QString();
    }

    void findsTheGameInTheFirstPrefixThatHasIt() {
        QFETCH(QStringList, games);
        QFETCH(QString, expected);
        QTemporaryDir home;
        for (const QString &game : games)
            touch(home.filePath(game));
        QCOMPARE(LVLinuxWorkspace(home.path()).fullPathForApplication(QStringLiteral("Wow")),
                 expected.isEmpty() ? QString() : home.filePath(expected));
    }

    void linkedSteamFolderIsSearchedOnce() {
        QTemporaryDir home;
        touch(home.filePath(QStringLiteral(".local/share/Steam/steamapps/compatdata/7/pfx/drive_c/x")));
        QDir(home.path()).mkpath(QStringLiteral(".steam"));
        QVERIFY(QFile::link(home.filePath(QStringLiteral(".local/share/Steam")),
                            home.filePath(QStringLiteral(".steam/steam"))));
        QCOMPARE(LVLinuxWorkspace(home.path()).winePrefixes().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestLinuxWorkspace)
#include "TestLinuxWorkspace.moc"
