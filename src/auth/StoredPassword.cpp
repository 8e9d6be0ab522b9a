#include "auth/StoredPassword.h"

#include "platform/LVCredentialStore.h"

namespace lv {

int replaceStoredPassword(LVCredentialStore &store, const QByteArray &password) {
    int status = store.findPassword().status;
    if (status == LVCredentialStore::kSuccess)
        status = store.deletePassword();
    if (status == LVCredentialStore::kSuccess || status == LVCredentialStore::kItemNotFound)
        status = store.addPassword(password);
    return status;
}

} // namespace lv
