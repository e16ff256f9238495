#pragma once

#include <tessera/kit/kit_export.h>

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

#include <functional>

namespace tessera {

class I18nPrivate;

/*!
    A text whose display form is looked up when it is shown, so that it
    follows language switches. Mark source texts for Linguist with
    tessera::deferredTr (lupdate knows it as an alias of QT_TRANSLATE_NOOP):

    \code
    auto *label = new tessera::State(QVariant::fromValue(tessera::deferredTr("Form", "Name")));
    \endcode
*/
class TESSERA_KIT_EXPORT DeferredText
{
public:
    DeferredText() = default;
    //! The Linguist source text \a sourceText of \a context (with an optional \a disambiguation).
    DeferredText(const char *context, const char *sourceText, const char *disambiguation = nullptr);
    //! Any callable yielding the display text (it is called on every translate()).
    explicit DeferredText(std::function<QString()> function);

    //! Whether this holds neither a source text nor a callable.
    bool isNull() const { return !m_function && m_source.isEmpty(); }
    //! The text for the current language.
    QString operator()() const;

    QByteArray context() const { return m_context; }       //!< The translation context (empty for a callable).
    QByteArray sourceText() const { return m_source; }     //!< The source text (empty for a callable).

    //! Whether \a a and \a b are the same source text; callables never compare equal.
    friend bool operator==(const DeferredText &a, const DeferredText &b)
    {
        return !a.m_function && !b.m_function && a.m_context == b.m_context
            && a.m_source == b.m_source && a.m_disambiguation == b.m_disambiguation;
    }

private:
    QByteArray m_context;
    QByteArray m_source;
    QByteArray m_disambiguation;
    std::function<QString()> m_function;
};

//! Marks \a sourceText for translation in \a context and returns it deferred.
inline DeferredText deferredTr(const char *context, const char *sourceText, const char *disambiguation = nullptr)
{
    return DeferredText(context, sourceText, disambiguation);
}

//! The display text of a deferred text for the current language.
TESSERA_KIT_EXPORT QString translate(const DeferredText &text);
/*!
    The display text of a label value: a DeferredText, a std::function<QString()>
    or a text held in \a value. Returns a null QString for anything else.
*/
TESSERA_KIT_EXPORT QString translate(const QVariant &value);
//! Whether \a value holds something translate() can call (a deferred text or a text function).
TESSERA_KIT_EXPORT bool isCallableText(const QVariant &value);

/*!
    The kit's language switch. setLanguage() installs the translators of every
    registered catalogue for the new language and then emits langChanged, so
    that a slot calling translate() again gets the new text. Qt's own
    LanguageChange events reach every widget as usual.
*/
class TESSERA_KIT_EXPORT I18n : public QObject
{
    Q_OBJECT
    //! The current language code; writing it is setLanguage().
    Q_PROPERTY(QString language READ language WRITE setLanguage NOTIFY langChanged)
public:
    //! The current language code ("en" until another one is set).
    QString language() const;
    //! Language codes for which the kit ships translations, "en" first.
    QStringList languages() const;
    //! Human-readable name of a language code, in that language ("Deutsch").
    static QString nativeName(const QString &code);

    /*!
        Switches the application language. "en" (the source language) removes
        the kit's translators. Unknown codes are accepted and fall back to the
        source texts, as Qt does for a missing .qm file.
    */
    void setLanguage(const QString &code);

    /*!
        Registers a translation catalogue: files named "<baseName>_<code>.qm" in
        \a directory (a resource folder such as ":/i18n" or a file-system folder).
        The kit registers its own catalogue; an application adds its own.
    */
    void addCatalog(const QString &baseName, const QString &directory = QStringLiteral(":/i18n"));

    ~I18n() override;

Q_SIGNALS:
    //! Emitted after the translators for a new language are installed.
    void langChanged();

private:
    friend TESSERA_KIT_EXPORT I18n *i18n();
    I18n();
    std::unique_ptr<I18nPrivate> const d;
};

//! The kit's translation object (created on first use, on the GUI thread).
TESSERA_KIT_EXPORT I18n *i18n();

} // namespace tessera

Q_DECLARE_METATYPE(tessera::DeferredText)
