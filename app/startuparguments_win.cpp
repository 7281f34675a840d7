// Windows: Qt gets the command line without its own options, and the program reads every
// argument as Windows hands it over, in UTF-16, whatever the system's code page.

#include "startuparguments.h"

#include <windows.h>

#include <shellapi.h>

StartupArguments::StartupArguments(int argc, char **argv)
    : m_values(withoutQtOptions(argc, argv))
{
    m_count = int(m_values.size()) - 1;
}

QStringList StartupArguments::programArguments()
{
    QStringList arguments;
    int count = 0;
    wchar_t **values = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!values)
        return arguments;
    for (int i = 0; i < count; ++i)
        arguments.append(QString::fromWCharArray(values[i]));
    LocalFree(values);
    return arguments;
}
