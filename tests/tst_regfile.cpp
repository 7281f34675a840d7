#include "regfile.h"

#include <QStringEncoder>
#include <QtTest>

// The registry stand-in's file model: export files in both encodings, every value type,
// registry-like key rules, and deletions that leave every other byte alone.
class tst_RegFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void valuesOfEveryType_data();
    void valuesOfEveryType();
    void keysAreCaseInsensitiveAndCasePreserving();
    void implicitKeysExist();
    void removalKeepsEveryOtherByte_data();
    void removalKeepsEveryOtherByte();
    void removalOfAMissingKeyChangesNothing();
    void hivesCannotBeRemoved_data();
    void hivesCannotBeRemoved();
    void keyInTwoSections();
    void damagedFilesDoNotParse_data();
    void damagedFilesDoNotParse();

private:
    static QByteArray encoded(const QString &text, const QString &encoding);
};

namespace {

// An export as the registry editor writes it, with every value type.
const char exportText[]
    = "Windows Registry Editor Version 5.00\r\n"
      "\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\r\n"
      "@=\"default text\"\r\n"
      "\"Plain\"=\"C:\\\\Program Files\\\\Vendor \\\"quoted\\\"\"\r\n"
      "\"Number\"=dword:0000002a\r\n"
      "\"Binary\"=hex:01,02,ff\r\n"
      "\"Expand\"=hex(2):25,00,50,00,41,00,54,00,48,00,25,00,00,00\r\n"
      "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
      "\"Quad\"=hex(b):01,00,00,00,00,00,00,00\r\n"
      "\"Long\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\r\n"
      "  17,18,19\r\n"
      "\"Empty\"=hex:\r\n"
      "\"Unicode\"=\"Gr\u00fc\u00dfe \u65e5\u672c\"\r\n"
      "\r\n"
      "; a comment between keys\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Product]\r\n"
      "\"Version\"=\"1.0\"\r\n"
      "\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Product\\Options]\r\n"
      "\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Other]\r\n"
      "\"Kept\"=dword:00000001\r\n"
      "\r\n";

} // namespace

QByteArray tst_RegFile::encoded(const QString &text, const QString &encoding)
{
    if (encoding == QLatin1String("utf-16le")) {
        QStringEncoder encoder(QStringEncoder::Utf16LE);
        return QByteArray("\xFF\xFE") + QByteArray(encoder(text));
    }
    if (encoding == QLatin1String("utf-8 bom"))
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    return text.toUtf8();
}

void tst_RegFile::valuesOfEveryType_data()
{
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    const QStringList encodings = { "utf-16le", "utf-8", "utf-8 bom" };
    for (const QString &encoding : encodings) {
        auto row = [&](const char *name, const QString &text) {
            QTest::addRow("%s %s", qPrintable(encoding), name) << encoding << name << text;
        };
        row("", "default text");
        row("plain", "C:\\Program Files\\Vendor \"quoted\"");
        row("NUMBER", "42");
        row("Binary", "");
        row("Expand", "%PATH%");
        row("Multi", "");
        row("Quad", "");
        row("Long", "");
        row("Unicode", QStringLiteral("Gr\u00fc\u00dfe \u65e5\u672c"));
        row("Missing", "");
    }
}

void tst_RegFile::valuesOfEveryType()
{
    QFETCH(QString, encoding);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QString error;
    const std::optional<RegFile> file
        = RegFile::parse(encoded(QString::fromUtf8(exportText), encoding), &error);
    QVERIFY2(file, qPrintable(error));
    QCOMPARE(file->stringValue(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor"), name), text);
}

void tst_RegFile::keysAreCaseInsensitiveAndCasePreserving()
{
    const std::optional<RegFile> file = RegFile::parse(QByteArray(exportText));
    QVERIFY(file);
    QCOMPARE(file->childKeys(QStringLiteral("hkey_local_machine\\software\\VENDOR")),
             (QStringList { "Product", "Other" }));
    QCOMPARE(file->childKeys(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Product")),
             QStringList { "Options" });
    QVERIFY(
        file->childKeys(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Product\\Options"))
            .isEmpty());
    QVERIFY(
        file->keyExists(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\vendor\\product\\options")));
    QVERIFY(!file->keyExists(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendo")));
    QVERIFY(!file->keyExists(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\VendorX")));
    QCOMPARE(file->stringValue(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\VENDOR\\product"),
                               QStringLiteral("version")),
             QStringLiteral("1.0"));
}

// A key named only on the path of a deeper one exists, as after an import.
void tst_RegFile::implicitKeysExist()
{
    const std::optional<RegFile> file = RegFile::parse(
        "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\A\\B\\C]\n\"v\"=\"1\"\n");
    QVERIFY(file);
    QVERIFY(file->keyExists(QStringLiteral("HKEY_CURRENT_USER\\A")));
    QCOMPARE(file->childKeys(QStringLiteral("HKEY_CURRENT_USER")), QStringList { "A" });
    QCOMPARE(file->childKeys(QStringLiteral("HKEY_CURRENT_USER\\a")), QStringList { "B" });
    QVERIFY(file->childKeys(QStringLiteral("HKEY_LOCAL_MACHINE")).isEmpty());

    RegFile copy = *file;
    QVERIFY(copy.removeKey(QStringLiteral("HKEY_CURRENT_USER\\A\\B")));
    QVERIFY(!copy.keyExists(QStringLiteral("HKEY_CURRENT_USER\\A")));
    QCOMPARE(copy.toBytes(), QByteArray("Windows Registry Editor Version 5.00\n\n"));
}

void tst_RegFile::removalKeepsEveryOtherByte_data()
{
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QString text = QString::fromUtf8(exportText);
    // The comment before the key's line lies outside its subtree, so it stays.
    const qsizetype product
        = text.indexOf(QLatin1String("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Product]"));
    const qsizetype other
        = text.indexOf(QLatin1String("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Other]"));
    const QString withoutProduct = text.left(product) + text.mid(other);
    const QString withoutVendor = text.left(text.indexOf(QLatin1Char('[')));
    const qsizetype options
        = text.indexOf(QLatin1String("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Product\\Options]"));
    const QString withoutOptions = text.left(options) + text.mid(other);

    for (const char *encoding : { "utf-16le", "utf-8", "utf-8 bom" }) {
        QTest::addRow("%s subtree", encoding)
            << encoding << "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Product" << withoutProduct;
        QTest::addRow("%s other case", encoding)
            << encoding << "hkey_local_machine\\software\\vendor\\PRODUCT" << withoutProduct;
        QTest::addRow("%s leaf", encoding)
            << encoding << "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Product\\Options"
            << withoutOptions;
        QTest::addRow("%s whole tree", encoding)
            << encoding << "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor" << withoutVendor;
    }
}

void tst_RegFile::removalKeepsEveryOtherByte()
{
    QFETCH(QString, encoding);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    std::optional<RegFile> file = RegFile::parse(encoded(QString::fromUtf8(exportText), encoding));
    QVERIFY(file);
    QVERIFY(file->removeKey(key));
    QVERIFY(!file->keyExists(key));
    QCOMPARE(file->toBytes(), encoded(expected, encoding));
    QVERIFY(RegFile::parse(file->toBytes())); // still a valid file
}

void tst_RegFile::removalOfAMissingKeyChangesNothing()
{
    const QByteArray bytes = encoded(QString::fromUtf8(exportText), QStringLiteral("utf-16le"));
    std::optional<RegFile> file = RegFile::parse(bytes);
    QVERIFY(file);
    QVERIFY(!file->removeKey(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Prod")));
    QVERIFY(!file->removeKey(
        QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Product\\Options\\Deeper")));
    QVERIFY(!file->removeKey(QStringLiteral("HKEY_LOCAL_MACHINE"))); // a hive cannot be deleted
    QCOMPARE(file->toBytes(), bytes);
}

void tst_RegFile::hivesCannotBeRemoved_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("hive");
    QTest::newRow("as written") << "HKEY_CURRENT_USER\\A"
                                << "HKEY_CURRENT_USER";
    QTest::newRow("lower-case section") << "hkey_current_user\\A"
                                        << "hkey_current_user";
    QTest::newRow("asked in other case") << "HKEY_CURRENT_USER\\A"
                                         << "hkey_current_user";
    QTest::newRow("mixed case") << "Hkey_Local_Machine\\SOFTWARE"
                                << "HKEY_LOCAL_MACHINE";
    QTest::newRow("users") << "HKEY_USERS\\S-1-5-21-1\\Software"
                           << "hkey_users";
}

// Whatever the letter case, a hive is never deleted, and the file stays as it was.
void tst_RegFile::hivesCannotBeRemoved()
{
    QFETCH(QString, section);
    QFETCH(QString, hive);
    const QByteArray bytes = "Windows Registry Editor Version 5.00\r\n\r\n[" + section.toUtf8()
        + "]\r\n\"v\"=\"1\"\r\n";
    std::optional<RegFile> file = RegFile::parse(bytes);
    QVERIFY(file);
    QVERIFY(!file->removeKey(hive));
    QCOMPARE(file->toBytes(), bytes);
    QVERIFY(file->keyExists(section));
}

// A key may be written in two sections, spelled two ways: it is one key, listed once, and as
// in an import the later value wins.
void tst_RegFile::keyInTwoSections()
{
    const std::optional<RegFile> file
        = RegFile::parse("Windows Registry Editor Version 5.00\n\n"
                         "[HKEY_LOCAL_MACHINE\\Uninstall\\Boot]\n\"PeldaLanguage\"=\"de-DE\"\n"
                         "\"Other\"=\"kept\"\n\n"
                         "[HKEY_LOCAL_MACHINE\\Uninstall\\Other]\n\n"
                         "[HKEY_LOCAL_MACHINE\\UNINSTALL\\BOOT]\n\"peldalanguage\"=\"fr-FR\"\n\n"
                         "[HKEY_LOCAL_MACHINE\\Uninstall\\boot\\Sub]\n");
    QVERIFY(file);
    QCOMPARE(file->stringValue(QStringLiteral("HKEY_LOCAL_MACHINE\\Uninstall\\Boot"),
                               QStringLiteral("PeldaLanguage")),
             QStringLiteral("fr-FR"));
    QCOMPARE(file->stringValue(QStringLiteral("HKEY_LOCAL_MACHINE\\Uninstall\\boot"),
                               QStringLiteral("Other")),
             QStringLiteral("kept"));
    QCOMPARE(file->childKeys(QStringLiteral("HKEY_LOCAL_MACHINE\\Uninstall")),
             (QStringList { "Boot", "Other" }));
    QCOMPARE(file->childKeys(QStringLiteral("HKEY_LOCAL_MACHINE\\Uninstall\\Boot")),
             QStringList { "Sub" });
    const QList<RegistryValue> values
        = file->values(QStringLiteral("HKEY_LOCAL_MACHINE\\Uninstall\\Boot"));
    QCOMPARE(values.size(), 2);
    QCOMPARE(values[0].name, QStringLiteral("PeldaLanguage")); // the first spelling,
    QCOMPARE(values[0].data, QByteArray("f\0r\0-\0F\0R\0\0\0", 12)); // the last data
}

void tst_RegFile::damagedFilesDoNotParse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray head
        = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Key]\r\n";
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("no version line") << QByteArray("[HKEY_CURRENT_USER\\Key]\r\n");
    QTest::newRow("old format") << QByteArray("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Key]\r\n");
    QTest::newRow("utf-16 without bom") << QByteArray(
        reinterpret_cast<const char *>(u"Windows Registry Editor Version 5.00\r\n"), 76);
    QTest::newRow("odd utf-16") << QByteArray("\xFF\xFEW\0i\0n", 7);
    QTest::newRow("invalid utf-8") << head + "\"v\"=\"\xC3\x28\"\r\n";
    QTest::newRow("unknown hive") << QByteArray(
        "Windows Registry Editor Version 5.00\r\n[HKEY_NOWHERE\\Key]\r\n");
    QTest::newRow("empty key name")
        << QByteArray("Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\\\Key]\r\n");
    QTest::newRow("unclosed header")
        << QByteArray("Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\Key\r\n");
    QTest::newRow("deletion entry")
        << QByteArray("Windows Registry Editor Version 5.00\r\n[-HKEY_CURRENT_USER\\Key]\r\n");
    QTest::newRow("value outside a key")
        << QByteArray("Windows Registry Editor Version 5.00\r\n\"v\"=\"1\"\r\n");
    QTest::newRow("unterminated string") << head + "\"v\"=\"abc\r\n";
    QTest::newRow("unterminated name") << head + "\"v=\"abc\"\r\n";
    QTest::newRow("no equals") << head + "\"v\"\"abc\"\r\n";
    QTest::newRow("short dword") << head + "\"v\"=dword:1\r\n";
    QTest::newRow("bad hex") << head + "\"v\"=hex:0g,01\r\n";
    QTest::newRow("bad hex type") << head + "\"v\"=hex(zz):01\r\n";
    QTest::newRow("continuation past the end") << head + "\"v\"=hex:01,\\\r\n";
    QTest::newRow("value deletion") << head + "\"v\"=-\r\n";
    QTest::newRow("garbage line") << head + "garbage\r\n";
    QTest::newRow("truncated mid-value") << head + "\"v\"=\"ab";
    QTest::newRow("binary junk") << QByteArray("\x00\x01\x02\x03", 4);
}

void tst_RegFile::damagedFilesDoNotParse()
{
    QFETCH(QByteArray, bytes);
    QString error;
    QVERIFY(!RegFile::parse(bytes, &error));
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(tst_RegFile)
#include "tst_regfile.moc"
