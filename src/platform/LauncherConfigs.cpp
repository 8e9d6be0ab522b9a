#include "platform/LauncherConfigs.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <optional>

namespace {

qsizetype indentOf(const QString &line) {
    qsizetype indent = 0;
    while (indent < line.size() && line.at(indent) == QLatin1Char(' '))
        ++indent;
    return indent;
}

QString singleQuoted(const QString &value) {
    const qsizetype end = value.lastIndexOf(QLatin1Char('\''));
    return value.mid(1, end > 0 ? end - 1 : -1).replace(QStringLiteral("''"), QStringLiteral("'"));
}

QString doubleQuoted(const QString &value) {
    QString unquoted;
    for (qsizetype i = 1; i < value.size() && value.at(i) != QLatin1Char('"'); ++i) {
        if (value.at(i) == QLatin1Char('\\') && i + 1 < value.size())
            ++i;
        unquoted += value.at(i);
    }
    return unquoted;
}

// A scalar as YAML writes it: quoted, or plain up to a comment.
QString yamlScalar(const QString &raw) {
    const QString value = raw.trimmed();
    if (value.startsWith(QLatin1Char('\'')))
        return singleQuoted(value);
    if (value.startsWith(QLatin1Char('"')))
        return doubleQuoted(value);
    const qsizetype comment = value.indexOf(QStringLiteral(" #"));
    return (comment >= 0 ? value.left(comment) : value).trimmed();
}

struct LVYamlLine {
    qsizetype indent = 0;
    QString key;
    QString value; // what follows the colon, untouched
};

std::optional<LVYamlLine> parseYamlLine(const QString &line) {
    const QString content = line.trimmed();
    if (content.isEmpty() || content.startsWith(QLatin1Char('#')) || content.startsWith(QLatin1Char('-')))
        return std::nullopt;
    static const QRegularExpression keyValue(QStringLiteral("^([^:\\s'\"][^:]*):(?:\\s+(.*))?$"));
    const QRegularExpressionMatch match = keyValue.match(content);
    if (!match.hasMatch())
        return std::nullopt;
    return LVYamlLine{indentOf(line), match.captured(1).trimmed(), match.captured(2)};
}

// The quoted strings of one line of a Valve key-value file, backslash escapes undone.
QStringList vdfTokens(const QString &line) {
    QStringList tokens;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) != QLatin1Char('"'))
            continue;
        QString token;
        for (++i; i < line.size() && line.at(i) != QLatin1Char('"'); ++i) {
            if (line.at(i) == QLatin1Char('\\') && i + 1 < line.size())
                ++i;
            token += line.at(i);
        }
        tokens << token;
    }
    return tokens;
}

bool isNumber(const QString &text) {
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    return digits.match(text).hasMatch();
}

} // namespace

namespace lv {

QString expandHome(const QString &path, const QString &home) {
    if (path == QLatin1String("~"))
        return home;
    if (path.startsWith(QLatin1String("~/")))
        return home + path.mid(1);
    return path;
}

QString simpleYamlValue(const QString &text, const QString &section, const QString &key) {
    QString currentSection;
    qsizetype sectionIndent = -1; // the indent of the section's own keys, once seen
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const std::optional<LVYamlLine> parsed = parseYamlLine(line);
        if (!parsed)
            continue;
        if (parsed->indent == 0) {
            if (section.isEmpty() && parsed->key == key)
                return yamlScalar(parsed->value);
            currentSection = parsed->value.trimmed().isEmpty() ? parsed->key : QString();
            sectionIndent = -1;
            continue;
        }
        if (section.isEmpty() || currentSection != section)
            continue;
        if (sectionIndent < 0)
            sectionIndent = parsed->indent;
        if (parsed->indent == sectionIndent && parsed->key == key)
            return yamlScalar(parsed->value);
    }
    return {};
}

LVLauncherPrefix lutrisGamePrefix(const QString &text, const QString &fileName, const QString &home) {
    const QString prefix = simpleYamlValue(text, QStringLiteral("game"), QStringLiteral("prefix"));
    QString slug = simpleYamlValue(text, QString(), QStringLiteral("game_slug"));
    if (slug.isEmpty()) {
        static const QRegularExpression timestamp(QStringLiteral("-\\d+$"));
        slug = QFileInfo(fileName).completeBaseName().remove(timestamp);
    }
    return {prefix.isEmpty() ? QString() : QDir::cleanPath(expandHome(prefix, home)), slug};
}

QStringList steamLibraryFolders(const QString &vdf) {
    QStringList folders;
    for (const QString &line : vdf.split(QLatin1Char('\n'))) {
        const QStringList tokens = vdfTokens(line);
        if (tokens.size() != 2 || tokens.at(1).isEmpty())
            continue;
        // Older files list each library as a number and its path.
        const bool olderForm = isNumber(tokens.at(0)) && tokens.at(1).startsWith(QLatin1Char('/'));
        if (tokens.at(0).compare(QLatin1String("path"), Qt::CaseInsensitive) == 0 || olderForm)
            folders << tokens.at(1);
    }
    return folders;
}

QList<LVLauncherPrefix> heroicGamePrefixes(const QByteArray &json, const QString &home) {
    QList<LVLauncherPrefix> prefixes;
    const QJsonObject games = QJsonDocument::fromJson(json).object();
    for (auto game = games.constBegin(); game != games.constEnd(); ++game) {
        const QString prefix = game.value().toObject().value(QLatin1String("winePrefix")).toString();
        if (!prefix.isEmpty())
            prefixes.append({QDir::cleanPath(expandHome(prefix, home)), game.key()});
    }
    return prefixes;
}

} // namespace lv
