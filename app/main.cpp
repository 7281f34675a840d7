#include "remedorwiz.h"
#include "translationloader.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QTranslator translator(nullptr);
    TranslationLoader::loadFirst(translator, QCoreApplication::applicationDirPath());
    // Installed even when empty, and before the wizard exists, so that every text its
    // constructors translate is already in the chosen language.
    QCoreApplication::installTranslator(&translator);

    RemedorWiz wizard(nullptr);
    wizard.show();
    return QApplication::exec();
}
