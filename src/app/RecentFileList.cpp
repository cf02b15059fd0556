#include "app/RecentFileList.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

constexpr const char* kSection = "Recent File List";
// A menu entry shows at most this many characters of its path.
constexpr int kMaxMenuChars = 60;

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
    // A long path is shortened in its middle, so that the menu keeps the
    // width of the others and its shortcuts stay on the screen; the file's
    // own name stays whole where it can.
    if (shown.size() > kMaxMenuChars) {
        const int tail = std::min<int>(static_cast<int>(shown.size()) -
                                           static_cast<int>(shown.lastIndexOf(QLatin1Char('/'))),
                                       kMaxMenuChars * 2 / 3);
        const int head = kMaxMenuChars - tail - 1;
        shown = shown.left(head) + QChar(0x2026) + shown.right(tail);
    }
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
