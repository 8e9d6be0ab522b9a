#pragma once

#include <QMutex>
#include <QMutexLocker>
#include <QStringList>
#include <QtGlobal>

// Records what is written to the system log under one category (and the categories below it)
// while it lives; the messages still go to the test's output as well.
class LVLogRecorder {
public:
    explicit LVLogRecorder(const QString &category)
        : mCategory(category) {
        sCurrent = this;
        mPrevious = qInstallMessageHandler(&LVLogRecorder::handle);
    }
    ~LVLogRecorder() {
        qInstallMessageHandler(mPrevious);
        sCurrent = nullptr;
    }
    LVLogRecorder(const LVLogRecorder &) = delete;
    LVLogRecorder &operator=(const LVLogRecorder &) = delete;

    QStringList messages() const {
        QMutexLocker lock(&mMutex);
        return mMessages;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message) {
        LVLogRecorder *recorder = sCurrent;
        if (recorder && context.category) {
            const QString category = QString::fromLatin1(context.category);
            if (category == recorder->mCategory || category.startsWith(recorder->mCategory + QLatin1Char('.'))) {
                QMutexLocker lock(&recorder->mMutex);
                recorder->mMessages << message;
            }
        }
        if (recorder && recorder->mPrevious)
            recorder->mPrevious(type, context, message);
    }

    static inline LVLogRecorder *sCurrent = nullptr;
    QString mCategory;
    QtMessageHandler mPrevious = nullptr;
    mutable QMutex mMutex;
    QStringList mMessages;
};
