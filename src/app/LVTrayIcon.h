#pragma once

#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

#include <memory>

class QAbstractButton;
class QAction;
class QMenu;

// The client's icon in the desktop's tray, where the desktop has one: its menu uploads, launches the
// game, signs in, pauses the automatic uploads, opens the History and Options, shows the window and
// quits; its tooltip tells what the client is doing, why it cannot upload now, and how the last upload
// went. Its picture is the client's icon, with a badge while an upload runs or something needs the user.
class LVTrayIcon : public QObject {
    Q_OBJECT
public:
    enum State { Watching, GameRunning, Uploading };
    enum Picture { IdlePicture, UploadingPicture, ProblemPicture };

    // The pictures are the icons in the resource folder.
    explicit LVTrayIcon(const QString &resourceFolder, QObject *parent = nullptr);
    ~LVTrayIcon() override;

    // Whether the desktop shows tray icons now.
    static bool isSystemTrayAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

    void show() { mIcon.show(); }
    void setState(State state);
    // Something needs the user: the last upload failed, the site refused the password, the keychain...
    void setProblem(bool problem);
    Picture picture() const { return mPicture; }
    void setLastUpload(const QDateTime &when, int accounts, bool succeeded);
    // Why uploading is not possible now, or what happens next; null: nothing to tell.
    void setExplanation(const QString &why);
    // How automatic uploads are paused; null while they are not.
    void setPause(const QString &pause);
    // "Upload now" and "Launch" are enabled exactly when these buttons are, whoever changes them.
    void followButtons(QAbstractButton *uploadButton, QAbstractButton *launchButton);

    QString toolTip() const { return mIcon.toolTip(); }
    QMenu *menu() const { return mMenu.get(); }

signals:
    void uploadRequested();
    void launchRequested();
    void showWindowRequested();
    void quitRequested();
    void signInRequested();
    void historyRequested();
    void optionsRequested();
    // No automatic upload for that many seconds, or, for 0, until resumed.
    void pauseRequested(qint64 seconds);
    void resumeRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addAction(const QString &text, const char *name, void (LVTrayIcon::*request)());
    void addPauseMenu();
    void updateToolTip();
    void updatePicture();

    std::unique_ptr<QMenu> mMenu;
    QSystemTrayIcon mIcon;
    QAction *mStateLine = nullptr;
    QAction *mLastUploadLine = nullptr;
    QAction *mUploadAction = nullptr;
    QAction *mLaunchAction = nullptr;
    QAction *mPauseMenuAction = nullptr;
    QAction *mResumeAction = nullptr;
    QPointer<QAbstractButton> mUploadButton;
    QPointer<QAbstractButton> mLaunchButton;
    QIcon mPictures[3];
    State mState = Watching;
    bool mProblem = false;
    Picture mPicture = IdlePicture;
    QString mLastUpload;
    QString mExplanation;
    QString mPause;
};

namespace lv {

// "Last upload 01:02 PM, 2 accounts", or "Last upload 01:02 PM failed"; the date comes first when the
// upload was not today.
QString lastUploadText(const QDateTime &when, int accounts, bool succeeded, const QLocale &locale = QLocale::system(),
                       const QDateTime &now = QDateTime::currentDateTime());

} // namespace lv
