<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ConfirmPage</name>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>Confirm what will to do.</source>
        <translation>Bestätigen Sie die auszuführenden Aktionen.</translation>
    </message>
    <message>
        <source>Click &quot;Next&quot; to start.</source>
        <translation>Klicken Sie auf „Weiter“, um zu beginnen.</translation>
    </message>
    <message>
        <source>All the registry information of the following products will be removed from this computer.
</source>
        <translation>Sämtliche Registrierungsinformationen der folgenden Produkte werden von diesem Computer entfernt.
</translation>
    </message>
</context>
<context>
    <name>FinishPage</name>
    <message>
        <source>Finished</source>
        <translation>Abgeschlossen</translation>
    </message>
    <message>
        <source>All operation completed.



The files under the installation directory, shortcut on the desktop and start menu shortcuts may not be deleted, please delete these items manually.</source>
        <translation>Alle Vorgänge wurden abgeschlossen.



Die Dateien im Installationsordner sowie die Verknüpfungen auf dem Desktop und im Startmenü wurden möglicherweise nicht gelöscht. Löschen Sie diese bitte manuell.</translation>
    </message>
    <message>
        <source>Some packages could not be uninstalled cleanly:</source>
        <translation>Einige Pakete konnten nicht vollständig deinstalliert werden:</translation>
    </message>
    <message>
        <source>%1: the uninstaller could not be started.</source>
        <translation>%1: Das Deinstallationsprogramm konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>%1: the uninstaller stopped unexpectedly.</source>
        <translation>%1: Das Deinstallationsprogramm wurde unerwartet beendet.</translation>
    </message>
    <message>
        <source>%1: the uninstaller ended with exit code %2.</source>
        <translation>%1: Das Deinstallationsprogramm wurde mit dem Exitcode %2 beendet.</translation>
    </message>
    <message>
        <source>Please restart the computer to complete the removal.</source>
        <translation>Starten Sie den Computer neu, um die Entfernung abzuschließen.</translation>
    </message>
    <message>
        <source>Some registry keys could not be removed:</source>
        <translation>Einige Registrierungsschlüssel konnten nicht entfernt werden:</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
</context>
<context>
    <name>ProcessPage</name>
    <message>
        <source>Process</source>
        <translation>Verarbeitung</translation>
    </message>
    <message>
        <source>Processing...</source>
        <translation>Verarbeitung läuft...</translation>
    </message>
</context>
<context>
    <name>ProductsPage</name>
    <message>
        <source>Select Product</source>
        <translation>Produkt auswählen</translation>
    </message>
    <message>
        <source>Please select a product that you want to uninstall.</source>
        <translation>Wählen Sie die Produkte aus, die Sie deinstallieren möchten.</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>&amp;Alle auswählen</translation>
    </message>
    <message>
        <source>&amp;Unselect all</source>
        <translation>Auswahl a&amp;ufheben</translation>
    </message>
</context>
<context>
    <name>RemedorWiz</name>
    <message>
        <source>Remedor Wizard</source>
        <translation>Remedor-Assistent</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; &amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Next &gt;</source>
        <translation>&amp;Weiter &gt;</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>A&amp;bbrechen</translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation>&amp;Fertig stellen</translation>
    </message>
    <message>
        <source>Another Remedor run is in progress. Try again when it has ended.</source>
        <translation>Ein anderer Remedor-Lauf ist im Gange. Versuchen Sie es erneut, wenn er beendet ist.</translation>
    </message>
    <message>
        <source>Remedor cannot make sure that no other removal is under way: %1</source>
        <translation>Remedor kann nicht sicherstellen, dass keine andere Entfernung läuft: %1</translation>
    </message>
</context>
<context>
    <name>WelcomePage</name>
    <message>
        <source>Welcome</source>
        <translation>Willkommen</translation>
    </message>
    <message>
        <source>This tool used to uninstall PELDA+.</source>
        <translation>Mit diesem Tool können Sie PELDA+ deinstallieren.</translation>
    </message>
</context>
</TS>
