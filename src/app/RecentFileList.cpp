#include "app/RecentFileList.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr const char* kSection = "Recent File List";

QString KeyOf(int index) {
    return QStringLiteral("File%1").arg(index + 1);
}

}  // namespace

RecentFileList::RecentFileList(QSettings& settings, int size)
    : m_Settings(settings), m_nSize(size) {
    m_Settings.beginGroup(QString::fromLatin1(kSection));
    for (int i = 0; i < m_nSize; ++i) {
        const QString path = m_Settings.value(KeyOf(i)).toString();
        if (!path.isEmpty() && !m_Files.contains(path)) m_Files.append(path);
    }
    m_Settings.endGroup();
}

void RecentFileList::Add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_Files.removeAll(absolute);
    m_Files.prepend(absolute);
    while (m_Files.size() > m_nSize) m_Files.removeLast();
    Write();
}

void RecentFileList::Remove(const QString& path) {
    if (m_Files.removeAll(QFileInfo(path).absoluteFilePath()) > 0) Write();
}

QString RecentFileList::MenuText(int index) const {
    QString shown = QDir::toNativeSeparators(m_Files.at(index));
    const QString home = QDir::homePath();
    if (shown.startsWith(home + QLatin1Char('/')))
        shown = QLatin1Char('~') + shown.mid(home.size());
    // A literal ampersand in a path must not become a mnemonic.
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

void RecentFileList::Write() {
    m_Settings.beginGroup(QString::fromLatin1(kSection));
    for (int i = 0; i < m_nSize; ++i) {
        if (i < m_Files.size())
            m_Settings.setValue(KeyOf(i), m_Files.at(i));
        else
            m_Settings.remove(KeyOf(i));
    }
    m_Settings.endGroup();
    m_Settings.sync();
}
