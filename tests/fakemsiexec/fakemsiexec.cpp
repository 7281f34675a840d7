// A stand-in for Windows Installer's "msiexec.exe", for tests and the sample machine.
//
// It appends its command line to the file named by REMEDOR_FAKE_MSIEXEC_LOG, and its arguments
// one a line, each call ended by an empty line, to the file named by
// REMEDOR_FAKE_MSIEXEC_ARGUMENTS (so that an argument split at a blank shows), and acts on
// the registry stand-in: for /X{code} of a product whose uninstall entry exists it deletes
// that entry and the product's key under HKEY_CLASSES_ROOT\Installer\Products and exits 0;
// otherwise it exits 1605 (not installed). Exit codes are Windows Installer codes reduced
// to their low byte, as a POSIX exit status carries only 8 bits.
//
// Knobs:
//   REMEDOR_FAKE_MSIEXEC_DELAY_MS  wait this long before acting
//   REMEDOR_FAKE_MSIEXEC_RESULTS   "{CODE}=1603,{CODE}=crash,*=3010": for a matching product
//                                  exit with that Windows code (or crash) without touching
//                                  the registry; "*" matches every product. A code with a
//                                  "+" ("*=+3010") acts as usual first, then exits with it.
//   REMEDOR_FAKE_MSIEXEC_LOCK_AFTER "{CODE}": once done with that product, make the registry
//                                  file's folder immutable (chattr +i), as if the registry
//                                  refused every later change. Whoever set it unlocks it.

#include "packedproductcode.h"
#include "registrykey.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <cstdlib>

namespace {

const QLatin1String
    uninstallKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
const QLatin1String installerProductsKey("HKEY_CLASSES_ROOT\\Installer\\Products");

void appendTo(const char *variable, const QString &text)
{
    const QString logName = qEnvironmentVariable(variable);
    QFile log(logName);
    if (!logName.isEmpty() && log.open(QIODevice::Append))
        log.write(text.toUtf8());
}

// The knob for this product: "1603", "crash", "+3010" or empty.
QString resultFor(const QString &productCode)
{
    const QStringList rules = qEnvironmentVariable("REMEDOR_FAKE_MSIEXEC_RESULTS")
                                  .split(QLatin1Char(','), Qt::SkipEmptyParts);
    QString any;
    for (const QString &rule : rules) {
        const QString pattern = rule.section(QLatin1Char('='), 0, 0);
        const QString result = rule.section(QLatin1Char('='), 1);
        if (pattern == productCode)
            return result;
        if (pattern == QLatin1String("*"))
            any = result;
    }
    return any;
}

int exitWith(int windowsCode)
{
    return windowsCode & 0xff;
}

int uninstall(const QString &productCode)
{
    RegistryKey uninstallEntries(uninstallKey);
    if (productCode.isEmpty() || !uninstallEntries.childKeys().contains(productCode))
        return 1605;
    uninstallEntries.removeChildKey(productCode);
    RegistryKey(installerProductsKey)
        .removeChildKey(PackedProductCode::fromProductCode(productCode));
    return 0;
}

void lockRegistryAfter(const QString &productCode)
{
    const QString registry = qEnvironmentVariable("REMEDOR_REGISTRY");
    if (productCode.isEmpty() || registry.isEmpty()
        || productCode != qEnvironmentVariable("REMEDOR_FAKE_MSIEXEC_LOCK_AFTER"))
        return;
    QProcess::execute(QStringLiteral("chattr"),
                      { QStringLiteral("+i"), QFileInfo(registry).absolutePath() });
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    appendTo("REMEDOR_FAKE_MSIEXEC_ARGUMENTS",
             arguments.join(QLatin1Char('\n')) + QLatin1String("\n\n"));
    appendTo("REMEDOR_FAKE_MSIEXEC_LOG", arguments.join(QLatin1Char(' ')) + QLatin1Char('\n'));

    QThread::msleep(qEnvironmentVariableIntValue("REMEDOR_FAKE_MSIEXEC_DELAY_MS"));

    QString productCode;
    for (const QString &argument : arguments) {
        if (argument.startsWith(QLatin1String("/X"), Qt::CaseInsensitive))
            productCode = argument.mid(2);
    }

    QString result = resultFor(productCode);
    if (result == QLatin1String("crash")) {
        std::signal(SIGABRT, SIG_DFL);
        std::abort();
    }
    const bool actFirst = result.startsWith(QLatin1Char('+'));
    if (actFirst)
        result.remove(0, 1);
    if (!result.isEmpty() && !actFirst)
        return exitWith(result.toInt());
    const int code = uninstall(productCode);
    lockRegistryAfter(productCode);
    return exitWith(actFirst ? result.toInt() : code);
}
