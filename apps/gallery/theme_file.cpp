#include "theme_file.h"

#include <tessera/kit/theme.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace gallery {

namespace {

/*
    The problems tessera-theme-check finds in \a path, one line each as it
    prints them. The checker beside the gallery does the work, so the lines
    are exactly what a theme author sees on the command line; without it the
    kit's own loader is the only check (its message names key paths, not lines).
*/
QStringList checkerProblems(const QString &path)
{
    const QString tool = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tessera-theme-check"));
    if (!QFileInfo(tool).isExecutable())
        return {};
    QProcess checker;
    checker.start(tool, {path});
    if (!checker.waitForFinished(10000)) {
        checker.kill();
        checker.waitForFinished();
        return {};
    }
    if (checker.exitStatus() == QProcess::NormalExit && checker.exitCode() == 0)
        return {};
    QStringList problems;
    for (const QString &line : QString::fromUtf8(checker.readAllStandardOutput()).split(u'\n')) {
        if (line.contains(QLatin1String(": error: ")) || line.contains(QLatin1String(": warning: ")))
            problems << line;
    }
    return problems;
}

} // namespace

ThemeFile::ThemeFile(Report report, QObject *parent) : QObject(parent), m_report(std::move(report))
{
    // Editors save in bursts (truncate, write, rename): read once things are quiet.
    m_settle.setSingleShot(true);
    m_settle.setInterval(150);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        // The folder is watched too (to see a replaced file come back), so
        // most of its changes are other files': act only when this one changed.
        QFile file(m_path);
        const QByteArray content = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        if (content != m_content)
            reload();
    });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { follow(); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { follow(); });
}

bool ThemeFile::load(const QString &path)
{
    if (!m_path.isEmpty()) {
        m_watcher.removePath(m_path);
        m_watcher.removePath(QFileInfo(m_path).absolutePath());
    }
    m_path = QFileInfo(path).absoluteFilePath();
    m_watcher.addPath(QFileInfo(m_path).absolutePath());
    if (QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
    return reload();
}

void ThemeFile::follow()
{
    // An editor that saves by replacing the file ends the watch on the old
    // one: watch the new file under the same name again.
    if (QFileInfo::exists(m_path) && !m_watcher.files().contains(m_path))
        m_watcher.addPath(m_path);
    m_settle.start();
}

bool ThemeFile::reload()
{
    QFile file(m_path);
    m_content = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    QStringList problems = checkerProblems(m_path);
    bool loaded = false;
    if (problems.filter(QStringLiteral(": error: ")).isEmpty()) {
        try {
            tessera::setTheme(tessera::loadTheme(m_path));
            loaded = true;
        } catch (const std::exception &e) {
            problems << QString::fromUtf8(e.what());
        }
    }
    m_report(loaded ? QStringList() : problems);
    return loaded;
}

} // namespace gallery
