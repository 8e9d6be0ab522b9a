#include "app/LVWindowLook.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>
#include <QStyleOption>

namespace {

QColor mixed(const QColor &a, const QColor &b, qreal share) {
    return QColor::fromRgbF(a.redF() * share + b.redF() * (1 - share), a.greenF() * share + b.greenF() * (1 - share),
                            a.blueF() * share + b.blueF() * (1 - share));
}

// A check box in the colours of text on a field, with an edge between the two, so that it reads
// clearly on the sheet's background and on a list's alike; the style's own draws its edge from the
// background, which on a dark one leaves an empty box invisible.
void drawCheckBox(const QStyleOption &option, QPainter &painter) {
    const QPalette::ColorGroup group = option.state & QStyle::State_Enabled ? QPalette::Active : QPalette::Disabled;
    const QColor mark = option.palette.color(group, QPalette::Text);
    const QColor field = option.palette.color(group, QPalette::Base);
    const qreal side = std::min(option.rect.width(), option.rect.height()) - 1;
    const QRectF box(QRectF(option.rect).center() - QPointF(side / 2, side / 2), QSizeF(side, side));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(mixed(mark, field, 0.6), 1));
    painter.setBrush(option.state & QStyle::State_Sunken ? mixed(mark, field, 0.25) : field);
    painter.drawRoundedRect(box, 2, 2);
    painter.setPen(QPen(mark, std::max<qreal>(1.5, side / 7), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const auto at = [&box](qreal x, qreal y) { return box.topLeft() + QPointF(x * box.width(), y * box.height()); };
    if (option.state & QStyle::State_On) {
        QPainterPath tick(at(0.22, 0.52));
        tick.lineTo(at(0.42, 0.72));
        tick.lineTo(at(0.78, 0.30));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(tick);
    } else if (option.state & QStyle::State_NoChange) {
        painter.drawLine(at(0.25, 0.5), at(0.75, 0.5));
    }
    painter.restore();
}

class LVWindowStyle : public QProxyStyle {
public:
    // Buttons read by their words alone, like the window's own.
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override {
        if (element == PE_IndicatorCheckBox || element == PE_IndicatorItemViewItemCheck)
            drawCheckBox(*option, *painter);
        else
            QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

} // namespace

QPalette lv::windowPalette() {
    const QColor text(0xe8, 0xe2, 0xf0), dimmed(0x8d, 0x87, 0xa3), sheet(0x1d, 0x1a, 0x2b), field(0x0d, 0x0c, 0x14);
    const QColor button(0x2c, 0x28, 0x42), edge(0x4a, 0x44, 0x68), gold(0xf0, 0xc6, 0x74);
    QPalette palette(button, sheet);
    for (const auto &[role, colour] : {std::pair{QPalette::WindowText, text},
                                       {QPalette::Text, text},
                                       {QPalette::ButtonText, text},
                                       {QPalette::BrightText, QColor(Qt::white)},
                                       {QPalette::Base, field},
                                       {QPalette::AlternateBase, sheet},
                                       {QPalette::Light, edge},
                                       {QPalette::Midlight, edge},
                                       {QPalette::Mid, QColor(0x2e, 0x2a, 0x42)},
                                       {QPalette::Dark, field},
                                       {QPalette::Shadow, QColor(Qt::black)},
                                       {QPalette::Highlight, QColor(0x5a, 0x4d, 0x8c)},
                                       {QPalette::HighlightedText, QColor(Qt::white)},
                                       {QPalette::ToolTipBase, button},
                                       {QPalette::ToolTipText, text},
                                       {QPalette::PlaceholderText, dimmed},
                                       {QPalette::Link, gold},
                                       {QPalette::LinkVisited, gold}})
        palette.setColor(role, colour);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, dimmed);
    return palette;
}

void lv::applyWindowLook() {
    if (!dynamic_cast<LVWindowStyle *>(QApplication::style()))
        QApplication::setStyle(new LVWindowStyle);
    QApplication::setPalette(windowPalette());
}
