#pragma once

class QApplication;
class QWidget;

// The dark look every window shares: Fusion with a dark palette and the style sheet.
void apply_dark_style(QApplication &application);

// Text sizes are in pixels, so they look the same on every screen and in every window.
void set_font_pixel_size(QWidget *widget, int pixels);
