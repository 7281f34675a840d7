// The registry work of removing one edition on the real Windows registry, timed per operation
// and for the whole edition: the bootstrapper read, then the edition's four keys, through the
// same calls the Process page makes. Meant for a throwaway machine or Wine prefix: it deletes
// and re-creates the German edition's keys.
//
// Usage: remedor_registry_bench_win [ITERATIONS]   (default 200)
//
// The first iteration works on the keys as it finds them (they must all exist, as
// scripts/run-benchmarks.sh creates them with "reg add"); before each further iteration the
// keys are written again with the registry API, and after each one they are checked to be
// gone. Neither writing nor checking is timed. The last line times the same work written
// directly against the registry API, as the floor for the wizard's calls.

#include "registryedition.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

using namespace RegistryEdition;

// The views the wizard's keys live in (registry/registrykey_win.cpp).
constexpr REGSAM view32 = KEY_WOW64_32KEY;
constexpr REGSAM view64 = KEY_WOW64_64KEY;

std::wstring wide(const QString &text)
{
    return text.toStdWString();
}

struct KeyPlace
{
    HKEY root;
    QString path; // below the root
    REGSAM view;
};

bool writeKey(const KeyPlace &place, const QList<QPair<QString, QString>> &strings)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(place.root, wide(place.path).c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS | place.view, nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        return false;
    bool ok = true;
    for (const auto &value : strings) {
        const std::wstring name = wide(value.first);
        const std::wstring data = wide(value.second);
        ok = ok
            && RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE *>(data.c_str()),
                              DWORD((data.size() + 1) * sizeof(wchar_t)))
                == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return ok;
}

bool keyExists(const KeyPlace &place)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(place.root, wide(place.path).c_str(), 0, KEY_READ | place.view, &key)
        != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

QList<KeyPlace> editionKeys(const Names &names)
{
    return {
        { HKEY_LOCAL_MACHINE, QLatin1String("SOFTWARE\\DAWLIX\\PELDA\\2015\\") + names.localeTag,
          view32 },
        { HKEY_CURRENT_USER, QLatin1String("SOFTWARE\\DAWLIX\\PELDA\\2015\\") + names.localeTag,
          view32 },
        { HKEY_LOCAL_MACHINE,
          QLatin1String("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\")
              + names.productCode,
          view32 },
        { HKEY_CLASSES_ROOT, QLatin1String("Installer\\Products\\") + names.packedProductCode,
          view64 },
    };
}

// The keys as scripts/run-benchmarks.sh writes them with "reg add".
bool writeEditionKeys(const Names &names)
{
    const QList<KeyPlace> keys = editionKeys(names);
    const auto string = [](const char *name, const QString &data) {
        return QPair<QString, QString>(QLatin1String(name), data);
    };
    return writeKey(keys.at(0), { string("ResourceDll", QStringLiteral("peldadeu.dll")) })
        && writeKey({ keys.at(0).root, keys.at(0).path + QLatin1String("\\Dictionaries"), view32 },
                    { string("Default", QStringLiteral("de-DE-1996")) })
        && writeKey(keys.at(1),
                    { string("LastFile", QStringLiteral("C:\\Users\\sample\\Plan.pel")) })
        && writeKey({ keys.at(1).root, keys.at(1).path + QLatin1String("\\Recent"), view32 },
                    { string("File1", QStringLiteral("C:\\Users\\sample\\Documents\\Plan.pel")) })
        && writeKey(keys.at(2),
                    { string("DisplayName", QStringLiteral("PELDA+ 2015 DEU")),
                      string("Publisher", QStringLiteral("DAWLIX")) })
        && writeKey(keys.at(3), { string("ProductName", QStringLiteral("PELDA+ 2015 DEU")) });
}

// The same work written directly against the registry API, as the floor the wizard's calls
// are compared with: list the Uninstall key's children, read the bootstrapper's language, and
// for each key check that a child of exactly that name exists, then delete its tree.
bool hasChild(HKEY parent, const QString &name)
{
    wchar_t buffer[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(parent, index, buffer, &length, nullptr, nullptr, nullptr, nullptr)
            != ERROR_SUCCESS)
            return false;
        if (QString::fromWCharArray(buffer, int(length)) == name)
            return true;
    }
}

QString apiBootstrapperLanguage()
{
    HKEY uninstall = nullptr;
    const std::wstring uninstallPath = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, uninstallPath.c_str(), 0, KEY_READ | view32, &uninstall)
        != ERROR_SUCCESS)
        return QString();
    QString language;
    if (hasChild(uninstall, bootstrapperKeyName())) {
        wchar_t data[64];
        DWORD size = sizeof(data);
        if (RegGetValueW(uninstall, wide(bootstrapperKeyName()).c_str(), L"PeldaLanguage",
                         RRF_RT_REG_SZ, nullptr, data, &size)
            == ERROR_SUCCESS)
            language = EditionCatalogue::languageCodeForLocale(QString::fromWCharArray(data));
    }
    RegCloseKey(uninstall);
    return language;
}

void apiRemove(const KeyPlace &place)
{
    const qsizetype separator = place.path.lastIndexOf(QLatin1Char('\\'));
    const QString name = place.path.mid(separator + 1);
    HKEY parent = nullptr;
    if (RegOpenKeyExW(place.root, wide(place.path.left(separator)).c_str(), 0,
                      KEY_READ | KEY_WRITE | place.view, &parent)
        != ERROR_SUCCESS)
        return;
    if (hasChild(parent, name))
        RegDeleteTreeW(parent, wide(name).c_str());
    RegCloseKey(parent);
}

struct Timing
{
    const char *name;
    QList<qint64> nanoseconds;

    double medianMs() const
    {
        QList<qint64> sorted = nanoseconds;
        std::sort(sorted.begin(), sorted.end());
        const qsizetype n = sorted.size();
        return (n % 2 ? double(sorted.at(n / 2)) : (sorted.at(n / 2 - 1) + sorted.at(n / 2)) / 2.0)
            / 1e6;
    }
    double meanMs() const
    {
        double sum = 0;
        for (const qint64 value : nanoseconds)
            sum += double(value);
        return sum / double(nanoseconds.size()) / 1e6;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    int iterations = 200;
    if (argc > 1) {
        bool isNumber = false;
        iterations = QString::fromLocal8Bit(argv[1]).toInt(&isNumber);
        if (!isNumber || iterations < 1) {
            std::fputs("usage: remedor_registry_bench_win [ITERATIONS]\n", stderr);
            return 2;
        }
    }
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    ProcessPage page;
    const Names names = namesFor(QStringLiteral("DEU"));
    const QList<KeyPlace> keys = editionKeys(names);

    for (const KeyPlace &key : keys) {
        if (!keyExists(key)) {
            std::fprintf(stderr, "missing before the first iteration: %s\n", qPrintable(key.path));
            return 1;
        }
    }

    Timing timings[] = { { "bootstrapper_read", {} },        { "remove_machine_settings", {} },
                         { "remove_user_settings", {} },     { "remove_uninstall_entry", {} },
                         { "remove_installer_product", {} }, { "edition", {} },
                         { "edition_registry_api", {} } };
    QElapsedTimer timer;
    for (int i = 0; i < iterations; ++i) {
        if (i > 0 && !writeEditionKeys(names)) {
            std::fputs("cannot write the edition's keys\n", stderr);
            return 1;
        }
        qint64 total = 0;
        const auto timed = [&](Timing &timing, const auto &operation) {
            timer.start();
            operation();
            const qint64 elapsed = timer.nsecsElapsed();
            timing.nanoseconds.append(elapsed);
            total += elapsed;
        };
        QString language;
        timed(timings[0], [&] { language = readBootstrapperLanguage(); });
        timed(timings[1], [&] { removeMachineSettings(page, names); });
        timed(timings[2], [&] { removeUserSettings(page, names); });
        timed(timings[3], [&] { removeUninstallEntry(page, names); });
        timed(timings[4], [&] { removeInstallerProduct(page, names); });
        timings[5].nanoseconds.append(total);

        if (language != names.languageCode) {
            std::fprintf(stderr, "the bootstrapper read found \"%s\", not \"%s\"\n",
                         qPrintable(language), qPrintable(names.languageCode));
            return 1;
        }
        for (const KeyPlace &key : keys) {
            if (keyExists(key)) {
                std::fprintf(stderr, "still there after iteration %d: %s\n", i + 1,
                             qPrintable(key.path));
                return 1;
            }
        }

        // The floor: the same work through the registry API alone.
        if (!writeEditionKeys(names)) {
            std::fputs("cannot write the edition's keys\n", stderr);
            return 1;
        }
        timer.start();
        language = apiBootstrapperLanguage();
        for (const KeyPlace &key : keys)
            apiRemove(key);
        timings[6].nanoseconds.append(timer.nsecsElapsed());
        if (language != names.languageCode) {
            std::fputs("the registry API read found no language\n", stderr);
            return 1;
        }
        for (const KeyPlace &key : keys) {
            if (keyExists(key)) {
                std::fprintf(stderr, "the registry API left %s\n", qPrintable(key.path));
                return 1;
            }
        }
    }

    std::printf("%-26s %12s %12s\n", "operation", "median_ms", "mean_ms");
    for (const Timing &timing : timings)
        std::printf("%-26s %12.4f %12.4f\n", timing.name, timing.medianMs(), timing.meanMs());
    std::printf("iterations %d\n", iterations);
    return 0;
}
