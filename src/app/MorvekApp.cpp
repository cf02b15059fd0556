#include "app/MorvekApp.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <QFile>
#include <algorithm>

#include "app/MainFrame.h"
#include "app/ToolbarIcons.h"

namespace {

// The program's settings: ~/.config/morvek/morvek.ini, where the recent-file
// list keeps the section and entry names it has always had.
std::unique_ptr<QSettings> DefaultProfile() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("morvek"), QStringLiteral("morvek"));
}

}  // namespace

CMorvekApp::CMorvekApp(std::unique_ptr<QSettings> profile)
    : m_pProfile(profile ? std::move(profile) : DefaultProfile()) {}

CMorvekApp::~CMorvekApp() = default;

bool CMorvekApp::InitInstance(const QStringList& arguments) {
    std::vector<std::string> bytes;
    for (const QString& a : arguments) bytes.push_back(QFile::encodeName(a).toStdString());
    return InitInstanceFromCommandLine(bytes);
}

bool CMorvekApp::InitInstanceFromCommandLine(const std::vector<std::string>& arguments) {
    m_pFrame = std::make_unique<CMainFrame>(m_Doc, *m_pProfile);
    m_Doc.OnNewDocument();
    m_pFrame->UpdateCommandUI();
    m_pFrame->show();
    if (!arguments.empty()) {
        // The window is up first, so that the data-entry dialog of the opened
        // case stands over it.
        if (!m_pFrame->OpenCase(arguments.front())) return false;
    }
    return true;
}

bool InstallQtTranslations(const QLocale& locale) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    // qtbase holds the texts of every dialog Qt itself brings.
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

int RunWindowProgram(int argc, char** argv) {
    QApplication application(argc, argv);
    InstallQtTranslations(QLocale());
    QApplication::setApplicationName(QStringLiteral("morvek"));
    QApplication::setApplicationDisplayName(QStringLiteral("morvek"));
    QApplication::setApplicationVersion(QStringLiteral("2.0"));
    QApplication::setDesktopFileName(QStringLiteral("morvek"));
    QApplication::setWindowIcon(ProgramIcon());

    // The application took its own options out of argv; what is left are the
    // bytes the user gave.
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    CMorvekApp app;
    if (!app.InitInstanceFromCommandLine(arguments)) return 1;
    return QApplication::exec();
}
