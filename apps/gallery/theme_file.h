#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

namespace gallery {

/*!
    A theme file the gallery shows, followed on disk: every change is checked
    as tessera-theme-check checks it and, when it passes, loaded and made the
    current theme. A file with problems keeps the last good theme in force;
    its problems (FILE:LINE:COLUMN lines, as the checker prints them) are
    handed to the callback, and an empty list once the file loads again.
*/
class ThemeFile : public QObject
{
public:
    using Report = std::function<void(const QStringList &problems)>;

    ThemeFile(Report report, QObject *parent = nullptr);

    //! Loads \a path and follows it from now on; returns whether it loaded.
    bool load(const QString &path);
    QString path() const { return m_path; }

private:
    bool reload();
    void follow();

    Report m_report;
    QString m_path;
    //! The file's content when it was last read, so that unrelated changes in its folder are ignored.
    QByteArray m_content;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
};

} // namespace gallery
