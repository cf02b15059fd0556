#pragma once
// What the Qt test programs share: their main() with a QApplication for the
// widgets (on the offscreen platform unless QT_QPA_PLATFORM names another, so
// that listing and running the tests needs no display), driving a modal dialog, and
// typing text that holds umlauts (QTest::keyClicks knows ASCII only).

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

inline int RunGuiTests(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// Makes the window the active one and waits until it is. A user types only
// into the window that has the focus, and leaving a field is a focus change
// that an inactive window does not see; a window shown a moment earlier may
// still take the activation (the offscreen platform hands it over late under
// load).
inline bool Activate(QWidget* window) {
    window->activateWindow();
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

// Runs steps once the next modal dialog is up (a modal dialog blocks the test
// until it ends, so its steps must be queued before it starts). A dialog still
// open after the steps is closed after a while, so that a failing test ends.
inline void WhenModal(std::function<void(QWidget*)> steps, int patienceMs = 10000) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    auto waited = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, waited, steps, patienceMs] {
        QWidget* modal = QApplication::activeModalWidget();
        *waited += poll->interval();
        if (modal == nullptr && *waited < patienceMs) return;
        poll->stop();
        poll->deleteLater();
        if (modal == nullptr) {
            ADD_FAILURE() << "no modal dialog came up";
            return;
        }
        Activate(modal);
        steps(modal);
        if (QApplication::activeModalWidget() == modal) {
            QTimer::singleShot(patienceMs, modal, [modal] {
                ADD_FAILURE() << "the modal dialog was still open";
                modal->close();
            });
        }
    });
    poll->start();
}

// Types the text into the widget key by key, umlauts included.
inline void TypeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}
