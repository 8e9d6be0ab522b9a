#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace {

const QString kProgramTranslations = QStringLiteral(":/i18n");

// "en", "en-GB", "en_US" and the C locale's names need no translation.
bool isEnglish(const QString &language) {
    static const QStringList untranslated{QStringLiteral("C"), QStringLiteral("POSIX")};
    const QString code = language.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0);
    return code.compare(QLatin1String("en"), Qt::CaseInsensitive) == 0 || untranslated.contains(code);
}

// The translator of `name` ("lorvane-client", "qtbase") for `locale` from `folder`, owned by the
// application; false when there is none. No folder is no translation, never the working folder.
bool install(const QLocale &locale, const QString &name, const QString &folder) {
    if (folder.isEmpty())
        return false;
    auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (!translator->load(locale, name, QStringLiteral("_"), folder))
        return false;
    return QCoreApplication::installTranslator(translator.release());
}

} // namespace

QStringList lv::userLanguages() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // The first of these that is set names the locale of messages; none set is the C locale.
    QByteArray messages = "C";
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const QByteArray value = qgetenv(variable); !value.isEmpty()) {
            messages = value;
            break;
        }
    if (messages == "C" || messages.startsWith("C.") || messages == "POSIX")
        return {};
#endif
    return QLocale::system().uiLanguages();
}

QString lv::installTranslations(const QStringList &languages) {
    for (const QString &language : languages) {
        if (isEnglish(language))
            return {};
        const QLocale locale(language);
        if (!install(locale, QStringLiteral("lorvane-client"), kProgramTranslations))
            continue;
        // Qt's texts and the keychain library's follow the program's language; without them they stay English.
        install(locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        install(locale, QStringLiteral("qtkeychain"), QStringLiteral(LV_QTKEYCHAIN_TRANSLATIONS));
        return QLocale::languageToCode(locale.language());
    }
    return {};
}
