// Remedor's start-up as app/main.cpp performs it, ended when the first page is on screen.

#include "exitonexpose.h"
#include "remedorwiz.h"
#include "translationloader.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    new ExitOnFirstExpose(&application);

    // From here on, the same steps as app/main.cpp.
    QTranslator translator(nullptr);
    TranslationLoader::loadFirst(translator, QCoreApplication::applicationDirPath());
    QCoreApplication::installTranslator(&translator);

    RemedorWiz wizard(nullptr);
    wizard.show();
    return QApplication::exec();
}
