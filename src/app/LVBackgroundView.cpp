#include "app/LVBackgroundView.h"

#include <QPainter>

namespace {

const QColor kWindowColour(0x15, 0x13, 0x1f);
const QString kLandscape = QStringLiteral("landscape");
const QString kTitle = QStringLiteral("title");
const QString kMoon = QStringLiteral("moon");

} // namespace

LVBackgroundView::LVBackgroundView(QWidget *parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool LVBackgroundView::load(const QString &path) {
    const bool loaded = mRenderer.load(path);
    update();
    return loaded;
}

QSize LVBackgroundView::sizeHint() const {
    return isLoaded() ? mRenderer.defaultSize() : QSize(480, 180);
}

void LVBackgroundView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), kWindowColour);
    if (!isLoaded())
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    mRenderer.render(&painter, kLandscape, rect());
    mRenderer.render(&painter, kMoon, placeElement(kMoon, true));
    mRenderer.render(&painter, kTitle, placeElement(kTitle, false));
}

QRectF LVBackgroundView::placeElement(const QString &id, bool anchoredRight) const {
    const QRectF picture = mRenderer.viewBoxF();
    const QRectF element = mRenderer.transformForElement(id).mapRect(mRenderer.boundsOnElement(id));
    const qreal scale = height() / picture.height();
    const qreal left = anchoredRight ? width() - (picture.right() - element.left()) * scale
                                     : (element.left() - picture.left()) * scale;
    return {left, (element.top() - picture.top()) * scale, element.width() * scale, element.height() * scale};
}
