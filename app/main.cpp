#include "remedorwiz.h"
#include "runlock.h"
#include "startuparguments.h"
#include "translationloader.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char *argv[])
{
    StartupArguments arguments(argc, argv);
    QApplication application(arguments.count(), arguments.values());
    QTranslator translator(nullptr);
    TranslationLoader::loadFirst(translator, QCoreApplication::applicationDirPath());
    // Installed even when empty, and before the wizard exists, so that every text its
    // constructors translate is already in the chosen language.
    QCoreApplication::installTranslator(&translator);

    // Held for as long as the program runs: one removal at a time on the machine.
    RunLock runLock;
    if (!RemedorWiz::takeRunLock(runLock))
        return 1618; // Windows Installer's "another installation is in progress"

    RemedorWiz wizard(nullptr);
    wizard.show();
    return QApplication::exec();
}
