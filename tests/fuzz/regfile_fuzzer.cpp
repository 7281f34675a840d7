// libFuzzer target for the registry stand-in's file model: any bytes either parse or are
// refused; a parsed file answers every query, every value it holds comes back unchanged from
// a backup of its keys, and deleting any of its keys leaves a file that parses again, without
// that key, with every other key still there.

#include "regfile.h"
#include "registrybackup.h"

#include <QStringEncoder>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<RegFile> file = RegFile::parse(bytes);
    if (!file)
        return 0;

    const QStringList paths = file->sectionPaths();
    RegistrySubtree keys;
    for (const QString &path : paths) {
        file->childKeys(path);
        file->stringValue(path, QStringLiteral("PeldaLanguage"));
        keys.keys.append({ path, file->values(path) });
    }
    // Encoded as the backup file is: UTF-8 could not carry a name with a lone surrogate.
    QStringEncoder encoder(QStringEncoder::Utf16LE);
    const std::optional<RegFile> backup = RegFile::parse(
        "\xFF\xFE"
        + QByteArray(encoder(QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n")
                             + RegistryBackup::exportText(keys))));
    for (const RegistrySubtree::Key &key : keys.keys) {
        if (!backup || backup->values(key.path) != key.values)
            __builtin_trap();
    }
    if (paths.isEmpty())
        return 0;

    RegFile changed = *file;
    const QString victim = paths.at(qsizetype(size) % paths.size());
    const bool isHive = !victim.contains(QLatin1Char('\\'));
    if (changed.removeKey(victim) == isHive)
        __builtin_trap();
    if (isHive) {
        if (changed.toBytes() != bytes)
            __builtin_trap();
        return 0;
    }
    const std::optional<RegFile> reread = RegFile::parse(changed.toBytes());
    if (!reread || reread->keyExists(victim) || reread->encoding() != file->encoding())
        __builtin_trap();
    for (const QString &path : paths) {
        const bool below = path.startsWith(victim + QLatin1Char('\\'), Qt::CaseInsensitive)
            || path.compare(victim, Qt::CaseInsensitive) == 0;
        if (!below && !reread->keyExists(path))
            __builtin_trap();
    }
    return 0;
}
