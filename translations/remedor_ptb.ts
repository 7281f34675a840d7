<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>ConfirmPage</name>
    <message>
        <source>Confirm</source>
        <translation>Confirmar</translation>
    </message>
    <message>
        <source>Confirm what will to do.</source>
        <translation>Confirme as operações que serão executadas.</translation>
    </message>
    <message>
        <source>Click &quot;Next&quot; to start.</source>
        <translation>Clique em &quot;Avançar&quot; para iniciar.</translation>
    </message>
    <message>
        <source>All the registry information of the following products will be removed from this computer.
</source>
        <translation>Todas as informações do Registro dos produtos a seguir serão removidas deste computador.
</translation>
    </message>
</context>
<context>
    <name>FinishPage</name>
    <message>
        <source>Finished</source>
        <translation>Concluído</translation>
    </message>
    <message>
        <source>All operation completed.



The files under the installation directory, shortcut on the desktop and start menu shortcuts may not be deleted, please delete these items manually.</source>
        <translation>Todas as operações foram concluídas.



Os arquivos da pasta de instalação e os atalhos da área de trabalho e do menu Iniciar podem não ter sido excluídos. Exclua esses itens manualmente.</translation>
    </message>
    <message>
        <source>Some packages could not be uninstalled cleanly:</source>
        <translation>Alguns pacotes não puderam ser desinstalados completamente:</translation>
    </message>
    <message>
        <source>%1: the uninstaller could not be started.</source>
        <translation>%1: não foi possível iniciar o desinstalador.</translation>
    </message>
    <message>
        <source>%1: the uninstaller stopped unexpectedly.</source>
        <translation>%1: o desinstalador parou inesperadamente.</translation>
    </message>
    <message>
        <source>%1: the uninstaller ended with exit code %2.</source>
        <translation>%1: o desinstalador terminou com o código de saída %2.</translation>
    </message>
    <message>
        <source>Please restart the computer to complete the removal.</source>
        <translation>Reinicie o computador para concluir a remoção.</translation>
    </message>
    <message>
        <source>Some registry keys could not be removed:</source>
        <translation>Algumas chaves do Registro não puderam ser removidas:</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copiar</translation>
    </message>
</context>
<context>
    <name>ProcessPage</name>
    <message>
        <source>Process</source>
        <translation>Processamento</translation>
    </message>
    <message>
        <source>Processing...</source>
        <translation>Processando...</translation>
    </message>
</context>
<context>
    <name>ProductsPage</name>
    <message>
        <source>Select Product</source>
        <translation>Selecionar produto</translation>
    </message>
    <message>
        <source>Please select a product that you want to uninstall.</source>
        <translation>Selecione os produtos que você deseja desinstalar.</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>&amp;Selecionar tudo</translation>
    </message>
    <message>
        <source>&amp;Unselect all</source>
        <translation>&amp;Desmarcar tudo</translation>
    </message>
</context>
<context>
    <name>RemedorWiz</name>
    <message>
        <source>Remedor Wizard</source>
        <translation>Assistente do Remedor</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; &amp;Voltar</translation>
    </message>
    <message>
        <source>&amp;Next &gt;</source>
        <translation>&amp;Avançar &gt;</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Ca&amp;ncelar</translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation>&amp;Concluir</translation>
    </message>
    <message>
        <source>Another Remedor run is in progress. Try again when it has ended.</source>
        <translation>Outra execução do Remedor está em andamento. Tente novamente quando ela terminar.</translation>
    </message>
    <message>
        <source>Remedor cannot make sure that no other removal is under way: %1</source>
        <translation>O Remedor não pode garantir que nenhuma outra remoção esteja em andamento: %1</translation>
    </message>
</context>
<context>
    <name>WelcomePage</name>
    <message>
        <source>Welcome</source>
        <translation>Bem-vindo</translation>
    </message>
    <message>
        <source>This tool used to uninstall PELDA+.</source>
        <translation>Esta ferramenta desinstala o PELDA+.</translation>
    </message>
</context>
</TS>
