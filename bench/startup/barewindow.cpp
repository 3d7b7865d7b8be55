// The least a program can do to show an OpenGL window: the yardstick for the app's start.

#include "globe/globerenderer.h"

#include <QApplication>
#include <QOpenGLFunctions>
#include <QOpenGLWidget>
#include <QSurfaceFormat>

#include <cstdio>

namespace {
class ClearingWidget : public QOpenGLWidget
{
protected:
    void paintGL() override
    {
        QOpenGLFunctions *gl = context()->functions();
        gl->glClearColor(0, 0, 0, 1);
        gl->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
};
} // namespace

int main(int argc, char *argv[])
{
    // The same surface the app asks for, so the two differ only in what they do.
    QSurfaceFormat::setDefaultFormat(globe_surface_format());
    QApplication application(argc, argv);
    ClearingWidget widget;
    widget.resize(640, 480);
    QObject::connect(&widget, &QOpenGLWidget::frameSwapped, &widget, [&widget] {
        std::fprintf(stderr, "first frame\n");
        QObject::disconnect(&widget, &QOpenGLWidget::frameSwapped, nullptr, nullptr);
    });
    widget.show();
    return application.exec();
}
