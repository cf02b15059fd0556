#include "app/HelpViewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/ToolbarIcons.h"

namespace {

constexpr const char* kHelpFileName = "morvek-hilfe.html";

}  // namespace

QString FindHelpFile() {
    QStringList folders;
    // bin/morvek -> share/morvek/help, as cmake --install lays it out.
    folders << QDir(QCoreApplication::applicationDirPath())
                   .filePath(QStringLiteral("../" MORVEK_HELP_INSTALL_DIR));
#ifdef MORVEK_HELP_SOURCE_DIR
    folders << QStringLiteral(MORVEK_HELP_SOURCE_DIR);
#endif
    for (const QString& folder : folders) {
        QFileInfo file(QDir(folder).filePath(QString::fromLatin1(kHelpFileName)));
        if (file.isFile() && file.isReadable()) return file.canonicalFilePath();
    }
    return QString();
}

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("morvek - Hilfe"));
    setWindowIcon(ProgramIcon());
    m_pBrowser = new QTextBrowser(this);
    m_pBrowser->setOpenExternalLinks(true);

    auto* back = new QPushButton(QStringLiteral("Zurück"), this);
    auto* forward = new QPushButton(QStringLiteral("Vor"), this);
    auto* home = new QPushButton(QStringLiteral("Inhalt"), this);
    auto* close = new QPushButton(QStringLiteral("Schließen"), this);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QPushButton::clicked, m_pBrowser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_pBrowser, &QTextBrowser::forward);
    connect(home, &QPushButton::clicked, m_pBrowser, &QTextBrowser::home);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_pBrowser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(m_pBrowser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(home);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_pBrowser);
    resize(760, 640);
}

void HelpViewer::ShowFile(const QString& path) {
    m_pBrowser->setSource(QUrl::fromLocalFile(path));
    show();
    raise();
    activateWindow();
}
