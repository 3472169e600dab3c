#include "platform/ui/qt/SkinPalette.h"

#include <QWidget>

namespace zel::ui {

QColor colorFromSkin(int32_t value)
{
    if (value <= -1)
        return {};
    const auto rgb = static_cast<uint32_t>(value);
    return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>((rgb >> 16) & 0xFF));
}

void setBackColor(QWidget& widget, int32_t value)
{
    const QColor color = colorFromSkin(value);
    if (!color.isValid())
        return;
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Button, color);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

void setForeColor(QWidget& widget, int32_t value)
{
    const QColor color = colorFromSkin(value);
    if (!color.isValid())
        return;
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    widget.setPalette(palette);
}

void pinColors(QWidget& widget)
{
    QPalette palette = widget.palette();
    palette.setResolveMask(~QPalette::ResolveMask(0));
    widget.setPalette(palette);
}

} // namespace zel::ui
