#pragma once
// The application object: the program's settings (the recent-file list), the
// one case and the main window with the report view, and the start-up order
// of a desktop program: new case or the case named on the command line, then
// the window, which accepts dropped files.

#include <QLocale>
#include <QSettings>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "case/MorvekDoc.h"

class CMainFrame;

class CMorvekApp {
public:
    // The settings file; the default is the user's configuration folder.
    explicit CMorvekApp(std::unique_ptr<QSettings> profile = nullptr);
    ~CMorvekApp();

    // Start-up with the command-line arguments after the program name: none
    // makes a new case, a file name opens it. False when the named case could
    // not be opened: the program then ends.
    bool InitInstance(const QStringList& arguments);
    // The same with the arguments as the bytes the command line gave: a file
    // name that is no UTF-8 still names its file.
    bool InitInstanceFromCommandLine(const std::vector<std::string>& arguments);

    CMorvekDoc& Document() { return m_Doc; }
    CMainFrame& MainFrame() { return *m_pFrame; }

private:
    std::unique_ptr<QSettings> m_pProfile;
    CMorvekDoc m_Doc;
    std::unique_ptr<CMainFrame> m_pFrame;
};

// Loads Qt's own translations for the locale (Debian qt6-translations-l10n),
// so that the standard dialogs (file, print, page setup, preview) speak the
// user's language, German under a German locale; the program's own texts are
// German whatever the locale. True when a translation was found and installed.
bool InstallQtTranslations(const QLocale& locale);

// The window program: a QApplication around CMorvekApp. Returns the exit
// status.
int RunWindowProgram(int argc, char** argv);
