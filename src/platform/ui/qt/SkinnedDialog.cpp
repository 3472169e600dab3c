#include "platform/ui/qt/SkinnedDialog.h"

#include "platform/ui/qt/WindowDrawing.h"

#include <QCloseEvent>
#include <QPainter>

namespace zel::ui {

SkinnedDialog::SkinnedDialog(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {}

void SkinnedDialog::reject()
{
    if (m_rejectHandler)
        m_rejectHandler();
    else
        QDialog::reject();
}

void SkinnedDialog::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    FormBorderDraw(*this, painter);
}

void SkinnedDialog::closeEvent(QCloseEvent* event)
{
    // A close request from the window system (a window manager's close command) is the same
    // choice as Escape; the form hides itself when it agrees.
    if (m_rejectHandler && isVisible()) {
        event->ignore();
        m_rejectHandler();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace zel::ui
