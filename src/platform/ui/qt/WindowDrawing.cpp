#include "platform/ui/qt/WindowDrawing.h"

#include "platform/error/ErrorRecord.h"

#include <QLinearGradient>
#include <QPainter>
#include <QWidget>
#include <QWindow>

namespace zel::ui {
namespace {

// A raised edge one pixel wide: light on the top and left sides, dark on the bottom and right.
void drawRaisedEdge(QPainter& painter, const QRect& rect, const QColor& light, const QColor& dark)
{
    painter.setPen(light);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(dark);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

} // namespace

void CaptionDraw(const QWidget& form, const QWidget& captionBar, QPainter& painter) noexcept
{
    try {
        painter.save();
        // The bar spans the form's inner width, inside the form's own edge.
        const QRect rect(0, 0, captionBar.width(), captionBar.height());
        const QPalette& palette = form.palette();

        // An active caption: a deep tone of the highlight colour fading to a light one.
        const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
        QLinearGradient gradient(rect.topLeft(), rect.topRight());
        gradient.setColorAt(0.0, highlight.darker(170));
        gradient.setColorAt(1.0, highlight.lighter(150));
        painter.fillRect(rect, gradient);

        int textLeft = 6;
        const int iconSize = qMax(0, rect.height() - 8);
        const QIcon icon = form.windowIcon();
        if (!icon.isNull() && iconSize > 0) {
            const QRect iconRect(4, (rect.height() - iconSize) / 2, iconSize, iconSize);
            icon.paint(&painter, iconRect);
            textLeft = iconRect.right() + 6;
        }

        QFont font = form.font();
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        const QRect textRect(textLeft, 0, qMax(0, rect.width() - textLeft - 4), rect.height());
        const QString text = painter.fontMetrics().elidedText(form.windowTitle(), Qt::ElideRight, textRect.width());
        painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text);

        drawRaisedEdge(painter, rect.adjusted(0, 0, -1, -1), palette.color(QPalette::Midlight),
                       palette.color(QPalette::Shadow));
        painter.restore();
    } catch (...) {
        // Drawing is cosmetic: a caption that cannot be painted must never take the window down.
    }
}

void FormBorderDraw(const QWidget& form, QPainter& painter) noexcept
{
    try {
        painter.save();
        const QRect rect(0, 0, form.width(), form.height());
        drawRaisedEdge(painter, rect.adjusted(0, 0, -1, -1), form.palette().color(QPalette::Light),
                       form.palette().color(QPalette::Dark));
        painter.restore();
    } catch (...) {
        // Drawing is cosmetic: see CaptionDraw.
    }
}

void MoveForm(QWidget* window, QPoint grabOffset, QPoint globalPos)
{
    try {
        if (window == nullptr)
            raiseObjectNotSet("the window to move");
        QWindow* handle = window->window()->windowHandle();
        if (handle != nullptr && handle->startSystemMove())
            return;
        window->window()->move(globalPos - grabOffset);
    } catch (...) {
        rethrowWithTag(" General.MoveForm() ");
    }
}

} // namespace zel::ui
