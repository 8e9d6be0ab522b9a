#include "LVDelegateProbe.h"
#include "LVGameFolder.h"
#include "LVTestWorld.h"
#include "app/LVMainWindow.h"
#include "auth/LVAuthenticationController.h"
#include "prefs/LVPreferencesController.h"
#include "status/LVStatusBus.h"
#include "status/LVStatusLabel.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

// The main window's log disclosure and the options sheet, driven through their widgets.
class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<LVTestWorld> mWorld;
    std::unique_ptr<LVMainWindow> mWindow;
    LVApplicationDelegate *mDelegate = nullptr;

    template <typename T> T *child(const char *name) const { return mWindow->findChild<T *>(name); }
    LVPreferencesController *optionsSheet() const { return mWindow->findChild<LVPreferencesController *>(); }
    QLabel *pathLabel() const { return optionsSheet()->findChild<QLabel *>("applicationPathLabel"); }
    QPushButton *applyButton() const { return optionsSheet()->findChild<QPushButton *>("applyButton"); }
    void openOptions() const {
        child<QPushButton>("optionsButton")->click();
        QTRY_VERIFY(optionsSheet() && optionsSheet()->isVisible());
    }
    void browseTo(const QString &path) const {
        optionsSheet()->findChild<QPushButton *>("browseButton")->click();
        QFileDialog *dialog = nullptr;
        for (QFileDialog *candidate : optionsSheet()->findChildren<QFileDialog *>("browseDialog"))
            if (candidate->isVisible())
                dialog = candidate;
        QVERIFY(dialog);
        QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
        QVERIFY(dialog->filter() & QDir::Hidden);
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    }

private slots:
    void init() {
        mWorld = std::make_unique<LVTestWorld>();
        mWindow = std::make_unique<LVMainWindow>();
        mDelegate = &mWorld->makeDelegate();
        mWindow->connectTo(*mDelegate);
        mWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(mWindow.get()));
    }

    void cleanup() {
        mWindow.reset();
        mWorld.reset();
    }

    void logDisclosureGrowsAndShrinksTheWindow() {
        auto *label = child<LVStatusLabel>("statusLabel");
        auto *log = child<QTextEdit>("statusText");
        LVStatusBus::sendStatusMessage(QStringLiteral("shown"));
        label->displayMessage();
        const QRect start = mWindow->geometry();
        QVERIFY(!log->isVisible());

        child<QToolButton>("disclosureButton")->click();
        QTRY_COMPARE(mWindow->geometry().height(), start.height() + 170);
        QCOMPARE(mWindow->geometry().top(), start.top());
        QVERIFY(log->isVisible());
        QVERIFY(!label->displaysMessages());
        QCOMPARE(label->text(), QString());

        // The user makes the window taller; hiding the log takes 170 off whatever it is now.
        mWindow->resize(mWindow->width(), mWindow->height() + 40);
        child<QToolButton>("disclosureButton")->click();
        QTRY_COMPARE(mWindow->geometry().height(), start.height() + 40);
        QTRY_VERIFY(!log->isVisible());
        QVERIFY(label->displaysMessages());
        QCOMPARE(label->text(), QString()); // blank until the next message
    }

    void mixedStateHidesTheLog() {
        const int height = mWindow->height();
        mDelegate->discloseStatusText(1);
        QTRY_COMPARE(mWindow->height(), height + 170);
        mDelegate->discloseStatusText(-1);
        QTRY_COMPARE(mWindow->height(), height);
        QVERIFY(child<LVStatusLabel>("statusLabel")->displaysMessages());
    }

    void optionsShowTheDetectedPathAndApplyStoresIt() {
        mWorld->settings.registerDefaults({{kWowApplicationPathKey, QStringLiteral("/pfx/WoW/Wow.exe")}});
        openOptions();
        QCOMPARE(pathLabel()->text(), QStringLiteral("/pfx/WoW/Wow.exe"));
        QVERIFY(applyButton()->isEnabled());
        applyButton()->click();
        QVERIFY(mWorld->settings.hasUserValueForKey(kWowApplicationPathKey));
        QCOMPARE(mWorld->settings.stringForKey(kWowApplicationPathKey), QStringLiteral("/pfx/WoW/Wow.exe"));
        QTRY_VERIFY(!optionsSheet());
    }

    void withoutAPathOnlyBrowseLeadsOn() {
        LVGameFolder first;
        LVGameFolder second;
        openOptions();
        QCOMPARE(pathLabel()->text(), QString());
        QVERIFY(!applyButton()->isEnabled());

        browseTo(first.applicationPath());
        QCOMPARE(pathLabel()->text(), first.applicationPath());
        QVERIFY(applyButton()->isEnabled());
        browseTo(second.applicationPath());
        QCOMPARE(pathLabel()->text(), second.applicationPath());
        applyButton()->click();
        QCOMPARE(mWorld->settings.stringForKey(kWowApplicationPathKey), second.applicationPath());
    }

    void cancelStoresNothing() {
        LVGameFolder game;
        mWorld->settings.setValue(kWowApplicationPathKey, QStringLiteral("/stored/Wow.exe"));
        mWorld->settings.setValue(kAutoUploadKey, true);
        openOptions();
        browseTo(game.applicationPath());
        optionsSheet()->findChild<QCheckBox *>("autoUploadBox")->click();
        optionsSheet()->findChild<QPushButton *>("cancelButton")->click();
        QTRY_VERIFY(!optionsSheet());

        QCOMPARE(mWorld->settings.stringForKey(kWowApplicationPathKey), QStringLiteral("/stored/Wow.exe"));
        // A cancelled option edit is dropped, not stored by the next sheet that confirms.
        mWorld->settings.save();
        QVERIFY(mWorld->settings.boolForKey(kAutoUploadKey));
        openOptions();
        QCOMPARE(pathLabel()->text(), QStringLiteral("/stored/Wow.exe"));
        QVERIFY(optionsSheet()->findChild<QCheckBox *>("autoUploadBox")->isChecked());
    }

    void optionsAreStoredOnApply() {
        mWorld->settings.setValue(kWowApplicationPathKey, QStringLiteral("/stored/Wow.exe"));
        for (const char *key : {kAutoUploadKey, kCharacterDataKey, kRunLauncherAppKey, kVerboseLoggingKey})
            mWorld->settings.setValue(key, false);
        openOptions();
        for (const char *box : {"autoUploadBox", "characterDataBox", "runLauncherBox", "verboseLoggingBox"})
            optionsSheet()->findChild<QCheckBox *>(box)->click();
        QVERIFY(!mWorld->settings.boolForKey(kVerboseLoggingKey));
        applyButton()->click();
        for (const char *key : {kAutoUploadKey, kCharacterDataKey, kRunLauncherAppKey, kVerboseLoggingKey})
            QVERIFY2(mWorld->settings.boolForKey(key), key);
    }

    void secondSheetWaitsForTheFirst() {
        mDelegate->setupAccount();
        mDelegate->showOptions();
        auto *signIn = mWindow->findChild<LVAuthenticationController *>();
        QVERIFY(signIn && signIn->isVisible());
        QVERIFY(optionsSheet() && !optionsSheet()->isVisible());

        signIn->findChild<QPushButton *>("cancelButton")->click();
        QTRY_VERIFY(optionsSheet() && optionsSheet()->isVisible());
        QVERIFY(!mWindow->findChild<LVAuthenticationController *>());
    }
};

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
