#include "game/PathTemplates.h"

#include <QList>

namespace {

// A piece of the path being expanded: text of the template, where placeholders count, or a value
// put in, which is never looked into again.
struct Piece {
    QString text;
    bool fromTemplate = true;
};

void replaceFirst(QList<Piece> &pieces, const QString &placeholder, const QString &value) {
    if (value.isEmpty())
        return;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const qsizetype at = pieces[i].fromTemplate ? pieces[i].text.indexOf(placeholder) : -1;
        if (at < 0)
            continue;
        const QString text = pieces[i].text;
        pieces[i].text = text.left(at);
        pieces.insert(i + 1, {value, false});
        pieces.insert(i + 2, {text.mid(at + placeholder.size()), true});
        return;
    }
}

} // namespace

namespace lv {

QString expandPathTemplate(const QString &pathTemplate, const QString &gameFolder, const QString &account,
                           const QString &locale) {
    QList<Piece> pieces{{pathTemplate, true}};
    replaceFirst(pieces, QLatin1String(kWoWPlaceholder), gameFolder);
    replaceFirst(pieces, QLatin1String(kAccountPlaceholder), account);
    replaceFirst(pieces, QLatin1String(kLocalePlaceholder), locale);
    QString result;
    for (const Piece &piece : pieces)
        result += piece.text;
    return result;
}

} // namespace lv
