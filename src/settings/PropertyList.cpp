#include "settings/PropertyList.h"

#include <QDateTime>
#include <QFile>

#include <plist/plist.h>

#include <memory>

namespace {

struct PlistDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

QVariant toVariant(plist_t node);

QString stringOf(plist_t node) {
    char *text = nullptr;
    plist_get_string_val(node, &text);
    const QString value = QString::fromUtf8(text);
    free(text);
    return value;
}

QVariant arrayToVariant(plist_t node) {
    QVariantList items;
    bool allStrings = true;
    const uint32_t count = plist_array_get_size(node);
    for (uint32_t i = 0; i < count; ++i) {
        plist_t item = plist_array_get_item(node, i);
        allStrings = allStrings && plist_get_node_type(item) == PLIST_STRING;
        items.append(toVariant(item));
    }
    if (allStrings)
        return QVariant(QVariant(items).toStringList());
    return items;
}

QVariantMap dictToMap(plist_t node) {
    QVariantMap map;
    plist_dict_iter it = nullptr;
    plist_dict_new_iter(node, &it);
    for (;;) {
        char *key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(node, it, &key, &value);
        if (!key)
            break;
        map.insert(QString::fromUtf8(key), toVariant(value));
        free(key);
    }
    free(it);
    return map;
}

QVariant toVariant(plist_t node) {
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return bool(value);
    }
    case PLIST_UINT: {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return qulonglong(value);
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return value;
    }
    case PLIST_STRING:
        return stringOf(node);
    case PLIST_ARRAY:
        return arrayToVariant(node);
    case PLIST_DICT:
        return dictToMap(node);
    case PLIST_DATA: {
        char *bytes = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &bytes, &length);
        const QByteArray value(bytes, qsizetype(length));
        free(bytes);
        return value;
    }
    default:
        return {};
    }
}

} // namespace

namespace lv {

std::optional<QVariantMap> readPropertyList(const QString &path, QString *error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    plist_t root = nullptr;
    plist_from_memory(bytes.constData(), uint32_t(bytes.size()), &root);
    const PlistPtr owner(root);
    if (!root || plist_get_node_type(root) != PLIST_DICT) {
        if (error)
            *error = QStringLiteral("%1 does not hold a property list dictionary").arg(path);
        return std::nullopt;
    }
    return dictToMap(root);
}

} // namespace lv
