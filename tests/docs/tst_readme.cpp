// Every code block of README.md marked "<!-- example: FILE -->" must stand,
// line for line, in FILE (indentation aside): the first program, the
// snippets, the consumer example and the sample theme are built and run by
// the install test, so what the README shows is what the suite exercises.
// Its pictures are the golden images the suite compares the gallery with.

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

QStringList readLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(f.readAll()).split(u'\n');
}

QString source(const QString &relative)
{
    return QStringLiteral(TESSERA_SOURCE_DIR "/") + relative;
}

struct Block
{
    QString file;
    int line = 0; // README line of the opening fence
    QStringList body;
};

QList<Block> markedBlocks(const QStringList &readme)
{
    static const QString marker = QStringLiteral("<!-- example: ");
    QList<Block> blocks;
    for (int i = 0; i < readme.size(); ++i) {
        if (!readme[i].startsWith(marker))
            continue;
        Block b;
        b.file = readme[i].mid(marker.size()).chopped(QStringLiteral(" -->").size());
        int j = i + 1;
        if (j < readme.size() && readme[j].startsWith(QLatin1String("```"))) {
            b.line = j + 1;
            for (++j; j < readme.size() && !readme[j].startsWith(QLatin1String("```")); ++j)
                b.body << readme[j];
        }
        blocks << b;
    }
    return blocks;
}

// Whether \a block stands in \a file as consecutive lines, indentation and trailing spaces aside.
bool standsIn(const QStringList &block, const QStringList &file)
{
    if (block.isEmpty())
        return false;
    for (qsizetype start = 0; start + block.size() <= file.size(); ++start) {
        bool all = true;
        for (qsizetype k = 0; k < block.size() && all; ++k)
            all = block[k].trimmed() == file[start + k].trimmed();
        if (all)
            return true;
    }
    return false;
}

} // namespace

class tst_Readme : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void setUpCommandsComeFirst()
    {
        const QStringList readme = readLines(source(QStringLiteral("README.md")));
        QVERIFY(!readme.isEmpty());
        const qsizetype fence = readme.indexOf(QStringLiteral("```sh"));
        QVERIFY(fence >= 0);
        // No other code block before the set-up block.
        for (qsizetype i = 0; i < fence; ++i)
            QVERIFY2(!readme[i].startsWith(QLatin1String("```")), qPrintable(readme[i]));
        QCOMPARE(readme.mid(fence + 1, 3), QStringList({"./dev.sh gallery", "./dev.sh test", "```"}));
    }

    void examplesAreTheBuiltFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("body");
        const QList<Block> blocks = markedBlocks(readLines(source(QStringLiteral("README.md"))));
        // The sections that promise an exercised example: first program, State, theme switch,
        // theme file, loading a theme, languages, CMake, pkg-config, modules, Designer.
        QVERIFY(blocks.size() >= 10);
        for (const Block &b : blocks)
            QTest::addRow("%s line %d", qPrintable(b.file), b.line) << b.file << b.body;
    }
    void examplesAreTheBuiltFiles()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, body);
        const QStringList lines = readLines(source(file));
        QVERIFY2(!lines.isEmpty(), qPrintable(file + " is missing"));
        QVERIFY2(standsIn(body, lines), qPrintable(QStringLiteral("this block is not in %1:\n%2").arg(file, body.join(u'\n'))));
    }

    // Whole files shown whole: the block is the file.
    void wholeFilesAreShownWhole_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("first program") << QString("examples/hello/hello.cpp");
        QTest::newRow("first program's CMakeLists") << QString("examples/hello/CMakeLists.txt");
        QTest::newRow("sample theme") << QString("examples/themes/ocean.json");
    }
    void wholeFilesAreShownWhole()
    {
        QFETCH(QString, file);
        QStringList lines = readLines(source(file));
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        bool found = false;
        for (const Block &b : markedBlocks(readLines(source(QStringLiteral("README.md")))))
            found = found || (b.file == file && b.body == lines);
        QVERIFY2(found, qPrintable(file + " is not shown whole in the README"));
    }

    // The pictures are the gallery's golden images, referenced by path: every
    // page in the light and the dark theme at device pixel ratio 1, and nothing
    // else. Rendering the goldens anew updates the README with them.
    void picturesAreTheGoldenImages()
    {
        const QString readme = readLines(source(QStringLiteral("README.md"))).join(u'\n');
        static const QRegularExpression reference(QStringLiteral("(?:src=\"|\\]\\()([^\")]+\\.(?:png|jpg|svg|gif))"));
        QStringList shown;
        for (auto it = reference.globalMatch(readme); it.hasNext();)
            shown << it.next().captured(1);
        const QString folder = QStringLiteral("tests/golden/images/");
        const QStringList goldens = QDir(source(folder)).entryList({QStringLiteral("*@1x.png")}, QDir::Files, QDir::Name);
        QVERIFY(goldens.size() >= 2);
        for (const QString &path : std::as_const(shown))
            QVERIFY2(path.startsWith(folder) && goldens.contains(path.mid(folder.size())),
                     qPrintable(path + QStringLiteral(" is not one of the golden images at ratio 1")));
        for (const QString &golden : goldens)
            QVERIFY2(shown.contains(folder + golden), qPrintable(golden + QStringLiteral(" is not shown in the README")));
    }
};

QTEST_MAIN(tst_Readme)
#include "tst_readme.moc"
