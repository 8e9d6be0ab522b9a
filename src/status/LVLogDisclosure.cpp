#include "status/LVLogDisclosure.h"

#include "status/LVStatusBus.h"

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
    QRect frame = mWindow->geometry();
    frame.setHeight(frame.height() + (show ? kLogHeight : -kLogHeight));
    if (show && mStatusText)
        mStatusText->show();

    auto *animation = new QPropertyAnimation(mWindow, "geometry", mWindow);
    animation->setObjectName(QStringLiteral("logDisclosureAnimation"));
    animation->setDuration(180);
    animation->setEndValue(frame);
    connect(animation, &QPropertyAnimation::finished, this, [this, show] {
        if (!show && mStatusText)
            mStatusText->hide();
    });
    animation->start(QAbstractAnimation::DeleteWhenStopped);

    LVStatusBus::sendMessageDisplayOptions(!show);
}
