#include "Preklady.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool NactiPrekladyQt(const QString& slozka)
{
    QCoreApplication* aplikace = QCoreApplication::instance();
    if (!aplikace)
        return false;
    auto* preklad = new QTranslator(aplikace);
    // Czech whatever the user's locale: the program's own texts are Czech.
    if (!preklad->load(QLocale(QLocale::Czech, QLocale::Czechia), QStringLiteral("qtbase"), QStringLiteral("_"),
                       slozka) ||
        !QCoreApplication::installTranslator(preklad)) {
        delete preklad;
        return false;
    }
    return true;
}

bool NactiPrekladyQt()
{
    return NactiPrekladyQt(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}
