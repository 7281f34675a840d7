<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="cs_CZ">
<context>
    <name>ConfirmPage</name>
    <message>
        <source>Confirm</source>
        <translation>Potvrzení</translation>
    </message>
    <message>
        <source>Confirm what will to do.</source>
        <translation>Potvrďte operace, které budou provedeny.</translation>
    </message>
    <message>
        <source>Click &quot;Next&quot; to start.</source>
        <translation>Proces zahájíte kliknutím na tlačítko „Další“.</translation>
    </message>
    <message>
        <source>All the registry information of the following products will be removed from this computer.
</source>
        <translation>Z tohoto počítače budou odebrány všechny informace registru o následujících produktech.
</translation>
    </message>
</context>
<context>
    <name>FinishPage</name>
    <message>
        <source>Finished</source>
        <translation>Dokončeno</translation>
    </message>
    <message>
        <source>All operation completed.



The files under the installation directory, shortcut on the desktop and start menu shortcuts may not be deleted, please delete these items manually.</source>
        <translation>Všechny operace byly dokončeny.



Možná se nepodařilo odstranit soubory v instalační složce a zástupce na ploše a v nabídce Start. Odstraňte je prosím ručně.</translation>
    </message>
    <message>
        <source>Some packages could not be uninstalled cleanly:</source>
        <translation>Některé balíčky se nepodařilo úplně odinstalovat:</translation>
    </message>
    <message>
        <source>%1: the uninstaller could not be started.</source>
        <translation>%1: odinstalační program se nepodařilo spustit.</translation>
    </message>
    <message>
        <source>%1: the uninstaller stopped unexpectedly.</source>
        <translation>%1: odinstalační program byl neočekávaně ukončen.</translation>
    </message>
    <message>
        <source>%1: the uninstaller ended with exit code %2.</source>
        <translation>%1: odinstalační program skončil s kódem ukončení %2.</translation>
    </message>
    <message>
        <source>Please restart the computer to complete the removal.</source>
        <translation>Chcete-li dokončit odebrání, restartujte počítač.</translation>
    </message>
    <message>
        <source>Some registry keys could not be removed:</source>
        <translation>Některé klíče registru se nepodařilo odebrat:</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopírovat</translation>
    </message>
</context>
<context>
    <name>ProcessPage</name>
    <message>
        <source>Process</source>
        <translation>Zpracování</translation>
    </message>
    <message>
        <source>Processing...</source>
        <translation>Probíhá zpracování...</translation>
    </message>
</context>
<context>
    <name>ProductsPage</name>
    <message>
        <source>Select Product</source>
        <translation>Výběr produktu</translation>
    </message>
    <message>
        <source>Please select a product that you want to uninstall.</source>
        <translation>Vyberte produkty, které chcete odinstalovat.</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>&amp;Vybrat vše</translation>
    </message>
    <message>
        <source>&amp;Unselect all</source>
        <translation>Z&amp;rušit výběr</translation>
    </message>
</context>
<context>
    <name>RemedorWiz</name>
    <message>
        <source>Remedor Wizard</source>
        <translation>Průvodce Remedor</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; &amp;Zpět</translation>
    </message>
    <message>
        <source>&amp;Next &gt;</source>
        <translation>&amp;Další &gt;</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Storno</translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation>Do&amp;končit</translation>
    </message>
    <message>
        <source>Another Remedor run is in progress. Try again when it has ended.</source>
        <translation>Probíhá jiné spuštění nástroje Remedor. Zkuste to znovu, až skončí.</translation>
    </message>
    <message>
        <source>Remedor cannot make sure that no other removal is under way: %1</source>
        <translation>Remedor nemůže ověřit, že neprobíhá žádné jiné odebírání: %1</translation>
    </message>
</context>
<context>
    <name>WelcomePage</name>
    <message>
        <source>Welcome</source>
        <translation>Vítejte</translation>
    </message>
    <message>
        <source>This tool used to uninstall PELDA+.</source>
        <translation>Tento nástroj slouží k odinstalaci produktu PELDA+.</translation>
    </message>
</context>
</TS>
