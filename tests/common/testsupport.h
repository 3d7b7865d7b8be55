#pragma once

#include <QApplication>
#include <QImage>
#include <QLocale>
#include <QTest>

// Sets up what the app's main sets up (GL format, en_US locale for fixed texts) and
// runs one test class.
int run_test_main(int argc, char **argv, QObject *test);

#define SKYLOOM_TEST_MAIN(TestClass)                                                             \
    int main(int argc, char **argv)                                                              \
    {                                                                                            \
        TestClass test;                                                                          \
        return run_test_main(argc, argv, &test);                                                 \
    }

// A texture whose red channel encodes the column (u) and green the row (v), so a sampled
// colour says where on the image it came from.
QImage uv_gradient_texture(int width, int height);
