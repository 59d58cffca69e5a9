#include "screens/lookup/qt/japanese_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace velmora {

bool UseJapaneseTranslation() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return false;
    // Owned by the application, so that it lives as long as the texts it gives.
    auto* translator = new QTranslator(app);
    if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

}  // namespace velmora
