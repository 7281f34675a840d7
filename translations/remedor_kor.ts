<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR">
<context>
    <name>ConfirmPage</name>
    <message>
        <source>Confirm</source>
        <translation>확인</translation>
    </message>
    <message>
        <source>Confirm what will to do.</source>
        <translation>수행할 작업을 확인하십시오.</translation>
    </message>
    <message>
        <source>Click &quot;Next&quot; to start.</source>
        <translation>시작하려면 [다음]을 클릭하십시오.</translation>
    </message>
    <message>
        <source>All the registry information of the following products will be removed from this computer.
</source>
        <translation>다음 제품의 모든 레지스트리 정보가 이 컴퓨터에서 제거됩니다.
</translation>
    </message>
</context>
<context>
    <name>FinishPage</name>
    <message>
        <source>Finished</source>
        <translation>완료</translation>
    </message>
    <message>
        <source>All operation completed.



The files under the installation directory, shortcut on the desktop and start menu shortcuts may not be deleted, please delete these items manually.</source>
        <translation>모든 작업이 완료되었습니다.



설치 폴더의 파일과 바탕 화면 및 [시작] 메뉴의 바로 가기가 삭제되지 않았을 수 있습니다. 이러한 항목을 수동으로 삭제하십시오.</translation>
    </message>
    <message>
        <source>Some packages could not be uninstalled cleanly:</source>
        <translation>일부 패키지를 완전히 제거하지 못했습니다:</translation>
    </message>
    <message>
        <source>%1: the uninstaller could not be started.</source>
        <translation>%1: 제거 프로그램을 시작할 수 없습니다.</translation>
    </message>
    <message>
        <source>%1: the uninstaller stopped unexpectedly.</source>
        <translation>%1: 제거 프로그램이 예기치 않게 중지되었습니다.</translation>
    </message>
    <message>
        <source>%1: the uninstaller ended with exit code %2.</source>
        <translation>%1: 제거 프로그램이 종료되었습니다(종료 코드: %2).</translation>
    </message>
    <message>
        <source>Please restart the computer to complete the removal.</source>
        <translation>제거를 완료하려면 컴퓨터를 다시 시작하십시오.</translation>
    </message>
    <message>
        <source>Some registry keys could not be removed:</source>
        <translation>일부 레지스트리 키를 제거하지 못했습니다:</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>복사(&amp;C)</translation>
    </message>
</context>
<context>
    <name>ProcessPage</name>
    <message>
        <source>Process</source>
        <translation>처리</translation>
    </message>
    <message>
        <source>Processing...</source>
        <translation>처리 중...</translation>
    </message>
</context>
<context>
    <name>ProductsPage</name>
    <message>
        <source>Select Product</source>
        <translation>제품 선택</translation>
    </message>
    <message>
        <source>Please select a product that you want to uninstall.</source>
        <translation>제거할 제품을 선택하십시오.</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>모두 선택(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Unselect all</source>
        <translation>모두 선택 해제(&amp;U)</translation>
    </message>
</context>
<context>
    <name>RemedorWiz</name>
    <message>
        <source>Remedor Wizard</source>
        <translation>Remedor 마법사</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; 뒤로(&amp;B)</translation>
    </message>
    <message>
        <source>&amp;Next &gt;</source>
        <translation>다음(&amp;N) &gt;</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>취소(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation>마침(&amp;F)</translation>
    </message>
    <message>
        <source>Another Remedor run is in progress. Try again when it has ended.</source>
        <translation>다른 Remedor 실행이 진행 중입니다. 끝난 후에 다시 시도하십시오.</translation>
    </message>
    <message>
        <source>Remedor cannot make sure that no other removal is under way: %1</source>
        <translation>Remedor에서 다른 제거 작업이 진행 중이 아닌지 확인할 수 없습니다: %1</translation>
    </message>
</context>
<context>
    <name>WelcomePage</name>
    <message>
        <source>Welcome</source>
        <translation>환영합니다</translation>
    </message>
    <message>
        <source>This tool used to uninstall PELDA+.</source>
        <translation>이 도구를 사용하여 PELDA+ 제품을 제거할 수 있습니다.</translation>
    </message>
</context>
</TS>
