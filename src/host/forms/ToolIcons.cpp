#include "host/forms/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace zel::ToolIcons {
namespace {

// Every picture is drawn on a 32 x 32 grid and rendered at the sizes a tool button or a caption
// bar asks for, so it stays sharp on high-density screens too.
QIcon drawn(const std::function<void(QPainter&)>& draw)
{
    QIcon icon;
    for (int size : {16, 20, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 32.0, size / 32.0);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

const QColor kInk(52, 64, 84);
const QColor kPaper(250, 250, 252);
const QColor kSteel(120, 134, 156);

void page(QPainter& p, const QRectF& rect)
{
    const qreal fold = 6;
    QPainterPath path;
    path.moveTo(rect.left(), rect.top());
    path.lineTo(rect.right() - fold, rect.top());
    path.lineTo(rect.right(), rect.top() + fold);
    path.lineTo(rect.right(), rect.bottom());
    path.lineTo(rect.left(), rect.bottom());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(rect.right() - fold, rect.top()), QPointF(rect.right() - fold, rect.top() + fold));
    p.drawLine(QPointF(rect.right() - fold, rect.top() + fold), QPointF(rect.right(), rect.top() + fold));
}

void lines(QPainter& p, const QRectF& rect, int count)
{
    p.setPen(QPen(kSteel, 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < count; ++i) {
        const qreal y = rect.top() + 10 + i * 4.5;
        p.drawLine(QPointF(rect.left() + 4, y), QPointF(rect.right() - 4 - (i % 2) * 4, y));
    }
}

} // namespace

QIcon cut()
{
    return drawn([](QPainter& p) {
        p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(11, 4), QPointF(20, 21));
        p.drawLine(QPointF(21, 4), QPointF(12, 21));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(200, 50, 50), 2.4));
        p.drawEllipse(QPointF(10, 25), 4, 4);
        p.drawEllipse(QPointF(22, 25), 4, 4);
    });
}

QIcon copy()
{
    return drawn([](QPainter& p) {
        page(p, QRectF(4, 3, 16, 20));
        page(p, QRectF(12, 9, 16, 20));
        lines(p, QRectF(12, 9, 16, 20), 3);
    });
}

QIcon paste()
{
    return drawn([](QPainter& p) {
        p.setPen(QPen(kInk, 1.6));
        p.setBrush(QColor(196, 150, 92));
        p.drawRoundedRect(QRectF(4, 5, 18, 23), 2, 2);
        p.setBrush(kSteel);
        p.drawRoundedRect(QRectF(9, 3, 8, 5), 1.5, 1.5);
        page(p, QRectF(13, 11, 15, 18));
        lines(p, QRectF(13, 10, 15, 18), 3);
    });
}

QIcon colorizeCode()
{
    return drawn([](QPainter& p) {
        QPainterPath palette;
        palette.addEllipse(QRectF(3, 5, 26, 22));
        QPainterPath thumb;
        thumb.addEllipse(QRectF(17, 17, 7, 6));
        p.setPen(QPen(kInk, 1.6));
        p.setBrush(QColor(236, 220, 190));
        p.drawPath(palette.subtracted(thumb));
        p.setPen(Qt::NoPen);
        const QColor dots[] = {QColor(0, 51, 179), QColor(6, 125, 23), QColor(200, 50, 50), QColor(230, 160, 20)};
        const QPointF where[] = {QPointF(10, 11), QPointF(17, 9.5), QPointF(23.5, 12), QPointF(9, 18.5)};
        for (int i = 0; i < 4; ++i) {
            p.setBrush(dots[i]);
            p.drawEllipse(where[i], 2.8, 2.8);
        }
    });
}

QIcon checkSyntax()
{
    return drawn([](QPainter& p) {
        page(p, QRectF(4, 3, 18, 24));
        lines(p, QRectF(4, 2, 18, 24), 3);
        p.setPen(QPen(QColor(20, 140, 60), 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath tick;
        tick.moveTo(14, 21);
        tick.lineTo(19, 26);
        tick.lineTo(28, 14);
        p.drawPath(tick);
    });
}

QIcon wizard()
{
    return drawn([](QPainter& p) {
        p.setPen(QPen(kInk, 3.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 27), QPointF(19, 14));
        p.setPen(QPen(QColor(245, 245, 245), 3.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(17.5, 15.5), QPointF(19, 14));
        p.setPen(QPen(QColor(230, 160, 20), 1.8, Qt::SolidLine, Qt::RoundCap));
        const QPointF star(23, 9);
        p.drawLine(star + QPointF(-5, 0), star + QPointF(5, 0));
        p.drawLine(star + QPointF(0, -5), star + QPointF(0, 5));
        p.drawLine(star + QPointF(-3, -3), star + QPointF(3, 3));
        p.drawLine(star + QPointF(-3, 3), star + QPointF(3, -3));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 120, 215));
        p.drawEllipse(QPointF(11, 7), 1.6, 1.6);
        p.drawEllipse(QPointF(27, 20), 1.6, 1.6);
    });
}

QIcon scriptWindow()
{
    return drawn([](QPainter& p) {
        page(p, QRectF(5, 2, 22, 28));
        p.setPen(QPen(QColor(0, 51, 179), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath left;
        left.moveTo(13, 12);
        left.lineTo(9, 17);
        left.lineTo(13, 22);
        QPainterPath right;
        right.moveTo(19, 12);
        right.lineTo(23, 17);
        right.lineTo(19, 22);
        p.drawPath(left);
        p.drawPath(right);
    });
}

} // namespace zel::ToolIcons
