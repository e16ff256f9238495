#include "i18n.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

#include <memory>
#include <vector>

namespace tessera {

DeferredText::DeferredText(const char *context, const char *sourceText, const char *disambiguation)
    : m_context(context), m_source(sourceText), m_disambiguation(disambiguation)
{
}

DeferredText::DeferredText(std::function<QString()> function) : m_function(std::move(function)) {}

QString DeferredText::operator()() const
{
    if (m_function)
        return m_function();
    return QCoreApplication::translate(m_context.constData(), m_source.constData(),
                                       m_disambiguation.isEmpty() ? nullptr : m_disambiguation.constData());
}

QString translate(const DeferredText &text) { return text(); }

bool isCallableText(const QVariant &value)
{
    return value.metaType() == QMetaType::fromType<DeferredText>()
        || value.metaType() == QMetaType::fromType<std::function<QString()>>();
}

QString translate(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<DeferredText>())
        return value.value<DeferredText>()();
    if (value.metaType() == QMetaType::fromType<std::function<QString()>>()) {
        const auto fn = value.value<std::function<QString()>>();
        return fn ? fn() : QString();
    }
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    return {};
}

class I18nPrivate
{
public:
    struct Catalog
    {
        QString baseName;
        QString directory;
    };
    QString language = QStringLiteral("en");
    std::vector<Catalog> catalogs;
    std::vector<std::unique_ptr<QTranslator>> installed;
};

I18n::I18n() : d(std::make_unique<I18nPrivate>())
{
    d->catalogs.push_back({QStringLiteral("tessera"), QStringLiteral(":/i18n")});
}

I18n::~I18n()
{
    // Destroyed with the application: Qt drops its translator list itself then.
    if (QCoreApplication::instance()) {
        for (auto &translator : d->installed)
            QCoreApplication::removeTranslator(translator.get());
    }
}

I18n *i18n()
{
    // Parented to the application so it goes with it; created on first use.
    static QPointer<I18n> instance;
    if (!instance) {
        instance = new I18n;
        if (QCoreApplication *app = QCoreApplication::instance())
            instance->setParent(app);
    }
    return instance;
}

QString I18n::language() const { return d->language; }

QStringList I18n::languages() const
{
    QStringList codes{QStringLiteral("en")};
    for (const auto &catalog : d->catalogs) {
        const QDir dir(catalog.directory);
        const QString prefix = catalog.baseName + u'_';
        for (const QString &file : dir.entryList({prefix + QStringLiteral("*.qm")}, QDir::Files)) {
            const QString code = QFileInfo(file).completeBaseName().mid(prefix.size());
            if (!codes.contains(code))
                codes.append(code);
        }
    }
    return codes;
}

QString I18n::nativeName(const QString &code)
{
    const QLocale locale(code);
    // The language alone, not its regional variant ("English", not "American English").
    QString name = QLocale::languageToString(locale.language()) == QLatin1String("English")
                       ? QStringLiteral("English")
                       : locale.nativeLanguageName();
    if (name.isEmpty())
        return code;
    name[0] = name[0].toUpper();
    return name;
}

void I18n::setLanguage(const QString &code)
{
    for (auto &translator : d->installed)
        QCoreApplication::removeTranslator(translator.get());
    d->installed.clear();
    d->language = code.isEmpty() ? QStringLiteral("en") : code;
    if (d->language != QStringLiteral("en")) {
        for (const auto &catalog : d->catalogs) {
            auto translator = std::make_unique<QTranslator>();
            if (translator->load(catalog.baseName + u'_' + d->language, catalog.directory)) {
                QCoreApplication::installTranslator(translator.get());
                d->installed.push_back(std::move(translator));
            }
        }
    }
    Q_EMIT langChanged();
}

void I18n::addCatalog(const QString &baseName, const QString &directory)
{
    for (const auto &c : d->catalogs) {
        if (c.baseName == baseName && c.directory == directory)
            return;
    }
    d->catalogs.push_back({baseName, directory});
    if (d->language != QStringLiteral("en")) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(baseName + u'_' + d->language, directory)) {
            QCoreApplication::installTranslator(translator.get());
            d->installed.push_back(std::move(translator));
        }
    }
}

} // namespace tessera
