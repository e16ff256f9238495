// The tessera gallery: every widget of the kit on one page per family, with a
// theme switch and a language switch. With no display (or --screenshots) it
// renders each page in each theme to PNG files instead of opening a window.

#include "gallery.h"

#include <tessera/kit/i18n.h>
#include <tessera/kit/theme.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTextStream>
#include <QTimer>

namespace {

QString token(const char *path)
{
    return tessera::useTheme()->resolveToken(QString::fromLatin1(path)).value_or(QString());
}

// \a palette with Window and WindowText left to the desktop.
QPalette withoutWindowRoles(const QPalette &palette)
{
    QPalette out;
    out.setResolveMask(0);
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            if (role == QPalette::Window || role == QPalette::WindowText)
                continue;
            const auto g = QPalette::ColorGroup(group);
            const auto r = QPalette::ColorRole(role);
            out.setColor(g, r, palette.color(g, r));
        }
    }
    return out;
}

class GalleryWindow : public QMainWindow
{
public:
    GalleryWindow()
    {
        setObjectName(QStringLiteral("galleryWindow"));
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
            if (name == QLatin1String("system"))
                QApplication::setPalette(withoutWindowRoles(QApplication::palette()));
            tessera::setTheme(name);
        });
        connect(m_languages, &QComboBox::activated, this, [this](int index) {
            tessera::i18n()->setLanguage(m_languages->itemData(index).toString());
        });
        connect(tessera::useTheme()->signal, &tessera::ThemeSignal::changed, this, [this] { applyTheme(); });
        connect(tessera::i18n(), &tessera::I18n::langChanged, this, [this] { retranslate(); });

        m_list->setCurrentRow(0);
        retranslate();
        applyTheme();
        resize(1100, 760);
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
        const QString current = tessera::themeChoice();
        m_themes->clear();
        for (const QString &name : tessera::themeNames()) {
            m_themes->addItem(tessera::themeDisplayName(name), name);
        }
        // Follows the desktop's light or dark preference.
        m_themes->addItem(tessera::themeDisplayName(QStringLiteral("system")), QStringLiteral("system"));
        m_themes->setCurrentIndex(m_themes->findData(current));
        m_languages->setCurrentIndex(m_languages->findData(tessera::i18n()->language()));
        for (int i = 0; i < m_pages.size(); ++i)
            m_list->item(i)->setText(tessera::translate(m_pages[i].title));
    }

    // The gallery's own chrome follows the theme; the widgets style themselves.
    void applyTheme()
    {
        m_themes->setCurrentIndex(m_themes->findData(tessera::themeChoice()));
        const bool dark = tessera::useTheme()->palette.mode == QLatin1String("dark");
        QPalette pal = QApplication::style()->standardPalette();
        const QColor window(token("palette.background.default"));
        const QColor paper(token("palette.background.paper"));
        const QColor text(token("palette.text.primary"));
        const QColor primary(token("palette.primary.main"));
        pal.setColor(QPalette::Window, window);
        pal.setColor(QPalette::Base, paper);
        pal.setColor(QPalette::AlternateBase, window);
        pal.setColor(QPalette::Button, paper);
        pal.setColor(QPalette::WindowText, text);
        pal.setColor(QPalette::Text, text);
        pal.setColor(QPalette::ButtonText, text);
        pal.setColor(QPalette::PlaceholderText, QColor(token("palette.text.disabled")));
        pal.setColor(QPalette::Highlight, primary);
        pal.setColor(QPalette::HighlightedText, QColor(token("palette.primary.contrastText")));
        pal.setColor(QPalette::ToolTipBase, paper);
        pal.setColor(QPalette::ToolTipText, text);
        Q_UNUSED(dark)
        // Following the desktop, its own Window and WindowText stay (they match
        // the theme's mode): the kit reads the desktop's preference from them.
        if (tessera::themeChoice() == QLatin1String("system"))
            pal = withoutWindowRoles(pal);
        QApplication::setPalette(pal);
        setStyleSheet(QStringLiteral(
            "#galleryWindow { background-color: %1; }"
            "#galleryBar { background-color: %2; border-bottom: 1px solid %3; }"
            "#galleryTitle { font-size: 18px; font-weight: 600; color: %4; }"
            "#galleryPages { background-color: %2; border: none; border-right: 1px solid %3; padding: 8px 0px; color: %4; font-size: 14px; }"
            "#galleryPages::item { padding: 8px 16px; border: none; }"
            "#galleryPages::item:selected { background-color: %5; color: %6; }"
            "#galleryScroll, #galleryPage { background-color: %1; }"
            "#galleryHeading { font-size: 15px; font-weight: 600; color: %4; }"
            "#galleryCaption { color: %7; font-size: 13px; }")
                          .arg(window.name(), paper.name(), token("palette.divider"), text.name(),
                               token("palette.action.selected"), primary.name(), token("palette.text.secondary")));
    }

    QLabel *m_title;
    QLabel *m_themeLabel;
    QLabel *m_languageLabel;
    QComboBox *m_themes;
    QComboBox *m_languages;
    QListWidget *m_list;
    QStackedWidget *m_stack;
    QList<gallery::Page> m_pages;
};

// Lets every zero-delay timer and deferred task run, so the widgets carry their style sheets.
void settle()
{
    for (int i = 0; i < 6; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
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
        settle();
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
    tessera::i18n()->addCatalog(QStringLiteral("gallery"), QStringLiteral(":/i18n"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows every tessera widget in the light and dark themes."));
    parser.addHelpOption();
    const QCommandLineOption screenshots(QStringLiteral("screenshots"),
                                         QStringLiteral("Render every page in every theme to PNG files in <dir> and exit."),
                                         QStringLiteral("dir"));
    const QCommandLineOption language(QStringLiteral("language"), QStringLiteral("Start in language <code> (en, de)."),
                                      QStringLiteral("code"));
    const QCommandLineOption theme(QStringLiteral("theme"), QStringLiteral("Start with theme <name>, or load a theme file."),
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

    try {
        if (parser.isSet(theme)) {
            QString name = parser.value(theme);
            if (name.endsWith(QLatin1String(".json")))
                name = tessera::loadTheme(name);
            tessera::setTheme(name);
        }
    } catch (const std::exception &e) {
        QTextStream(stderr) << "tessera-gallery: " << e.what() << "\n";
        return 2;
    }
    if (parser.isSet(language))
        tessera::i18n()->setLanguage(parser.value(language));

    GalleryWindow window;
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
