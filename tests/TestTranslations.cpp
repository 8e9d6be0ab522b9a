#include "app/LVTrayIcon.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

// The translations: every language holds every text of the program, translated whole with its
// placeholders, and the program speaks the user's language from its first line on.
class TestTranslations : public QObject {
    Q_OBJECT

    using Environment = QMap<QString, QString>;

    // A catalogue's translations (several forms for a count) by context, source text and
    // disambiguation; none for a text not translated yet.
    static QMap<QStringList, QStringList> readCatalogue(const QString &path) {
        QMap<QStringList, QStringList> catalogue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return catalogue;
        QXmlStreamReader xml(&file);
        QString context;
        QStringList message;
        bool numerus = false;
        bool unfinished = false;
        while (!xml.atEnd()) {
            if (!xml.readNextStartElement())
                continue;
            if (xml.name() == u"name") {
                context = xml.readElementText();
            } else if (xml.name() == u"message") {
                message = {context, {}, {}};
                numerus = xml.attributes().value(QLatin1String("numerus")) == u"yes";
            } else if (xml.name() == u"source" || xml.name() == u"comment") {
                message[xml.name() == u"source" ? 1 : 2] = xml.readElementText();
            } else if (xml.name() == u"translation") {
                unfinished = !xml.attributes().value(QLatin1String("type")).isEmpty();
                catalogue[message];
                if (!numerus && !unfinished)
                    catalogue[message] << xml.readElementText();
            } else if (xml.name() == u"numerusform" && !unfinished) {
                catalogue[message] << xml.readElementText();
            }
        }
        return catalogue;
    }

    static QSet<QString> placeholders(const QString &text) {
        static const QRegularExpression placeholder(QStringLiteral("%L?(\\d{1,2}|n)"));
        QSet<QString> found;
        for (const QRegularExpressionMatch &match : placeholder.globalMatch(text))
            found << match.captured();
        return found;
    }

    // The real program's standard output, in a home of its own, under that locale.
    static QString client(const QString &argument, const Environment &locale) {
        const QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES", "WINEPREFIX"})
            environment.remove(QString::fromLatin1(name));
        for (auto variable = locale.cbegin(); variable != locale.cend(); ++variable)
            environment.insert(variable.key(), variable.value());
        for (const char *name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            environment.insert(QString::fromLatin1(name), home.path());
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(LV_CLIENT_BINARY), {argument});
        process.waitForFinished(60000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

private slots:
    void everyTextIsTranslatedWhole_data() {
        QTest::addColumn<QString>("catalogue");
        const QDir folder(QStringLiteral(LV_SOURCE_DIR "/translations"));
        for (const QString &name : folder.entryList({QStringLiteral("lorvane-client_*.ts")}))
            QTest::newRow(qPrintable(name)) << folder.filePath(name);
    }
    void everyTextIsTranslatedWhole() {
        QFETCH(QString, catalogue);
        // What the sources ask to be translated today, as lupdate finds it.
        const QTemporaryDir folder;
        QProcess lupdate;
        lupdate.setWorkingDirectory(QStringLiteral(LV_SOURCE_DIR));
        lupdate.start(QStringLiteral(LV_LUPDATE),
                      {"-silent", "-extensions", "cpp,h,ui", "src", "resources", "-ts", folder.filePath("sources.ts")});
        QVERIFY(lupdate.waitForFinished(60000) && lupdate.exitCode() == 0);
        const QMap<QStringList, QStringList> texts = readCatalogue(folder.filePath("sources.ts"));
        QVERIFY2(texts.size() > 100, "lupdate found no texts in the sources");

        const QMap<QStringList, QStringList> translated = readCatalogue(catalogue);
        for (const QStringList &text : texts.keys()) {
            const QString where = text.join(QLatin1Char(' ')).trimmed();
            QVERIFY2(translated.contains(text), qPrintable("missing, run scripts/update-translations: " + where));
            QVERIFY2(!translated.value(text).isEmpty(), qPrintable("unfinished: " + where));
            for (const QString &translation : translated.value(text)) {
                QVERIFY2(!translation.trimmed().isEmpty(), qPrintable("empty: " + where));
                QVERIFY2(placeholders(translation) == placeholders(text.at(1)),
                         qPrintable("placeholders differ: " + where + " -> " + translation));
            }
        }
    }

    // The program's own texts and Qt's (--help) in the first language of the user's it speaks;
    // English, the language the texts are written in, ends the search like a translated one. The tray's
    // line on the last run counts its accounts in that language's plural.
    void programSpeaksTheUsersLanguage_data() {
        QTest::addColumn<Environment>("locale");
        QTest::addColumn<QString>("help");
        QTest::addColumn<QString>("noInstall");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("lastUpload");
        const QString english = QStringLiteral("No install of the game was found.");
        const QString german = QStringLiteral("Keine Installation des Spiels gefunden.");
        const QString french = QStringLiteral("Aucune installation du jeu n’a été trouvée.");
        const QString englishTray = QStringLiteral("Last upload 02:05 PM, 3 accounts");
        const QString germanTray = QStringLiteral("Letzter Upload 14:05, 3 Accounts");
        QTest::newRow("C") << Environment{{"LANG", "C"}} << "Usage: " << english << "" << englishTray;
        QTest::newRow("German") << Environment{{"LANG", "de_DE.UTF-8"}} << "Aufruf: " << german << "de" << germanTray;
        QTest::newRow("French") << Environment{{"LANG", "fr_CA.UTF-8"}} << "Utilisation : " << french << "fr"
                                << "Dernier envoi 14:05, 3 comptes";
        QTest::newRow("LANGUAGE under C")
            << Environment{{"LANG", "C"}, {"LANGUAGE", "de"}} << "Usage: " << english << "" << englishTray;
        QTest::newRow("English before German") << Environment{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "en_GB:de"}}
                                               << "Usage: " << english << "" << englishTray;
        QTest::newRow("untranslated, then German") << Environment{{"LANG", "es_ES.UTF-8"}, {"LANGUAGE", "es:de"}}
                                                   << "Aufruf: " << german << "de" << germanTray;
    }
    void programSpeaksTheUsersLanguage() {
        QFETCH(Environment, locale);
        QFETCH(QString, help);
        QFETCH(QString, noInstall);
        QFETCH(QString, language);
        QVERIFY(client(QStringLiteral("--help"), locale).startsWith(help));
        QCOMPARE(client(QStringLiteral("--installs"), locale).trimmed(), noInstall);

        QTranslator translator;
        QVERIFY(language.isEmpty() || translator.load(QStringLiteral(":/i18n/lorvane-client_") + language));
        QCoreApplication::installTranslator(&translator);
        const QDateTime when(QDate(2026, 12, 7), QTime(14, 5));
        const QLocale timeLocale = language.isEmpty() ? QLocale::c() : QLocale(language);
        const QString lastUpload = lv::lastUploadText(when, 3, true, timeLocale, when.addSecs(60));
        QCoreApplication::removeTranslator(&translator);
        QTEST(lastUpload, "lastUpload");
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "TestTranslations.moc"
