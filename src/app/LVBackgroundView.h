#pragma once

#include <QSvgRenderer>
#include <QWidget>

// The picture at the top of the window, drawn from its vector image at whatever scale the screen
// has. The landscape stretches to any width; the title keeps its shape at the left and the moon at
// the right.
class LVBackgroundView : public QWidget {
    Q_OBJECT
public:
    explicit LVBackgroundView(QWidget *parent = nullptr);

    // False when the file is not a picture it can draw; the view then shows the window's colour.
    bool load(const QString &path);
    bool isLoaded() const { return mRenderer.isValid(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Where an element of the picture goes at this height, kept at its distance from the left edge
    // or, anchored right, from the right edge.
    QRectF placeElement(const QString &id, bool anchoredRight) const;

    QSvgRenderer mRenderer;
};
