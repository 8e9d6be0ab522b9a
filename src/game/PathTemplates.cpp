#include "game/PathTemplates.h"

namespace {

QString withoutTrailingSlashes(const QString &path) {
    qsizetype end = path.size();
    while (end > 1 && path.at(end - 1) == QLatin1Char('/'))
        --end;
    return path.left(end);
}

void replaceFirst(QString &text, const QString &placeholder, const QString &value) {
    if (value.isEmpty())
        return;
    const qsizetype at = text.indexOf(placeholder);
    if (at >= 0)
        text.replace(at, placeholder.size(), value);
}

} // namespace

QString deletingLastPathComponent(const QString &path) {
    const QString trimmed = withoutTrailingSlashes(path);
    const qsizetype slash = trimmed.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QStringLiteral("");
    if (slash == 0)
        return QStringLiteral("/");
    return withoutTrailingSlashes(trimmed.left(slash));
}

QString appendingPathComponent(const QString &path, const QString &component) {
    if (path.isEmpty())
        return component;
    QString joined = path;
    if (!joined.endsWith(QLatin1Char('/')))
        joined += QLatin1Char('/');
    qsizetype start = 0;
    while (start < component.size() && component.at(start) == QLatin1Char('/'))
        ++start;
    return joined + component.mid(start);
}

QString lastPathComponent(const QString &path) {
    const QString trimmed = withoutTrailingSlashes(path);
    if (trimmed == QLatin1String("/"))
        return trimmed;
    return trimmed.mid(trimmed.lastIndexOf(QLatin1Char('/')) + 1);
}

QString pathExtension(const QString &path) {
    const QString name = lastPathComponent(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.mid(dot + 1) : QStringLiteral("");
}

QString deletingPathExtension(const QString &path) {
    const QString extension = pathExtension(path);
    if (extension.isEmpty())
        return path;
    const QString trimmed = withoutTrailingSlashes(path);
    return trimmed.left(trimmed.size() - extension.size() - 1);
}

QString expandPathTemplate(const QString &pathTemplate, const QString &gameFolder, const QString &account,
                           const QString &locale) {
    QString result = pathTemplate;
    replaceFirst(result, QLatin1String(kWoWPlaceholder), gameFolder);
    replaceFirst(result, QLatin1String(kAccountPlaceholder), account);
    replaceFirst(result, QLatin1String(kLocalePlaceholder), locale);
    return result;
}
