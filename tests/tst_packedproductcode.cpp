#include "editioncatalogue.h"
#include "packedproductcode.h"

#include <QRegularExpression>
#include <QtTest>

class tst_PackedProductCode : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void knownCodes_data();
    void knownCodes();
    void everyCatalogueCode_data();
    void everyCatalogueCode();
};

void tst_PackedProductCode::knownCodes_data()
{
    QTest::addColumn<QString>("productCode");
    QTest::addColumn<QString>("packed");
    QTest::newRow("CHS") << "{6B41C7D2-B002-2052-B102-7E93A0C5D814}"
                         << "2D7C14B6200B25021B20E7390A5C8D41";
    QTest::newRow("suite") << "{6B41C7D2-B002-0000-B002-7E93A0C5D814}"
                           << "2D7C14B6200B00000B20E7390A5C8D41";
    QTest::newRow("lower case stays lower") << "{6b41c7d2-b002-2052-b102-7e93a0c5d814}"
                                            << "2d7c14b6200b25021b20e7390a5c8d41";
    QTest::newRow("no closing brace") << "{6B41C7D2-B002-2052-B102-7E93A0C5D814"
                                      << "2D7C14B6200B25021B20E7390A5C8D41";
    // Without braces every position is read one too far: 31 characters, not a packed code.
    QTest::newRow("no braces") << "6B41C7D2-B002-2052-B102-7E93A0C5D814"
                               << "-2D7C14B-200-25001-29EA3C0D5184";
    QTest::newRow("short") << "{6B41C"
                           << "C14B6";
    QTest::newRow("one character") << "{"
                                   << "";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_PackedProductCode::knownCodes()
{
    QFETCH(QString, productCode);
    QFETCH(QString, packed);
    QCOMPARE(PackedProductCode::fromProductCode(productCode), packed);
}

void tst_PackedProductCode::everyCatalogueCode_data()
{
    QTest::addColumn<QString>("productCode");
    QTest::addColumn<QString>("lcid");
    for (const Edition &edition : EditionCatalogue::editions())
        QTest::newRow(edition.languageCode) << QString::fromLatin1(edition.productCode)
                                            << QString::fromLatin1(edition.productCode).mid(15, 4);
}

// Every edition packs to 32 upper-case digits that differ from the Chinese edition's only in
// the reversed language group.
void tst_PackedProductCode::everyCatalogueCode()
{
    QFETCH(QString, productCode);
    QFETCH(QString, lcid);
    const QString packed = PackedProductCode::fromProductCode(productCode);
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9A-F]{32}$")).match(packed).hasMatch());
    std::reverse(lcid.begin(), lcid.end());
    QCOMPARE(packed.mid(12, 4), lcid);
    const QString chinese = QStringLiteral("2D7C14B6200B25021B20E7390A5C8D41");
    QCOMPARE(packed.left(12), chinese.left(12));
    QCOMPARE(packed.mid(16), chinese.mid(16));
}

QTEST_GUILESS_MAIN(tst_PackedProductCode)
#include "tst_packedproductcode.moc"
