#pragma once
// Pictures and PDF files are drawn by Qt, which needs an application object;
// batch mode never opens a window, so it draws offscreen. Every step of batch
// mode that draws makes its application here.

#include <QGuiApplication>
#include <QString>
#include <iostream>
#include <memory>

// Qt's own start-up chatter (a missing runtime folder and the like) is no
// message of the run; everything else Qt says still reaches stderr.
inline void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtDebugMsg || type == QtInfoMsg) return;
    if (text.startsWith("QStandardPaths:")) return;
    std::cerr << text.toUtf8().toStdString() << '\n';
}

// The application to draw with, or nullptr when one is already there. argc
// and argv must outlive it.
inline std::unique_ptr<QGuiApplication> ApplicationForDrawing(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietQtMessages);
    if (QGuiApplication::instance() != nullptr) return nullptr;
    return std::make_unique<QGuiApplication>(argc, argv);
}
