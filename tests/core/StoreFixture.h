#pragma once

#include "Localizer.h"
#include "MenuStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Points the XDG folders at a temporary home before the store is first used, and empties the
// store between cases.
class StoreFixture
{
public:
    StoreFixture()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("data"))));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("cache"))));
        qputenv("HOME", QFile::encodeName(m_home.path()));
        pallstone::Localizer::install(QStringLiteral("pallstone"), QLocale(QLocale::English));
    }

    void clear()
    {
        QFile::remove(pallstone::MenuStore::sharedStorePath());
        pallstone::MenuStore::sharedDefaults().reload();
    }

    QString home() const { return m_home.path(); }

private:
    QTemporaryDir m_home;
};
