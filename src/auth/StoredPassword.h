#pragma once

#include <QByteArray>

class LVCredentialStore;

namespace lv {

// Replaces the stored item with a new one holding `password`: the old item is deleted before the
// new one is added, so there is never more than one. Answers the status of the last step.
int replaceStoredPassword(LVCredentialStore &store, const QByteArray &password);

} // namespace lv
