#include "LVFakeWorkspace.h"
#include "settings/LVSettings.h"
#include "settings/PropertyList.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSettings : public QObject {
    Q_OBJECT

private:
    QTemporaryDir mDir;
    QString settingsFile() const { return mDir.filePath(QStringLiteral("settings.ini")); }
    QString writePlist(const QString &body) {
        const QString path = mDir.filePath(QStringLiteral("Defaults.plist"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(
            ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + body + "</dict></plist>")
                .toUtf8());
        return path;
    }

private slots:
    void init() { QFile::remove(settingsFile()); }

    void gamePathRegistration_data() {
        QTest::addColumn<QString>("storedPath"); // "<none>" when the user stored nothing
        QTest::addColumn<bool>("defaultPathExists");
        QTest::addColumn<QString>("detectedPath");
        QTest::addColumn<QString>("expectedPath");
        QTest::addColumn<bool>("expectDetection");

        QTest::newRow("stored path wins even when missing on disk")
            << "/nowhere/Wow.exe" << false << "/detected/Wow.exe"
            << "/nowhere/Wow.exe" << false;
        QTest::newRow("stored empty path still wins") << "" << false << "/detected/Wow.exe"
                                                      << "" << false;
        QTest::newRow("existing default path stays") << "<none>" << true << "/detected/Wow.exe"
                                                     << "<default>" << false;
        QTest::newRow("missing default path is replaced by detection") << "<none>" << false << "/detected/Wow.exe"
                                                                       << "/detected/Wow.exe" << true;
        QTest::newRow("nothing detected leaves the default") << "<none>" << false << ""
                                                             << "<default>" << true;
    }

    void gamePathRegistration() {
        QFETCH(QString, storedPath);
        QFETCH(bool, defaultPathExists);
        QFETCH(QString, detectedPath);
        QFETCH(QString, expectedPath);
        QFETCH(bool, expectDetection);

        const QString defaultPath = mDir.filePath(QStringLiteral("Game/Wow.exe"));
        if (defaultPathExists) {
            QDir(mDir.path()).mkpath(QStringLiteral("Game"));
            QFile(defaultPath).open(QIODevice::WriteOnly);
        } else {
            QFile::remove(defaultPath);
        }
        if (expectedPath == QLatin1String("<default>"))
            expectedPath = defaultPath;

        LVSettings settings(settingsFile());
        if (storedPath != QLatin1String("<none>"))
            settings.setValue(kWowApplicationPathKey, storedPath);
        LVFakeWorkspace workspace;
        if (!detectedPath.isEmpty())
            workspace.installedApplications.insert(QStringLiteral("Wow"), detectedPath);

        registerDefaultsFromFile(settings,
                                 writePlist(QStringLiteral("<key>wow_application_name</key><string>Wow</string>"
                                                           "<key>wow_application_path</key><string>%1</string>")
                                                .arg(defaultPath)),
                                 workspace);

        QCOMPARE(settings.stringForKey(kWowApplicationPathKey), expectedPath);
        QCOMPARE(workspace.lookedUp, expectDetection ? QStringList{QStringLiteral("Wow")} : QStringList());
        // A detected path is a default for this run, never the user's own value.
        QCOMPARE(settings.hasUserValueForKey(kWowApplicationPathKey), storedPath != QLatin1String("<none>"));
    }

    void absentKeysReadAsAbsentOrFalse() {
        LVSettings settings(settingsFile());
        LVFakeWorkspace workspace;
        registerDefaultsFromFile(settings, writePlist(QStringLiteral("<key>lvclient_autoupload</key><true/>")),
                                 workspace);

        QVERIFY(settings.stringForKey(kPostURLKey).isNull());
        QVERIFY(!settings.valueForKey(kWowApplicationPathKey).isValid());
        QVERIFY(!settings.boolForKey(kCharacterDataKey));
        QVERIFY(!settings.arrayForKey(kFilesToUploadKey).has_value());
        QVERIFY(settings.boolForKey(kAutoUploadKey));

        settings.setValue(kWowApplicationPathKey, QString(""));
        QVERIFY(!settings.stringForKey(kWowApplicationPathKey).isNull());
        QVERIFY(settings.stringForKey(kWowApplicationPathKey).isEmpty());
    }

    void unreadableDefaultsFileRegistersNothing() {
        LVSettings settings(settingsFile());
        LVFakeWorkspace workspace;
        registerDefaultsFromFile(settings, mDir.filePath(QStringLiteral("missing.plist")), workspace);
        QVERIFY(settings.registeredDefaults().isEmpty());

        registerDefaultsFromFile(settings, writePlist(QStringLiteral("<key>broken")), workspace);
        QVERIFY(settings.registeredDefaults().isEmpty());
    }

    void userValuesPersistAndOutrankDefaults() {
        {
            LVSettings settings(settingsFile());
            settings.registerDefaults({{kUsernameKey, QStringLiteral("default")}});
            settings.setValue(kUsernameKey, QStringLiteral("alice"));
            settings.setValue(kVerboseLoggingKey, true);
            QVERIFY(settings.synchronize());
        }
        LVSettings reopened(settingsFile());
        reopened.registerDefaults({{kUsernameKey, QStringLiteral("default")}});
        QCOMPARE(reopened.stringForKey(kUsernameKey), QStringLiteral("alice"));
        QVERIFY(reopened.boolForKey(kVerboseLoggingKey));
    }

    void editsWaitForSave() {
        LVSettings settings(settingsFile());
        settings.registerDefaults({{kAutoUploadKey, true}});
        QSignalSpy changed(&settings, &LVSettings::editedValueChanged);

        settings.setEditedValue(kAutoUploadKey, false);
        settings.setEditedValue(kUsernameKey, QStringLiteral("bob"));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(settings.editedValue(kAutoUploadKey), QVariant(false));
        QVERIFY(settings.boolForKey(kAutoUploadKey));
        QVERIFY(settings.stringForKey(kUsernameKey).isNull());

        settings.save();
        QVERIFY(!settings.hasPendingEdits());
        QVERIFY(!settings.boolForKey(kAutoUploadKey));
        LVSettings reopened(settingsFile());
        QCOMPARE(reopened.stringForKey(kUsernameKey), QStringLiteral("bob"));
    }

    void shippedDefaultsHaveTheirKinds() {
        QString error;
        const auto defaults = readPropertyList(QStringLiteral(LV_SOURCE_RESOURCES_DIR "/Defaults.plist"), &error);
        QVERIFY2(defaults.has_value(), qPrintable(error));
        LVSettings settings(settingsFile());
        settings.registerDefaults(*defaults);

        const QStringList files = settings.arrayForKey(kFilesToUploadKey).value_or(QStringList());
        QCOMPARE(files.size(), 9);
        QVERIFY(files.first().endsWith(QLatin1String("/SavedVariables/+Lorvane_Harvex.lua")));
        for (const QString &cacheFile : files.mid(1))
            QVERIFY(cacheFile.startsWith(QLatin1String("%WoW%/Cache/WDB/%locale%/")) &&
                    cacheFile.endsWith(QLatin1String(".wdb")));
        QVERIFY(!settings.arrayForKey(kValidRealmsKey).value_or(QStringList()).isEmpty());
        for (const char *key : {kPostURLKey, kAuthURLKey})
            QVERIFY(settings.stringForKey(key).endsWith(QLatin1Char('?')));
        QVERIFY(QUrl(settings.stringForKey(kUpdateURLKey)).isValid());
        QCOMPARE(settings.stringForKey(kWowApplicationNameKey), QStringLiteral("Wow"));
        QVERIFY(defaults->value(kVerboseLoggingKey).typeId() == QMetaType::Bool);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "TestSettings.moc"
