#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

// One window per user session. The first start that would open a window takes a lock in the runtime
// folder and listens beside it; a later one finds the lock taken, asks the first to show its window
// and ends. A lock whose process is gone is taken over.
class LVSingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr int kHandOverMs = 5000;

    explicit LVSingleInstance(const QString &folder, QObject *parent = nullptr);
    ~LVSingleInstance() override;

    // Takes the lock: true when this process is the first.
    bool claim();
    // As the first: listens for later starts. False, with the reason, when it cannot.
    bool listen(QString *error = nullptr);
    // As a later start: asks the first to show its window (or only tells it of this start) and waits for its
    // answer. False, with the reason, when it did not answer in time.
    bool handOver(bool showWindow, QString *error = nullptr);

signals:
    // A later start asked for the window.
    void showRequested();

private:
    void answer(QLocalSocket *socket);

    QString mSocketPath;
    QLockFile mLock;
    QLocalServer mServer;
};
