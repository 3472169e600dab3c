#include "platform/ui/qt/CaptionBar.h"

#include "platform/ui/qt/WindowDrawing.h"

#include <QMouseEvent>
#include <QPainter>

namespace zel::ui {

CaptionBar::CaptionBar(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CaptionBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    CaptionDraw(*window(), *this, painter);
}

void CaptionBar::mousePressEvent(QMouseEvent* event)
{
    m_grabOffset = event->globalPosition().toPoint() - window()->frameGeometry().topLeft();
    event->accept();
}

void CaptionBar::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    // The receiver may raise (a window handler ends its own errors); nothing may leave a Qt
    // event handler, so the signal is the only thing done here.
    emit mouseMoved(event->buttons(), event->globalPosition().toPoint());
}

} // namespace zel::ui
