// The registry work of removing one edition on the registry file stand-in, timed per
// operation and for the whole edition, on the sample machine and on any other hive files given.
//
// Usage: remedor_registry_bench [NAME=FILE ...] [Google Benchmark flags]
//   With no NAME=FILE, the repository's sample machine is measured alone.
//   REMEDOR_BENCH_WORKDIR names the folder for the working copy (default: the system's
//   temporary folder). Each deletion syncs the file to disk, so the folder's file system
//   counts: a tmpfs folder measures the code alone.
//
// Every timed iteration starts from a fresh copy of the hive (written before the clock
// starts), pointed at by REMEDOR_REGISTRY; only the calls themselves are timed. Before
// timing, each hive is checked once: the bootstrapper read must find "DEU" and the four keys
// must exist before the edition's removal and be gone after it, so that no benchmark times
// calls that find nothing to do.

#include "regfile.h"
#include "registryedition.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QList>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

namespace {

using namespace RegistryEdition;

struct Hive
{
    std::string name;
    QByteArray bytes;
};

// The file REMEDOR_REGISTRY names for the whole run.
class Workspace
{
public:
    Workspace()
        : m_folder(folder() + QLatin1String("/remedor-bench-XXXXXX"))
        , m_fileName(m_folder.filePath(QStringLiteral("registry.reg")))
    {
        qputenv("REMEDOR_REGISTRY", QFile::encodeName(m_fileName));
    }

    bool reset(const QByteArray &bytes) const
    {
        QFile file(m_fileName);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            && file.write(bytes) == bytes.size() && file.flush();
    }

    bool isValid() const { return m_folder.isValid(); }

    static QString folder()
    {
        const QString chosen = qEnvironmentVariable("REMEDOR_BENCH_WORKDIR");
        return chosen.isEmpty() ? QDir::tempPath() : chosen;
    }

    QByteArray contents() const
    {
        QFile file(m_fileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_folder;
    QString m_fileName;
};

Workspace *workspace = nullptr;
ProcessPage *page = nullptr;
Names names;

QStringList editionKeys()
{
    return { machineSettingsKey() + QLatin1Char('\\') + names.localeTag,
             userSettingsKey() + QLatin1Char('\\') + names.localeTag,
             uninstallKey() + QLatin1Char('\\') + names.productCode,
             installerProductsKey() + QLatin1Char('\\') + names.packedProductCode };
}

void removeEdition()
{
    benchmark::DoNotOptimize(readBootstrapperLanguage());
    removeMachineSettings(*page, names);
    removeUserSettings(*page, names);
    removeUninstallEntry(*page, names);
    removeInstallerProduct(*page, names);
}

// Fails loudly when the hive would let the benchmark time calls that do nothing.
bool check(const Hive &hive)
{
    const auto fail = [&hive](const char *why) {
        std::fprintf(stderr, "%s: %s\n", hive.name.c_str(), why);
        return false;
    };
    QString why;
    const std::optional<RegFile> before = RegFile::parse(hive.bytes, &why);
    if (!before)
        return fail(qPrintable(why));
    for (const QString &key : editionKeys()) {
        if (!before->sectionPaths().contains(key))
            return fail("an edition key is missing");
    }
    if (!workspace->reset(hive.bytes))
        return fail("cannot write the working copy");
    if (readBootstrapperLanguage() != names.languageCode)
        return fail("the bootstrapper read does not find the edition's language");
    removeEdition();
    const std::optional<RegFile> after = RegFile::parse(workspace->contents());
    if (!after)
        return fail("the file does not parse after the removal");
    for (const QString &key : editionKeys()) {
        if (after->keyExists(key))
            return fail("an edition key is still there after the removal");
    }
    if (after->sectionPaths().size() >= before->sectionPaths().size() - 3)
        return fail("fewer keys were removed than the edition has");
    return true;
}

// Times one operation per iteration on a fresh copy; copying is not timed.
void timeOperation(benchmark::State &state, const Hive *hive,
                   const std::function<void()> &operation)
{
    for (auto _ : state) {
        if (!workspace->reset(hive->bytes)) {
            state.SkipWithError("cannot write the working copy");
            break;
        }
        const auto start = std::chrono::steady_clock::now();
        operation();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
    }
    state.counters["MiB"] = double(hive->bytes.size()) / (1024.0 * 1024.0);
    state.SetBytesProcessed(int64_t(state.iterations()) * hive->bytes.size());
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    benchmark::Initialize(&argc, argv);
    QList<Hive> hives;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        QFile file(argument.mid(equals + 1));
        if (equals <= 0 || !file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "not a NAME=FILE argument naming a readable file: %s\n", argv[i]);
            return 2;
        }
        hives.append({ argument.left(equals).toStdString(), file.readAll() });
    }
    if (hives.isEmpty()) {
        QFile file(QStringLiteral(REMEDOR_SAMPLE_MACHINE));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", REMEDOR_SAMPLE_MACHINE);
            return 2;
        }
        hives.append({ "sample", file.readAll() });
    }

    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    Workspace theWorkspace;
    if (!theWorkspace.isValid()) {
        std::fprintf(stderr, "cannot make a working folder in %s\n",
                     qPrintable(Workspace::folder()));
        return 2;
    }
    workspace = &theWorkspace;
    benchmark::AddCustomContext("workdir", Workspace::folder().toStdString());
    ProcessPage thePage;
    page = &thePage;
    names = namesFor(QStringLiteral("DEU"));

    for (const Hive &hive : std::as_const(hives)) {
        if (!check(hive))
            return 1;
    }

    const struct
    {
        const char *name;
        std::function<void()> operation;
    } operations[] = {
        { "bootstrapper_read",
          [] {
              benchmark::DoNotOptimize(readBootstrapperLanguage());
          } },
        { "remove_machine_settings",
          [] {
              removeMachineSettings(*page, names);
          } },
        { "remove_user_settings",
          [] {
              removeUserSettings(*page, names);
          } },
        { "remove_uninstall_entry",
          [] {
              removeUninstallEntry(*page, names);
          } },
        { "remove_installer_product",
          [] {
              removeInstallerProduct(*page, names);
          } },
        { "edition",
          [] {
              removeEdition();
          } },
    };
    for (const Hive &hive : std::as_const(hives)) {
        for (const auto &operation : operations) {
            benchmark::RegisterBenchmark((std::string(operation.name) + '/' + hive.name).c_str(),
                                         timeOperation, &hive, operation.operation)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
