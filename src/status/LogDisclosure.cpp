#include "app/LVApplicationDelegate.h"
#include "status/LVStatusBus.h"

#include <QPropertyAnimation>
#include <QTextEdit>
#include <QWidget>

void LVApplicationDelegate::discloseStatusText(int state) {
    if (!mMainWindow)
        return;
    const bool show = state == 1;
    QRect frame = mMainWindow->geometry();
    frame.setHeight(frame.height() + (show ? kLogHeight : -kLogHeight));
    if (show && mStatusText)
        mStatusText->show();

    auto *animation = new QPropertyAnimation(mMainWindow, "geometry", mMainWindow);
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
