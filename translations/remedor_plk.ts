<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL">
<context>
    <name>ConfirmPage</name>
    <message>
        <source>Confirm</source>
        <translation>Potwierdzenie</translation>
    </message>
    <message>
        <source>Confirm what will to do.</source>
        <translation>Potwierdź operacje, które zostaną wykonane.</translation>
    </message>
    <message>
        <source>Click &quot;Next&quot; to start.</source>
        <translation>Kliknij przycisk „Dalej”, aby rozpocząć.</translation>
    </message>
    <message>
        <source>All the registry information of the following products will be removed from this computer.
</source>
        <translation>Wszystkie informacje rejestru dotyczące następujących produktów zostaną usunięte z tego komputera.
</translation>
    </message>
</context>
<context>
    <name>FinishPage</name>
    <message>
        <source>Finished</source>
        <translation>Zakończono</translation>
    </message>
    <message>
        <source>All operation completed.



The files under the installation directory, shortcut on the desktop and start menu shortcuts may not be deleted, please delete these items manually.</source>
        <translation>Wszystkie operacje zostały zakończone.



Pliki w folderze instalacyjnym oraz skróty na pulpicie i w menu Start mogły nie zostać usunięte. Usuń je ręcznie.</translation>
    </message>
    <message>
        <source>Some packages could not be uninstalled cleanly:</source>
        <translation>Niektórych pakietów nie udało się całkowicie odinstalować:</translation>
    </message>
    <message>
        <source>%1: the uninstaller could not be started.</source>
        <translation>%1: nie udało się uruchomić programu odinstalowującego.</translation>
    </message>
    <message>
        <source>%1: the uninstaller stopped unexpectedly.</source>
        <translation>%1: program odinstalowujący nieoczekiwanie zakończył działanie.</translation>
    </message>
    <message>
        <source>%1: the uninstaller ended with exit code %2.</source>
        <translation>%1: program odinstalowujący zakończył działanie z kodem wyjścia %2.</translation>
    </message>
    <message>
        <source>Please restart the computer to complete the removal.</source>
        <translation>Uruchom ponownie komputer, aby dokończyć usuwanie.</translation>
    </message>
    <message>
        <source>Some registry keys could not be removed:</source>
        <translation>Nie udało się usunąć niektórych kluczy rejestru:</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopiuj</translation>
    </message>
</context>
<context>
    <name>ProcessPage</name>
    <message>
        <source>Process</source>
        <translation>Przetwarzanie</translation>
    </message>
    <message>
        <source>Processing...</source>
        <translation>Trwa przetwarzanie...</translation>
    </message>
</context>
<context>
    <name>ProductsPage</name>
    <message>
        <source>Select Product</source>
        <translation>Wybór produktu</translation>
    </message>
    <message>
        <source>Please select a product that you want to uninstall.</source>
        <translation>Wybierz produkty, które chcesz odinstalować.</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>Zazna&amp;cz wszystko</translation>
    </message>
    <message>
        <source>&amp;Unselect all</source>
        <translation>&amp;Odznacz wszystko</translation>
    </message>
</context>
<context>
    <name>RemedorWiz</name>
    <message>
        <source>Remedor Wizard</source>
        <translation>Kreator programu Remedor</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; &amp;Wstecz</translation>
    </message>
    <message>
        <source>&amp;Next &gt;</source>
        <translation>&amp;Dalej &gt;</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Anuluj</translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation>&amp;Zakończ</translation>
    </message>
    <message>
        <source>Another Remedor run is in progress. Try again when it has ended.</source>
        <translation>Trwa inne uruchomienie programu Remedor. Spróbuj ponownie po jego zakończeniu.</translation>
    </message>
    <message>
        <source>Remedor cannot make sure that no other removal is under way: %1</source>
        <translation>Remedor nie może upewnić się, że nie trwa inne usuwanie: %1</translation>
    </message>
</context>
<context>
    <name>WelcomePage</name>
    <message>
        <source>Welcome</source>
        <translation>Witamy</translation>
    </message>
    <message>
        <source>This tool used to uninstall PELDA+.</source>
        <translation>To narzędzie służy do odinstalowania programu PELDA+.</translation>
    </message>
</context>
</TS>
