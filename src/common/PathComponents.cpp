#include "common/PathComponents.h"

namespace {

QString withoutTrailingSlashes(const QString &path) {
    qsizetype end = path.size();
    while (end > 1 && path.at(end - 1) == QLatin1Char('/'))
        --end;
    return path.left(end);
}

} // namespace

namespace lv {

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

} // namespace lv
