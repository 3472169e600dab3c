#pragma once

#include <QWidget>

namespace zel::ui {

// The drawn caption bar of a window without a system title bar: it paints the window's caption
// with CaptionDraw and reports the mouse moving over it with the buttons held, so that the window
// can start moving itself.
class CaptionBar : public QWidget
{
    Q_OBJECT

public:
    explicit CaptionBar(QWidget* parent = nullptr);

    // Where the last press happened, relative to the top-left corner of the window.
    QPoint grabOffset() const { return m_grabOffset; }

signals:
    // The mouse moved over the bar with buttons held; globalPos is in screen coordinates.
    void mouseMoved(Qt::MouseButtons buttons, QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QPoint m_grabOffset;
};

} // namespace zel::ui
