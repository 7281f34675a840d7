// remedor-cli: the wizard's removal run without the wizard, for deployment systems that run
// a program without a window and read nothing but its exit code and its log.

#include "commandline.h"
#include "console.h"
#include "exitstatus.h"
#include "listcommand.h"
#include "logwriter.h"
#include "platform.h"
#include "removecommand.h"

#include <QCoreApplication>

namespace {

int usageError(Console &console, const QString &error)
{
    console.printError(QStringLiteral("remedor-cli: %1").arg(error));
    console.printError(QStringLiteral("Run remedor-cli --help for the usage."));
    return ExitStatus::UsageError;
}

int perform(Console &console, const CommandLine &commandLine)
{
    switch (commandLine.command()) {
    case CommandLine::Command::Help:
        console.print(commandLine.helpText().trimmed());
        return ExitStatus::Success;
    case CommandLine::Command::Version:
        console.print(QCoreApplication::applicationName() + QLatin1Char(' ')
                      + QCoreApplication::applicationVersion());
        // Qt is linked into the Windows program: its licence asks that users are told.
        console.print(QStringLiteral("Qt %1; licences of Qt and the other third-party components: "
                                     "THIRD-PARTY-NOTICES.txt")
                          .arg(QLatin1String(qVersion())));
        return ExitStatus::Success;
    case CommandLine::Command::List:
        return ListCommand(console).run(commandLine.json());
    case CommandLine::Command::Remove:
        return RemoveCommand(console, commandLine).run();
    }
    return ExitStatus::UsageError;
}

} // namespace

int main(int argc, char *argv[])
{
    // Before anything else, so that an early Ctrl+C cannot end the process half-way.
    Platform::catchInterrupts();
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("remedor-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(REMEDOR_VERSION));

    Console console;
    CommandLine commandLine;
    if (!commandLine.parse(QCoreApplication::arguments()))
        return usageError(console, commandLine.error());

    LogWriter log;
    if (commandLine.hasLog()) {
        const QString error = log.open(commandLine.logFile());
        if (!error.isEmpty())
            return usageError(console, error + QLatin1Char('.'));
        console.setLog(&log);
    }
    return perform(console, commandLine);
}
