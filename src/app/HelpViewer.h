#pragma once
// The program's own help window: the German help text, an HTML file installed
// with the program, in a browser window with back/forward and search-free
// navigation by its table of contents.

#include <QString>
#include <QWidget>

class QTextBrowser;

// Where the help text lies: beside the installed program
// (<prefix>/share/morvek/help) or, for a program run from its build tree, in
// the source tree. Empty when it is in neither place.
QString FindHelpFile();

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent = nullptr);
    // Loads the file and brings the window to the front.
    void ShowFile(const QString& path);
    QTextBrowser* Browser() const { return m_pBrowser; }

private:
    QTextBrowser* m_pBrowser;
};
