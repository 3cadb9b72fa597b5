#include "resources/QtJapanese.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace vorn {

void InstallQtJapanese() {
    QCoreApplication* app = QCoreApplication::instance();
    auto* qt = new QTranslator(app);
    if (qt->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    // The translator installed last is asked first: the program's texts win
    // where both have one.
    auto* own = new QTranslator(app);
    if (own->load(QStringLiteral(":/translations/qtdialogs_ja.qm")))
        QCoreApplication::installTranslator(own);
}

} // namespace vorn
