#pragma once

#include <QStringList>
#include <QStringView>

namespace lv {

// The first of the accepted realms, in the list's order, that occurs anywhere in the realm list's
// text: a plain, case-sensitive substring search. Null when none occurs. An empty name never
// matches: it would name no realm.
QString findAcceptedRealm(QStringView realmList, const QStringList &acceptedRealms);

} // namespace lv
