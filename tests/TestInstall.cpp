#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// What `cmake --install` gives a user (and the Debian package, made from the same rules): the
// client, the resources it finds next to itself, and a desktop entry and metainfo that software
// centres accept. Installed into a throw-away prefix.
class TestInstall : public QObject {
    Q_OBJECT

    QTemporaryDir mRoot;

    QString installed(const QString &path) const { return mRoot.filePath(QStringLiteral("usr/") + path); }

    struct Run {
        int exitCode = -1;
        QString output;
        QString errors;
    };

    static Run run(const QString &program, const QStringList &arguments,
                   const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment()) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        if (!process.waitForFinished(60000))
            return {-1, {}, process.errorString()};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }

    // The installed client without a window, in a home of its own: with no game set it stops before
    // the keychain, after reading its defaults.
    Run installedClient(const QStringList &arguments) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const QString home = mRoot.filePath(QStringLiteral("home"));
        environment.insert(QStringLiteral("HOME"), home);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
        return run(installed(QStringLiteral("bin/lorvane-client")), arguments, environment);
    }

    static QStringList filesUnder(const QString &folder) {
        QStringList files;
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << QDir(folder).relativeFilePath(it.next());
        files.sort();
        return files;
    }

    static QByteArray contents(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase() {
        QVERIFY(mRoot.isValid());
        const Run install = run(QStringLiteral(LV_CMAKE_COMMAND),
                                {"--install", LV_BUILD_DIR, "--prefix", mRoot.filePath(QStringLiteral("usr"))});
        QVERIFY2(install.exitCode == 0, qPrintable(install.output + install.errors));
    }

    void installsWhereTheDesktopLooks_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("program") << "bin/lorvane-client";
        QTest::newRow("defaults") << "share/lorvane-client/Defaults.plist";
        QTest::newRow("window background") << "share/lorvane-client/lorvane_client_background.svg";
        QTest::newRow("window icon") << "share/lorvane-client/lorvane-client.svg";
        QTest::newRow("tray's icons") << "share/lorvane-client/lorvane-client-uploading.svg";
        QTest::newRow("menu entry") << "share/applications/org.lorvane.client.desktop";
        QTest::newRow("scalable icon") << "share/icons/hicolor/scalable/apps/lorvane-client.svg";
        QTest::newRow("metainfo") << "share/metainfo/org.lorvane.client.metainfo.xml";
        QTest::newRow("manual page") << "share/man/man1/lorvane-client.1.gz";
        QTest::newRow("copyright") << "share/doc/lorvane-client/copyright";
        QTest::newRow("changelog") << "share/doc/lorvane-client/changelog.gz";
    }
    void installsWhereTheDesktopLooks() {
        QFETCH(QString, path);
        QVERIFY2(QFileInfo(installed(path)).isFile(), qPrintable(path));
    }

    // Each size a desktop asks for, drawn at the size its folder names (a PNG's width and height are
    // at bytes 16 and 20).
    void installsTheIconAtEverySize_data() {
        QTest::addColumn<int>("size");
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            QTest::addRow("%d px", size) << size;
    }
    void installsTheIconAtEverySize() {
        QFETCH(int, size);
        const QByteArray png =
            contents(installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/lorvane-client.png").arg(size)));
        QVERIFY(png.startsWith("\x89PNG"));
        QDataStream header(png.mid(16, 8));
        quint32 width = 0, height = 0;
        header >> width >> height;
        QCOMPARE(width, quint32(size));
        QCOMPARE(height, quint32(size));
    }

    // Every option --help lists is in the installed manual page, which man can read.
    void manualPageDocumentsEveryOption() {
        const Run page =
            run(QStringLiteral("gzip"), {"-dc", installed(QStringLiteral("share/man/man1/lorvane-client.1.gz"))});
        QCOMPARE(page.exitCode, 0);
        const Run help = installedClient({QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        const QRegularExpression option(QStringLiteral("^\\s+(?:-\\w, )?--([\\w-]+)"),
                                        QRegularExpression::MultilineOption);
        QStringList options;
        for (const QRegularExpressionMatch &match : option.globalMatch(help.output))
            options << match.captured(1);
        QVERIFY2(options.size() >= 8, qPrintable(help.output));
        for (const QString &name : std::as_const(options))
            QVERIFY2(page.output.contains(QStringLiteral("\\-\\-") + QString(name).replace('-', QStringLiteral("\\-"))),
                     qPrintable(name));
    }

    // Every file of the addon the client installs into the game, byte for byte, in its own folder.
    void installsTheWholeAddon() {
        const QString source = QStringLiteral(LV_SOURCE_RESOURCES_DIR "/+Lorvane_Harvex");
        const QString copy = installed(QStringLiteral("share/lorvane-client/+Lorvane_Harvex"));
        const QStringList files = filesUnder(source);
        QVERIFY(!files.isEmpty());
        QCOMPARE(filesUnder(copy), files);
        for (const QString &file : files)
            QVERIFY2(contents(source + '/' + file) == contents(copy + '/' + file), qPrintable(file));
    }

    // The site, the screenshot helper, tests and benchmarks are for developers.
    void installsOnlyTheClientProgram() {
        QStringList expected{QStringLiteral("lorvane-client")};
        if (LV_INSTALL_SITE)
            expected << QStringLiteral("lorvane-site");
        QCOMPARE(QDir(installed(QStringLiteral("bin"))).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name),
                 expected);
    }

    // The metainfo names the installed desktop entry and follows the id in its file name.
    void metainfoValidatesAgainstTheInstalledTree() {
        const Run validate = run(QStringLiteral("appstreamcli"), {"validate-tree", "--no-net", mRoot.path()});
        QVERIFY2(validate.exitCode == 0, qPrintable(validate.output + validate.errors));
    }

    void installedClientCallsItselfThisVersion() {
        const Run version = installedClient({QStringLiteral("--version")});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.output.trimmed(), QStringLiteral("Lorvane Client " LV_VERSION));
        const QByteArray metainfo =
            contents(installed(QStringLiteral("share/metainfo/org.lorvane.client.metainfo.xml")));
        QVERIFY(metainfo.contains("<release version=\"" LV_VERSION "\""));
    }

    // The installed client reads the defaults installed next to it, not those of the source tree it
    // was built from: spoiling the installed copy must show.
    void installedClientReadsTheInstalledDefaults() {
        const QString noDefaults = QStringLiteral("No defaults registered");
        const Run intact = installedClient({QStringLiteral("--upload")});
        QCOMPARE(intact.exitCode, 2);
        QVERIFY2(!intact.errors.contains(noDefaults), qPrintable(intact.errors));

        QFile defaults(installed(QStringLiteral("share/lorvane-client/Defaults.plist")));
        QVERIFY(defaults.open(QIODevice::WriteOnly | QIODevice::Truncate));
        defaults.write("<plist><dict><key>cut off");
        defaults.close();
        const Run spoilt = installedClient({QStringLiteral("--upload")});
        QCOMPARE(spoilt.exitCode, 2);
        QVERIFY2(spoilt.errors.contains(noDefaults), qPrintable(spoilt.errors));
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "TestInstall.moc"
