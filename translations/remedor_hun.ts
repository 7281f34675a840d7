<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="hu_HU">
<context>
    <name>ConfirmPage</name>
    <message>
        <source>Confirm</source>
        <translation>Megerősítés</translation>
    </message>
    <message>
        <source>Confirm what will to do.</source>
        <translation>Erősítse meg a végrehajtandó műveleteket.</translation>
    </message>
    <message>
        <source>Click &quot;Next&quot; to start.</source>
        <translation>A kezdéshez kattintson a „Tovább” gombra.</translation>
    </message>
    <message>
        <source>All the registry information of the following products will be removed from this computer.
</source>
        <translation>A program a következő termékek összes beállításjegyzék-adatát eltávolítja erről a számítógépről.
</translation>
    </message>
</context>
<context>
    <name>FinishPage</name>
    <message>
        <source>Finished</source>
        <translation>Befejezve</translation>
    </message>
    <message>
        <source>All operation completed.



The files under the installation directory, shortcut on the desktop and start menu shortcuts may not be deleted, please delete these items manually.</source>
        <translation>Minden művelet befejeződött.



Előfordulhat, hogy a telepítési mappában lévő fájlok, valamint az asztalon és a Start menüben található parancsikonok nem törlődtek. Törölje ezeket manuálisan.</translation>
    </message>
    <message>
        <source>Some packages could not be uninstalled cleanly:</source>
        <translation>Néhány csomagot nem sikerült teljesen eltávolítani:</translation>
    </message>
    <message>
        <source>%1: the uninstaller could not be started.</source>
        <translation>%1: nem sikerült elindítani az eltávolítóprogramot.</translation>
    </message>
    <message>
        <source>%1: the uninstaller stopped unexpectedly.</source>
        <translation>%1: az eltávolítóprogram váratlanul leállt.</translation>
    </message>
    <message>
        <source>%1: the uninstaller ended with exit code %2.</source>
        <translation>%1: az eltávolítóprogram a következő kilépési kóddal fejeződött be: %2.</translation>
    </message>
    <message>
        <source>Please restart the computer to complete the removal.</source>
        <translation>Az eltávolítás befejezéséhez indítsa újra a számítógépet.</translation>
    </message>
    <message>
        <source>Some registry keys could not be removed:</source>
        <translation>Néhány beállításkulcsot nem sikerült eltávolítani:</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Másolás</translation>
    </message>
</context>
<context>
    <name>ProcessPage</name>
    <message>
        <source>Process</source>
        <translation>Feldolgozás</translation>
    </message>
    <message>
        <source>Processing...</source>
        <translation>Feldolgozás folyamatban...</translation>
    </message>
</context>
<context>
    <name>ProductsPage</name>
    <message>
        <source>Select Product</source>
        <translation>Termék kiválasztása</translation>
    </message>
    <message>
        <source>Please select a product that you want to uninstall.</source>
        <translation>Válassza ki az eltávolítandó termékeket.</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>Összes &amp;kijelölése</translation>
    </message>
    <message>
        <source>&amp;Unselect all</source>
        <translation>Kijelölés meg&amp;szüntetése</translation>
    </message>
</context>
<context>
    <name>RemedorWiz</name>
    <message>
        <source>Remedor Wizard</source>
        <translation>Remedor varázsló</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; &amp;Vissza</translation>
    </message>
    <message>
        <source>&amp;Next &gt;</source>
        <translation>&amp;Tovább &gt;</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Mégse</translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation>&amp;Befejezés</translation>
    </message>
    <message>
        <source>Another Remedor run is in progress. Try again when it has ended.</source>
        <translation>Egy másik Remedor-futtatás van folyamatban. Próbálja újra, ha befejeződött.</translation>
    </message>
    <message>
        <source>Remedor cannot make sure that no other removal is under way: %1</source>
        <translation>A Remedor nem tudja megállapítani, hogy nem fut-e másik eltávolítás: %1</translation>
    </message>
</context>
<context>
    <name>WelcomePage</name>
    <message>
        <source>Welcome</source>
        <translation>Üdvözöljük</translation>
    </message>
    <message>
        <source>This tool used to uninstall PELDA+.</source>
        <translation>Ezzel az eszközzel eltávolíthatja a PELDA+ programot.</translation>
    </message>
</context>
</TS>
