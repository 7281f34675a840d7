// The registry stand-in used where there is no Windows registry: a registry editor export
// file named by the environment variable REMEDOR_REGISTRY. No variable, or no such file,
// is an empty registry; the file is never created. Every operation reads the file afresh,
// and a deletion writes it back atomically, so a crash never leaves half a file.

#include "regfile.h"
#include "registrykey.h"

#include <QFile>
#include <QSaveFile>

#include <atomic>
#include <optional>

namespace {

QString registryFileName()
{
    return qEnvironmentVariable("REMEDOR_REGISTRY");
}

// A damaged file is reported once per process, then treated as unreadable.
void reportDamagedFile(const QString &fileName, const QString &why)
{
    static std::atomic_bool reported { false };
    if (!reported.exchange(true))
        qWarning("Registry file %s cannot be read (%s); nothing will be changed in it.",
                 qPrintable(fileName), qPrintable(why));
}

} // namespace

class RegistryKey::Backend
{
public:
    Backend()
        : fileName(registryFileName())
    {
        QFile file(fileName);
        if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly))
            return;
        QString why;
        registry = RegFile::parse(file.readAll(), &why);
        if (!registry)
            reportDamagedFile(fileName, why);
    }

    bool save() const
    {
        QSaveFile file(fileName);
        return file.open(QIODevice::WriteOnly) && file.write(registry->toBytes()) >= 0
            && file.commit();
    }

    QString fileName;
    std::optional<RegFile> registry; // empty: no file, or one that does not parse
};

RegistryKey::RegistryKey(const QString &path)
    : m_path(path)
    , d(std::make_unique<Backend>())
{
}

RegistryKey::~RegistryKey() = default;

QStringList RegistryKey::childKeys() const
{
    return d->registry ? d->registry->childKeys(m_path) : QStringList();
}

QString RegistryKey::stringValue(const QString &valueName) const
{
    return d->registry ? d->registry->stringValue(m_path, valueName) : QString();
}

bool RegistryKey::removeChildKey(const QString &name)
{
    if (name.isEmpty() || !childKeys().contains(name, Qt::CaseSensitive))
        return false;
    return d->registry->removeKey(m_path + QLatin1Char('\\') + name) && d->save();
}
