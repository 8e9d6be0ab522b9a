#include "app/Translations.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

// The translations: every language holds every text of the program, each translated whole and with
// its placeholders, and the program speaks the user's language from its first line on.
class TestTranslations : public QObject {
    Q_OBJECT

    using Environment = QMap<QString, QString>;

    // One text to translate and what a catalogue gives for it (several forms for a count).
    struct Entry {
        QString context;
        QString source;
        QString comment;
        QStringList translations;
        bool finished = true;
    };

    static QList<Entry> readCatalogue(const QString &path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QList<Entry> entries;
        QString context;
        bool numerus = false;
        QXmlStreamReader xml(&file);
        while (!xml.atEnd()) {
            if (!xml.readNextStartElement())
                continue;
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (xml.name() == QLatin1String("message")) {
                entries.append({context, {}, {}, {}, true});
                numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
            } else if (xml.name() == QLatin1String("source")) {
                entries.last().source = xml.readElementText();
            } else if (xml.name() == QLatin1String("comment")) {
                entries.last().comment = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                entries.last().finished = xml.attributes().value(QLatin1String("type")).isEmpty();
                if (!numerus)
                    entries.last().translations << xml.readElementText();
            } else if (xml.name() == QLatin1String("numerusform")) {
                entries.last().translations << xml.readElementText();
            }
        }
        return entries;
    }

    // What the sources ask to be translated today, as lupdate finds it.
    static QList<Entry> textsOfTheSources(const QTemporaryDir &folder) {
        QProcess lupdate;
        lupdate.setWorkingDirectory(QStringLiteral(LV_SOURCE_DIR));
        const QString catalogue = folder.filePath(QStringLiteral("sources.ts"));
        lupdate.start(QStringLiteral(LV_LUPDATE),
                      {"-silent", "-extensions", "cpp,h,ui", "src", "resources", "-ts", catalogue});
        if (!lupdate.waitForFinished(60000) || lupdate.exitCode() != 0)
            return {};
        return readCatalogue(catalogue);
    }

    static QSet<QString> placeholders(const QString &text) {
        static const QRegularExpression placeholder(QStringLiteral("%(L?\\d{1,2}|L?n)"));
        QSet<QString> found;
        for (const QRegularExpressionMatch &match : placeholder.globalMatch(text))
            found << match.captured();
        return found;
    }

    static QString client(const QStringList &arguments, const Environment &locale) {
        const QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES", "WINEPREFIX"})
            environment.remove(QString::fromLatin1(name));
        for (auto variable = locale.cbegin(); variable != locale.cend(); ++variable)
            environment.insert(variable.key(), variable.value());
        environment.insert(QStringLiteral("HOME"), home.path());
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            environment.insert(QString::fromLatin1(name), home.path());
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(LV_CLIENT_BINARY), arguments);
        process.waitForFinished(60000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

private slots:
    void cleanup() {
        for (QTranslator *translator : QCoreApplication::instance()->findChildren<QTranslator *>())
            delete translator;
    }

    void everyTextIsTranslatedWhole_data() {
        QTest::addColumn<QString>("catalogue");
        const QDir folder(QStringLiteral(LV_SOURCE_DIR "/translations"));
        for (const QString &name : folder.entryList({QStringLiteral("lorvane-client_*.ts")}))
            QTest::newRow(qPrintable(name)) << folder.filePath(name);
    }
    void everyTextIsTranslatedWhole() {
        QFETCH(QString, catalogue);
        const QTemporaryDir folder;
        const QList<Entry> texts = textsOfTheSources(folder);
        QVERIFY2(texts.size() > 100, "lupdate found no texts in the sources");
        const QList<Entry> translated = readCatalogue(catalogue);
        for (const Entry &text : texts) {
            const auto entry = std::find_if(translated.cbegin(), translated.cend(), [&](const Entry &candidate) {
                return candidate.context == text.context && candidate.source == text.source &&
                       candidate.comment == text.comment;
            });
            const QString where = text.context + QStringLiteral(": ") + text.source;
            QVERIFY2(entry != translated.cend(), qPrintable("missing, run scripts/update-translations: " + where));
            QVERIFY2(entry->finished && !entry->translations.isEmpty(), qPrintable("unfinished: " + where));
            for (const QString &translation : entry->translations) {
                QVERIFY2(!translation.trimmed().isEmpty(), qPrintable("empty: " + where));
                QVERIFY2(placeholders(translation) == placeholders(text.source),
                         qPrintable("placeholders differ: " + where + " -> " + translation));
            }
        }
    }

    // English, the language the texts are written in, ends the search like a translated language.
    void firstLanguageTranslatedIsSpoken_data() {
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<QString>("spoken");
        QTest::addColumn<QString>("text");
        QTest::newRow("German") << QStringList{"de-AT", "de"} << "de"
                                << "Ein anderer Upload läuft bereits";
        QTest::newRow("untranslated, then French") << QStringList{"es-ES", "fr"} << "fr"
                                                   << "Un autre envoi est en cours";
        QTest::newRow("English before German") << QStringList{"en-GB", "de"} << ""
                                               << "Another upload is running";
        QTest::newRow("C locale") << QStringList{"C"} << ""
                                  << "Another upload is running";
        QTest::newRow("only untranslated") << QStringList{"es", "xx"} << ""
                                           << "Another upload is running";
    }
    void firstLanguageTranslatedIsSpoken() {
        QFETCH(QStringList, languages);
        QFETCH(QString, spoken);
        QFETCH(QString, text);
        QCOMPARE(lv::installTranslations(languages), spoken);
        QCOMPARE(QCoreApplication::translate("LVUploadRun", "Another upload is running"), text);
    }

    // The real program, from the user's locale: its own texts and Qt's (--help) in one language.
    void programSpeaksTheUsersLanguage_data() {
        QTest::addColumn<Environment>("locale");
        QTest::addColumn<QString>("help");
        QTest::addColumn<QString>("noInstall");
        const QString english = QStringLiteral("No install of the game was found.");
        QTest::newRow("C") << Environment{{"LANG", "C"}} << "Usage: " << english;
        QTest::newRow("German") << Environment{{"LANG", "de_DE.UTF-8"}} << "Aufruf: "
                                << "Keine Installation des Spiels gefunden.";
        QTest::newRow("French") << Environment{{"LANG", "fr_FR.UTF-8"}} << "Utilisation : "
                                << "Aucune installation du jeu n’a été trouvée.";
        QTest::newRow("LC_ALL over LANG")
            << Environment{{"LANG", "de_DE.UTF-8"}, {"LC_ALL", "C"}} << "Usage: " << english;
        QTest::newRow("LANGUAGE under C") << Environment{{"LANG", "C"}, {"LANGUAGE", "de"}} << "Usage: " << english;
        QTest::newRow("languages in order")
            << Environment{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "fr:de"}} << "Utilisation : "
            << "Aucune installation du jeu n’a été trouvée.";
    }
    void programSpeaksTheUsersLanguage() {
        QFETCH(Environment, locale);
        QFETCH(QString, help);
        QFETCH(QString, noInstall);
        QVERIFY(client({QStringLiteral("--help")}, locale).startsWith(help));
        QCOMPARE(client({QStringLiteral("--installs")}, locale).trimmed(), noInstall);
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "TestTranslations.moc"
