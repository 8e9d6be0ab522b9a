#include "LVFakeWorkspace.h"
#include "settings/LVSettings.h"
#include "settings/PropertyList.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The settings store: this run's defaults, the user's values over them, and buffered edits.
class TestSettings : public QObject {
    Q_OBJECT

    QTemporaryDir mDir;
    QString settingsFile() const { return mDir.filePath(QStringLiteral("settings.ini")); }
    QString writePlist(const QString &body) {
        const QString path = mDir.filePath(QStringLiteral("Defaults.plist"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(("<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>" + body + "</dict></plist>").toUtf8());
        return path;
    }

private slots:
    void init() { QFile::remove(settingsFile()); }

    void gamePathRegistration_data() {
        QTest::addColumn<QString>("storedPath"); // null: the user stored none
        QTest::addColumn<bool>("defaultPathExists");
        QTest::addColumn<QStringList>("found");    // the installs a search of the machine finds
        QTest::addColumn<QString>("expectedPath"); // null: the file's default path
        QTest::addColumn<bool>("expectDetection"); // the workspace is asked for the game by name
        const QStringList found{"/found/_classic_/WowClassic.exe", "/found/_retail_/Wow.exe"};
        QTest::newRow("stored path wins even when missing on disk")
            << "/nowhere/Wow.exe" << false << found << "/nowhere/Wow.exe" << false;
        QTest::newRow("existing default path stays") << QString() << true << found << QString() << false;
        QTest::newRow("missing default path: the first install found")
            << QString() << false << found << found.first() << false;
        QTest::newRow("missing default path, no install found: detected by name")
            << QString() << false << QStringList() << "/detected/Wow.exe" << true;
    }

    void gamePathRegistration() {
        QFETCH(QString, storedPath);
        QFETCH(bool, defaultPathExists);
        QFETCH(QStringList, found);
        QFETCH(QString, expectedPath);
        QFETCH(bool, expectDetection);
        const QString defaultPath = mDir.filePath(QStringLiteral("Wow.exe"));
        QFile::remove(defaultPath);
        if (defaultPathExists)
            QFile(defaultPath).open(QIODevice::WriteOnly);
        LVSettings settings(settingsFile());
        if (!storedPath.isNull())
            settings.setValue(kWowApplicationPathKey, storedPath);
        LVFakeWorkspace workspace;
        workspace.installedApplications.insert(QStringLiteral("Wow"), QStringLiteral("/detected/Wow.exe"));
        for (const QString &executable : found)
            workspace.installations.append(lv::installationAt(executable));

        lv::registerDefaultsFromFile(settings,
                                     writePlist(QStringLiteral("<key>wow_application_name</key><string>Wow</string>"
                                                               "<key>wow_application_path</key><string>%1</string>")
                                                    .arg(defaultPath)),
                                     workspace);

        QCOMPARE(settings.stringForKey(kWowApplicationPathKey), expectedPath.isNull() ? defaultPath : expectedPath);
        QCOMPARE(workspace.lookedUp.size(), expectDetection ? 1 : 0);
        // What was found is a default of this run, never the user's own value.
        QCOMPARE(settings.hasUserValueForKey(kWowApplicationPathKey), !storedPath.isNull());
        QCOMPARE(settings.registeredDefaults().value(kWowInstallsKey).toStringList(), found);
    }

    void absentKeysReadAsAbsentOrFalse() {
        LVSettings settings(settingsFile());
        LVFakeWorkspace workspace;
        lv::registerDefaultsFromFile(settings, mDir.filePath(QStringLiteral("missing.plist")), workspace);
        QVERIFY(settings.registeredDefaults().isEmpty());
        lv::registerDefaultsFromFile(settings, writePlist(QStringLiteral("<key>lvclient_autoupload</key><true/>")),
                                     workspace);

        QVERIFY(settings.stringForKey(kPostURLKey).isNull() && !settings.boolForKey(kCharacterDataKey));
        QVERIFY(!settings.arrayForKey(kFilesToUploadKey).has_value() && settings.boolForKey(kAutoUploadKey));
        settings.setValue(kWowApplicationPathKey, QString(""));
        QVERIFY(!settings.stringForKey(kWowApplicationPathKey).isNull());
    }

    // A settings file written by hand keeps a list of one as plain text: it is a list of one all the same.
    void listsOfOneReadAsLists() {
        QFile file(settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\nlvclient_validrealms=eu.logon.worldofwarcraft.com\nlvclient_filesToUpload=%WoW%/a.lua\n"
                   "wow_installs=\nlvclient_postURL=a, b\n");
        file.close();
        LVSettings settings(settingsFile());
        QCOMPARE(settings.arrayForKey(kValidRealmsKey), QStringList{"eu.logon.worldofwarcraft.com"});
        QCOMPARE(settings.arrayForKey(kFilesToUploadKey), QStringList{"%WoW%/a.lua"});
        QCOMPARE(settings.arrayForKey(kWowInstallsKey), QStringList());
        QCOMPARE(settings.arrayForKey(kPostURLKey), (QStringList{"a", "b"}));
        QVERIFY(!settings.arrayForKey(kAutoUploadKey));
    }

    void saveThatCannotBeWrittenChangesNothing_data() {
        QTest::addColumn<QString>("blocker"); // made a regular file, or a folder where the settings go
        QTest::addColumn<QString>("settingsPath");
        QTest::addColumn<QString>("reason");
        QTest::newRow("its folder is a file") << QString("blocker") << "blocker/settings.ini"
                                              << "Not a directory";
        QTest::newRow("it is a folder") << QString("settings.ini") << "settings.ini"
                                        << "this is a folder";
    }

    // Tests run as root, who may write anywhere: only a path that cannot be a file makes writing fail.
    void saveThatCannotBeWrittenChangesNothing() {
        QFETCH(QString, blocker);
        QFETCH(QString, settingsPath);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(settingsPath);
        if (blocker == settingsPath)
            QVERIFY(QDir(dir.path()).mkdir(blocker));
        else
            QVERIFY(QFile(dir.filePath(blocker)).open(QIODevice::WriteOnly));
        LVSettings settings(path);
        settings.registerDefaults({{kAutoUploadKey, true}});
        settings.setEditedValue(kAutoUploadKey, false);
        settings.setEditedValue(kUsernameKey, QStringLiteral("bob"));

        QCOMPARE(settings.editedValue(kAutoUploadKey), QVariant(false));
        QString error;
        QVERIFY(!settings.save(&error));
        QVERIFY2(error.startsWith(path) && error.endsWith(reason), qPrintable(error));
        QVERIFY(settings.boolForKey(kAutoUploadKey) && !settings.hasUserValueForKey(kUsernameKey));
        QVERIFY(settings.hasPendingEdits());
    }

    void shippedDefaultsHaveTheirKinds() {
        QString error;
        const auto defaults = lv::readPropertyList(QStringLiteral(LV_SOURCE_RESOURCES_DIR "/Defaults.plist"), &error);
        QVERIFY2(defaults.has_value(), qPrintable(error));
        LVSettings settings(settingsFile());
        settings.registerDefaults(*defaults);
        const QStringList files = settings.arrayForKey(kFilesToUploadKey).value_or(QStringList());
        QCOMPARE(files.size(), 9);
        QVERIFY(files.first().endsWith(QLatin1String("/SavedVariables/+Lorvane_Harvex.lua")));
        for (const char *key :
             {kVerboseLoggingKey, kStartMinimizedKey, kAutostartKey, kNotificationsKey, kAutoRetryKey})
            QVERIFY2(defaults->value(key).typeId() == QMetaType::Bool, key);
        QVERIFY(settings.boolForKey(kNotificationsKey) && settings.boolForKey(kAutoRetryKey) &&
                !settings.boolForKey(kAutostartKey));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "TestSettings.moc"
