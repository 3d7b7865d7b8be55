#pragma once

#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QSurfaceFormat>
#include <QTest>

#include <functional>
#include <memory>

// Each test file registers its class; the common main sets up what the app's main sets
// up (GL format, en_US locale for fixed texts) and runs every class of the executable.
bool register_test_class(const char *name, std::function<std::unique_ptr<QObject>()> make);

#define SKYLOOM_TEST_MAIN(TestClass)                                                               \
    static const bool registered_##TestClass =                                                     \
        register_test_class(#TestClass, [] { return std::make_unique<TestClass>(); });

// The app's GL format moved to older OpenGL: 2.1 with a compatibility profile (the driver
// may give newer, so tests also cap the renderer's dialect), and OpenGL ES 2.
QSurfaceFormat gl21_format();
QSurfaceFormat gles2_format();

// A texture whose red channel encodes the column (u) and green the row (v), so a sampled
// colour says where on the image it came from.
QImage uv_gradient_texture(int width, int height);
