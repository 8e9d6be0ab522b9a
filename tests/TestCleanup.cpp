#include "LVDelegateProbe.h"
#include "LVGameFolder.h"
#include "LVTestWorld.h"
#include "status/LVStatusBus.h"

#include <QtTest>

// The clean-up after an account's upload: compressed copies go, restore copies go back.
class TestCleanup : public QObject {
    Q_OBJECT

    LVGameFolder mGame;
    LVTestWorld mWorld;
    LVApplicationDelegate *mDelegate = nullptr;

    QString path(const char *relative) const { return mGame.filePath(QString::fromLatin1(relative)); }

private slots:
    void init() { mDelegate = &mWorld.makeDelegate(); }

    void restoreCopiesGoBackAndCompressedCopiesGo() {
        mGame.writeFile("SV/X.lua", "rvUploaded = 1\nrvRealm = \"eu\";");
        mGame.writeFile("SV/X.lua.rename", "rvUploaded = 1\n");
        mGame.writeFile("SV/X.lua.gz", "gz");
        mGame.writeFile("WDB/a.wdb.gz", "gz");
        mGame.writeFile("WDB/a.wdb", "cache");
        LVDelegateProbe::setFilesToCleanup(*mDelegate,
                                           {path("SV/X.lua.rename"), path("SV/X.lua.gz"), path("WDB/a.wdb.gz")});
        QSignalSpy statusMessages(&LVStatusBus::instance(), &LVStatusBus::statusMessageChanged);
        QSignalSpy errorMessages(&LVStatusBus::instance(), &LVStatusBus::errorMessageChanged);

        mDelegate->cleanup();

        QCOMPARE(mGame.readFile("SV/X.lua"), QByteArray("rvUploaded = 1\n"));
        for (const char *gone : {"SV/X.lua.rename", "SV/X.lua.gz", "WDB/a.wdb.gz"})
            QVERIFY2(!QFile::exists(path(gone)), gone);
        QCOMPARE(mGame.readFile("WDB/a.wdb"), QByteArray("cache"));
        QCOMPARE(mDelegate->filesToCleanup(), std::optional<QStringList>(QStringList()));
        QCOMPARE(statusMessages.count() + errorMessages.count(), 0);
    }

    void missingRestoreCopyLeavesTheFileInPlace() {
        mGame.writeFile("SV/Y.lua", "precious");
        LVDelegateProbe::setFilesToCleanup(*mDelegate, {path("SV/Y.lua.rename")});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Restore copy .*Y.lua.rename is missing"));
        mDelegate->cleanup();
        QCOMPARE(mGame.readFile("SV/Y.lua"), QByteArray("precious"));
    }

    void onlyTheExactExtensionIsRestored() {
        mGame.writeFile("SV/Z.lua", "kept");
        mGame.writeFile("SV/Z.lua.RENAME", "removed as a plain file");
        LVDelegateProbe::setFilesToCleanup(*mDelegate, {path("SV/Z.lua.RENAME")});
        mDelegate->cleanup();
        QCOMPARE(mGame.readFile("SV/Z.lua"), QByteArray("kept"));
        QVERIFY(!QFile::exists(path("SV/Z.lua.RENAME")));
    }

    void aCopyAlreadyGoneIsLoggedNotShown() {
        LVDelegateProbe::setFilesToCleanup(*mDelegate, {path("gone.wdb.gz")});
        QSignalSpy errorMessages(&LVStatusBus::instance(), &LVStatusBus::errorMessageChanged);
        QTest::ignoreMessage(QtWarningMsg,
                             qPrintable(QStringLiteral("Unable to cleanup file: %1.").arg(path("gone.wdb.gz"))));
        mDelegate->cleanup();
        QCOMPARE(errorMessages.count(), 0);
        QVERIFY(mDelegate->filesToCleanup()->isEmpty());
    }

    void renameFailureIsLogged() {
        // A folder where the file should be cannot be replaced by a file.
        mGame.addFolder("SV/W.lua");
        mGame.writeFile("SV/W.lua/inside", "x");
        mGame.writeFile("SV/W.lua.rename", "restore");
        LVDelegateProbe::setFilesToCleanup(*mDelegate, {path("SV/W.lua.rename")});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Unable to rename file: .*W.lua.rename to .*W.lua\\."));
        mDelegate->cleanup();
        QCOMPARE(mGame.readFile("SV/W.lua.rename"), QByteArray("restore"));
    }
};

QTEST_GUILESS_MAIN(TestCleanup)
#include "TestCleanup.moc"
