#pragma once

#include <QApplication>
#include <QLocale>

#include <cstdio>
#include <cstdlib>

// A property a fuzz input broke: reported, then the fuzzer stops with the
// input saved.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// The targets that need widgets (charts, edit boxes) run on the offscreen
// platform, in one application object for the whole run.
inline void StartFuzzApplication() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(argc, argv);
}

// The two number notations the program meets: a comma and a point locale.
inline QLocale FuzzLocale(unsigned char selector) {
    return selector & 1 ? QLocale(QLocale::Swedish, QLocale::Sweden)
                        : QLocale(QLocale::English, QLocale::UnitedStates);
}
