<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>ConfirmPage</name>
    <message>
        <source>Confirm</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>Confirm what will to do.</source>
        <translation>実行する操作を確認してください。</translation>
    </message>
    <message>
        <source>Click &quot;Next&quot; to start.</source>
        <translation>開始するには「次へ」をクリックしてください。</translation>
    </message>
    <message>
        <source>All the registry information of the following products will be removed from this computer.
</source>
        <translation>次の製品のすべてのレジストリ情報がこのコンピューターから削除されます。
</translation>
    </message>
</context>
<context>
    <name>FinishPage</name>
    <message>
        <source>Finished</source>
        <translation>完了</translation>
    </message>
    <message>
        <source>All operation completed.



The files under the installation directory, shortcut on the desktop and start menu shortcuts may not be deleted, please delete these items manually.</source>
        <translation>すべての操作が完了しました。



インストール フォルダー内のファイル、およびデスクトップと [スタート] メニューのショートカットは削除されていない可能性があります。手動で削除してください。</translation>
    </message>
    <message>
        <source>Some packages could not be uninstalled cleanly:</source>
        <translation>一部のパッケージを完全にアンインストールできませんでした:</translation>
    </message>
    <message>
        <source>%1: the uninstaller could not be started.</source>
        <translation>%1: アンインストーラーを起動できませんでした。</translation>
    </message>
    <message>
        <source>%1: the uninstaller stopped unexpectedly.</source>
        <translation>%1: アンインストーラーが予期せず停止しました。</translation>
    </message>
    <message>
        <source>%1: the uninstaller ended with exit code %2.</source>
        <translation>%1: アンインストーラーが終了コード %2 で終了しました。</translation>
    </message>
    <message>
        <source>Please restart the computer to complete the removal.</source>
        <translation>削除を完了するには、コンピューターを再起動してください。</translation>
    </message>
    <message>
        <source>Some registry keys could not be removed:</source>
        <translation>一部のレジストリ キーを削除できませんでした:</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>コピー(&amp;C)</translation>
    </message>
</context>
<context>
    <name>ProcessPage</name>
    <message>
        <source>Process</source>
        <translation>処理</translation>
    </message>
    <message>
        <source>Processing...</source>
        <translation>処理中...</translation>
    </message>
</context>
<context>
    <name>ProductsPage</name>
    <message>
        <source>Select Product</source>
        <translation>製品の選択</translation>
    </message>
    <message>
        <source>Please select a product that you want to uninstall.</source>
        <translation>アンインストールする製品を選択してください。</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>すべて選択(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Unselect all</source>
        <translation>すべて選択解除(&amp;U)</translation>
    </message>
</context>
<context>
    <name>RemedorWiz</name>
    <message>
        <source>Remedor Wizard</source>
        <translation>Remedor ウィザード</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; 戻る(&amp;B)</translation>
    </message>
    <message>
        <source>&amp;Next &gt;</source>
        <translation>次へ(&amp;N) &gt;</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>キャンセル(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation>完了(&amp;F)</translation>
    </message>
    <message>
        <source>Another Remedor run is in progress. Try again when it has ended.</source>
        <translation>別の Remedor の実行が進行中です。終了してからもう一度お試しください。</translation>
    </message>
    <message>
        <source>Remedor cannot make sure that no other removal is under way: %1</source>
        <translation>他の削除が実行中でないことを Remedor で確認できません: %1</translation>
    </message>
</context>
<context>
    <name>WelcomePage</name>
    <message>
        <source>Welcome</source>
        <translation>ようこそ</translation>
    </message>
    <message>
        <source>This tool used to uninstall PELDA+.</source>
        <translation>このツールは PELDA+ をアンインストールします。</translation>
    </message>
</context>
</TS>
