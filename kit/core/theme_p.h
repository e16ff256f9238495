#pragma once

// Kit-internal: not installed, not part of the API.

#include <tessera/kit/stylemap.h>
#include <tessera/kit/theme.h>

#include <QHash>
#include <QString>

namespace tessera {

namespace detail {

// A key of a theme's token index: a dotted path. Hashed and compared inline
// (theme.cpp) rather than by QString's general functions: a lookup is made for
// every themed declaration of every restyle.
struct TokenPath
{
    QString text;
};
bool operator==(const TokenPath &a, const TokenPath &b) noexcept;
size_t qHash(const TokenPath &path, size_t seed) noexcept;
using TokenIndex = QHash<TokenPath, QString>;

} // namespace detail

//! The data of the one Theme object; the theme manager (theme.cpp) replaces it on every switch.
class ThemePrivate
{
public:
    QString name;
    quint64 identity = 0;
    StyleMap data;
    // Every text and number of the document under its dotted path, so that
    // resolving a token (done for every themed declaration of every restyle)
    // is one hash lookup instead of a walk through the nested mappings.
    detail::TokenIndex tokens;
    StyleMap components;
    Palette palette;
    StyleMap typography;
};

} // namespace tessera
