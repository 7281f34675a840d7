<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
<context>
    <name>ConfirmPage</name>
    <message>
        <source>Confirm</source>
        <translation>Conferma</translation>
    </message>
    <message>
        <source>Confirm what will to do.</source>
        <translation>Confermare le operazioni da eseguire.</translation>
    </message>
    <message>
        <source>Click &quot;Next&quot; to start.</source>
        <translation>Fare clic su &quot;Avanti&quot; per iniziare.</translation>
    </message>
    <message>
        <source>All the registry information of the following products will be removed from this computer.
</source>
        <translation>Tutte le informazioni del Registro di sistema relative ai prodotti seguenti verranno rimosse dal computer.
</translation>
    </message>
</context>
<context>
    <name>FinishPage</name>
    <message>
        <source>Finished</source>
        <translation>Completato</translation>
    </message>
    <message>
        <source>All operation completed.



The files under the installation directory, shortcut on the desktop and start menu shortcuts may not be deleted, please delete these items manually.</source>
        <translation>Tutte le operazioni sono state completate.



È possibile che i file nella cartella di installazione e i collegamenti sul desktop e nel menu Start non siano stati eliminati. Eliminarli manualmente.</translation>
    </message>
    <message>
        <source>Some packages could not be uninstalled cleanly:</source>
        <translation>Non è stato possibile disinstallare completamente alcuni pacchetti:</translation>
    </message>
    <message>
        <source>%1: the uninstaller could not be started.</source>
        <translation>%1: impossibile avviare il programma di disinstallazione.</translation>
    </message>
    <message>
        <source>%1: the uninstaller stopped unexpectedly.</source>
        <translation>%1: il programma di disinstallazione si è interrotto in modo imprevisto.</translation>
    </message>
    <message>
        <source>%1: the uninstaller ended with exit code %2.</source>
        <translation>%1: il programma di disinstallazione è terminato con il codice di uscita %2.</translation>
    </message>
    <message>
        <source>Please restart the computer to complete the removal.</source>
        <translation>Riavviare il computer per completare la rimozione.</translation>
    </message>
    <message>
        <source>Some registry keys could not be removed:</source>
        <translation>Non è stato possibile rimuovere alcune chiavi del Registro di sistema:</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copia</translation>
    </message>
</context>
<context>
    <name>ProcessPage</name>
    <message>
        <source>Process</source>
        <translation>Elaborazione</translation>
    </message>
    <message>
        <source>Processing...</source>
        <translation>Elaborazione in corso...</translation>
    </message>
</context>
<context>
    <name>ProductsPage</name>
    <message>
        <source>Select Product</source>
        <translation>Selezione prodotto</translation>
    </message>
    <message>
        <source>Please select a product that you want to uninstall.</source>
        <translation>Selezionare i prodotti da disinstallare.</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>&amp;Seleziona tutto</translation>
    </message>
    <message>
        <source>&amp;Unselect all</source>
        <translation>&amp;Deseleziona tutto</translation>
    </message>
</context>
<context>
    <name>RemedorWiz</name>
    <message>
        <source>Remedor Wizard</source>
        <translation>Procedura guidata Remedor</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; &amp;Indietro</translation>
    </message>
    <message>
        <source>&amp;Next &gt;</source>
        <translation>&amp;Avanti &gt;</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>A&amp;nnulla</translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation>&amp;Fine</translation>
    </message>
    <message>
        <source>Another Remedor run is in progress. Try again when it has ended.</source>
        <translation>È in corso un&apos;altra esecuzione di Remedor. Riprovare al termine.</translation>
    </message>
    <message>
        <source>Remedor cannot make sure that no other removal is under way: %1</source>
        <translation>Remedor non può verificare che non sia in corso un&apos;altra rimozione: %1</translation>
    </message>
</context>
<context>
    <name>WelcomePage</name>
    <message>
        <source>Welcome</source>
        <translation>Benvenuti</translation>
    </message>
    <message>
        <source>This tool used to uninstall PELDA+.</source>
        <translation>Questo strumento consente di disinstallare PELDA+.</translation>
    </message>
</context>
</TS>
