#pragma once

#include <QObject>
#include <QPointer>

class QPropertyAnimation;
class QTextEdit;
class QWidget;

// Shows or hides the log below the status line by growing or shrinking the main window, animated;
// while the log is shown, the status line stays blank and messages go to the log only.
class LVLogDisclosure : public QObject {
    Q_OBJECT
public:
    static constexpr int kLogHeight = 170;

    LVLogDisclosure(QWidget *window, QTextEdit *statusText, QObject *parent = nullptr);

    // 1 shows the log; any other state hides it.
    void discloseStatusText(int state);

private:
    QPointer<QWidget> mWindow;
    QPointer<QTextEdit> mStatusText;
    QPointer<QPropertyAnimation> mAnimation;
};
