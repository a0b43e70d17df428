// Choosing the language: --lang wherever it stands on the command line, NMAKER_LANG, the
// window's saved choice, Japanese when nothing says otherwise.
#include "i18n/Language.h"

#include <QTest>

Q_DECLARE_METATYPE(std::optional<Language>)

class TestLanguage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void argument_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QString>("chosen"); // "" none, "?" a bad value
        QTest::newRow("none") << QStringList{"create", "--target", "/w"}
                              << QStringList{"create", "--target", "/w"} << "";
        QTest::newRow("before the command") << QStringList{"--lang", "en", "expand", "l.txt"}
                                            << QStringList{"expand", "l.txt"} << "en";
        QTest::newRow("after the command") << QStringList{"expand", "l.txt", "--lang=ja"}
                                           << QStringList{"expand", "l.txt"} << "ja";
        QTest::newRow("with --help, any case")
            << QStringList{"--help", "--lang", "EN"} << QStringList{"--help"} << "en";
        QTest::newRow("the last one counts")
            << QStringList{"--lang", "en", "--lang", "ja"} << QStringList{} << "ja";
        QTest::newRow("a language it does not speak")
            << QStringList{"--lang", "fr", "undo"} << QStringList{"undo"} << "?fr";
        QTest::newRow("no value") << QStringList{"undo", "--lang"} << QStringList{"undo"} << "?";
        QTest::newRow("after -- it is an operand")
            << QStringList{"expand", "--", "--lang"} << QStringList{"expand", "--", "--lang"} << "";
    }
    void argument()
    {
        QFETCH(QStringList, arguments);
        const LanguageArgument a = takeLanguageArgument(arguments);
        QTEST(arguments, "left");
        QFETCH(QString, chosen);
        QCOMPARE(a.given, !chosen.isEmpty());
        if (chosen.startsWith(u'?')) {
            QVERIFY(!a.language);
            QCOMPARE(a.bad, chosen.mid(1));
        } else if (!chosen.isEmpty()) {
            QCOMPARE(languageCode(*a.language), chosen);
        }
    }

    void choice_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("environment");
        QTest::addColumn<std::optional<Language>>("saved");
        QTest::addColumn<QString>("chosen");
        const std::optional<Language> none;
        QTest::newRow("nothing said") << ""
                                      << "" << none << "ja";
        QTest::newRow("the saved choice") << ""
                                          << "" << std::optional(Language::English) << "en";
        QTest::newRow("the environment over the saved choice")
            << ""
            << "ja" << std::optional(Language::English) << "ja";
        QTest::newRow("the argument over the environment") << "en"
                                                           << "ja" << none << "en";
        QTest::newRow("an unknown environment value is passed over")
            << ""
            << "de_DE" << std::optional(Language::English) << "en";
    }
    void choice()
    {
        QFETCH(QString, argument);
        QFETCH(QString, environment);
        QFETCH(std::optional<Language>, saved);
        QStringList args;
        if (!argument.isEmpty())
            args << "--lang" << argument;
        const LanguageArgument a = takeLanguageArgument(args);
        QTEST(languageCode(chooseLanguage(a, environment, saved)), "chosen");
    }
};

QTEST_GUILESS_MAIN(TestLanguage)
#include "test_language.moc"
