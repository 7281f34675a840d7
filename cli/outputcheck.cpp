#include "outputcheck.h"

#include "commandline.h"
#include "editioncatalogue.h"
#include "outputfile.h"
#include "removalrun.h"

#include <QDir>
#include <QFileInfo>
#include <QList>

namespace {

struct Output
{
    QString label; // how the message names it: "--log", "--msi-log's remedor-DEU.log"
    QString path;
    QString identity;
};

// The file at path, or why it may not be written, in the words the run uses for it.
QString inspect(const QString &what, const QString &verb, const QString &label, const QString &path,
                QList<Output> &outputs)
{
    QString identity;
    const QString why = OutputFile::inspect(path, &identity);
    if (!why.isEmpty())
        return QStringLiteral("%1 %2 cannot be %3: %4")
            .arg(what, QDir::toNativeSeparators(path), verb, why);
    outputs.append({ label, path, identity });
    return QString();
}

// The folder, and each installer log the run may write into it: the chosen editions' and the
// suite's. A log left there by an earlier run is replaced by Windows Installer, which follows
// links: it must be the program's own too. In a folder still to be created, none is there.
QString inspectInstallerLogs(const CommandLine &commandLine, QList<Output> &outputs)
{
    const QString folder = commandLine.installerLogFolder();
    const bool exists = QFileInfo::exists(folder);
    QString folderIdentity;
    const QString why = OutputFile::inspectFolder(folder, &folderIdentity);
    if (!why.isEmpty())
        return QStringLiteral("the installer log folder %1 cannot be %2: %3")
            .arg(QDir::toNativeSeparators(folder),
                 exists ? QStringLiteral("used") : QStringLiteral("created"), why);
    QStringList packages;
    for (const QString &code : commandLine.editionCodes())
        packages << EditionCatalogue::displayNameForLanguage(code);
    packages << EditionCatalogue::suiteDisplayName();
    for (const QString &package : packages) {
        const QString log = RemovalRun::installerLog(folder, package);
        const QString name = QFileInfo(log).fileName();
        const QString label = QStringLiteral("the installer log %1 of --msi-log").arg(name);
        const QString problem = exists ? inspect(QStringLiteral("the installer log"),
                                                 QStringLiteral("written"), label, log, outputs)
                                       : QString();
        if (!problem.isEmpty())
            return problem;
        if (!exists)
            outputs.append({ label, log, OutputFile::childIdentity(folderIdentity, name) });
    }
    return QString();
}

QString inspectAll(const CommandLine &commandLine, QList<Output> &outputs)
{
    QString why;
    if (commandLine.hasLog())
        why = inspect(QStringLiteral("the log file"), QStringLiteral("opened"),
                      QStringLiteral("--log"), commandLine.logFile(), outputs);
    if (why.isEmpty() && !commandLine.reportFile().isEmpty())
        why = inspect(QStringLiteral("the report"), QStringLiteral("written"),
                      QStringLiteral("--report"), commandLine.reportFile(), outputs);
    if (why.isEmpty() && !commandLine.backupFile().isEmpty())
        why = inspect(QStringLiteral("the backup file"), QStringLiteral("written"),
                      QStringLiteral("--backup"), commandLine.backupFile(), outputs);
    if (why.isEmpty() && !commandLine.installerLogFolder().isEmpty())
        why = inspectInstallerLogs(commandLine, outputs);
    return why;
}

} // namespace

// Two outputs in one file would mix a log into a backup, or replace one with the other.
QString OutputCheck::problem(const CommandLine &commandLine)
{
    if (commandLine.command() != CommandLine::Command::Remove)
        return QString();
    QList<Output> outputs;
    const QString why = inspectAll(commandLine, outputs);
    if (!why.isEmpty())
        return why;
    for (qsizetype i = 0; i < outputs.size(); ++i) {
        for (qsizetype j = i + 1; j < outputs.size(); ++j) {
            if (outputs[i].identity == outputs[j].identity)
                return QStringLiteral("%1 and %2 name the same file: %3")
                    .arg(outputs[i].label, outputs[j].label,
                         QDir::toNativeSeparators(outputs[j].path));
        }
    }
    return QString();
}
