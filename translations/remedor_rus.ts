<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>ConfirmPage</name>
    <message>
        <source>Confirm</source>
        <translation>Подтверждение</translation>
    </message>
    <message>
        <source>Confirm what will to do.</source>
        <translation>Подтвердите выполняемые действия.</translation>
    </message>
    <message>
        <source>Click &quot;Next&quot; to start.</source>
        <translation>Чтобы начать, нажмите кнопку «Далее».</translation>
    </message>
    <message>
        <source>All the registry information of the following products will be removed from this computer.
</source>
        <translation>Все сведения реестра для следующих продуктов будут удалены с этого компьютера.
</translation>
    </message>
</context>
<context>
    <name>FinishPage</name>
    <message>
        <source>Finished</source>
        <translation>Завершено</translation>
    </message>
    <message>
        <source>All operation completed.



The files under the installation directory, shortcut on the desktop and start menu shortcuts may not be deleted, please delete these items manually.</source>
        <translation>Все операции выполнены.



Возможно, файлы в папке установки, а также ярлыки на рабочем столе и в меню «Пуск» не были удалены. Удалите их вручную.</translation>
    </message>
    <message>
        <source>Some packages could not be uninstalled cleanly:</source>
        <translation>Некоторые пакеты не удалось полностью удалить:</translation>
    </message>
    <message>
        <source>%1: the uninstaller could not be started.</source>
        <translation>%1: не удалось запустить программу удаления.</translation>
    </message>
    <message>
        <source>%1: the uninstaller stopped unexpectedly.</source>
        <translation>%1: программа удаления неожиданно завершила работу.</translation>
    </message>
    <message>
        <source>%1: the uninstaller ended with exit code %2.</source>
        <translation>%1: программа удаления завершила работу с кодом выхода %2.</translation>
    </message>
    <message>
        <source>Please restart the computer to complete the removal.</source>
        <translation>Чтобы завершить удаление, перезагрузите компьютер.</translation>
    </message>
    <message>
        <source>Some registry keys could not be removed:</source>
        <translation>Некоторые разделы реестра не удалось удалить:</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Копировать</translation>
    </message>
</context>
<context>
    <name>ProcessPage</name>
    <message>
        <source>Process</source>
        <translation>Обработка</translation>
    </message>
    <message>
        <source>Processing...</source>
        <translation>Обработка...</translation>
    </message>
</context>
<context>
    <name>ProductsPage</name>
    <message>
        <source>Select Product</source>
        <translation>Выбор продукта</translation>
    </message>
    <message>
        <source>Please select a product that you want to uninstall.</source>
        <translation>Выберите продукты, которые нужно удалить.</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>&amp;Выбрать все</translation>
    </message>
    <message>
        <source>&amp;Unselect all</source>
        <translation>&amp;Снять выбор</translation>
    </message>
</context>
<context>
    <name>RemedorWiz</name>
    <message>
        <source>Remedor Wizard</source>
        <translation>Мастер Remedor</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; &amp;Назад</translation>
    </message>
    <message>
        <source>&amp;Next &gt;</source>
        <translation>&amp;Далее &gt;</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Отмена</translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation>&amp;Готово</translation>
    </message>
    <message>
        <source>Another Remedor run is in progress. Try again when it has ended.</source>
        <translation>Выполняется другой запуск Remedor. Повторите попытку после его завершения.</translation>
    </message>
    <message>
        <source>Remedor cannot make sure that no other removal is under way: %1</source>
        <translation>Remedor не может убедиться, что другое удаление не выполняется: %1</translation>
    </message>
</context>
<context>
    <name>WelcomePage</name>
    <message>
        <source>Welcome</source>
        <translation>Добро пожаловать</translation>
    </message>
    <message>
        <source>This tool used to uninstall PELDA+.</source>
        <translation>Эта программа предназначена для удаления PELDA+.</translation>
    </message>
</context>
</TS>
