#ifndef REGFILE_H
#define REGFILE_H

#include "registryvalue.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// A registry editor export file ("Windows Registry Editor Version 5.00", UTF-16LE with a
// byte order mark or UTF-8) held as the state of a registry. Key names are compared without
// regard to letter case and keep the case they are written in; a key exists when it has a
// section of its own or lies on the path of one. Deleting a key drops the lines of its whole
// subtree and keeps every other byte of the file as it was.
class RegFile
{
public:
    // Returns nothing, and says why in *error, when the bytes are not such a file.
    static std::optional<RegFile> parse(const QByteArray &bytes, QString *error = nullptr);

    bool keyExists(const QString &path) const;
    QStringList childKeys(const QString &path) const;
    // String data (REG_SZ, REG_EXPAND_SZ) as text, DWORDs in decimal; empty otherwise.
    QString stringValue(const QString &keyPath, const QString &valueName) const;
    // The key's values with their types and data as the registry stores them, in the order
    // they first appear; a value written again in a later section has the later data.
    QList<RegistryValue> values(const QString &keyPath) const;
    // Every key that has a section, in file order.
    QStringList sectionPaths() const;

    // Deletes the key with everything below it; false when there is no such key, and for
    // a hive, which cannot be deleted.
    bool removeKey(const QString &path);

    // The file as it now reads, in the encoding it was read in.
    QByteArray toBytes() const { return m_bytes; }

    enum class Encoding { Utf8, Utf8WithBom, Utf16LE };
    Encoding encoding() const { return m_encoding; }

    struct Value
    {
        QString name; // empty for the default value "@"
        QString type; // "sz", "dword" or the hex type ("hex", "hex(2)", …)
        QString text; // string or DWORD data as text, hex digits otherwise
        quint32 registryType = RegistryValue::None;
        QByteArray data; // as the registry stores it
    };

private:
    struct Line
    {
        qsizetype begin; // byte offsets in m_bytes; the range holds the terminator
        qsizetype end;
    };
    struct Section
    {
        QString path;
        qsizetype firstLine; // the "[path]" line
        qsizetype endLine; // one past the last line that belongs to it
    };

    // The sections of each key, and every key that exists, by the key's case-folded path:
    // built when first asked for, shared by every copy of the same content and replaced by
    // each change, so that a run looking up hundreds of profiles in one file reads it in
    // linear time.
    struct Index
    {
        bool built = false;
        QHash<QString, QList<qsizetype>> sections;
        QSet<QString> keys;
    };

    RegFile() = default;
    const Index &index() const;
    QString lineText(qsizetype index) const;
    static bool isInSubtree(const QString &path, const QString &root);
    std::optional<Value> readValue(qsizetype &index, QString *error) const;
    // Each value of the key's sections, in file order, as readValue() gives it.
    template<typename Visit> void visitValues(const QString &keyPath, Visit visit) const;

    QByteArray m_bytes;
    Encoding m_encoding = Encoding::Utf8;
    QList<Line> m_lines;
    QList<Section> m_sections;
    std::shared_ptr<Index> m_index = std::make_shared<Index>();
};

#endif // REGFILE_H
