#pragma once
// The list of the last cases opened or saved, newest first, kept in the
// program's settings under the names the program has always used.

#include <QSettings>
#include <QStringList>

class RecentFileList {
public:
    static constexpr int kDefaultSize = 4;

    explicit RecentFileList(QSettings& settings, int size = kDefaultSize);

    const QStringList& Files() const { return m_Files; }
    // Puts the file at the top (moving it there when already listed) and
    // writes the list out.
    void Add(const QString& path);
    // Drops a file that could not be opened.
    void Remove(const QString& path);

    // The text of the menu entry of the file at index (0 = newest).
    QString MenuText(int index) const;

private:
    void Write();

    QSettings& m_Settings;
    int m_nSize;
    QStringList m_Files;
};
