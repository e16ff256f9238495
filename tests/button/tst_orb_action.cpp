#include <tessera/kit/registry.h>
#include <tessera/material/button/orb_action_p.h>

#include "propertycheck.h"
#include "testsupport.h"

#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QTest>
#include <QVariantAnimation>

#include <memory>

using namespace tessera;

namespace {

// Reaches the stored options and the icon as it is handed to the style.
class Orb : public OrbAction
{
public:
    using OrbAction::OrbAction;
    using OrbAction::sx;
    OrbActionPrivate *p() { return OrbActionPrivate::get(this); }

    QIcon styledIcon() const
    {
        QStyleOptionButton option;
        initStyleOption(&option);
        return option.icon;
    }
};

const QString MoreVert = QStringLiteral(":/round/resource_tessera/round/more_vert.svg");

QImage iconImage(const QIcon &icon, int edge)
{
    return icon.pixmap(QSize(edge, edge), 1.0).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// How many pixels differ by more than a rounding step in any channel.
int pixelsApart(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return -1;
    int apart = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (qAbs(qRed(p) - qRed(q)) > 3 || qAbs(qGreen(p) - qGreen(q)) > 3 || qAbs(qBlue(p) - qBlue(q)) > 3
                || qAbs(qAlpha(p) - qAlpha(q)) > 3)
                ++apart;
        }
    }
    return apart;
}

} // namespace

class tst_OrbAction : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { testsupport::drainEvents(); }

    void handOnWithoutOptions()
    {
        Orb orb;
        QVERIFY(orb.startIcon().isNone());
        QVERIFY(!orb.startIcon().isState());
        QCOMPARE(orb.componentType(), QStringLiteral("OrbAction"));
        QVERIFY(orb.buttonOptions().isEmpty());
        QVERIFY(orb.buttonArgs().isEmpty());
        QVERIFY(orb.sx().isNone());
        QVERIFY(orb.p()->_kwargs.isEmpty());
        QVERIFY(orb.p()->_animate.plain());
        QCOMPARE(*orb.p()->_animate.plain(), false);
        // No colour, size or variant of its own: Button picks its defaults.
        QVERIFY(!orb.optionValue(QStringLiteral("color")).isValid());
        QVERIFY(!orb.optionValue(QStringLiteral("size")).isValid());
        QVERIFY(!orb.optionValue(QStringLiteral("variant")).isValid());
        QVERIFY(!orb.isAnimating());
    }

    void iconStateReachesButtonUnchanged()
    {
        State icon(MoreVert);
        Orb orb({.icon = &icon});
        QSignalSpy notified(&orb, &OrbAction::iconSourceChanged);
        QCOMPARE(orb.startIcon().state(), &icon);
        QVERIFY(!orb.icon().isNull());
        icon.setValue(QString());
        QVERIFY(orb.icon().isNull());   // Button follows the very same State
        const QString arrow = QStringLiteral(":/icons/svg_cache/ri_arrow-up-s-line.svg");
        icon.setValue(arrow);
        QVERIFY(!orb.icon().isNull());
        // The property follows the State and notifies each change once.
        QCOMPARE(orb.iconSource(), arrow);
        QCOMPARE(notified.size(), 2);
        QCOMPARE(notified.at(0).at(0).toString(), QString());
        QCOMPARE(notified.at(1).at(0).toString(), arrow);
    }

    void furtherOptionsAreHandedOnAndKept()
    {
        State disabled(false);
        Orb orb({.args = {QStringLiteral("Add")},
                 .kwargs = {{QStringLiteral("color"), QStringLiteral("primary")},
                            {QStringLiteral("variant"), QStringLiteral("extended")},
                            {QStringLiteral("disabled"), QVariant::fromValue(&disabled)}}});
        const QVariantMap expected{{QStringLiteral("color"), QStringLiteral("primary")},
                                   {QStringLiteral("variant"), QStringLiteral("extended")},
                                   {QStringLiteral("disabled"), QVariant::fromValue(&disabled)}};
        QCOMPARE(orb.buttonOptions(), expected);
        QCOMPARE(orb.p()->_kwargs, expected);
        QCOMPARE(orb.buttonArgs(), QVariantList{QStringLiteral("Add")});
        QCOMPARE(orb.optionValue(QStringLiteral("color")), QVariant(QStringLiteral("primary")));
        disabled.setValue(true);
        QVERIFY(!orb.isEnabled());
    }

    void sxReachesButtonOnlyThroughTheMember()
    {
        StyleMap sx;
        sx.insert(QStringLiteral("margin"), QStringLiteral("7px"));
        Orb orb({.sx = sx});
        QVERIFY(!orb.buttonOptions().contains(QStringLiteral("sx")));
        QVERIFY(!orb.p()->_kwargs.contains(QStringLiteral("sx")));
        QVERIFY(orb.sx().map());
        QVERIFY(orb.styleSheet().isEmpty());   // styled later, never in the constructor
        testsupport::drainEvents();
        const QString sheet = orb.styleSheet();
        QVERIFY2(sheet.contains(u'#' + orb.objectName()) && sheet.contains(QStringLiteral("margin: 7px")),
                 qPrintable(sheet));
    }

    void optionsThisClassSetsAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("startIcon") << "startIcon" << QVariant(MoreVert);
        QTest::newRow("componentType") << "componentType" << QVariant(QStringLiteral("Button"));
        QTest::newRow("sx inside kwargs") << "sx" << QVariant(QStringLiteral("color: red;"));
        QTest::newRow("icon inside kwargs") << "icon" << QVariant(MoreVert);
        QTest::newRow("animate inside kwargs") << "animate" << QVariant(true);
    }

    void optionsThisClassSetsAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, value);
        const int before = int(QApplication::allWidgets().size());
        try {
            OrbAction orb({.kwargs = {{name, value}}});
            QFAIL("the option was accepted");
        } catch (const OptionError &e) {
            QCOMPARE(e.option(), name);
        }
        QCOMPARE(int(QApplication::allWidgets().size()), before);
    }

    void createConvertsNamedOptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("refused");
        QTest::newRow("startIcon") << "startIcon" << QVariant(MoreVert) << "startIcon";
        QTest::newRow("componentType") << "componentType" << QVariant(QStringLiteral("X")) << "componentType";
        QTest::newRow("icon a number") << "icon" << QVariant(4) << "icon";
        QTest::newRow("animate a text") << "animate" << QVariant(QStringLiteral("yes")) << "animate";
        QTest::newRow("sx a number") << "sx" << QVariant(4) << "sx";
        QTest::newRow("icon a text") << "icon" << QVariant(MoreVert) << QString();
        QTest::newRow("animate a flag") << "animate" << QVariant(true) << QString();
    }

    void createConvertsNamedOptions()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, value);
        QFETCH(QString, refused);
        const QString path = QStringLiteral("tessera.material.button.orb_action");
        const QVariantMap options{{name, value}};
        if (!refused.isEmpty()) {
            try {
                delete create(path, options);
                QFAIL("the option was accepted");
            } catch (const OptionError &e) {
                QCOMPARE(e.option(), refused);
            }
            return;
        }
        std::unique_ptr<QWidget> widget(create(path, options));
        auto *orb = qobject_cast<OrbAction *>(widget.get());
        QVERIFY(orb);
        QCOMPARE(orb->componentType(), QStringLiteral("OrbAction"));
        const bool own = name == u"icon" || name == u"animate" || name == u"sx";
        QCOMPARE(orb->buttonOptions().contains(name), !own);
    }

    void animationFollowsTheStateWhileShown()
    {
        State animate(false);
        Orb orb({.icon = MoreVert, .animate = &animate});
        QCOMPARE(orb.p()->_animate.state(), &animate);
        animate.setValue(true);
        QVERIFY(!orb.isAnimating());   // not shown yet

        orb.show();
        QVERIFY(orb.isAnimating());
        animate.setValue(false);
        QVERIFY(!orb.isAnimating());
        QCOMPARE(orb.iconAngle(), 0.0);

        animate.setValue(true);
        QVERIFY(orb.isAnimating());
        orb.p()->_rotation->setCurrentTime(orb.p()->_rotation->duration() / 4);
        QVERIFY(orb.iconAngle() > 0.0);
        orb.hide();
        QVERIFY(!orb.isAnimating());
        QCOMPARE(orb.iconAngle(), 0.0);
        orb.show();
        QVERIFY(orb.isAnimating());
    }

    // The properties as a form or a script writes them; a write replaces a State.
    void properties()
    {
        Orb orb;
        QVERIFY(orb.icon().isNull());
        if (!testsupport::checkPropertyWrite(&orb, "iconSource", MoreVert))
            return;
        QVERIFY(!orb.icon().isNull());
        orb.show();
        if (!testsupport::checkPropertyWrite(&orb, "animate", true))
            return;
        QVERIFY(orb.isAnimating());

        State animate(true);
        State icon(MoreVert);
        Orb bound({.icon = &icon, .animate = &animate});
        bound.show();
        QVERIFY(bound.isAnimating());
        bound.setAnimate(false);
        bound.setIconSource(QString());
        QSignalSpy iconNotified(&bound, &OrbAction::iconSourceChanged);
        animate.setValue(false);
        animate.setValue(true);
        icon.setValue(QString(":/round/resource_tessera/round/add.svg"));
        QCOMPARE(iconNotified.size(), 0);
        QVERIFY(!bound.isAnimating());
        QVERIFY(bound.icon().isNull());
        QCOMPARE(bound.iconSource(), QString());
    }

    void plainAnimateRunsOnlyWhileShown()
    {
        QWidget window;
        auto *orb = new Orb(Orb::Options{.icon = MoreVert, .animate = true}, &window);
        QVERIFY(!orb->isAnimating());
        window.show();   // the orb is shown with its window
        QVERIFY(orb->isAnimating());
        window.hide();
        QVERIFY(!orb->isAnimating());

        Orb still(Orb::Options{.icon = MoreVert});
        still.show();
        QVERIFY(!still.isAnimating());
    }

    // A child that, from its destructor, sets every State the orb follows
    // (its own animate and the Button options) while the icon turns: the orb
    // has stopped listening and turning before its rotation is gone.
    void statesSetByAChildDuringTeardown()
    {
        State animate(true), text(QStringLiteral("Sync")), color(QStringLiteral("primary")), disabled(false);
        auto *orb = new Orb({.icon = MoreVert, .animate = &animate,
                             .kwargs = {{"text", QVariant::fromValue(&text)}, {"color", QVariant::fromValue(&color)},
                                        {"disabled", QVariant::fromValue(&disabled)}}});
        orb->show();
        QVERIFY(orb->isAnimating());
        QPointer<QVariantAnimation> rotation = orb->p()->_rotation;
        // Made after the rotation, so destroyed after it.
        new testsupport::LateSetter({{&animate, false}, {&text, QStringLiteral("Done")}, {&color, QStringLiteral("error")},
                                     {&disabled, true}},
                                    orb);
        orb->p()->_rotation->setCurrentTime(orb->p()->_rotation->duration() / 4);
        QVERIFY(orb->iconAngle() > 0.0);
        delete orb;
        QVERIFY(!rotation);
        QCOMPARE(animate.value(), QVariant(false));   // the child did set it
        animate.setValue(true);                        // and nothing listens any more
    }

    void theIconIsDrawnTurned()
    {
        Orb orb({.icon = MoreVert, .animate = true});
        orb.show();
        const int edge = orb.iconSize().width();
        QVERIFY(edge > 0);
        const qint64 buttonIcon = orb.icon().cacheKey();
        const QImage upright = iconImage(orb.icon(), edge);
        QCOMPARE(iconImage(orb.styledIcon(), edge), upright);   // at rest until the angle moves

        orb.p()->_rotation->pause();
        orb.p()->_rotation->setCurrentTime(orb.p()->_rotation->duration() / 4);
        QCOMPARE(orb.iconAngle(), 90.0);
        const QImage quarter = iconImage(orb.styledIcon(), edge);
        QCOMPARE(quarter.size(), upright.size());
        QVERIFY(pixelsApart(quarter, upright) > 0);   // the dots of "more" lie across now
        // The same picture a quarter turn round, up to the smoothing of the painter.
        QCOMPARE(pixelsApart(quarter, upright.transformed(QTransform().rotate(90))), 0);
        QCOMPARE(orb.icon().cacheKey(), buttonIcon);   // Button's own icon is untouched
        QCOMPARE(iconImage(orb.icon(), edge), upright);

        orb.hide();
        QCOMPARE(iconImage(orb.styledIcon(), edge), upright);
    }
};

QTEST_MAIN(tst_OrbAction)
#include "tst_orb_action.moc"
