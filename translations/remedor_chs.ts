<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ConfirmPage</name>
    <message>
        <source>Confirm</source>
        <translation>确认</translation>
    </message>
    <message>
        <source>Confirm what will to do.</source>
        <translation>请确认将要执行的操作。</translation>
    </message>
    <message>
        <source>Click &quot;Next&quot; to start.</source>
        <translation>单击“下一步”开始。</translation>
    </message>
    <message>
        <source>All the registry information of the following products will be removed from this computer.
</source>
        <translation>以下产品的所有注册表信息将从此计算机中删除。
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
        <translation>所有操作已完成。



安装文件夹中的文件以及桌面和“开始”菜单中的快捷方式可能未被删除，请手动删除这些项目。</translation>
    </message>
    <message>
        <source>Some packages could not be uninstalled cleanly:</source>
        <translation>部分程序包未能完全卸载：</translation>
    </message>
    <message>
        <source>%1: the uninstaller could not be started.</source>
        <translation>%1：无法启动卸载程序。</translation>
    </message>
    <message>
        <source>%1: the uninstaller stopped unexpectedly.</source>
        <translation>%1：卸载程序意外停止。</translation>
    </message>
    <message>
        <source>%1: the uninstaller ended with exit code %2.</source>
        <translation>%1：卸载程序已结束，退出代码为 %2。</translation>
    </message>
    <message>
        <source>Please restart the computer to complete the removal.</source>
        <translation>请重新启动计算机以完成删除。</translation>
    </message>
    <message>
        <source>Some registry keys could not be removed:</source>
        <translation>部分注册表项未能删除：</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>复制(&amp;C)</translation>
    </message>
</context>
<context>
    <name>ProcessPage</name>
    <message>
        <source>Process</source>
        <translation>处理</translation>
    </message>
    <message>
        <source>Processing...</source>
        <translation>正在处理...</translation>
    </message>
</context>
<context>
    <name>ProductsPage</name>
    <message>
        <source>Select Product</source>
        <translation>选择产品</translation>
    </message>
    <message>
        <source>Please select a product that you want to uninstall.</source>
        <translation>请选择要卸载的产品。</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>全选(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Unselect all</source>
        <translation>取消全选(&amp;U)</translation>
    </message>
</context>
<context>
    <name>RemedorWiz</name>
    <message>
        <source>Remedor Wizard</source>
        <translation>Remedor 向导</translation>
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
        <translation>另一个 Remedor 运行正在进行中。请在其结束后重试。</translation>
    </message>
    <message>
        <source>Remedor cannot make sure that no other removal is under way: %1</source>
        <translation>Remedor 无法确定没有其他删除操作正在进行：%1</translation>
    </message>
</context>
<context>
    <name>WelcomePage</name>
    <message>
        <source>Welcome</source>
        <translation>欢迎</translation>
    </message>
    <message>
        <source>This tool used to uninstall PELDA+.</source>
        <translation>此工具用于卸载 PELDA+。</translation>
    </message>
</context>
</TS>
