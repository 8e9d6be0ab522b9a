#pragma once

#include "platform/LVCredentialStore.h"

#include <QtTest>

// The tests that use the platform's keychain run only inside the throw-away keyring that
// scripts/with-keyring starts (it sets LV_TEST_KEYRING), never against the user's own. There a
// keychain that does not answer is a failure; anywhere else these tests are skipped.
#define LV_REQUIRE_TEST_KEYRING(store)                                                                                 \
    do {                                                                                                               \
        if (!qEnvironmentVariableIsSet("LV_TEST_KEYRING"))                                                             \
            QSKIP("The keychain is tested inside scripts/test's throw-away keyring only.");                            \
        const int keyringStatus = (store).findPassword().status;                                                       \
        QVERIFY2(keyringStatus == LVCredentialStore::kSuccess || keyringStatus == LVCredentialStore::kItemNotFound,    \
                 qPrintable("The test keyring does not answer: " + (store).failureReason()));                          \
    } while (false)
