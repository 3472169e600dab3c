#pragma once

#include <QPoint>

class QPainter;
class QWidget;

// Drawing and moving of the system's windows, which have no system title bar: each draws its own
// caption bar and a raised edge around itself, and is dragged by its caption bar.
namespace zel::ui {

// Paints form's caption bar with painter (open on captionBar): an active caption gradient across
// the bar (which spans the form's inner width), the form's window icon and its caption text, then
// a raised outer edge around it. Never raises: a window that cannot be drawn stays as it was.
void CaptionDraw(const QWidget& form, const QWidget& captionBar, QPainter& painter) noexcept;

// Paints a raised inner edge around form's inner rectangle with painter (open on form). Never
// raises.
void FormBorderDraw(const QWidget& form, QPainter& painter) noexcept;

// Starts moving window as if its system title bar were dragged, asking the window system for its
// own move loop. Where the platform has none (offscreen, some compositors) the window is moved
// to globalPos less grabOffset instead, grabOffset being where the drag started inside the window.
// Raises 91 with " General.MoveForm() " appended when window is null.
void MoveForm(QWidget* window, QPoint grabOffset, QPoint globalPos);

} // namespace zel::ui
