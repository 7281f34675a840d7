<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>ConfirmPage</name>
    <message>
        <source>Confirm</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>Confirm what will to do.</source>
        <translation>Confirm what will be done.</translation>
    </message>
    <message>
        <source>Click &quot;Next&quot; to start.</source>
        <translation>Click &quot;Next&quot; to start.</translation>
    </message>
    <message>
        <source>All the registry information of the following products will be removed from this computer.
</source>
        <translation>All the registry information of the following products will be removed from this computer.
</translation>
    </message>
</context>
<context>
    <name>FinishPage</name>
    <message>
        <source>Finished</source>
        <translation>Finished</translation>
    </message>
    <message>
        <source>All operation completed.



The files under the installation directory, shortcut on the desktop and start menu shortcuts may not be deleted, please delete these items manually.</source>
        <translation>All operations completed.



The files in the installation folder and the shortcuts on the desktop and in the Start menu may not have been deleted. Please delete them manually.</translation>
    </message>
    <message>
        <source>Some packages could not be uninstalled cleanly:</source>
        <translation>Some packages could not be uninstalled cleanly:</translation>
    </message>
    <message>
        <source>%1: the uninstaller could not be started.</source>
        <translation>%1: the uninstaller could not be started.</translation>
    </message>
    <message>
        <source>%1: the uninstaller stopped unexpectedly.</source>
        <translation>%1: the uninstaller stopped unexpectedly.</translation>
    </message>
    <message>
        <source>%1: the uninstaller ended with exit code %2.</source>
        <translation>%1: the uninstaller ended with exit code %2.</translation>
    </message>
    <message>
        <source>Please restart the computer to complete the removal.</source>
        <translation>Please restart the computer to complete the removal.</translation>
    </message>
    <message>
        <source>Some registry keys could not be removed:</source>
        <translation>Some registry keys could not be removed:</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copy</translation>
    </message>
</context>
<context>
    <name>ProcessPage</name>
    <message>
        <source>Process</source>
        <translation>Process</translation>
    </message>
    <message>
        <source>Processing...</source>
        <translation>Processing...</translation>
    </message>
</context>
<context>
    <name>ProductsPage</name>
    <message>
        <source>Select Product</source>
        <translation>Select Product</translation>
    </message>
    <message>
        <source>Please select a product that you want to uninstall.</source>
        <translation>Select the products that you want to uninstall.</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>Select &amp;all</translation>
    </message>
    <message>
        <source>&amp;Unselect all</source>
        <translation>&amp;Unselect all</translation>
    </message>
</context>
<context>
    <name>RemedorWiz</name>
    <message>
        <source>Remedor Wizard</source>
        <translation>Remedor Wizard</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; &amp;Back</translation>
    </message>
    <message>
        <source>&amp;Next &gt;</source>
        <translation>&amp;Next &gt;</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation>&amp;Finish</translation>
    </message>
    <message>
        <source>Another Remedor run is in progress. Try again when it has ended.</source>
        <translation>Another Remedor run is in progress. Try again when it has ended.</translation>
    </message>
    <message>
        <source>Remedor cannot make sure that no other removal is under way: %1</source>
        <translation>Remedor cannot make sure that no other removal is under way: %1</translation>
    </message>
</context>
<context>
    <name>WelcomePage</name>
    <message>
        <source>Welcome</source>
        <translation>Welcome</translation>
    </message>
    <message>
        <source>This tool used to uninstall PELDA+.</source>
        <translation>This tool uninstalls PELDA+.</translation>
    </message>
</context>
</TS>
