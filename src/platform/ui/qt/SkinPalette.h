#pragma once

#include <QColor>

#include <cstdint>

class QWidget;

// Skin colours on Qt widgets. A skin colour is a Windows RGB value, 0x00BBGGRR.
namespace zel::ui {

// The colour of a skin value; invalid for -1 or less.
QColor colorFromSkin(int32_t value);

// Sets widget's background colour (window and button roles; the widget fills its background).
// Nothing changes for a value of -1 or less.
void setBackColor(QWidget& widget, int32_t value);

// Sets widget's text colour (window text and button text roles). Nothing changes for a value of
// -1 or less.
void setForeColor(QWidget& widget, int32_t value);

// Keeps widget's present colours whatever its parents' colours become later, for controls whose
// designed colours a skin must not change.
void pinColors(QWidget& widget);

} // namespace zel::ui
