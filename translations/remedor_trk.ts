<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="tr_TR">
<context>
    <name>ConfirmPage</name>
    <message>
        <source>Confirm</source>
        <translation>Onay</translation>
    </message>
    <message>
        <source>Confirm what will to do.</source>
        <translation>Yapılacak işlemleri onaylayın.</translation>
    </message>
    <message>
        <source>Click &quot;Next&quot; to start.</source>
        <translation>Başlamak için &quot;İleri&quot; düğmesine tıklayın.</translation>
    </message>
    <message>
        <source>All the registry information of the following products will be removed from this computer.
</source>
        <translation>Aşağıdaki ürünlere ait tüm kayıt defteri bilgileri bu bilgisayardan kaldırılacaktır.
</translation>
    </message>
</context>
<context>
    <name>FinishPage</name>
    <message>
        <source>Finished</source>
        <translation>Tamamlandı</translation>
    </message>
    <message>
        <source>All operation completed.



The files under the installation directory, shortcut on the desktop and start menu shortcuts may not be deleted, please delete these items manually.</source>
        <translation>Tüm işlemler tamamlandı.



Yükleme klasöründeki dosyalar ile masaüstündeki ve Başlat menüsündeki kısayollar silinmemiş olabilir. Lütfen bunları el ile silin.</translation>
    </message>
    <message>
        <source>Some packages could not be uninstalled cleanly:</source>
        <translation>Bazı paketler tam olarak kaldırılamadı:</translation>
    </message>
    <message>
        <source>%1: the uninstaller could not be started.</source>
        <translation>%1: kaldırma programı başlatılamadı.</translation>
    </message>
    <message>
        <source>%1: the uninstaller stopped unexpectedly.</source>
        <translation>%1: kaldırma programı beklenmedik şekilde durdu.</translation>
    </message>
    <message>
        <source>%1: the uninstaller ended with exit code %2.</source>
        <translation>%1: kaldırma programı %2 çıkış koduyla sonlandı.</translation>
    </message>
    <message>
        <source>Please restart the computer to complete the removal.</source>
        <translation>Kaldırma işlemini tamamlamak için bilgisayarı yeniden başlatın.</translation>
    </message>
    <message>
        <source>Some registry keys could not be removed:</source>
        <translation>Bazı kayıt defteri anahtarları kaldırılamadı:</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopyala</translation>
    </message>
</context>
<context>
    <name>ProcessPage</name>
    <message>
        <source>Process</source>
        <translation>İşlem</translation>
    </message>
    <message>
        <source>Processing...</source>
        <translation>İşleniyor...</translation>
    </message>
</context>
<context>
    <name>ProductsPage</name>
    <message>
        <source>Select Product</source>
        <translation>Ürün Seçimi</translation>
    </message>
    <message>
        <source>Please select a product that you want to uninstall.</source>
        <translation>Kaldırmak istediğiniz ürünleri seçin.</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>&amp;Tümünü seç</translation>
    </message>
    <message>
        <source>&amp;Unselect all</source>
        <translation>Tüm seçimleri &amp;kaldır</translation>
    </message>
</context>
<context>
    <name>RemedorWiz</name>
    <message>
        <source>Remedor Wizard</source>
        <translation>Remedor Sihirbazı</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; &amp;Geri</translation>
    </message>
    <message>
        <source>&amp;Next &gt;</source>
        <translation>İ&amp;leri &gt;</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>İ&amp;ptal</translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation>&amp;Son</translation>
    </message>
    <message>
        <source>Another Remedor run is in progress. Try again when it has ended.</source>
        <translation>Başka bir Remedor çalıştırması sürüyor. Bittiğinde yeniden deneyin.</translation>
    </message>
    <message>
        <source>Remedor cannot make sure that no other removal is under way: %1</source>
        <translation>Remedor başka bir kaldırma işleminin sürmediğinden emin olamıyor: %1</translation>
    </message>
</context>
<context>
    <name>WelcomePage</name>
    <message>
        <source>Welcome</source>
        <translation>Hoş Geldiniz</translation>
    </message>
    <message>
        <source>This tool used to uninstall PELDA+.</source>
        <translation>Bu araç, PELDA+ ürününü kaldırmak için kullanılır.</translation>
    </message>
</context>
</TS>
