// The gallery's pages against the checked-in golden images: every page, in
// the light and the dark theme, at device pixel ratio 1 and 2, and the
// Buttons page laid out right to left. A picture
// may differ from its golden one only in a few anti-aliased pixels; on a
// failure the rendered picture and a difference map (differing pixels red
// over the golden picture in grey) are written beside the test.

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

namespace {

// A channel may be off by this much before the pixel counts as different
// (blending may round differently); neighbouring shades of a theme colour
// (primary.main against primary.dark) still differ by more.
constexpr int ChannelTolerance = 12;
// The share of differing pixels a picture may have: a spinner's frame or a
// caret, a few hundred pixels at most; a restyled button is more.
constexpr double AllowedShare = 0.0005;

QString renderedDir()
{
    return QStringLiteral(OUTPUT_DIR "/rendered");
}

bool render(int ratio, QString *error)
{
    QProcess gallery;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(ratio));
    gallery.setProcessEnvironment(env);
    gallery.setProcessChannelMode(QProcess::MergedChannels);
    gallery.start(QStringLiteral(GALLERY),
                  {QStringLiteral("--screenshots"), renderedDir(), QStringLiteral("--suffix"), QStringLiteral("@%1x").arg(ratio),
                   QStringLiteral("--rtl"), QStringLiteral("buttons")});
    if (!gallery.waitForFinished(300000) || gallery.exitStatus() != QProcess::NormalExit || gallery.exitCode() != 0) {
        *error = QString::fromUtf8(gallery.readAll());
        return false;
    }
    return true;
}

QStringList pictures(const QString &dir)
{
    return QDir(dir).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
}

struct Comparison
{
    qsizetype differing = 0;
    QImage map;
};

Comparison compare(const QImage &actual, const QImage &expected)
{
    Comparison c;
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32);
    const QImage e = expected.convertToFormat(QImage::Format_ARGB32);
    c.map = e.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < e.height(); ++y) {
        const QRgb *pa = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const QRgb *pe = reinterpret_cast<const QRgb *>(e.constScanLine(y));
        QRgb *pm = reinterpret_cast<QRgb *>(c.map.scanLine(y));
        for (int x = 0; x < e.width(); ++x) {
            const int d = std::max({std::abs(qRed(pa[x]) - qRed(pe[x])), std::abs(qGreen(pa[x]) - qGreen(pe[x])),
                                    std::abs(qBlue(pa[x]) - qBlue(pe[x])), std::abs(qAlpha(pa[x]) - qAlpha(pe[x]))});
            if (d > ChannelTolerance) {
                ++c.differing;
                pm[x] = qRgb(255, 0, 0);
            } else {
                pm[x] = qRgb(qGray(pm[x]) / 2 + 64, qGray(pm[x]) / 2 + 64, qGray(pm[x]) / 2 + 64);
            }
        }
    }
    return c;
}

} // namespace

class tst_Golden : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QDir(renderedDir()).removeRecursively();
        QDir().mkpath(renderedDir());
        QDir(QStringLiteral(OUTPUT_DIR "/failed")).removeRecursively();
        for (int ratio : {1, 2}) {
            QString error;
            QVERIFY2(render(ratio, &error), qPrintable(QStringLiteral("the gallery failed at ratio %1:\n%2").arg(ratio).arg(error)));
        }
    }

    // A page without golden pictures (or pictures of a page that is gone) is a failure too.
    void everyPageHasGoldenPictures()
    {
        const QStringList rendered = pictures(renderedDir());
        QVERIFY(!rendered.isEmpty());
        QCOMPARE(rendered, pictures(QStringLiteral(GOLDEN_DIR)));
    }

    void picturesMatch_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &name : pictures(QStringLiteral(GOLDEN_DIR)))
            QTest::newRow(qPrintable(name)) << name;
    }
    void picturesMatch()
    {
        QFETCH(QString, name);
        const QImage expected(QStringLiteral(GOLDEN_DIR "/") + name);
        const QImage actual(renderedDir() + u'/' + name);
        QVERIFY2(!expected.isNull(), qPrintable(name + ": the golden picture cannot be read"));
        QVERIFY2(!actual.isNull(), qPrintable(name + ": the gallery did not render it"));
        QCOMPARE(actual.size(), expected.size());

        const Comparison c = compare(actual, expected);
        const qsizetype allowed = qsizetype(AllowedShare * expected.width() * expected.height());
        if (c.differing > allowed) {
            const QString failed = QStringLiteral(OUTPUT_DIR "/failed");
            QDir().mkpath(failed);
            const QString base = failed + u'/' + QFileInfo(name).completeBaseName();
            actual.save(base + QStringLiteral("-actual.png"));
            c.map.save(base + QStringLiteral("-diff.png"));
            QFAIL(qPrintable(QStringLiteral("%1: %2 pixels differ (at most %3 may); see %4-actual.png and %4-diff.png")
                                 .arg(name).arg(c.differing).arg(allowed).arg(base)));
        }
    }
};

QTEST_MAIN(tst_Golden)
#include "tst_golden.moc"
