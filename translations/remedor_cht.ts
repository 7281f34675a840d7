<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>ConfirmPage</name>
    <message>
        <source>Confirm</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>Confirm what will to do.</source>
        <translation>請確認將要執行的作業。</translation>
    </message>
    <message>
        <source>Click &quot;Next&quot; to start.</source>
        <translation>按一下「下一步」開始。</translation>
    </message>
    <message>
        <source>All the registry information of the following products will be removed from this computer.
</source>
        <translation>下列產品的所有登錄資訊將從這部電腦中移除。
</translation>
    </message>
</context>
<context>
    <name>FinishPage</name>
    <message>
        <source>Finished</source>
        <translation>已完成</translation>
    </message>
    <message>
        <source>All operation completed.



The files under the installation directory, shortcut on the desktop and start menu shortcuts may not be deleted, please delete these items manually.</source>
        <translation>所有作業已完成。



安裝資料夾中的檔案，以及桌面和「開始」功能表中的捷徑可能未被刪除，請手動刪除這些項目。</translation>
    </message>
    <message>
        <source>Some packages could not be uninstalled cleanly:</source>
        <translation>部分套件未能完全解除安裝：</translation>
    </message>
    <message>
        <source>%1: the uninstaller could not be started.</source>
        <translation>%1：無法啟動解除安裝程式。</translation>
    </message>
    <message>
        <source>%1: the uninstaller stopped unexpectedly.</source>
        <translation>%1：解除安裝程式意外停止。</translation>
    </message>
    <message>
        <source>%1: the uninstaller ended with exit code %2.</source>
        <translation>%1：解除安裝程式已結束，結束代碼為 %2。</translation>
    </message>
    <message>
        <source>Please restart the computer to complete the removal.</source>
        <translation>請重新啟動電腦以完成移除。</translation>
    </message>
    <message>
        <source>Some registry keys could not be removed:</source>
        <translation>部分登錄機碼無法移除：</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>複製(&amp;C)</translation>
    </message>
</context>
<context>
    <name>ProcessPage</name>
    <message>
        <source>Process</source>
        <translation>處理</translation>
    </message>
    <message>
        <source>Processing...</source>
        <translation>處理中...</translation>
    </message>
</context>
<context>
    <name>ProductsPage</name>
    <message>
        <source>Select Product</source>
        <translation>選取產品</translation>
    </message>
    <message>
        <source>Please select a product that you want to uninstall.</source>
        <translation>請選取要解除安裝的產品。</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>全選(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Unselect all</source>
        <translation>取消全選(&amp;U)</translation>
    </message>
</context>
<context>
    <name>RemedorWiz</name>
    <message>
        <source>Remedor Wizard</source>
        <translation>Remedor 精靈</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; 上一步(&amp;B)</translation>
    </message>
    <message>
        <source>&amp;Next &gt;</source>
        <translation>下一步(&amp;N) &gt;</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>取消(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation>完成(&amp;F)</translation>
    </message>
    <message>
        <source>Another Remedor run is in progress. Try again when it has ended.</source>
        <translation>另一個 Remedor 執行正在進行中。請在其結束後再試一次。</translation>
    </message>
    <message>
        <source>Remedor cannot make sure that no other removal is under way: %1</source>
        <translation>Remedor 無法確定沒有其他移除作業正在進行：%1</translation>
    </message>
</context>
<context>
    <name>WelcomePage</name>
    <message>
        <source>Welcome</source>
        <translation>歡迎使用</translation>
    </message>
    <message>
        <source>This tool used to uninstall PELDA+.</source>
        <translation>此工具用於解除安裝 PELDA+。</translation>
    </message>
</context>
</TS>
