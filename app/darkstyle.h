#pragma once

class QApplication;
class QSurfaceFormat;

// The dark look every window shares: Fusion with a dark palette and the style sheet.
void apply_dark_style(QApplication &application);

// OpenGL 3.3 core with a depth buffer and multisampling, for the globe.
QSurfaceFormat globe_surface_format();
