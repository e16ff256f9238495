// The tessera gallery: every widget of the kit on one page per family, with a
// theme switch and a language switch. With no display (or --screenshots) it
// renders each page in each theme to PNG files instead of opening a window.

#include "gallery.h"
#include "theme_file.h"

#include <tessera/kit/app_palette.h>
#include <tessera/kit/i18n.h>
#include <tessera/kit/theme.h>

#include <QAbstractAnimation>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCommandLineParser>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTextStream>
#include <QTimer>

namespace {

// The gallery's chrome wears the palette that tessera::applyPalette() keeps in
// step with the theme; only sizes and the roles to use are written here.
const char ChromeSheet[] =
    "#galleryBar { background-color: palette(base); border-bottom: 1px solid palette(mid); }"
    "#galleryTitle { font-size: 18px; font-weight: 600; }"
    "#galleryPages { background-color: palette(base); border: none; border-right: 1px solid palette(mid);"
    " padding: 8px 0px; font-size: 14px; }"
    "#galleryPages::item { padding: 8px 16px; border: none; color: palette(text); }"
    "#galleryPages::item:selected { background-color: palette(alternate-base); color: palette(link); }"
    "#galleryScroll, #galleryPage { background-color: palette(window); }"
    "#galleryHeading { font-size: 15px; font-weight: 600; }"
    "#galleryCaption { font-size: 13px; }"
    "#galleryThemeProblems { background-color: palette(alternate-base); border-bottom: 1px solid palette(mid);"
    " padding: 8px 16px; font-family: monospace; }";

// The theme switch's entry that opens a theme file.
constexpr QLatin1String LoadEntry("\x01load");

class GalleryWindow : public QMainWindow
{
public:
    GalleryWindow()
    {
        setObjectName(QStringLiteral("galleryWindow"));
        // The stock widgets (the theme switch, check boxes, the page list)
        // follow the theme too; first, so the palette is new when the chrome
        // below is polished again after a switch.
        tessera::applyPalette(this);
        auto *central = new QWidget(this);
        auto *outer = new QVBoxLayout(central);
        outer->setContentsMargins(0, 0, 0, 0);
        outer->setSpacing(0);

        auto *bar = new QWidget(central);
        bar->setObjectName(QStringLiteral("galleryBar"));
        auto *barLayout = new QHBoxLayout(bar);
        barLayout->setContentsMargins(16, 10, 16, 10);
        m_title = new QLabel(bar);
        m_title->setObjectName(QStringLiteral("galleryTitle"));
        barLayout->addWidget(m_title);
        barLayout->addStretch(1);
        m_themeLabel = new QLabel(bar);
        barLayout->addWidget(m_themeLabel);
        m_themes = new QComboBox(bar);
        m_themes->setObjectName(QStringLiteral("themeSwitch"));
        barLayout->addWidget(m_themes);
        barLayout->addSpacing(12);
        m_languageLabel = new QLabel(bar);
        barLayout->addWidget(m_languageLabel);
        m_languages = new QComboBox(bar);
        m_languages->setObjectName(QStringLiteral("languageSwitch"));
        for (const QString &code : tessera::i18n()->languages())
            m_languages->addItem(tessera::I18n::nativeName(code), code);
        barLayout->addWidget(m_languages);
        outer->addWidget(bar);
        m_problems = new QLabel(central);
        m_problems->setObjectName(QStringLiteral("galleryThemeProblems"));
        m_problems->setWordWrap(true);
        m_problems->setTextFormat(Qt::PlainText);
        m_problems->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_problems->hide();
        outer->addWidget(m_problems);
        m_themeFile = new gallery::ThemeFile([this](const QStringList &problems) { showProblems(problems); }, this);

        auto *body = new QHBoxLayout;
        body->setContentsMargins(0, 0, 0, 0);
        body->setSpacing(0);
        m_list = new QListWidget(central);
        m_list->setObjectName(QStringLiteral("galleryPages"));
        m_list->setFixedWidth(180);
        m_stack = new QStackedWidget(central);
        for (const gallery::Page &page : gallery::pages()) {
            auto *scroll = new QScrollArea(m_stack);
            scroll->setObjectName(QStringLiteral("galleryScroll"));
            scroll->setWidgetResizable(true);
            scroll->setFrameShape(QFrame::NoFrame);
            QWidget *content = page.make();
            content->setObjectName(QStringLiteral("galleryPage"));
            scroll->setWidget(content);
            m_stack->addWidget(scroll);
            m_list->addItem(QString());
            m_pages.append(page);
        }
        body->addWidget(m_list);
        body->addWidget(m_stack, 1);
        outer->addLayout(body, 1);
        setCentralWidget(central);

        connect(m_list, &QListWidget::currentRowChanged, m_stack, &QStackedWidget::setCurrentIndex);
        connect(m_themes, &QComboBox::activated, this, [this](int index) {
            const QString name = m_themes->itemData(index).toString();
            if (name == LoadEntry) {
                const QString path = QFileDialog::getOpenFileName(
                    this, QCoreApplication::translate("Gallery", "Load theme"), QString(),
                    QCoreApplication::translate("Gallery", "Theme files (*.json)"));
                if (!path.isEmpty())
                    loadThemeFile(path);
                fillThemes();
                return;
            }
            tessera::setTheme(name);
        });
        connect(m_languages, &QComboBox::activated, this, [this](int index) {
            tessera::i18n()->setLanguage(m_languages->itemData(index).toString());
        });
        connect(tessera::useTheme()->signal, &tessera::ThemeSignal::changed, this, [this] { applyTheme(); });
        connect(tessera::i18n(), &tessera::I18n::langChanged, this, [this] { retranslate(); });

        setStyleSheet(QString::fromLatin1(ChromeSheet));

        m_list->setCurrentRow(0);
        retranslate();
        resize(1100, 760);
    }

    //! Shows the theme in \a path and follows the file on disk; problems are shown in the window.
    bool loadThemeFile(const QString &path)
    {
        const bool loaded = m_themeFile->load(path);
        fillThemes();
        return loaded;
    }

    int pageCount() const { return int(m_pages.size()); }
    QString pageId(int i) const { return m_pages[i].id; }
    void showPage(int i) { m_list->setCurrentRow(i); }

private:
    void retranslate()
    {
        setWindowTitle(QCoreApplication::translate("Gallery", "tessera gallery"));
        m_title->setText(QCoreApplication::translate("Gallery", "tessera gallery"));
        m_themeLabel->setText(QCoreApplication::translate("Gallery", "Theme"));
        m_languageLabel->setText(QCoreApplication::translate("Gallery", "Language"));
        fillThemes();
        if (!m_problemLines.isEmpty())
            showProblems(m_problemLines);
        m_languages->setCurrentIndex(m_languages->findData(tessera::i18n()->language()));
        for (int i = 0; i < m_pages.size(); ++i)
            m_list->item(i)->setText(tessera::translate(m_pages[i].title));
    }

    void fillThemes()
    {
        m_themes->clear();
        for (const QString &name : tessera::themeNames())
            m_themes->addItem(tessera::themeDisplayName(name), name);
        // Follows the desktop's light or dark preference.
        m_themes->addItem(tessera::themeDisplayName(QStringLiteral("system")), QStringLiteral("system"));
        m_themes->addItem(QCoreApplication::translate("Gallery", "Load theme…"), LoadEntry);
        m_themes->setCurrentIndex(m_themes->findData(tessera::themeChoice()));
    }

    // The checker's findings for the theme file, above the pages; none hides them.
    void showProblems(const QStringList &problems)
    {
        m_problemLines = problems;
        m_problems->setVisible(!problems.isEmpty());
        if (problems.isEmpty())
            return;
        m_problems->setText(QCoreApplication::translate("Gallery", "%1 has problems; the gallery keeps the last good theme.")
                                .arg(QDir::toNativeSeparators(m_themeFile->path()))
                            + u'\n' + problems.join(u'\n'));
    }

    void applyTheme()
    {
        m_themes->setCurrentIndex(m_themes->findData(tessera::themeChoice()));
        // Polish the chrome again, so its palette() colours are read anew.
        setStyleSheet(QString::fromLatin1(ChromeSheet));
    }

    QLabel *m_title;
    QLabel *m_themeLabel;
    QLabel *m_languageLabel;
    QComboBox *m_themes;
    QLabel *m_problems;
    QStringList m_problemLines;
    gallery::ThemeFile *m_themeFile;
    QComboBox *m_languages;
    QListWidget *m_list;
    QStackedWidget *m_stack;
    QList<gallery::Page> m_pages;
};

// Lets every zero-delay timer and deferred task run, so the widgets carry their
// style sheets and their final geometry. A restyle of a page takes as many passes
// of the event loop as it has slices (more on a busy machine), so this goes on
// until two passes in a row find nothing to do. Running spinners are then set
// back to their start, so that a picture does not depend on how long the page
// took to settle.
void settle(QWidget *window)
{
    QAbstractEventDispatcher *dispatcher = QCoreApplication::eventDispatcher();
    for (int quiet = 0, i = 0; quiet < 2 && i < 100000; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        quiet = dispatcher->processEvents(QEventLoop::AllEvents) ? 0 : quiet + 1;
    }
    const auto animations = window->findChildren<QAbstractAnimation *>();
    for (QAbstractAnimation *animation : animations) {
        if (animation->state() == QAbstractAnimation::Running)
            animation->setCurrentTime(0);
    }
}

// Writes every page in every theme as <page>-<theme><suffix>.png, then each
// page of \a rtlPages laid out right to left as <page>-rtl-<theme><suffix>.png.
int writeScreenshots(GalleryWindow &window, const QString &dir, const QStringList &themes, const QString &suffix,
                     const QStringList &rtlPages)
{
    QList<int> rtl;
    for (const QString &id : rtlPages) {
        int found = -1;
        for (int i = 0; i < window.pageCount(); ++i) {
            if (window.pageId(i) == id)
                found = i;
        }
        if (found < 0) {
            QTextStream(stderr) << "tessera-gallery: no page \"" << id << "\" for --rtl\n";
            return 2;
        }
        rtl.append(found);
    }
    QDir().mkpath(dir);
    QTextStream out(stdout);
    window.show();
    int written = 0;
    const auto shoot = [&](int page, const QString &theme, const QString &direction) {
        window.showPage(page);
        settle(&window);
        const QString path =
            QDir(dir).filePath(QStringLiteral("%1-%2%3%4.png").arg(window.pageId(page), direction, theme, suffix));
        if (!window.grab().save(path)) {
            QTextStream(stderr) << "cannot write " << path << "\n";
            return false;
        }
        out << "wrote " << QDir::current().relativeFilePath(path) << "\n";
        out.flush();
        ++written;
        return true;
    };
    for (const QString &theme : themes) {
        tessera::setTheme(theme);
        for (int i = 0; i < window.pageCount(); ++i) {
            if (!shoot(i, theme, QString()))
                return 1;
        }
    }
    if (!rtl.isEmpty()) {
        QGuiApplication::setLayoutDirection(Qt::RightToLeft);
        for (const QString &theme : themes) {
            tessera::setTheme(theme);
            for (int page : std::as_const(rtl)) {
                if (!shoot(page, theme, QStringLiteral("rtl-")))
                    return 1;
            }
        }
        QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    }
    out << written << " screenshots in " << QDir(dir).absolutePath() << "\n";
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tessera-gallery"));
    tessera::applyPalette(&app);
    tessera::i18n()->addCatalog(QStringLiteral("gallery"), QStringLiteral(":/i18n"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows every tessera widget in the light and dark themes."));
    parser.addHelpOption();
    const QCommandLineOption screenshots(QStringLiteral("screenshots"),
                                         QStringLiteral("Render every page in every theme to PNG files in <dir> and exit."),
                                         QStringLiteral("dir"));
    const QCommandLineOption language(QStringLiteral("language"), QStringLiteral("Start in language <code> (en, de)."),
                                      QStringLiteral("code"));
    const QCommandLineOption theme(QStringLiteral("theme"),
                                   QStringLiteral("Start with theme <name>, or show the theme file <name>.json and "
                                                  "reload it whenever it changes on disk."),
                                   QStringLiteral("name"));
    const QCommandLineOption suffix(QStringLiteral("suffix"), QStringLiteral("Suffix for screenshot file names."),
                                    QStringLiteral("text"));
    const QCommandLineOption rtl(QStringLiteral("rtl"),
                                 QStringLiteral("With --screenshots, also render page <id> laid out right to left "
                                                "(<page>-rtl-<theme>.png); may be given more than once."),
                                 QStringLiteral("id"));
    const QCommandLineOption quitAfter(QStringLiteral("quit-after"), QStringLiteral("Close the window after <ms>."),
                                       QStringLiteral("ms"));
    parser.addOptions({screenshots, language, theme, suffix, rtl, quitAfter});
    parser.process(app);

    const QString themeName = parser.value(theme);
    const bool themeFile = themeName.endsWith(QLatin1String(".json"));
    try {
        if (parser.isSet(theme) && !themeFile)
            tessera::setTheme(themeName);
    } catch (const std::exception &e) {
        QTextStream(stderr) << "tessera-gallery: " << e.what() << "\n";
        return 2;
    }
    if (parser.isSet(language))
        tessera::i18n()->setLanguage(parser.value(language));

    GalleryWindow window;
    // A theme file is shown with its problems in the window (the last good
    // theme, or the default one, stays in force meanwhile).
    if (themeFile)
        window.loadThemeFile(themeName);
    if (parser.isSet(screenshots)) {
        QStringList themes{QStringLiteral("light"), QStringLiteral("dark")};
        if (parser.isSet(theme))
            themes = {tessera::useTheme()->name()};
        return writeScreenshots(window, parser.value(screenshots), themes, parser.value(suffix), parser.values(rtl));
    }
    window.show();
    if (parser.isSet(quitAfter))
        QTimer::singleShot(parser.value(quitAfter).toInt(), &app, &QApplication::quit);
    return app.exec();
}
