#include "Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

std::optional<Language> languageNamed(QStringView name)
{
    if (name.compare(u"ja", Qt::CaseInsensitive) == 0)
        return Language::Japanese;
    if (name.compare(u"en", Qt::CaseInsensitive) == 0)
        return Language::English;
    return std::nullopt;
}

QString languageCode(Language language)
{
    return language == Language::English ? QStringLiteral("en") : QStringLiteral("ja");
}

LanguageArgument takeLanguageArgument(QStringList& arguments)
{
    LanguageArgument found;
    for (qsizetype i = 0; i < arguments.size();) {
        const QString& a = arguments.at(i);
        QString value;
        qsizetype taken = 0;
        if (a == QLatin1String("--lang")) {
            taken = i + 1 < arguments.size() ? 2 : 1;
            value = taken == 2 ? arguments.at(i + 1) : QString();
        } else if (a.startsWith(QLatin1String("--lang="))) {
            taken = 1;
            value = a.mid(7);
        } else if (a == QLatin1String("--")) {
            break; // what follows are operands
        } else {
            ++i;
            continue;
        }
        found.given = true;
        found.language = languageNamed(value);
        found.bad = found.language ? QString() : value;
        arguments.remove(i, taken);
    }
    return found;
}

Language chooseLanguage(const LanguageArgument& argument, const QString& environment,
                        std::optional<Language> saved)
{
    if (argument.language)
        return *argument.language;
    if (const auto fromEnvironment = languageNamed(environment))
        return *fromEnvironment;
    return saved.value_or(Language::Japanese);
}

QString badLanguageText(const QString& value)
{
    return QCoreApplication::translate("Language", "--lang には ja か en を指定してください: %1")
        .arg(value);
}

namespace
{
Language installed = Language::Japanese;
// Ours, taken out again when another language is installed.
QTranslator* installedProgram = nullptr;
QTranslator* installedQt = nullptr;
} // namespace

Language installedLanguage()
{
    return installed;
}

bool installLanguage(Language language)
{
    for (QTranslator** t : {&installedProgram, &installedQt}) {
        if (*t) {
            QCoreApplication::removeTranslator(*t);
            delete *t;
            *t = nullptr;
        }
    }
    installed = language;
    // Owned by the application too, so that they go with it.
    auto* program = new QTranslator(QCoreApplication::instance());
    auto* qt = new QTranslator(QCoreApplication::instance());
    bool ok = true;
    if (language == Language::English) {
        ok = program->load(QStringLiteral(":/i18n/nmaker_en.qm"));
        if (ok && QCoreApplication::installTranslator(program))
            installedProgram = program;
    } else {
        // Qt's own dialogs (file and progress dialogs) in Japanese like the rest of the tool;
        // in English they are as Qt wrote them.
        if (qt->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
            QCoreApplication::installTranslator(qt))
            installedQt = qt;
    }
    if (installedProgram != program)
        delete program;
    if (installedQt != qt)
        delete qt;
    return ok;
}
