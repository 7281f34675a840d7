// Writes a large registry editor export for the registry benchmarks: content shaped like an
// export of HKEY_LOCAL_MACHINE\SOFTWARE (vendors, products, versions and settings, COM
// classes, uninstall entries) plus the installer's product registrations and some per-user
// settings, with every key of the sample machine spliced in at its sorted place, so that the
// wizard's removals find exactly what they find on the sample machine.
//
// The file reads as the registry editor writes it: UTF-16LE with a byte order mark, CRLF line
// ends, keys depth-first in alphabetical order, every key with a section of its own, values of
// all the usual types, and binary data wrapped at 80 columns on indented continuation lines.
// The same arguments always give the same bytes.
//
// Usage: remedor_make_hive MEGABYTES OUTPUT [SAMPLE] [--utf8]
//   MEGABYTES  the size to reach, in MiB (fractions allowed)
//   SAMPLE     the sample machine whose keys are spliced in (default: the repository's)
//   --utf8     write UTF-8 without a byte order mark instead

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

struct Section
{
    QStringList components; // the key path split at backslashes, for the sort
    QString text; // "[path]" and the value lines, each ending in CRLF
};

class Generator
{
public:
    explicit Generator(std::uint32_t start)
        : m_random(start)
    {
    }

    std::uint32_t number(std::uint32_t below) { return m_random() % below; }
    bool chance(int percent) { return int(number(100)) < percent; }

    template<typename T, std::size_t N> const T &pick(const T (&items)[N])
    {
        return items[number(N)];
    }

    QString hexDigits(int count)
    {
        static const char digits[] = "0123456789ABCDEF";
        QString text;
        for (int i = 0; i < count; ++i)
            text.append(QLatin1Char(digits[number(16)]));
        return text;
    }

    QString guid()
    {
        return QLatin1Char('{') + hexDigits(8) + QLatin1Char('-') + hexDigits(4) + QLatin1Char('-')
            + hexDigits(4) + QLatin1Char('-') + hexDigits(4) + QLatin1Char('-') + hexDigits(12)
            + QLatin1Char('}');
    }

    QString word()
    {
        static const char *const syllables[]
            = { "ar",  "bel", "cor", "dan", "el",  "fen", "gra", "hal",  "is",
                "jor", "kel", "lum", "mor", "nex", "or",  "pra", "quin", "ros",
                "sol", "tor", "ul",  "ven", "wex", "yor", "zen" };
        QString text;
        const int count = 2 + int(number(3));
        for (int i = 0; i < count; ++i)
            text.append(QLatin1String(pick(syllables)));
        text[0] = text[0].toUpper();
        return text;
    }

    // A display text, now and then with letters beyond ASCII, as real exports have.
    QString phrase()
    {
        static const char16_t *const foreign[]
            = { u"Überwachung", u"Données", u"Configuración", u"Настройки", u"データ管理",
                u"설정",        u"Ελέγχος", u"Zażółć",        u"Ayarlar",   u"配置" };
        QString text = word() + QLatin1Char(' ') + word();
        if (chance(15))
            text += QLatin1Char(' ') + QString::fromUtf16(pick(foreign));
        return text;
    }

    QString path()
    {
        static const char *const roots[]
            = { "C:\\Program Files\\", "C:\\Program Files (x86)\\", "C:\\ProgramData\\",
                "%ProgramFiles%\\Common Files\\", "C:\\Windows\\System32\\" };
        static const char *const extensions[] = { ".dll", ".exe", ".ocx", ".cpl", ".dat", ".xml" };
        return QLatin1String(pick(roots)) + word() + QLatin1Char('\\') + word() + QLatin1Char('\\')
            + word().toLower() + QLatin1String(pick(extensions));
    }

private:
    std::mt19937 m_random;
};

QString quoted(const QString &text)
{
    QString result = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            result.append(QLatin1Char('\\'));
        result.append(c);
    }
    result.append(QLatin1Char('"'));
    return result;
}

QString nameOf(const QString &valueName)
{
    return valueName.isEmpty() ? QStringLiteral("@") : quoted(valueName);
}

// The registry editor's layout of binary data: "xx," pairs, a line broken with a backslash
// before it would pass 80 columns, continuation lines indented by two spaces.
QString hexLine(const QString &valueName, const QString &type, const QByteArray &bytes)
{
    QString text;
    QString line = nameOf(valueName) + QLatin1Char('=') + type + QLatin1Char(':');
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        QString pair = QString::number(quint8(bytes.at(i)), 16).rightJustified(2, QLatin1Char('0'));
        if (i + 1 < bytes.size())
            pair.append(QLatin1Char(','));
        if (line.size() + pair.size() > 79) {
            text += line + QLatin1String("\\\r\n");
            line = QStringLiteral("  ");
        }
        line += pair;
    }
    return text + line + QLatin1String("\r\n");
}

QByteArray utf16Bytes(const QString &text, bool multi = false)
{
    QString data = text + QChar(0);
    if (multi)
        data += QChar(0);
    return QByteArray(reinterpret_cast<const char *>(data.utf16()), data.size() * 2);
}

QString stringLine(const QString &valueName, const QString &data)
{
    return nameOf(valueName) + QLatin1Char('=') + quoted(data) + QLatin1String("\r\n");
}

QString dwordLine(const QString &valueName, std::uint32_t data)
{
    return nameOf(valueName) + QLatin1String("=dword:")
        + QString::number(data, 16).rightJustified(8, QLatin1Char('0')) + QLatin1String("\r\n");
}

// One value of a randomly chosen type.
QString anyValue(Generator &g, const QString &valueName)
{
    const std::uint32_t kind = g.number(100);
    if (kind < 38)
        return stringLine(valueName, g.chance(50) ? g.path() : g.phrase());
    if (kind < 60)
        return dwordLine(valueName, g.chance(70) ? g.number(16) : g.number(0xFFFFFFFFu));
    if (kind < 78) { // REG_BINARY, now and then long
        QByteArray bytes;
        const int size = g.chance(10) ? 200 + int(g.number(1800)) : 4 + int(g.number(60));
        for (int i = 0; i < size; ++i)
            bytes.append(char(g.chance(40) ? 0 : g.number(256)));
        return hexLine(valueName, QStringLiteral("hex"), bytes);
    }
    if (kind < 88)
        return hexLine(valueName, QStringLiteral("hex(2)"),
                       utf16Bytes(QLatin1String("%SystemRoot%\\system32\\") + g.word().toLower()
                                  + QLatin1String(".dll")));
    if (kind < 94) {
        QString strings;
        const int count = 1 + int(g.number(4));
        for (int i = 0; i < count; ++i)
            strings += g.word() + QChar(0);
        strings.chop(1);
        return hexLine(valueName, QStringLiteral("hex(7)"), utf16Bytes(strings, true));
    }
    if (kind < 98) {
        QByteArray bytes;
        for (int i = 0; i < 8; ++i)
            bytes.append(char(g.number(256)));
        return hexLine(valueName, QStringLiteral("hex(b)"), bytes);
    }
    return hexLine(valueName, QStringLiteral("hex(0)"), QByteArray());
}

class Hive
{
public:
    // Adds a section (and an empty one for each ancestor that has none); a key added twice
    // keeps its first section.
    void add(const QString &path, const QString &values)
    {
        const QString key = path.toLower();
        if (m_sections.contains(key))
            return;
        const qsizetype separator = path.lastIndexOf(QLatin1Char('\\'));
        if (separator > 0)
            add(path.left(separator), QString());
        Section section { path.split(QLatin1Char('\\')),
                          QLatin1Char('[') + path + QLatin1String("]\r\n") + values };
        m_size += section.text.size() + 2;
        m_sections.insert(key, section);
    }

    qsizetype characters() const { return m_size; }

    QString text() const
    {
        QList<Section> sections = m_sections.values();
        std::sort(sections.begin(), sections.end(), [](const Section &a, const Section &b) {
            const qsizetype common = std::min(a.components.size(), b.components.size());
            for (qsizetype i = 0; i < common; ++i) {
                const int order
                    = a.components.at(i).compare(b.components.at(i), Qt::CaseInsensitive);
                if (order != 0)
                    return order < 0;
            }
            return a.components.size() < b.components.size();
        });
        QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n");
        text.reserve(m_size + text.size());
        for (const Section &section : sections)
            text += section.text + QLatin1String("\r\n");
        return text;
    }

private:
    QHash<QString, Section> m_sections;
    qsizetype m_size = 0;
};

// The sample machine's sections, as they are written there.
bool addSample(Hive &hive, const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    QString text = bytes.startsWith("\xFF\xFE")
        ? QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData() + 2),
                             (bytes.size() - 2) / 2)
        : QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
    text.remove(QLatin1Char('\r'));
    QString path;
    QString values;
    const auto flush = [&] {
        if (!path.isEmpty())
            hive.add(path, values);
        values.clear();
    };
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1Char('['))) {
            flush();
            path = line.mid(1, line.size() - 2);
        } else if (!path.isEmpty() && !line.trimmed().isEmpty()) {
            values += line + QLatin1String("\r\n");
        }
    }
    flush();
    return !path.isEmpty();
}

void addUninstallEntry(Generator &g, Hive &hive)
{
    const QString name = g.phrase();
    QString values
        = stringLine(QStringLiteral("DisplayName"), name)
        + stringLine(
              QStringLiteral("DisplayVersion"),
              QStringLiteral("%1.%2.%3").arg(g.number(20)).arg(g.number(10)).arg(g.number(9999)))
        + stringLine(QStringLiteral("Publisher"), g.word() + QLatin1String(" Software"))
        + stringLine(QStringLiteral("InstallLocation"), g.path())
        + stringLine(QStringLiteral("UninstallString"), QLatin1String("MsiExec.exe /X") + g.guid())
        + dwordLine(QStringLiteral("EstimatedSize"), g.number(2000000))
        + dwordLine(QStringLiteral("NoModify"), 1) + dwordLine(QStringLiteral("Language"), 1033)
        + hexLine(QStringLiteral("ModifyPath"), QStringLiteral("hex(2)"),
                  utf16Bytes(QLatin1String("MsiExec.exe /I") + g.guid()));
    hive.add(QLatin1String(
                 "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\")
                 + g.guid(),
             values);
}

void addInstallerProduct(Generator &g, Hive &hive)
{
    const QString key = QLatin1String("HKEY_CLASSES_ROOT\\Installer\\Products\\") + g.hexDigits(32);
    QByteArray icon;
    for (int i = 0; i < 16; ++i)
        icon.append(char(g.number(256)));
    hive.add(key,
             stringLine(QStringLiteral("ProductName"), g.phrase())
                 + stringLine(QStringLiteral("PackageCode"), g.hexDigits(32))
                 + dwordLine(QStringLiteral("Language"), 1033)
                 + dwordLine(QStringLiteral("Version"), g.number(0x10000000))
                 + dwordLine(QStringLiteral("Assignment"), 1)
                 + hexLine(QStringLiteral("ProductIcon"), QStringLiteral("hex(2)"),
                           utf16Bytes(g.path())));
    hive.add(key + QLatin1String("\\SourceList"),
             stringLine(QStringLiteral("PackageName"), g.word().toLower() + QLatin1String(".msi"))
                 + stringLine(QStringLiteral("LastUsedSource"), QLatin1String("n;1;") + g.path()));
    hive.add(key + QLatin1String("\\SourceList\\Media"),
             stringLine(QStringLiteral("1"), QStringLiteral(";")));
    hive.add(key + QLatin1String("\\SourceList\\Net"),
             hexLine(QStringLiteral("1"), QStringLiteral("hex(2)"), utf16Bytes(g.path())));
}

void addComClass(Generator &g, Hive &hive)
{
    const QString key = QLatin1String("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\") + g.guid();
    hive.add(key, stringLine(QString(), g.phrase()));
    hive.add(key + QLatin1String("\\InprocServer32"),
             stringLine(QString(), g.path())
                 + stringLine(QStringLiteral("ThreadingModel"), QStringLiteral("Both")));
    if (g.chance(40))
        hive.add(
            key + QLatin1String("\\ProgID"),
            stringLine(QString(), g.word() + QLatin1Char('.') + g.word() + QLatin1String(".1")));
}

// A vendor's product with its versions and their settings keys.
void addProduct(Generator &g, Hive &hive, const QString &root)
{
    const QString product = root + QLatin1Char('\\') + g.word() + QLatin1Char('\\') + g.word();
    const int versions = 1 + int(g.number(3));
    for (int v = 0; v < versions; ++v) {
        const QString version
            = product + QLatin1Char('\\') + QString::number(8 + g.number(12)) + QLatin1String(".0");
        const int keys = 2 + int(g.number(10));
        for (int k = 0; k < keys; ++k) {
            QString key = version;
            const int depth = 1 + int(g.number(3));
            for (int d = 0; d < depth; ++d)
                key += QLatin1Char('\\') + g.word();
            QString values;
            const int count = int(g.number(14));
            for (int i = 0; i < count; ++i)
                values += anyValue(g, g.chance(5) ? QString() : g.word());
            hive.add(key, values);
        }
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    bool utf8 = false;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument == QLatin1String("--utf8"))
            utf8 = true;
        else
            arguments.append(argument);
    }
    bool isNumber = false;
    const double megabytes = arguments.value(0).toDouble(&isNumber);
    if (arguments.size() < 2 || arguments.size() > 3 || !isNumber || megabytes <= 0) {
        std::fputs("usage: remedor_make_hive MEGABYTES OUTPUT [SAMPLE] [--utf8]\n", stderr);
        return 2;
    }
    const QString sample = arguments.value(2, QStringLiteral(REMEDOR_SAMPLE_MACHINE));

    Hive hive;
    if (!addSample(hive, sample)) {
        std::fprintf(stderr, "cannot read the sample machine %s\n", qPrintable(sample));
        return 1;
    }

    // Uninstall entries and installer registrations as a well-used machine has them; they
    // grow with the size, as they do with the number of programs installed.
    Generator g(20150101u);
    const int programs = 50 + int(10 * megabytes);
    for (int i = 0; i < programs; ++i) {
        addUninstallEntry(g, hive);
        addInstallerProduct(g, hive);
    }

    const qsizetype target = qsizetype(megabytes * 1024 * 1024) / (utf8 ? 1 : 2);
    const QStringList userRoots = { QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE") };
    const QStringList machineRoots
        = { QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE"),
            QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node") };
    while (hive.characters() < target) {
        const std::uint32_t kind = g.number(100);
        if (kind < 22)
            addComClass(g, hive);
        else if (kind < 32)
            addProduct(g, hive, userRoots.first());
        else
            addProduct(g, hive, machineRoots.at(g.number(2)));
    }

    const QString text = hive.text();
    QByteArray bytes;
    if (utf8) {
        bytes = text.toUtf8();
    } else {
        bytes = QByteArray("\xFF\xFE", 2);
        bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    }
    QFile out(arguments.at(1));
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    return 0;
}
