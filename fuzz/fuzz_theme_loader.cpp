// Fuzzes the theme loader: the order-keeping JSON reader, the theme check,
// registering and switching to a theme that passes, rendering its component
// styles, and now and then the whole file path through loadTheme().
//
// Checked on every input (abort() on a violation):
// - a document is either read or refused with StyleMapError, nothing else;
// - what was read writes back to JSON and reads again to the same mapping;
// - a theme that passes the check can be made current, and every style the
//   widgets read from it renders into text that can stand in a rule;
// - loadTheme() of the same bytes refuses exactly what the reader or the
//   check refuses, names the file when it does, and leaves the current theme
//   as it was; what it accepts passes the check.

#include "qss_oracle.h"

#include <tessera/kit/qss.h>
#include <tessera/kit/stylemap.h>
#include <tessera/kit/theme.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace tessera;

namespace {

[[noreturn]] void fail(const QString &why)
{
    std::fprintf(stderr, "theme loader: %s\n", qPrintable(why));
    std::abort();
}

// The longest text the declaration form of \a style can have: every entry at
// its longest (a hyphen before each capital, the text or the token it names,
// a number with its unit).
double declarationBound(const StyleValue *style)
{
    const Theme *theme = useTheme();
    double bound = 0;
    for (const auto &[key, value] : style->map()) {
        qsizetype text = 0;
        if (const QString *written = value.textIf()) {
            const QString *token = theme->findToken(*written);
            text = std::max(written->size(), token ? token->size() : 0);
        }
        bound += 2.0 * double(key.size()) + double(text) + 64;
    }
    return bound;
}

void renderEveryStyle(const StyleMap &data)
{
    for (const ThemeRequirement &req : themeRequirements()) {
        if (req.kind != ThemeRequirement::Kind::Map && req.kind != ThemeRequirement::Kind::Style)
            continue;
        const StyleValue *style = data.findPath(req.path);
        QString decls;
        try {
            decls = get_qss_style(style);
        } catch (const StyleMapError &e) {
            // This build lowers the renderer's size limit (see CMakeLists.txt): only a style
            // that can reach it may be refused.
            if (!QByteArray(e.what()).contains("larger than")
                || declarationBound(style) <= double(TESSERA_FUZZ_MAX_RENDERED_STYLE_SIZE))
                fail(QStringLiteral("style \"%1\" refused: %2").arg(req.path, e.what()));
            continue;
        }
        if (const QString why = qssoracle::checkDeclarations(decls, QStringLiteral("#x")); !why.isEmpty())
            fail(QStringLiteral("style \"%1\" renders badly: %2\n%3").arg(req.path, why, decls.left(2000)));
    }
}

void loadThroughFile(QByteArrayView bytes, bool readable, const StyleMap &data)
{
    static QTemporaryDir dir;
    // One fixed file name, so that the fuzzer registers a bounded number of themes.
    const QString path = dir.filePath(QStringLiteral("fuzz-file.json"));
    if (readable) {
        const StyleValue *name = data.find(u"name");
        if (name && !(name->isText() && name->text() == u"fuzz-file"))
            return;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail(QStringLiteral("cannot write %1").arg(path));
    file.write(bytes.data(), bytes.size());
    file.close();

    Theme *theme = useTheme();
    const QString nameBefore = theme->name();
    const quint64 identityBefore = theme->identity();
    try {
        const QString name = loadTheme(path);
        if (!readable)
            fail(QStringLiteral("loadTheme accepted a document the reader refuses"));
        const QStringList problems = validateTheme(themeData(name));
        if (!problems.isEmpty())
            fail(QStringLiteral("loadTheme registered a theme that fails the check: %1").arg(problems.first()));
    } catch (const ThemeError &e) {
        if (!QString::fromUtf8(e.what()).startsWith(path))
            fail(QStringLiteral("ThemeError does not name the file: %1").arg(e.what()));
    }
    if (theme->name() != nameBefore || theme->identity() != identityBefore)
        fail(QStringLiteral("loadTheme changed the current theme"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArrayView json(reinterpret_cast<const char *>(bytes), qsizetype(size));
    StyleMap data;
    bool readable = true;
    try {
        data = StyleMap::fromJson(json);
    } catch (const StyleMapError &) {
        readable = false;
    }

    if (readable) {
        StyleMap again;
        try {
            again = StyleMap::fromJson(data.toJson());
        } catch (const StyleMapError &e) {
            fail(QStringLiteral("written JSON does not read back: %1").arg(e.what()));
        }
        if (!(again == data))
            fail(QStringLiteral("JSON round trip changed the mapping"));

        if (validateTheme(data).isEmpty()) {
            registerTheme(QStringLiteral("fuzz-theme"), data);
            setTheme(QStringLiteral("fuzz-theme"));
            if (useTheme()->palette().mode != data.findPath(u"palette.mode")->text())
                fail(QStringLiteral("palette.mode does not follow the theme"));
            renderEveryStyle(data);
            setTheme(QStringLiteral("light"));
        }
    }

    // One input in sixteen: writing and reading a file costs more than all the rest.
    if (size % 16 == 0)
        loadThroughFile(json, readable, data);
    return 0;
}
