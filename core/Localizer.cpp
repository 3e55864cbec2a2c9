#include "Localizer.h"

#include <QFileInfo>
#include <QReadWriteLock>
#include <QTranslator>

#include <memory>
#include <vector>

namespace pallstone {

namespace {

constexpr char context[] = "Localizable";
constexpr auto directory = ":/i18n";

struct Tables
{
    QReadWriteLock lock;
    // The locale's table first, the English table behind it; either may be missing.
    std::vector<std::unique_ptr<QTranslator>> translators;
    QString language;
};

Q_GLOBAL_STATIC(Tables, tables)

std::unique_ptr<QTranslator> loadTable(const QString& program, const QString& language)
{
    // QTranslator::load() would also try shorter names ("pallstone_zh" for "pallstone_zh_TW");
    // only the exact table counts here, the fallback order is ours.
    const QString path = QLatin1String(directory) + u'/' + program + u'_' + language + u".qm";
    if (!QFileInfo::exists(path))
        return nullptr;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(path))
        return nullptr;
    return translator;
}

// The language part of the table's file name for locale, trying the most specific first.
QStringList candidateLanguages(const QLocale& locale)
{
    QStringList candidates;
    const auto add = [&candidates](const QString& name) {
        if (!name.isEmpty() && !candidates.contains(name))
            candidates.append(name);
    };
    // Singapore writes Simplified Chinese too; the one Chinese table is named after China.
    if (locale.language() == QLocale::Chinese &&
        (locale.script() == QLocale::SimplifiedHanScript || locale.territory() == QLocale::China ||
         locale.territory() == QLocale::Singapore))
        add(QStringLiteral("zh_CN"));
    for (const QString& tag : locale.uiLanguages()) {
        // "de-AT" -> "de_AT", then "de"; uiLanguages() also honours $LANGUAGE.
        QString name = tag;
        name.replace(u'-', u'_');
        add(name);
        add(name.section(u'_', 0, 0));
    }
    return candidates;
}

} // namespace

void Localizer::install(const QString& program, const QLocale& locale)
{
    std::vector<std::unique_ptr<QTranslator>> loaded;
    QString language;
    for (const QString& candidate : candidateLanguages(locale)) {
        if (candidate == u"en" || candidate.startsWith(u"en_"))
            break; // English is the table behind every other one; added below
        if (auto table = loadTable(program, candidate)) {
            loaded.push_back(std::move(table));
            language = candidate;
            break;
        }
    }
    if (auto english = loadTable(program, QStringLiteral("en"))) {
        loaded.push_back(std::move(english));
        if (language.isEmpty())
            language = QStringLiteral("en");
    }

    QWriteLocker locker(&tables->lock);
    tables->translators = std::move(loaded);
    tables->language = language;
}

QString Localizer::text(const QString& key)
{
    if (key.isEmpty())
        return key;
    const QByteArray source = key.toUtf8();
    QReadLocker locker(&tables->lock);
    for (const auto& translator : tables->translators) {
        QString translated = translator->translate(context, source.constData());
        if (!translated.isEmpty())
            return translated;
    }
    return key;
}

bool Localizer::hasTranslation(const QString& key)
{
    if (key.isEmpty())
        return false;
    const QByteArray source = key.toUtf8();
    QReadLocker locker(&tables->lock);
    for (const auto& translator : tables->translators) {
        if (!translator->translate(context, source.constData()).isEmpty())
            return true;
    }
    return false;
}

QString Localizer::displayName()
{
    return text(QStringLiteral("Pallstone"));
}

QString Localizer::language()
{
    QReadLocker locker(&tables->lock);
    return tables->language;
}

} // namespace pallstone
