// A sign-up form made of tessera::TextField and tessera::SelectField: labels,
// a helper line, an error shown while the input is wrong, a counter and a
// clear button. Run it, type, and switch the theme with the button.

#include <tessera/material/textfield/select_field.h>
#include <tessera/material/textfield/text_field.h>

#include <tessera/kit/theme.h>

#include <QApplication>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    auto *form = new QVBoxLayout(&window);

    auto *name = new tessera::TextField({.label = "Name", .helperText = "As it should appear on the badge", .clearable = true});
    auto *email = new tessera::TextField({.label = "E-mail", .placeholder = "ada@example.org"});
    auto *password = new tessera::TextField({.label = "Password", .password = true});
    auto *bio = new tessera::TextField({.label = "About you", .multiline = true, .maxLength = 140});
    auto *plan = new tessera::SelectField({.label = "Plan", .items = {{"Free", 0}, {"Team", 12}}, .placeholder = "Choose a plan"});

    // An error text shows the frame's error look and replaces the helper line.
    QObject::connect(email, &tessera::TextField::textChanged, email, [email](const QString &text) {
        email->setError(text.isEmpty() || text.contains(u'@') ? QString() : QStringLiteral("An address has an @"));
    });

    auto *theme = new QPushButton(QStringLiteral("Switch theme"));
    QObject::connect(theme, &QPushButton::clicked, &window, [] {
        tessera::setTheme(tessera::useTheme()->name() == QLatin1String("dark") ? QStringLiteral("light") : QStringLiteral("dark"));
    });

    for (QWidget *widget : {static_cast<QWidget *>(name), static_cast<QWidget *>(email), static_cast<QWidget *>(password),
                            static_cast<QWidget *>(bio), static_cast<QWidget *>(plan), static_cast<QWidget *>(theme)})
        form->addWidget(widget);
    window.show();
    return app.exec();
}
