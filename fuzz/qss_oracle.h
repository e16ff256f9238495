#pragma once

// The structural checks the fuzz targets apply to rendered style sheet text.
// The text is read the way a CSS 2.1 scanner (and Qt's style sheet parser)
// reads it: comments, quoted strings and backslash escapes are honoured, so
// a brace inside a string or behind an escape does not count, and a comment
// opener swallows whatever follows it.
//
// checkRules(qss, scope): the text is a sequence of whole rules
//   "selector-list { declarations }"; braces balance; no comment, no
//   unterminated string, no dangling escape, no stray text between rules;
//   every selector of every list starts with \a scope and does not extend
//   its last name ("#x" may be followed by ":hover", " QLabel", "[a=b]",
//   but not by "y", which would select the object "xy"). An empty scope
//   checks the structure only (blocks, comments, strings, escapes), not the
//   selectors.
// checkDeclarations(decls, scope): the text can stand between the braces of
//   a rule: wrapped as "scope { decls }" it passes checkRules.

#include <QString>

// The checks are not what the fuzzer should explore: keep coverage
// instrumentation out of them (it would slow every run down for nothing).
#if defined(__clang__)
#define QSS_ORACLE_UNINSTRUMENTED __attribute__((no_sanitize("coverage")))
#else
#define QSS_ORACLE_UNINSTRUMENTED
#endif

namespace qssoracle {

QSS_ORACLE_UNINSTRUMENTED inline bool isCssNewline(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u'\f';
}

QSS_ORACLE_UNINSTRUMENTED inline bool isCssSpace(QChar c)
{
    return c == u' ' || c == u'\t' || isCssNewline(c);
}

QSS_ORACLE_UNINSTRUMENTED inline bool isNameChar(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-'
        || c == u'_' || c.unicode() >= 0x80 || c == u'\\';
}

//! Empty when \a selectorList is a list of selectors that all start with \a scope; else why not.
QSS_ORACLE_UNINSTRUMENTED inline QString checkSelectorList(QStringView selectorList, QStringView scope)
{
    // Split at commas outside strings, brackets and parentheses.
    int nesting = 0;
    qsizetype start = 0;
    const auto checkOne = [&](QStringView one) -> QString {
        qsizetype b = 0, e = one.size();
        while (b < e && isCssSpace(one[b]))
            ++b;
        while (e > b && isCssSpace(one[e - 1]))
            --e;
        const QStringView selector = one.mid(b, e - b);
        if (scope.isEmpty())
            return {};
        if (selector.isEmpty())
            return QStringLiteral("empty selector");
        if (!selector.startsWith(scope))
            return QStringLiteral("selector \"%1\" is not scoped by \"%2\"").arg(selector, scope);
        if (selector.size() > scope.size() && isNameChar(selector[scope.size()]))
            return QStringLiteral("selector \"%1\" extends the name \"%2\"").arg(selector, scope);
        return {};
    };
    for (qsizetype i = 0; i < selectorList.size(); ++i) {
        const QChar c = selectorList[i];
        if (c == u'\\') {
            ++i;
        } else if (c == u'"' || c == u'\'') {
            for (++i; i < selectorList.size() && selectorList[i] != c; ++i) {
                if (selectorList[i] == u'\\')
                    ++i;
            }
        } else if (c == u'[' || c == u'(') {
            ++nesting;
        } else if (c == u']' || c == u')') {
            --nesting;
        } else if (c == u',' && nesting == 0) {
            const QString why = checkOne(selectorList.mid(start, i - start));
            if (!why.isEmpty())
                return why;
            start = i + 1;
        }
    }
    return checkOne(selectorList.mid(start));
}

//! Empty when \a qss is a sequence of well-formed rules scoped by \a scope; else the first problem.
QSS_ORACLE_UNINSTRUMENTED inline QString checkRules(const QString &qss, QStringView scope)
{
    bool inBlock = false;
    qsizetype selectorStart = 0;
    const qsizetype n = qss.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = qss[i];
        if (c == u'/' && i + 1 < n && qss[i + 1] == u'*')
            return QStringLiteral("comment opener at %1").arg(i);
        if (c == u'\\') {
            if (i + 1 >= n || isCssNewline(qss[i + 1]))
                return QStringLiteral("dangling escape at %1").arg(i);
            ++i;
            continue;
        }
        if (c == u'"' || c == u'\'') {
            const qsizetype open = i;
            for (++i;; ++i) {
                if (i >= n || isCssNewline(qss[i]))
                    return QStringLiteral("unterminated string at %1").arg(open);
                if (qss[i] == u'\\') {
                    ++i;
                    if (i >= n)
                        return QStringLiteral("unterminated string at %1").arg(open);
                    continue;
                }
                if (qss[i] == c)
                    break;
            }
            continue;
        }
        if (c == u'{') {
            if (inBlock)
                return QStringLiteral("nested block at %1").arg(i);
            const QString why = checkSelectorList(QStringView(qss).mid(selectorStart, i - selectorStart), scope);
            if (!why.isEmpty())
                return why;
            inBlock = true;
        } else if (c == u'}') {
            if (!inBlock)
                return QStringLiteral("unbalanced \"}\" at %1").arg(i);
            inBlock = false;
            selectorStart = i + 1;
        } else if (c == u';' && !inBlock) {
            return QStringLiteral("\";\" outside a rule at %1").arg(i);
        }
    }
    if (inBlock)
        return QStringLiteral("unclosed block");
    for (qsizetype i = selectorStart; i < n; ++i) {
        if (!isCssSpace(qss[i]))
            return QStringLiteral("text after the last rule at %1").arg(i);
    }
    return {};
}

//! Empty when \a declarations can stand between the braces of a rule; else the problem.
QSS_ORACLE_UNINSTRUMENTED inline QString checkDeclarations(const QString &declarations, const QString &scope)
{
    return checkRules(scope + QStringLiteral(" { ") + declarations + QStringLiteral(" }"), scope);
}

} // namespace qssoracle
