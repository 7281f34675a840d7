// remedor-cli: the wizard's removal run without the wizard, for deployment systems that run
// a program without a window and read nothing but its exit code and its log.

#include "commandline.h"
#include "console.h"
#include "exitstatus.h"
#include "listcommand.h"
#include "logwriter.h"
#include "outputcheck.h"
#include "outputfile.h"
#include "platform.h"
#include "removecommand.h"
#include "runreport.h"
#include "startuparguments.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

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
        return ListCommand(console).run(commandLine.json(), commandLine.allUsers());
    case CommandLine::Command::Remove:
        return RemoveCommand(console, commandLine).run();
    }
    return ExitStatus::UsageError;
}

// Windows Installer writes its logs into the folder, created private so that they inherit its
// access; a dry run starts no installer, so it creates nothing, but a folder that exists must
// still take files.
QString prepareInstallerLogFolder(const QString &folder, bool dryRun)
{
    const QString shown = QDir::toNativeSeparators(folder);
    const QString why = dryRun ? QString() : OutputFile::makeFolder(folder);
    if (!why.isEmpty())
        return QStringLiteral("the installer log folder %1 cannot be created: %2").arg(shown, why);
    if (!QFileInfo::exists(folder))
        return QString();
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("the installer log folder %1 is not a folder").arg(shown);
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("remedor-XXXXXX.tmp")));
    if (!probe.open())
        return QStringLiteral("the installer log folder %1 cannot be written: %2")
            .arg(shown, probe.errorString());
    return QString();
}

// Every file and folder the run will write is checked before anything runs, so that a
// mistyped path is a usage error rather than a run nobody can follow.
QString prepareOutputs(const CommandLine &commandLine, LogWriter &log, Console &console)
{
    const QString unsafe = OutputCheck::problem(commandLine);
    if (!unsafe.isEmpty())
        return unsafe;
    if (commandLine.hasLog()) {
        const QString error = log.open(commandLine.logFile());
        if (!error.isEmpty())
            return error;
        console.setLog(&log);
    }
    if (!commandLine.installerLogFolder().isEmpty()) {
        const QString error
            = prepareInstallerLogFolder(commandLine.installerLogFolder(), commandLine.dryRun());
        if (!error.isEmpty())
            return error;
    }
    if (!commandLine.reportFile().isEmpty())
        return RunReport::checkWritable(commandLine.reportFile());
    return QString();
}

} // namespace

int main(int argc, char *argv[])
{
    // Before anything else, so that an early Ctrl+C cannot end the process half-way.
    Platform::catchInterrupts();
    StartupArguments arguments(argc, argv);
    QCoreApplication application(arguments.count(), arguments.values());
    QCoreApplication::setApplicationName(QStringLiteral("remedor-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(REMEDOR_VERSION));

    Console console;
    CommandLine commandLine;
    if (!commandLine.parse(StartupArguments::programArguments()))
        return usageError(console, commandLine.error());

    LogWriter log;
    const QString error = prepareOutputs(commandLine, log, console);
    if (!error.isEmpty())
        return usageError(console, error + QLatin1Char('.'));
    return perform(console, commandLine);
}
