// The ready-made fields, TextField and SelectField: their properties, the
// line under the frame (helper, error, counter), the clear button, keyboard
// and screen-reader names. Wrong option kinds given to create() are in the
// bad-input suite's table.

#include <tessera/material/textfield/field_frame_p.h>
#include <tessera/material/textfield/select_field.h>
#include <tessera/material/textfield/text_field.h>

#include <tessera/kit/i18n.h>
#include <tessera/kit/plain_text_edit.h>
#include <tessera/kit/registry.h>
#include <tessera/kit/theme.h>

#include "testsupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>
#include <memory>

using namespace tessera;

namespace {

const QString TextPath = QStringLiteral("tessera.material.textfield.text_field");
const QString SelectPath = QStringLiteral("tessera.material.textfield.select_field");

detail::FieldFrame *frameOf(QWidget *field)
{
    return field->findChild<detail::FieldFrame *>();
}

// One row per field, for the behaviour both fields share.
void bothFields()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("TextField") << TextPath;
    QTest::newRow("SelectField") << SelectPath;
}

// Property values compared as a user of the property would: a caller style by its text.
bool same(const QVariant &a, const QVariant &b)
{
    if (a.metaType() == QMetaType::fromType<Sx>() && b.metaType() == QMetaType::fromType<Sx>()) {
        const Sx x = a.value<Sx>(), y = b.value<Sx>();
        return x.isSet() == y.isSet() && (!x.text() || !y.text() || *x.text() == *y.text());
    }
    return a == b;
}

// What a property write is expected to show, beyond reading back.
enum class Shows { Nothing, Title, Placeholder, Helper, ErrorLook, Sheet, DisabledLook, PlainEditor };

} // namespace

using Edit = std::function<void(QWidget *)>;
Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(Shows)

class tst_ReadyFields : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        setTheme(QStringLiteral("light"));
        i18n()->setLanguage(QStringLiteral("en"));
        testsupport::drainEvents();
    }

    void propertiesRoundTripOnTheSameObject_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<Shows>("shows");
        const auto both = [](const char *name, const QVariant &value, Shows shows) {
            QTest::addRow("TextField %s", name) << TextPath << QByteArray(name) << value << shows;
            QTest::addRow("SelectField %s", name) << SelectPath << QByteArray(name) << value << shows;
        };
        both("label", QStringLiteral("Name"), Shows::Title);
        both("placeholder", QStringLiteral("Type here"), Shows::Placeholder);
        both("helperText", QStringLiteral("As on the badge"), Shows::Helper);
        both("error", QStringLiteral("Required"), Shows::ErrorLook);
        both("themeSize", QStringLiteral("large"), Shows::Sheet);
        both("disabled", true, Shows::DisabledLook);
        both("sx", QVariant::fromValue(Sx(QStringLiteral("#x { color: red; }"))), Shows::Sheet);
        const auto text = [](const char *name, const QVariant &value, Shows shows = Shows::Nothing) {
            QTest::addRow("TextField %s", name) << TextPath << QByteArray(name) << value << shows;
        };
        text("text", QStringLiteral("hello"));
        text("password", true);
        text("multiline", true, Shows::PlainEditor);
        text("readOnly", true);
        text("clearable", true);
        text("maxLength", 12);
        const auto select = [](const char *name, const QVariant &value) {
            QTest::addRow("SelectField %s", name) << SelectPath << QByteArray(name) << value << Shows::Nothing;
        };
        select("items", QVariantList{QStringLiteral("Tea"), QVariant(QVariantList{QStringLiteral("Coffee"), 2})});
        select("currentIndex", 2);
        select("currentText", QStringLiteral("Two"));
    }
    void propertiesRoundTripOnTheSameObject()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, property);
        QFETCH(QVariant, value);
        QFETCH(Shows, shows);

        const QVariantMap options = path == SelectPath ? QVariantMap{{"items", QStringList{"One", "Two", "Three"}}} : QVariantMap{};
        std::unique_ptr<QWidget> field(create(path, options));
        field->show();
        testsupport::drainEvents();
        QPointer<detail::FieldFrame> frame = frameOf(field.get());
        QVERIFY(frame);
        const QString sheetBefore = frame->styleSheet();

        const QMetaProperty meta = field->metaObject()->property(field->metaObject()->indexOfProperty(property));
        QVERIFY2(meta.isValid() && meta.isWritable() && meta.hasNotifySignal(), property.constData());
        QSignalSpy notified(field.get(), meta.notifySignal());
        QVERIFY(!same(meta.read(field.get()), value));

        QVERIFY(meta.write(field.get(), value));
        QVERIFY(same(meta.read(field.get()), value));
        QCOMPARE(notified.count(), 1);
        QVERIFY(meta.write(field.get(), value));   // the same value again: no notification
        QCOMPARE(notified.count(), 1);
        testsupport::drainEvents();

        // The same frame shows the change: nothing was rebuilt.
        QCOMPARE(frameOf(field.get()), frame.data());
        switch (shows) {
        case Shows::Title:
            QCOMPARE(frame->title(), value.toString());
            break;
        case Shows::Placeholder:
            QCOMPARE(frame->editor()->property("placeholderText"), value);
            break;
        case Shows::Helper:
            QCOMPARE(frame->helperLabel()->text(), value.toString());
            QVERIFY(frame->helperLabel()->isVisible());
            break;
        case Shows::ErrorLook:
            QCOMPARE(frame->property("error"), QVariant(true));
            break;
        case Shows::Sheet:
            QVERIFY(frame->styleSheet() != sheetBefore);
            break;
        case Shows::DisabledLook:
            QCOMPARE(frame->property("disabled"), QVariant(true));
            QVERIFY(!frame->editor()->isEnabled());
            break;
        case Shows::PlainEditor:
            QVERIFY(qobject_cast<PyPlainTextEdit *>(frame->editor()));
            QCOMPARE(field->focusProxy(), frame->editor());
            break;
        case Shows::Nothing:
            break;
        }
    }

    void writesValidateAndChangeNothing_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QVariantMap>("options");
        QTest::addColumn<QString>("option");
        QTest::addColumn<Edit>("edit");
        const auto text = [](QWidget *w) { return static_cast<TextField *>(w); };
        const auto select = [](QWidget *w) { return static_cast<SelectField *>(w); };
        QTest::newRow("maxLength negative") << TextPath << QVariantMap{} << "maxLength"
                                            << Edit([=](QWidget *w) { text(w)->setMaxLength(-1); });
        QTest::newRow("text size unknown") << TextPath << QVariantMap{} << "themeSize"
                                           << Edit([=](QWidget *w) { text(w)->setThemeSize("huge"); });
        QTest::newRow("password when multi-line") << TextPath << QVariantMap{{"multiline", true}} << "password"
                                                  << Edit([=](QWidget *w) { text(w)->setPassword(true); });
        QTest::newRow("multi-line when password") << TextPath << QVariantMap{{"password", true}} << "multiline"
                                                  << Edit([=](QWidget *w) { text(w)->setMultiline(true); });
        const QVariantMap items{{"items", QStringList{"One", "Two"}}};
        QTest::newRow("index out of range") << SelectPath << items << "currentIndex"
                                            << Edit([=](QWidget *w) { select(w)->setCurrentIndex(2); });
        QTest::newRow("no such text") << SelectPath << items << "currentText"
                                      << Edit([=](QWidget *w) { select(w)->setCurrentText("Three"); });
        QTest::newRow("items of a wrong kind") << SelectPath << items << "items"
                                               << Edit([=](QWidget *w) { select(w)->setItems({QStringLiteral("A"), 3}); });
        QTest::newRow("select size unknown") << SelectPath << items << "themeSize"
                                             << Edit([=](QWidget *w) { select(w)->setThemeSize("huge"); });
    }
    void writesValidateAndChangeNothing()
    {
        QFETCH(QString, path);
        QFETCH(QVariantMap, options);
        QFETCH(QString, option);
        QFETCH(Edit, edit);
        std::unique_ptr<QWidget> field(create(path, options));
        const QMetaObject *meta = field->metaObject();
        QVariantMap before;
        for (int i = QWidget::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i)
            before.insert(meta->property(i).name(), meta->property(i).read(field.get()));
        try {
            edit(field.get());
            QFAIL("the write was accepted");
        } catch (const OptionError &e) {
            QCOMPARE(e.option(), option);
        }
        for (int i = QWidget::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i)
            QVERIFY2(same(meta->property(i).read(field.get()), before.value(meta->property(i).name())), meta->property(i).name());
    }

    void constructorRefusesAMultiLinePassword()
    {
        try {
            TextField field({.password = true, .multiline = true});
            QFAIL("built");
        } catch (const OptionError &e) {
            QCOMPARE(e.option(), QString("password"));
        }
    }

    void errorTextSwitchesTheLookAndTheHelperLine_data()
    {
        bothFields();
    }
    void errorTextSwitchesTheLookAndTheHelperLine()
    {
        QFETCH(QString, path);
        std::unique_ptr<QWidget> field(create(path, {{"helperText", "Your name"}}));
        field->show();
        testsupport::drainEvents();
        detail::FieldFrame *frame = frameOf(field.get());
        QLabel *line = frame->helperLabel();
        const QColor helperColour = line->palette().color(QPalette::WindowText);
        QCOMPARE(line->text(), QString("Your name"));
        QVERIFY(!frame->property("error").toBool());
        QCOMPARE(frame->editor()->accessibleDescription(), QString("Your name"));

        field->setProperty("error", QStringLiteral("Required"));
        QCOMPARE(line->text(), QString("Required"));
        QVERIFY(frame->property("error").toBool());
        QCOMPARE(frame->editor()->accessibleDescription(), QString("Required"));
        // The frame's [error=true] rules and the line's error colour are in force.
        QVERIFY(frame->styleSheet().contains(QStringLiteral("[error=true]")));
        QCOMPARE(line->palette().color(QPalette::WindowText), QColor(useTheme()->resolveToken(u"palette.error.main").value()));
        QVERIFY(line->palette().color(QPalette::WindowText) != helperColour);

        field->setProperty("error", QString());
        QCOMPARE(line->text(), QString("Your name"));
        QVERIFY(!frame->property("error").toBool());
        QCOMPARE(line->palette().color(QPalette::WindowText), helperColour);

        // Without helper text and error the line takes no room.
        field->setProperty("helperText", QString());
        QVERIFY(!frame->footer()->isVisible());
    }

    void counterCountsAndTheLimitHolds_data()
    {
        QTest::addColumn<bool>("multiline");
        QTest::newRow("line") << false;
        QTest::newRow("multi-line") << true;
    }
    void counterCountsAndTheLimitHolds()
    {
        QFETCH(bool, multiline);
        TextField field({.text = "abc", .multiline = multiline, .maxLength = 5});
        field.show();
        QLabel *counter = frameOf(&field)->counterLabel();
        QCOMPARE(counter->text(), QString("3 / 5"));
        QVERIFY(counter->isVisible());

        QSignalSpy changed(&field, &TextField::textChanged);
        if (auto *plain = qobject_cast<QPlainTextEdit *>(field.editor()))
            plain->moveCursor(QTextCursor::End);
        QTest::keyClicks(field.editor(), QStringLiteral("defgh"));
        QCOMPARE(field.text(), QString("abcde"));
        QCOMPARE(counter->text(), QString("5 / 5"));
        QCOMPARE(changed.count(), 2);   // "d" and "e"; the rest never became text

        field.setMaxLength(3);
        QCOMPARE(field.text(), QString("abc"));
        QCOMPARE(counter->text(), QString("3 / 3"));
        field.setMaxLength(0);
        QVERIFY(!counter->isVisible());
        QVERIFY(!frameOf(&field)->footer()->isVisible());
    }

    void clearButtonAndEscapeClearOnce_data()
    {
        QTest::addColumn<bool>("multiline");
        QTest::newRow("line") << false;
        QTest::newRow("multi-line") << true;
    }
    void clearButtonAndEscapeClearOnce()
    {
        QFETCH(bool, multiline);
        TextField field({.label = "Search", .text = "tea", .multiline = multiline, .clearable = true});
        field.show();
        QVERIFY(QTest::qWaitForWindowExposed(&field));
        auto *button = field.findChild<QToolButton *>();
        QVERIFY(button && button->isVisible());
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        QCOMPARE(button->accessibleName(), QString("Clear"));
        i18n()->setLanguage(QStringLiteral("de"));
        QCOMPARE(button->accessibleName(), QString("Leeren"));
        // The field's catalogue adds no language of its own.
        QCOMPARE(i18n()->languages(), (QStringList{"en", "de"}));

        QSignalSpy changed(&field, &TextField::textChanged);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(field.text(), QString());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first().toString(), QString());
        QVERIFY(!button->isVisible());

        field.setText("milk");
        QVERIFY(button->isVisible());
        changed.clear();
        QTest::keyClick(field.editor(), Qt::Key_Escape);
        QCOMPARE(field.text(), QString());
        QCOMPARE(changed.count(), 1);

        // Read-only text is not cleared, by the button or by Escape.
        field.setText("milk");
        field.setReadOnly(true);
        QVERIFY(!button->isVisible());
        QTest::keyClick(field.editor(), Qt::Key_Escape);
        QCOMPARE(field.text(), QString("milk"));
    }

    void tabReachesTheEditorAndFocusShows_data()
    {
        bothFields();
    }
    void tabReachesTheEditorAndFocusShows()
    {
        QFETCH(QString, path);
        QWidget window;
        auto *column = new QVBoxLayout(&window);
        auto *before = new QLineEdit;
        column->addWidget(before);
        QWidget *field = create(path, {{"label", "Name"}});
        column->addWidget(field);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        before->setFocus();
        detail::FieldFrame *frame = frameOf(field);
        QVERIFY(!frame->property("focused").toBool());

        QTest::keyClick(before, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), frame->editor());
        QVERIFY(frame->property("focused").toBool());
        before->setFocus();
        QVERIFY(!frame->property("focused").toBool());
    }

    void accessibleNameFollowsTheLabel_data()
    {
        bothFields();
    }
    void accessibleNameFollowsTheLabel()
    {
        QFETCH(QString, path);
        State label(QVariant::fromValue(deferredTr("tessera::Theme", "Light")));
        std::unique_ptr<QWidget> field(create(path, {{"label", QVariant::fromValue<QObject *>(&label)}}));
        detail::FieldFrame *frame = frameOf(field.get());
        QSignalSpy changed(field.get(), SIGNAL(labelChanged(QString)));
        QCOMPARE(frame->editor()->accessibleName(), QString("Light"));
        QCOMPARE(frame->title(), QString("Light"));

        i18n()->setLanguage(QStringLiteral("de"));
        QCOMPARE(frame->editor()->accessibleName(), QString("Hell"));
        QCOMPARE(frame->title(), QString("Hell"));
        label.setValue(QVariant::fromValue(deferredTr("tessera::Theme", "Dark")));
        QCOMPARE(frame->editor()->accessibleName(), QString("Dunkel"));
        QCOMPARE(field->property("label"), QVariant(QString("Dunkel")));
        QCOMPARE(changed.count(), 2);

        // A write replaces the State.
        field->setProperty("label", QStringLiteral("Name"));
        label.setValue(QStringLiteral("Ignored"));
        QCOMPARE(frame->editor()->accessibleName(), QString("Name"));
        QCOMPARE(frame->title(), QString("Name"));
    }

    void selectItemsCarryDataAndAnnounceOnce()
    {
        SelectField field({.items = {{"Free", 0}, {"Team", 12}, "Custom"}, .currentText = "Team"});
        QCOMPARE(field.currentIndex(), 1);
        QCOMPARE(field.currentData(), QVariant(12));
        QCOMPARE(field.items(), (QVariantList{QVariant(QVariantList{"Free", 0}), QVariant(QVariantList{"Team", 12}), "Custom"}));

        QSignalSpy index(&field, &SelectField::currentIndexChanged);
        QSignalSpy text(&field, &SelectField::currentTextChanged);
        static_cast<QComboBox *>(field.editor())->setCurrentIndex(2);   // as the user picks it
        QCOMPARE(index.count(), 1);
        QCOMPARE(text.count(), 1);
        QCOMPARE(field.currentText(), QString("Custom"));

        // A new list selects as a new combo box: the first item, or none with a placeholder.
        field.setItems({QStringLiteral("A"), QStringLiteral("B")});
        QCOMPARE(field.currentIndex(), 0);
        QCOMPARE(index.count(), 2);
        field.setPlaceholder("Choose");
        field.setItems({QStringLiteral("C")});
        QCOMPARE(field.currentIndex(), -1);
        QCOMPARE(field.currentText(), QString());
    }
};

QTEST_MAIN(tst_ReadyFields)
#include "tst_ready_fields.moc"
