#include <tessera/kit/svg_widget.h>
#include <tessera/kit/theme.h>

#include "testsupport.h"

#include <QHBoxLayout>
#include <QImage>
#include <QPixmap>
#include <QTest>

using namespace tessera;

namespace {

QImage renderAt(PySvgWidget &w, qreal dpr)
{
    QPixmap target(w.sizeHint() * dpr);
    target.setDevicePixelRatio(dpr);
    target.fill(Qt::transparent);
    w.resize(w.sizeHint());
    w.render(&target, QPoint(), QRegion(), QWidget::DrawChildren);
    return target.toImage().convertToFormat(QImage::Format_ARGB32);
}

// The opaque colours of an image (alpha 255 only, so antialiased edges do not count).
QSet<QRgb> inks(const QImage &image)
{
    QSet<QRgb> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) == 255)
                out.insert(image.pixel(x, y) | 0xff000000);
    return out;
}

bool blank(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return false;
    return true;
}

} // namespace

class tst_SvgWidget : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        setTheme("light");
        testsupport::drainEvents();
    }

    void resourcePaths_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("path");

        QTest::newRow("loading") << "eos-icons:loading" << ":/icons/eos-icons/loading.svg";
        QTest::newRow("arrow") << "svg_cache:ri_arrow-up-s-line" << ":/icons/svg_cache/ri_arrow-up-s-line.svg";
        QTest::newRow("resource path") << ":/round/resource_tessera/round/more_vert.svg"
                                       << ":/round/resource_tessera/round/more_vert.svg";
        QTest::newRow("unknown name") << "eos-icons:nothing" << "";
        QTest::newRow("unknown set") << "nowhere:loading" << "";
        QTest::newRow("no colon") << "loading" << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("climbing out") << "..:themes/light" << "";
        QTest::newRow("two colons") << "eos-icons:loading:x" << "";
    }
    void resourcePaths()
    {
        QFETCH(QString, key);
        QFETCH(QString, path);
        QCOMPARE(PySvgWidget::resourcePath(key), path);
    }

    void colourFromTokenOrText_data()
    {
        QTest::addColumn<QString>("color");
        QTest::addColumn<QColor>("expected");

        QTest::newRow("token") << "palette.grey._500" << QColor("#9e9e9e");
        QTest::newRow("hex") << "#00ff00" << QColor("#00ff00");
        QTest::newRow("name") << "red" << QColor(Qt::red);
        QTest::newRow("rgba") << "rgba(0, 0, 255, 0.5)" << QColor(0, 0, 255, 128);
        QTest::newRow("rgb") << "rgb(10, 20, 30)" << QColor(10, 20, 30);
        QTest::newRow("missing token") << "palette.nothing.here" << QColor();
        QTest::newRow("garbage") << "rgba(1, 2)" << QColor();
    }
    void colourFromTokenOrText()
    {
        QFETCH(QString, color);
        QFETCH(QColor, expected);
        PySvgWidget w({.key = "eos-icons:loading", .color = color});
        QCOMPARE(w.resolvedColor().isValid(), expected.isValid());
        if (expected.isValid())
            QCOMPARE(w.resolvedColor().rgba(), expected.rgba());
    }

    void recoloursOnThemeChange()
    {
        const QString red = testsupport::registerVariant("light", [](StyleMap &data) {
            testsupport::setPath(data, "palette.grey._500", "#ff0000");
        });
        PySvgWidget w({.key = ":/round/resource_tessera/round/more_vert.svg", .color = "palette.grey._500"});
        QCOMPARE(inks(renderAt(w, 1)), QSet<QRgb>{QColor("#9e9e9e").rgb()});
        setTheme(red);
        testsupport::drainEvents();
        QCOMPARE(w.resolvedColor(), QColor("#ff0000"));
        QCOMPARE(inks(renderAt(w, 1)), QSet<QRgb>{QColor("#ff0000").rgb()});
        setTheme("light");
        testsupport::drainEvents();
        QCOMPARE(inks(renderAt(w, 1)), QSet<QRgb>{QColor("#9e9e9e").rgb()});
    }

    void sharpAtHighPixelRatio()
    {
        PySvgWidget w({.key = ":/round/resource_tessera/round/more_vert.svg", .color = "#000000", .size = 24});
        const QImage image = renderAt(w, 2);
        QCOMPARE(image.size(), QSize(48, 48));
        // Drawn at 1x and scaled up, every 2x2 block would be one colour.
        int mixedBlocks = 0;
        for (int y = 0; y < 48; y += 2)
            for (int x = 0; x < 48; x += 2) {
                const QRgb a = image.pixel(x, y);
                if (image.pixel(x + 1, y) != a || image.pixel(x, y + 1) != a || image.pixel(x + 1, y + 1) != a)
                    ++mixedBlocks;
            }
        QVERIFY(mixedBlocks > 0);
        QVERIFY(!blank(image));
    }

    void spinsOnlyWhileShown()
    {
        QWidget host;
        auto *layout = new QHBoxLayout(&host);
        auto *spinner = new PySvgWidget({.key = "eos-icons:loading", .color = "palette.grey._500"});
        auto *still = new PySvgWidget({.key = "svg_cache:ri_arrow-down-s-line"});
        layout->addWidget(spinner);
        layout->addWidget(still);
        QVERIFY(!spinner->isSpinning());   // built hidden
        host.show();
        QVERIFY(spinner->isSpinning());
        QVERIFY(!still->isSpinning());
        spinner->setVisible(false);
        QVERIFY(!spinner->isSpinning());
        spinner->setVisible(true);
        QVERIFY(spinner->isSpinning());
        host.hide();   // hiding the window hides the icon too
        QVERIFY(!spinner->isSpinning());
        host.show();
        QVERIFY(spinner->isSpinning());
    }

    void unknownKeyDrawsNothingAndSaysNothing()
    {
        QTest::failOnWarning(QRegularExpression(".*"));
        PySvgWidget unknown({.key = "eos-icons:nothing", .color = "palette.grey._500"});
        QVERIFY(blank(renderAt(unknown, 1)));
        QVERIFY(!unknown.isSpinning());
        PySvgWidget badColour({.key = "eos-icons:loading", .color = "palette.nothing"});
        QVERIFY(blank(renderAt(badColour, 1)));
        QCOMPARE(unknown.sizeHint(), QSize(20, 20));   // still takes its place in a layout
    }
};

QTEST_MAIN(tst_SvgWidget)
#include "tst_svg_widget.moc"
