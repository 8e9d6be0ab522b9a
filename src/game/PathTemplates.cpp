#include "game/PathTemplates.h"

namespace {

void replaceFirst(QString &text, const QString &placeholder, const QString &value) {
    if (value.isEmpty())
        return;
    const qsizetype at = text.indexOf(placeholder);
    if (at >= 0)
        text.replace(at, placeholder.size(), value);
}

} // namespace

namespace lv {

QString expandPathTemplate(const QString &pathTemplate, const QString &gameFolder, const QString &account,
                           const QString &locale) {
    QString result = pathTemplate;
    replaceFirst(result, QLatin1String(kWoWPlaceholder), gameFolder);
    replaceFirst(result, QLatin1String(kAccountPlaceholder), account);
    replaceFirst(result, QLatin1String(kLocalePlaceholder), locale);
    return result;
}

} // namespace lv
