#pragma once

#include "app/LVDesktopNotifier.h"
#include "upload/LVUploadHistory.h"

#include <QObject>

class LVAuthentication;
class LVAutomaticUploads;
class LVSettings;
class LVUploadRun;
struct LVAccountUpload;
struct LVUploadOutcome;

// What the user learns of uploads outside the status line: every account's request goes into the
// upload history, and a finished run or a credential problem becomes a desktop notification (unless
// the user turned them off).
class LVRunReports : public QObject {
    Q_OBJECT
public:
    LVRunReports(LVSettings &settings, LVUploadRun &run, LVAuthentication &authentication,
                 const LVAutomaticUploads &automaticUploads, const QString &historyPath,
                 const QDBusConnection &notificationBus, QObject *parent = nullptr);

    // Opens the history; a history that had to be set aside or kept in memory is said on the status bus.
    void openHistory();
    LVUploadHistory &history() { return mHistory; }
    LVDesktopNotifier &notifier() { return mNotifier; }
signals:
    // How the last upload went: when it started, how many accounts reached the site, and whether all
    // did. Sent when a run that had something to send ends, and at start from the history.
    void lastUploadChanged(const QDateTime &when, int accounts, bool succeeded);

private:
    void record(const LVAccountUpload &upload);
    void runEnded(const LVUploadOutcome &outcome);
    bool notificationsWanted() const;

    void notifyFailure(const LVUploadOutcome &outcome);

    LVSettings &mSettings;
    const LVAutomaticUploads &mAutomaticUploads;
    LVUploadHistory mHistory;
    LVDesktopNotifier mNotifier;
    QDateTime mRunStarted;
    QString mRunId; // the run's records share it
};
