// The stand-ins: Qt gets the whole command line, and the program reads it as Qt does.

#include "startuparguments.h"

#include <QCoreApplication>

StartupArguments::StartupArguments(int argc, char **argv)
    : m_count(argc)
    , m_values(argv, argv + argc)
{
    m_values.push_back(nullptr);
}

QStringList StartupArguments::programArguments()
{
    return QCoreApplication::arguments();
}

// The tests choose Qt's offscreen platform with QT_QPA_PLATFORM.
void StartupArguments::clearQtEnvironment() { }
