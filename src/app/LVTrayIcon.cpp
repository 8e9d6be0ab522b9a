#include "app/LVTrayIcon.h"

#include "common/TimeText.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QMenu>

LVTrayIcon::LVTrayIcon(const QString &resourceFolder, QObject *parent)
    : QObject(parent)
    , mMenu(std::make_unique<QMenu>()) {
    const QDir folder(resourceFolder);
    for (const auto &[picture, file] : {std::pair{IdlePicture, "lorvane-client.svg"},
                                        {UploadingPicture, "lorvane-client-uploading.svg"},
                                        {ProblemPicture, "lorvane-client-problem.svg"}})
        mPictures[picture] = QIcon(folder.filePath(QString::fromLatin1(file)));
    mIcon.setIcon(mPictures[IdlePicture]);
    mMenu->setObjectName(QStringLiteral("trayMenu"));
    // The style draws separators in the menu's own colour, darkened: nothing to see on a dark menu.
    mMenu->setStyleSheet(QStringLiteral("QMenu::separator { height: 1px; margin: 4px 8px; background: #4a4468; }"));
    // Some desktops show no tooltips for tray icons: the menu tells the same.
    mStateLine = mMenu->addAction(QString());
    mStateLine->setEnabled(false);
    mLastUploadLine = mMenu->addAction(QString());
    mLastUploadLine->setEnabled(false);
    mLastUploadLine->setVisible(false);
    mMenu->addSeparator();
    mUploadAction = addAction(tr("&Upload now"), "uploadNowAction", &LVTrayIcon::uploadRequested);
    mLaunchAction = addAction(tr("&Launch"), "launchAction", &LVTrayIcon::launchRequested);
    addAction(tr("Sign &in…"), "signInAction", &LVTrayIcon::signInRequested);
    addPauseMenu();
    mMenu->addSeparator();
    addAction(tr("&History…"), "historyAction", &LVTrayIcon::historyRequested);
    addAction(tr("&Options…"), "optionsAction", &LVTrayIcon::optionsRequested);
    addAction(tr("&Show window"), "showWindowAction", &LVTrayIcon::showWindowRequested);
    mMenu->addSeparator();
    addAction(tr("&Quit"), "quitAction", &LVTrayIcon::quitRequested);
    mIcon.setContextMenu(mMenu.get());
    connect(&mIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            emit showWindowRequested();
    });
    updateToolTip();
}

LVTrayIcon::~LVTrayIcon() = default;

QAction *LVTrayIcon::addAction(const QString &text, const char *name, void (LVTrayIcon::*request)()) {
    QAction *action = mMenu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, request);
    return action;
}

void LVTrayIcon::addPauseMenu() {
    QMenu *pause = mMenu->addMenu(tr("&Pause automatic uploads"));
    pause->setObjectName(QStringLiteral("pauseMenu"));
    mPauseMenuAction = pause->menuAction();
    for (const auto &[text, name, seconds] : {std::tuple(QT_TR_NOOP("For an &hour"), "pauseHourAction", 3600),
                                              std::tuple(QT_TR_NOOP("&Until I resume them"), "pauseAction", 0)}) {
        QAction *action = pause->addAction(tr(text));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, seconds = seconds] { emit pauseRequested(seconds); });
    }
    mResumeAction = addAction(tr("&Resume automatic uploads"), "resumeAction", &LVTrayIcon::resumeRequested);
    mResumeAction->setVisible(false);
}

void LVTrayIcon::setState(State state) {
    mState = state;
    updateToolTip();
    updatePicture();
}

void LVTrayIcon::setProblem(bool problem) {
    mProblem = problem;
    updatePicture();
}

void LVTrayIcon::updatePicture() {
    const Picture picture = mState == Uploading ? UploadingPicture : mProblem ? ProblemPicture : IdlePicture;
    if (std::exchange(mPicture, picture) != picture)
        mIcon.setIcon(mPictures[picture]);
}

void LVTrayIcon::setLastUpload(const QDateTime &when, int accounts, bool succeeded) {
    mLastUpload = lv::lastUploadText(when, accounts, succeeded);
    updateToolTip();
}

void LVTrayIcon::setExplanation(const QString &why) {
    mExplanation = why;
    updateToolTip();
}

void LVTrayIcon::setPause(const QString &pause) {
    mPause = pause;
    mPauseMenuAction->setVisible(pause.isNull());
    mResumeAction->setVisible(!pause.isNull());
    updateToolTip();
}

void LVTrayIcon::updateToolTip() {
    static const char *const kStateTexts[] = {QT_TR_NOOP("Watching the game"), QT_TR_NOOP("The game is running"),
                                              QT_TR_NOOP("Uploading…")};
    const QString state = tr(kStateTexts[mState]);
    QStringList lines{QStringLiteral("Lorvane Client"), state};
    for (const QString &line : {mExplanation, mPause, mLastUpload})
        if (!line.isEmpty() && !lines.contains(line))
            lines << line;
    mIcon.setToolTip(lines.join(QLatin1Char('\n')));
    mStateLine->setText(state);
    mLastUploadLine->setText(mLastUpload);
    mLastUploadLine->setVisible(!mLastUpload.isEmpty());
}

void LVTrayIcon::followButtons(QAbstractButton *uploadButton, QAbstractButton *launchButton) {
    for (QAbstractButton *button : {mUploadButton.data(), mLaunchButton.data()})
        if (button)
            button->removeEventFilter(this);
    mUploadButton = uploadButton;
    mLaunchButton = launchButton;
    for (QAbstractButton *button : {uploadButton, launchButton})
        if (button)
            button->installEventFilter(this);
    mUploadAction->setEnabled(uploadButton && uploadButton->isEnabled());
    mLaunchAction->setEnabled(launchButton && launchButton->isEnabled());
}

bool LVTrayIcon::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::EnabledChange) {
        if (watched == mUploadButton)
            mUploadAction->setEnabled(mUploadButton->isEnabled());
        else if (watched == mLaunchButton)
            mLaunchAction->setEnabled(mLaunchButton->isEnabled());
    }
    return QObject::eventFilter(watched, event);
}

namespace lv {

QString lastUploadText(const QDateTime &when, int accounts, bool succeeded, const QLocale &locale,
                       const QDateTime &now) {
    const QString time = lv::shortDateTime(when, locale, now);
    if (!succeeded)
        return QCoreApplication::translate("LVTrayIcon", "Last upload %1 failed").arg(time);
    if (accounts == 1)
        return QCoreApplication::translate("LVTrayIcon", "Last upload %1, 1 account").arg(time);
    return QCoreApplication::translate("LVTrayIcon", "Last upload %1, %n accounts", nullptr, accounts).arg(time);
}

} // namespace lv
