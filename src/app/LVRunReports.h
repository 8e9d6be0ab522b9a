#pragma once

#include "app/LVDesktopNotifier.h"
#include "upload/LVUploadHistory.h"

#include <QObject>

class LVAuthentication;
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
    LVRunReports(LVSettings &settings, LVUploadRun &run, LVAuthentication &authentication, const QString &historyPath,
                 const QDBusConnection &notificationBus, QObject *parent = nullptr);

    // Opens the history; a history that had to be set aside or kept in memory is said on the status bus.
    void openHistory();
    LVUploadHistory &history() { return mHistory; }
    LVDesktopNotifier &notifier() { return mNotifier; }
    // "Last upload 13:02: 2 accounts sent", from the last run or, before any, the history; null before any upload.
    QString lastUploadText() const { return mLastUpload; }

signals:
    void lastUploadChanged(const QString &text);

private:
    void record(const LVAccountUpload &upload);
    void runEnded(const LVUploadOutcome &outcome);
    bool notificationsWanted() const;

    LVSettings &mSettings;
    LVUploadHistory mHistory;
    LVDesktopNotifier mNotifier;
    QString mLastUpload;
};
