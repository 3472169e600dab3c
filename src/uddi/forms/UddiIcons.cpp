#include "uddi/forms/UddiIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>
#include <map>

namespace zel::UddiIcons {
namespace {

// Drawn on a 32 x 32 grid and rendered at the sizes a tree or a title panel asks for.
QIcon drawn(const std::function<void(QPainter&)>& draw)
{
    QIcon icon;
    for (int size : {16, 20, 24, 32, 48}) {
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

QPen ink(qreal width = 2.0)
{
    return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void page(QPainter& p, const QColor& fill, int lines)
{
    p.setPen(ink());
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(7, 3, 18, 26), 2, 2);
    p.setPen(ink(1.6));
    for (int i = 0; i < lines; ++i)
        p.drawLine(QPointF(11, 10 + i * 5), QPointF(21 - (i % 2) * 4, 10 + i * 5));
}

void folder(QPainter& p, const QColor& fill)
{
    QPainterPath path;
    path.moveTo(3, 8);
    path.lineTo(12, 8);
    path.lineTo(15, 11);
    path.lineTo(29, 11);
    path.lineTo(29, 27);
    path.lineTo(3, 27);
    path.closeSubpath();
    p.setPen(ink());
    p.setBrush(fill);
    p.drawPath(path);
}

// A round badge with a short text, for the taxonomies.
QIcon badge(const QColor& fill, const QString& text)
{
    return drawn([=](QPainter& p) {
        p.setPen(ink(1.6));
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(2, 6, 28, 20), 6, 6);
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(text.size() > 2 ? 9 : 13);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(2, 6, 28, 20), Qt::AlignCenter, text);
    });
}

QIcon magnifier(const QColor& glass)
{
    return drawn([=](QPainter& p) {
        p.setPen(ink(2.4));
        p.setBrush(glass);
        p.drawEllipse(QPointF(13, 13), 8, 8);
        p.setPen(ink(4));
        p.drawLine(QPointF(19, 19), QPointF(27, 27));
    });
}

std::map<std::string, QIcon> makeImages()
{
    std::map<std::string, QIcon> images;
    images["description"] = drawn([](QPainter& p) { page(p, kPaper, 4); });
    images["business"] = drawn([](QPainter& p) {
        p.setPen(ink());
        p.setBrush(QColor(120, 150, 200));
        p.drawRect(QRectF(5, 8, 14, 20));
        p.setBrush(QColor(160, 185, 225));
        p.drawRect(QRectF(19, 14, 8, 14));
        p.setPen(Qt::NoPen);
        p.setBrush(kPaper);
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 2; ++col)
                p.drawRect(QRectF(8 + col * 5, 11 + row * 4, 3, 2));
    });
    images["service"] = drawn([](QPainter& p) { folder(p, QColor(240, 200, 100)); });
    images["servicesin"] = drawn([](QPainter& p) {
        p.setPen(ink());
        p.setBrush(QColor(110, 180, 120));
        p.drawEllipse(QPointF(16, 16), 11, 11);
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(16, 16), 4, 4);
    });
    images["binding"] = drawn([](QPainter& p) {
        p.setPen(ink(3));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(3, 11, 15, 10), 5, 5);
        p.setPen(QPen(QColor(60, 120, 200), 3));
        p.drawRoundedRect(QRectF(14, 11, 15, 10), 5, 5);
    });
    images["urlType"] = drawn([](QPainter& p) {
        p.setPen(ink(1.8));
        p.setBrush(QColor(120, 180, 230));
        p.drawEllipse(QPointF(16, 16), 12, 12);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(11, 4, 10, 24));
        p.drawLine(QPointF(4, 16), QPointF(28, 16));
    });
    images["signature"] = drawn([](QPainter& p) {
        p.setPen(ink(2.2));
        p.setBrush(QColor(230, 190, 80));
        p.drawEllipse(QPointF(10, 16), 6, 6);
        p.drawLine(QPointF(16, 16), QPointF(29, 16));
        p.drawLine(QPointF(25, 16), QPointF(25, 21));
        p.drawLine(QPointF(29, 16), QPointF(29, 21));
    });
    images["magnify"] = magnifier(QColor(200, 225, 245));
    images["category"] = drawn([](QPainter& p) {
        QPainterPath tag;
        tag.moveTo(4, 6);
        tag.lineTo(16, 6);
        tag.lineTo(28, 18);
        tag.lineTo(18, 28);
        tag.lineTo(4, 16);
        tag.closeSubpath();
        p.setPen(ink());
        p.setBrush(QColor(230, 140, 120));
        p.drawPath(tag);
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(10, 12), 2, 2);
    });
    images["tModel"] = drawn([](QPainter& p) {
        p.setPen(ink());
        p.setBrush(QColor(90, 130, 190));
        p.drawRect(QRectF(4, 6, 24, 20));
        p.setPen(QPen(kPaper, 1.4));
        p.drawLine(QPointF(8, 12), QPointF(24, 12));
        p.drawLine(QPointF(8, 17), QPointF(20, 17));
        p.drawLine(QPointF(8, 22), QPointF(16, 22));
    });
    images["overviewDoc"] = drawn([](QPainter& p) {
        page(p, kPaper, 2);
        p.setPen(QPen(QColor(40, 130, 60), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(12, 24), QPointF(21, 15));
        p.drawLine(QPointF(15, 15), QPointF(21, 15));
        p.drawLine(QPointF(21, 15), QPointF(21, 21));
    });
    images["tModelType"] = drawn([](QPainter& p) {
        p.setPen(ink());
        p.setBrush(QColor(170, 190, 220));
        p.drawRect(QRectF(4, 6, 24, 20));
        p.setBrush(QColor(90, 130, 190));
        p.drawRect(QRectF(4, 6, 24, 6));
    });
    images["NAICS"] = badge(QColor(50, 110, 180), QStringLiteral("N"));
    images["UNSPSC"] = badge(QColor(40, 150, 110), QStringLiteral("U"));
    images["ISO 3166"] = badge(QColor(200, 120, 40), QStringLiteral("ISO"));
    images["UDDI Types"] = badge(QColor(120, 80, 170), QStringLiteral("T"));
    images["Keywords"] = badge(QColor(170, 60, 90), QStringLiteral("K"));
    images["Other"] = badge(QColor(130, 130, 130), QStringLiteral("?"));
    return images;
}

} // namespace

QIcon image(const std::string& key)
{
    static const std::map<std::string, QIcon> images = makeImages();
    const auto found = images.find(key);
    return found == images.end() ? QIcon() : found->second;
}

QIcon browser()
{
    return magnifier(QColor(240, 200, 100));
}

QIcon options()
{
    return drawn([](QPainter& p) {
        p.setPen(ink(2));
        p.setBrush(QColor(160, 170, 190));
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(16, 16);
            p.rotate(i * 45);
            p.drawRect(QRectF(-2.5, -14, 5, 6));
            p.restore();
        }
        p.drawEllipse(QPointF(16, 16), 9, 9);
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(16, 16), 3.5, 3.5);
    });
}

} // namespace zel::UddiIcons
