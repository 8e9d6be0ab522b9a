#include "game/RealmCheck.h"

namespace lv {

QString findAcceptedRealm(QStringView realmList, const QStringList &acceptedRealms) {
    for (const QString &realm : acceptedRealms) {
        if (!realm.isEmpty() && realmList.contains(realm))
            return realm;
    }
    return {};
}

} // namespace lv
