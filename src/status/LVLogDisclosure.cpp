#include "status/LVLogDisclosure.h"

#include "status/LVStatusBus.h"

#include <QLayout>
#include <QPropertyAnimation>
#include <QTextEdit>
#include <QWidget>

LVLogDisclosure::LVLogDisclosure(QWidget *window, QTextEdit *statusText, QObject *parent)
    : QObject(parent)
    , mWindow(window)
    , mStatusText(statusText) {}

void LVLogDisclosure::discloseStatusText(int state) {
    if (!mWindow)
        return;
    const bool show = state == 1;
    // Pressed again while the window still grows or shrinks: the change starts from where that one
    // was going, so that the window ends at its size with or without the log.
    QRect frame = mWindow->geometry();
    if (mAnimation) {
        frame = mAnimation->endValue().toRect();
        mAnimation->disconnect(this);
        mAnimation->stop();
    }
    frame.setHeight(frame.height() + (show ? kLogHeight : -kLogHeight));
    if (show && mStatusText)
        mStatusText->show();

    mAnimation = new QPropertyAnimation(mWindow, "geometry", mWindow);
    mAnimation->setObjectName(QStringLiteral("logDisclosureAnimation"));
    mAnimation->setDuration(180);
    mAnimation->setEndValue(frame);
    connect(mAnimation, &QPropertyAnimation::finished, this, [this, show, frame] {
        if (show || !mStatusText || !mWindow)
            return;
        mStatusText->hide();
        // With the log on the screen, even empty, the window could not get as short as it is without it.
        if (mWindow->layout())
            mWindow->layout()->activate();
        mWindow->resize(mWindow->width(), frame.height());
    });
    mAnimation->start(QAbstractAnimation::DeleteWhenStopped);

    LVStatusBus::sendMessageDisplayOptions(!show);
}
