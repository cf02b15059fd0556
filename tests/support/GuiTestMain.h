#pragma once
// The main() of the Qt test programs: a QApplication for the widgets (ctest
// sets QT_QPA_PLATFORM=offscreen), then every GoogleTest test.

#include <QApplication>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

inline int RunGuiTests(int argc, char** argv) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
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
