#include "editioncatalogue.h"
#include "machinekeys.h"
#include "packedproductcode.h"
#include "processpage.h"
#include "registrysandbox.h"
#include "remedorwiz.h"

#include <QRandomGenerator>
#include <QtTest>

// Random machines and random ticks: after a run exactly the keys that the removal rules name
// are gone, and every other byte of the registry file is as it was.
class tst_RemovalProperty : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void randomMachines_data();
    void randomMachines();
};

using namespace MachineKeys;

namespace {

struct Package
{
    QString displayName;
    QString productCode;
    QString localeTag; // empty for the suite
};

QList<Package> packages()
{
    QList<Package> list;
    for (const Edition &e : EditionCatalogue::editions())
        list.append({ EditionCatalogue::displayName(e), QLatin1String(e.productCode),
                      QLatin1String(e.localeTag) });
    list.append(
        { EditionCatalogue::suiteDisplayName(), EditionCatalogue::suiteProductCode(), QString() });
    return list;
}

// One key's lines: its name line, some values, a blank line.
struct Block
{
    QString path;
    QString text;
};

class MachineGenerator
{
public:
    explicit MachineGenerator(quint32 number)
        : m_random(number)
    {
    }

    bool chance(int percent) { return int(m_random.bounded(100)) < percent; }
    int bounded(int limit) { return int(m_random.bounded(limit)); }

    QString hexDigits(int count)
    {
        QString digits;
        for (int i = 0; i < count; ++i)
            digits += QLatin1Char("0123456789ABCDEF"[bounded(16)]);
        return digits;
    }

    // The exact spelling, mostly; sometimes a name that differs only in letter case.
    QString spelling(const QString &name)
    {
        if (chance(80))
            return name;
        const QString lower = name.toLower();
        return lower != name ? lower : name.toUpper();
    }

    QString values()
    {
        QString text;
        const int count = bounded(4);
        for (int i = 0; i < count; ++i) {
            const QString name = QStringLiteral("Value%1").arg(i);
            switch (bounded(5)) {
            case 0:
                text += "\"" + name + "\"=\"text " + hexDigits(6) + " \\\\ \\\"q\\\"\"\r\n";
                break;
            case 1:
                text += "\"" + name + "\"=dword:" + hexDigits(8) + "\r\n";
                break;
            case 2:
                text += "\"" + name + "\"=hex:01,02," + hexDigits(2) + "\r\n";
                break;
            case 3:
                text += "\"" + name
                    + "\"=hex(7):61,00,00,00,62,00,00,00,00,00,61,00,00,00,62,00,00,00,00,\\\r\n  "
                      "00,00,00\r\n";
                break;
            default:
                text += "@=\"default\"\r\n";
                break;
            }
        }
        return text;
    }

    void addKey(const QString &path)
    {
        QString text = "[" + path + "]\r\n" + values() + "\r\n";
        if (chance(10))
            text += "; note\r\n";
        m_blocks.append({ path, text });
    }

    void addKeyWithSubkeys(const QString &path)
    {
        addKey(path);
        if (chance(50))
            addKey(path + "\\Recent");
        if (chance(25))
            addKey(path + "\\Recent\\Deep");
    }

    QList<Block> build(QString *bootstrapperTag)
    {
        m_blocks.clear();
        if (chance(70))
            addKey(machineSettings);
        for (const Package &package : packages()) {
            if (chance(60)) {
                addKeyWithSubkeys(uninstall + "\\" + spelling(package.productCode));
                addKey(products + "\\"
                       + spelling(PackedProductCode::fromProductCode(package.productCode)));
            }
            if (!package.localeTag.isEmpty() && chance(50))
                addKeyWithSubkeys(machineSettings + "\\" + spelling(package.localeTag));
            if (!package.localeTag.isEmpty() && chance(50))
                addKeyWithSubkeys(userSettings + "\\" + spelling(package.localeTag));
        }
        for (int i = bounded(4); i > 0; --i) {
            addKey(uninstall + "\\{" + hexDigits(8) + "-0000-0000-0000-" + hexDigits(12) + "}");
            addKey(products + "\\" + hexDigits(32));
            addKey(machineSettings + "\\xx-" + hexDigits(2));
        }

        *bootstrapperTag = QString();
        if (chance(75)) {
            const QStringList tags
                = { "de-DE", "ZH-cn", "en-US", "tr-TR", "ja-JP", "de-AT", "", "pt_BR" };
            const QString name = chance(85) ? bootstrapperName : bootstrapperName.toLower();
            QString tag = tags.at(bounded(int(tags.size())));
            if (chance(50))
                tag = QString::fromLatin1(EditionCatalogue::editions()[bounded(15)].localeTag);
            m_blocks.append({ uninstall + "\\" + name,
                              "[" + uninstall + "\\" + name + "]\r\n\"PeldaLanguage\"=\"" + tag
                                  + "\"\r\n\r\n" });
            if (name == bootstrapperName)
                *bootstrapperTag = tag;
        }

        for (qsizetype i = m_blocks.size() - 1; i > 0; --i)
            m_blocks.swapItemsAt(i, bounded(int(i) + 1));
        return m_blocks;
    }

private:
    QRandomGenerator m_random;
    QList<Block> m_blocks;
};

bool isAtOrBelow(const QString &path, const QString &key)
{
    return path.compare(key, Qt::CaseInsensitive) == 0
        || path.startsWith(key + "\\", Qt::CaseInsensitive);
}

} // namespace

void tst_RemovalProperty::randomMachines_data()
{
    QTest::addColumn<quint32>("machine");
    for (quint32 number = 1; number <= 40; ++number)
        QTest::addRow("machine %u", number) << number;
}

void tst_RemovalProperty::randomMachines()
{
    QFETCH(quint32, machine);
    MachineGenerator generator(machine);
    QString bootstrapperTag;
    const QList<Block> blocks = generator.build(&bootstrapperTag);
    const bool utf16 = generator.chance(50);

    QStringList ticked;
    while (ticked.isEmpty()) {
        for (const Edition &e : EditionCatalogue::editions()) {
            if (generator.chance(30))
                ticked.append(EditionCatalogue::displayName(e));
        }
    }

    auto fileOf = [utf16](const QList<Block> &kept) {
        QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n");
        for (const Block &block : kept)
            text += block.text;
        return utf16 ? QByteArray("\xFF\xFE")
                + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2)
                     : text.toUtf8();
    };

    RegistrySandbox sandbox;
    sandbox.writeRegistryBytes(fileOf(blocks));

    // The rules: a ticked package's four keys go when a key of exactly that name exists;
    // the suite and the bootstrapper key go when the recorded language was ticked.
    auto exactlyPresent = [&](const QString &path) {
        return std::any_of(blocks.cbegin(), blocks.cend(), [&](const Block &b) {
            return isAtOrBelow(b.path, path) && b.path.startsWith(path); // spelled exactly
        });
    };
    QStringList removed;
    QStringList expectedCalls;
    QList<Package> removedPackages;
    for (const Package &package : packages()) {
        if (ticked.contains(package.displayName))
            removedPackages.append(package);
    }
    const QString language = EditionCatalogue::languageCodeForLocale(bootstrapperTag);
    const bool suiteRemoved = !language.isEmpty()
        && ticked.contains(EditionCatalogue::displayNameForLanguage(language));
    if (suiteRemoved) {
        removedPackages.append(packages().last());
        removed.append(uninstall + "\\" + bootstrapperName);
    }
    for (const Package &package : std::as_const(removedPackages)) {
        expectedCalls.append("/X" + package.productCode
                             + " /quiet /passive /norestart KEEPUSERDATA=yes");
        QStringList keys
            = { uninstall + "\\" + package.productCode,
                products + "\\" + PackedProductCode::fromProductCode(package.productCode) };
        if (!package.localeTag.isEmpty())
            keys << machineSettings + "\\" + package.localeTag
                 << userSettings + "\\" + package.localeTag;
        for (const QString &key : keys) {
            if (exactlyPresent(key))
                removed.append(key);
        }
    }
    QList<Block> kept;
    for (const Block &block : blocks) {
        if (std::none_of(removed.cbegin(), removed.cend(),
                         [&](const QString &key) { return isAtOrBelow(block.path, key); }))
            kept.append(block);
    }

    RemedorWiz wizard;
    wizard.restart();
    wizard.next();
    for (const QString &name : std::as_const(ticked))
        wizard.setField(name, true);
    wizard.next();
    wizard.next();
    auto *page = qobject_cast<ProcessPage *>(wizard.currentPage());
    QVERIFY(page);
    page->onTimeOut();

    QCOMPARE(sandbox.installerCalls(), expectedCalls);
    QCOMPARE(sandbox.keys().size(), kept.size());
    QCOMPARE(sandbox.registryBytes(), fileOf(kept));
    QCOMPARE(wizard.field(QStringLiteral("process.progress")).toInt(),
             5 + 5 * int(ticked.size()) + (suiteRemoved ? 4 : 0));
}

QTEST_MAIN(tst_RemovalProperty)
#include "tst_removalproperty.moc"
