<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>ConfirmPage</name>
    <message>
        <source>Confirm</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>Confirm what will to do.</source>
        <translation>Confirmez les opérations à effectuer.</translation>
    </message>
    <message>
        <source>Click &quot;Next&quot; to start.</source>
        <translation>Cliquez sur «&#xa0;Suivant&#xa0;» pour commencer.</translation>
    </message>
    <message>
        <source>All the registry information of the following products will be removed from this computer.
</source>
        <translation>Toutes les informations de registre des produits suivants vont être supprimées de cet ordinateur.
</translation>
    </message>
</context>
<context>
    <name>FinishPage</name>
    <message>
        <source>Finished</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>All operation completed.



The files under the installation directory, shortcut on the desktop and start menu shortcuts may not be deleted, please delete these items manually.</source>
        <translation>Toutes les opérations sont terminées.



Il est possible que les fichiers du dossier d&apos;installation ainsi que les raccourcis du Bureau et du menu Démarrer n&apos;aient pas été supprimés. Veuillez les supprimer manuellement.</translation>
    </message>
    <message>
        <source>Some packages could not be uninstalled cleanly:</source>
        <translation>Certains packages n&apos;ont pas pu être entièrement désinstallés&#xa0;:</translation>
    </message>
    <message>
        <source>%1: the uninstaller could not be started.</source>
        <translation>%1&#xa0;: impossible de démarrer le programme de désinstallation.</translation>
    </message>
    <message>
        <source>%1: the uninstaller stopped unexpectedly.</source>
        <translation>%1&#xa0;: le programme de désinstallation s&apos;est arrêté de manière inattendue.</translation>
    </message>
    <message>
        <source>%1: the uninstaller ended with exit code %2.</source>
        <translation>%1&#xa0;: le programme de désinstallation s&apos;est terminé avec le code de sortie %2.</translation>
    </message>
    <message>
        <source>Please restart the computer to complete the removal.</source>
        <translation>Veuillez redémarrer l&apos;ordinateur pour terminer la suppression.</translation>
    </message>
    <message>
        <source>Some registry keys could not be removed:</source>
        <translation>Certaines clés de registre n&apos;ont pas pu être supprimées&#xa0;:</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copier</translation>
    </message>
</context>
<context>
    <name>ProcessPage</name>
    <message>
        <source>Process</source>
        <translation>Traitement</translation>
    </message>
    <message>
        <source>Processing...</source>
        <translation>Traitement en cours...</translation>
    </message>
</context>
<context>
    <name>ProductsPage</name>
    <message>
        <source>Select Product</source>
        <translation>Sélection des produits</translation>
    </message>
    <message>
        <source>Please select a product that you want to uninstall.</source>
        <translation>Sélectionnez les produits que vous souhaitez désinstaller.</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>Tout sé&amp;lectionner</translation>
    </message>
    <message>
        <source>&amp;Unselect all</source>
        <translation>Tout &amp;désélectionner</translation>
    </message>
</context>
<context>
    <name>RemedorWiz</name>
    <message>
        <source>Remedor Wizard</source>
        <translation>Assistant Remedor</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; &amp;Précédent</translation>
    </message>
    <message>
        <source>&amp;Next &gt;</source>
        <translation>&amp;Suivant &gt;</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation>&amp;Terminer</translation>
    </message>
    <message>
        <source>Another Remedor run is in progress. Try again when it has ended.</source>
        <translation>Une autre exécution de Remedor est en cours. Réessayez lorsqu&apos;elle sera terminée.</translation>
    </message>
    <message>
        <source>Remedor cannot make sure that no other removal is under way: %1</source>
        <translation>Remedor ne peut pas s&apos;assurer qu&apos;aucune autre suppression n&apos;est en cours&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>WelcomePage</name>
    <message>
        <source>Welcome</source>
        <translation>Bienvenue</translation>
    </message>
    <message>
        <source>This tool used to uninstall PELDA+.</source>
        <translation>Cet outil permet de désinstaller PELDA+.</translation>
    </message>
</context>
</TS>
