#ifndef STARTUPARGUMENTS_H
#define STARTUPARGUMENTS_H

#include <QStringList>

#include <vector>

// The command line as the application object gets it, and as the program reads it.
//
// Qt takes options of its own from the command line before main sees them: -platformpluginpath
// names a folder whose plug-ins it loads, -stylesheet a file it reads, and more. On Windows both
// programs run elevated or as SYSTEM from a command line someone else may have written (a
// shortcut, a script), so Qt is handed none of its options there; the programs' own options are
// not Qt's and stay. The stand-ins keep Qt's options: the tests choose Qt's offscreen platform
// with them.
class StartupArguments
{
public:
    // ARGV must outlive the object, which must outlive the application object.
    StartupArguments(int argc, char **argv);
    StartupArguments(const StartupArguments &) = delete;
    StartupArguments &operator=(const StartupArguments &) = delete;

    // For the application object's constructor, which may shorten them further.
    int &count() { return m_count; }
    char **values() { return m_values.data(); }

    // Every argument as given, the program first, for the program's own parser (which rejects
    // Qt's options as unknown). Needs the application object.
    static QStringList programArguments();

    // ARGV without the options Qt's application classes take, each with its value; the program
    // name is kept, and a null pointer ends the list.
    static std::vector<char *> withoutQtOptions(int argc, char **argv);

    // Removes the environment variables Qt reads when the application object is made (plug-in
    // folders, platform, theme, style, logging configuration), on Windows; the stand-ins keep
    // them. For a start-up function that runs before Qt's constructors.
    static void clearQtEnvironment();

private:
    int m_count = 0;
    std::vector<char *> m_values;
};

#endif // STARTUPARGUMENTS_H
