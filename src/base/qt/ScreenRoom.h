#pragma once
// Windows open at the size they are made for, but never larger than the
// screen they open on: on a 1280×720 screen the buttons at the bottom of a
// tall dialog would otherwise lie below its edge.

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

// The room a window has on the screen of its parent (or its own), less
// what a window frame and a panel take.
inline QSize ScreenRoom(const QWidget& window) {
    const QWidget* parent = window.parentWidget();
    QScreen* screen = parent != nullptr ? parent->screen() : window.screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    return screen->availableGeometry().size() - QSize(16, 48);
}

// Resizes the window to wanted, or to the room where that is smaller, but
// not below what its layout needs.
inline void ResizeWithin(QWidget& window, const QSize& wanted, const QSize& room) {
    window.resize(wanted.boundedTo(room).expandedTo(window.minimumSizeHint()));
}

// The same within the room of the window's screen.
inline void ResizeWithinScreen(QWidget& window, const QSize& wanted) {
    ResizeWithin(window, wanted, ScreenRoom(window));
}
