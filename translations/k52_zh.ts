<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="en">
<context>
    <name>k52</name>
    <message>
        <source>  pending letter: %1</source>
        <translation>  待輸入字母: %1</translation>
    </message>
    <message>
        <source> (%1 bytes)</source>
        <translation> (%1 位元組)</translation>
    </message>
    <message>
        <source> (shown)</source>
        <translation> (顯示)</translation>
    </message>
    <message>
        <source> (the stable name of %1)</source>
        <translation> (%1 的固定名稱)</translation>
    </message>
    <message>
        <source>%1 and %2 would both store into %3</source>
        <translation>%1 和 %2 的資料會存入同一個檔案 %3</translation>
    </message>
    <message>
        <source>%1 appeared meanwhile; the records are in %2</source>
        <translation>接收期間出現了 %1, 資料已存入 %2</translation>
    </message>
    <message>
        <source>%1 differs from the upload it recorded</source>
        <translation>%1 與上傳時記錄的內容不同</translation>
    </message>
    <message>
        <source>%1 excludes %2</source>
        <translation>%1 不能與 %2 同時使用</translation>
    </message>
    <message>
        <source>%1 exists</source>
        <translation>%1 已存在</translation>
    </message>
    <message>
        <source>%1 exists; add --overwrite to replace it</source>
        <translation>%1 已存在, 要取代它請加上 --overwrite</translation>
    </message>
    <message>
        <source>%1 holds %2, which CP950 cannot encode</source>
        <translation>%1 含有 CP950 無法編碼的 %2</translation>
    </message>
    <message>
        <source>%1 holds a NUL character; write raw bytes as {&quot;hex&quot;: &quot;...&quot;}</source>
        <translation>%1 含有 NUL 字元, 原始位元組請寫成 {&quot;hex&quot;: &quot;...&quot;}</translation>
    </message>
    <message>
        <source>%1 is %2 (no device assigned), which is not a serial port</source>
        <translation>%1 是 %2 (未指定裝置), 但該裝置不是序列埠</translation>
    </message>
    <message>
        <source>%1 is %2 (no device assigned), which is not connected; choose the terminal&apos;s adapter in the port settings or with &apos;k52cli ports assign %1 DEVICE&apos;</source>
        <translation>%1 是 %2 (未指定裝置), 但該裝置未連接; 請在傳輸埠設定中選擇終端機的轉接器, 或執行 &apos;k52cli ports assign %1 DEVICE&apos;</translation>
    </message>
    <message>
        <source>%1 is %2 (no device assigned): %3</source>
        <translation>%1 是 %2 (未指定裝置): %3</translation>
    </message>
    <message>
        <source>%1 is %2 bytes in CP950, the editor allows %3</source>
        <translation>%1 在 CP950 中有 %2 個位元組, 編輯器只允許 %3 個</translation>
    </message>
    <message>
        <source>%1 is %2 bytes in CP950, the field holds %3</source>
        <translation>%1 在 CP950 中有 %2 個位元組, 欄位只能放 %3 個</translation>
    </message>
    <message>
        <source>%1 is %2 bytes, the field holds %3</source>
        <translation>%1 有 %2 個位元組, 欄位只能放 %3 個</translation>
    </message>
    <message>
        <source>%1 is %2 itself; give the %3 another name</source>
        <translation>%1 就是%2本身, 請為%3另取名稱</translation>
    </message>
    <message>
        <source>%1 is a boolean</source>
        <translation>%1 是布林值</translation>
    </message>
    <message>
        <source>%1 is a folder; give the %2 a file name</source>
        <translation>%1 是資料夾, 請為%2另取一個檔案名稱</translation>
    </message>
    <message>
        <source>%1 is a number</source>
        <translation>%1 是數字</translation>
    </message>
    <message>
        <source>%1 is a string</source>
        <translation>%1 是字串</translation>
    </message>
    <message>
        <source>%1 is above 255, the field holds a byte, 0 to 255</source>
        <translation>%1 大於 255, 欄位只能放一個位元組, 0 到 255</translation>
    </message>
    <message>
        <source>%1 is assigned to %2, which is not a serial port</source>
        <translation>%1 指定為 %2, 但該裝置不是序列埠</translation>
    </message>
    <message>
        <source>%1 is assigned to %2, which is not connected</source>
        <translation>%1 指定為 %2, 但該裝置未連接</translation>
    </message>
    <message>
        <source>%1 is assigned to %2: %3</source>
        <translation>%1 指定為 %2: %3</translation>
    </message>
    <message>
        <source>%1 is in use by another program; close it and try again</source>
        <translation>%1 正被其他程式使用, 請關閉該程式後再試一次</translation>
    </message>
    <message>
        <source>%1 is missing</source>
        <translation>%1 不存在</translation>
    </message>
    <message>
        <source>%1 is negative, the field holds a byte, 0 to 255</source>
        <translation>%1 是負數, 欄位只能放一個位元組, 0 到 255</translation>
    </message>
    <message>
        <source>%1 is not &quot;%2&quot;</source>
        <translation>%1 不是 &quot;%2&quot;</translation>
    </message>
    <message>
        <source>%1 is not %2 hex digits (the block&apos;s %3 bytes)</source>
        <translation>%1 不是 %2 個十六進位數字 (此區塊的 %3 個位元組)</translation>
    </message>
    <message>
        <source>%1 is not a folder; several terminals store into a folder</source>
        <translation>%1 不是資料夾, 多台終端機的資料要存入資料夾</translation>
    </message>
    <message>
        <source>%1 is not a serial port</source>
        <translation>%1 不是序列埠</translation>
    </message>
    <message>
        <source>%1 is not a string of hex digit pairs</source>
        <translation>%1 不是由成對十六進位數字組成的字串</translation>
    </message>
    <message>
        <source>%1 is not a version this program reads (%2)</source>
        <translation>%1 不是這個程式能讀取的版本 (%2)</translation>
    </message>
    <message>
        <source>%1 is not a whole number, the field holds a byte, 0 to 255</source>
        <translation>%1 不是整數, 欄位只能放一個位元組, 0 到 255</translation>
    </message>
    <message>
        <source>%1 is not connected</source>
        <translation>%1 未連接</translation>
    </message>
    <message>
        <source>%1 is not connected at the moment</source>
        <translation>%1 目前未連接</translation>
    </message>
    <message>
        <source>%1 is not in the editor&apos;s list (%2 to %3)</source>
        <translation>%1 不在編輯器的選項中 (%2 到 %3)</translation>
    </message>
    <message>
        <source>%1 is null</source>
        <translation>%1 是 null</translation>
    </message>
    <message>
        <source>%1 is required</source>
        <translation>必須提供 %1</translation>
    </message>
    <message>
        <source>%1 is set to %2 by %3 in the environment, which is not a serial port</source>
        <translation>%1 由環境變數 %3 設為 %2, 但該裝置不是序列埠</translation>
    </message>
    <message>
        <source>%1 is set to %2 by %3 in the environment, which is not connected</source>
        <translation>%1 由環境變數 %3 設為 %2, 但該裝置未連接</translation>
    </message>
    <message>
        <source>%1 is set to %2 by %3 in the environment: %4</source>
        <translation>%1 由環境變數 %3 設為 %2: %4</translation>
    </message>
    <message>
        <source>%1 matches no adapter at the moment</source>
        <translation>目前沒有符合 %1 的轉接器</translation>
    </message>
    <message>
        <source>%1 records stored</source>
        <translation>已儲存 %1 筆資料</translation>
    </message>
    <message>
        <source>%1 records stored in %2</source>
        <translation>已將 %1 筆資料存入 %2</translation>
    </message>
    <message>
        <source>%1 records written to %2</source>
        <translation>已將 %1 筆資料寫入 %2</translation>
    </message>
    <message>
        <source>%1 refused (%2 error), nothing written</source>
        <translation>%1 被拒絕 (%2 個錯誤), 未寫入任何檔案</translation>
    </message>
    <message>
        <source>%1 refused (%2 errors), nothing written</source>
        <translation>%1 被拒絕 (%2 個錯誤), 未寫入任何檔案</translation>
    </message>
    <message>
        <source>%1 uploads wait for the central store since %2</source>
        <translation>%1 筆上傳自 %2 起等待送往中央資料庫</translation>
    </message>
    <message>
        <source>%1, expected a number 0 to 255</source>
        <translation>%1, 應為 0 到 255 的數字</translation>
    </message>
    <message>
        <source>%1, expected a text (a string or {&quot;hex&quot;: &quot;...&quot;})</source>
        <translation>%1, 應為文字 (字串或 {&quot;hex&quot;: &quot;...&quot;})</translation>
    </message>
    <message>
        <source>%1, expected an array of up to %2 numbers</source>
        <translation>%1, 應為最多 %2 個數字的陣列</translation>
    </message>
    <message>
        <source>%1, expected an array of up to %2 records</source>
        <translation>%1, 應為最多 %2 筆記錄的陣列</translation>
    </message>
    <message>
        <source>%1, expected an array of up to %2 texts</source>
        <translation>%1, 應為最多 %2 個文字的陣列</translation>
    </message>
    <message>
        <source>%1, expected an object</source>
        <translation>%1, 應為物件</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a device path such as /dev/ttyUSB0</source>
        <translation>%1: &quot;%2&quot; 不是裝置路徑, 例如 /dev/ttyUSB0</translation>
    </message>
    <message>
        <source>%1: %2 (no port assignments read)</source>
        <translation>%1: %2 (未讀取任何連接埠指定)</translation>
    </message>
    <message>
        <source>%1: %2 required %3 missing</source>
        <translation>%1: 缺少 %2 個必要的 %3</translation>
    </message>
    <message>
        <source>%1: arrays and objects nest deeper than %2 levels</source>
        <translation>%1: 陣列和物件的巢狀層數超過 %2 層</translation>
    </message>
    <message>
        <source>%1: permission denied on %2, which belongs to root: ask the administrator for a udev rule that gives it to the group &apos;%3&apos;, then join that group (sudo usermod -aG %3 $USER) and log in again</source>
        <translation>%1: 沒有使用 %2 的權限, 它屬於 root: 請系統管理員以 udev 規則把它交給群組 &apos;%3&apos;, 再加入該群組 (sudo usermod -aG %3 $USER) 後重新登入</translation>
    </message>
    <message>
        <source>%1: permission denied on %2, which belongs to root: ask the administrator for a udev rule that lets you open it</source>
        <translation>%1: 沒有使用 %2 的權限, 它屬於 root: 請系統管理員以 udev 規則讓您能使用它</translation>
    </message>
    <message>
        <source>%1: permission denied on %2, which belongs to the group &apos;%3&apos;: join that group (sudo usermod -aG %3 $USER) and log in again</source>
        <translation>%1: 沒有使用 %2 的權限, 它屬於群組 &apos;%3&apos;: 請加入該群組 (sudo usermod -aG %3 $USER) 後重新登入</translation>
    </message>
    <message>
        <source>%1: permission denied on %2; ask the administrator for access to it</source>
        <translation>%1: 沒有使用 %2 的權限, 請向系統管理員申請</translation>
    </message>
    <message>
        <source>%1: the JSON does not parse: %2</source>
        <translation>%1: 無法解析 JSON: %2</translation>
    </message>
    <message>
        <source>%1: warning: %2</source>
        <translation>%1: 警告: %2</translation>
    </message>
    <message>
        <source>%1:%2: ignored &quot;%3&quot; (expected COM1..COM6=/path/of/device)</source>
        <translation>%1:%2: 已略過 &quot;%3&quot; (格式應為 COM1..COM6=裝置的絕對路徑)</translation>
    </message>
    <message>
        <source>(last error at %1: %2)</source>
        <translation>(最後錯誤於 %1: %2)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not in this build: the collection station runs on Linux only</source>
        <translation>此版本沒有 &apos;%1&apos;: 自動收集只在 Linux 上執行</translation>
    </message>
    <message>
        <source>(by %1)</source>
        <translation>(依 %1)</translation>
    </message>
    <message>
        <source>(none found)</source>
        <translation>(找不到任何序列埠)</translation>
    </message>
    <message>
        <source>(top level)</source>
        <translation>(最上層)</translation>
    </message>
    <message>
        <source>, %1 records</source>
        <translation>, %1 筆資料</translation>
    </message>
    <message>
        <source>, %1 records in %2</source>
        <translation>, %1 筆資料存於 %2</translation>
    </message>
    <message>
        <source>, Esc -&gt; %1</source>
        <translation>, 按 Esc 返回 %1</translation>
    </message>
    <message>
        <source>, serial %1</source>
        <translation>, 序號 %1</translation>
    </message>
    <message>
        <source>--csv - and --json both write to standard output</source>
        <translation>--csv - 和 --json 都會寫到標準輸出</translation>
    </message>
    <message>
        <source>--encoding takes auto, utf-8 or cp950</source>
        <translation>--encoding 只接受 auto, utf-8 或 cp950</translation>
    </message>
    <message>
        <source>--interval takes 1 to 3600 seconds</source>
        <translation>--interval 只接受 1 到 3600 秒</translation>
    </message>
    <message>
        <source>--port takes COM1 to COM6</source>
        <translation>--port 只接受 COM1 到 COM6</translation>
    </message>
    <message>
        <source>--retries takes a number</source>
        <translation>--retries 只接受數字</translation>
    </message>
    <message>
        <source>--speed takes 9600, 19200, 38400, 57600 or 115200</source>
        <translation>--speed 只接受 9600, 19200, 38400, 57600 或 115200</translation>
    </message>
    <message>
        <source>A device name on Windows</source>
        <translation>是 Windows 的裝置名稱</translation>
    </message>
    <message>
        <source>Bluetooth</source>
        <translation>藍牙</translation>
    </message>
    <message>
        <source>COMn is COM1 to COM6</source>
        <translation>COMn 必須是 COM1 到 COM6</translation>
    </message>
    <message>
        <source>CSV</source>
        <translation>CSV 檔</translation>
    </message>
    <message>
        <source>DEVICE</source>
        <translation>裝置</translation>
    </message>
    <message>
        <source>DEVICE must be an absolute path such as /dev/ttyUSB0</source>
        <translation>DEVICE 必須是絕對路徑, 例如 /dev/ttyUSB0</translation>
    </message>
    <message>
        <source>Device or resource busy</source>
        <translation>裝置或資源忙碌中</translation>
    </message>
    <message>
        <source>Excludes</source>
        <translation>排除</translation>
    </message>
    <message>
        <source>File exists</source>
        <translation>檔案已存在</translation>
    </message>
    <message>
        <source>File name too long</source>
        <translation>檔名太長</translation>
    </message>
    <message>
        <source>Input/output error</source>
        <translation>輸入/輸出錯誤</translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation>是資料夾</translation>
    </message>
    <message>
        <source>MESSAGE</source>
        <translation>訊息</translation>
    </message>
    <message>
        <source>No space left on device</source>
        <translation>裝置已無剩餘空間</translation>
    </message>
    <message>
        <source>No such device</source>
        <translation>沒有這個裝置</translation>
    </message>
    <message>
        <source>No such file or directory</source>
        <translation>沒有這個檔案或資料夾</translation>
    </message>
    <message>
        <source>No terminal answered on %1. Check that:
- the cable is plugged in at both ends, or the terminal sits in its cradle
- the terminal is switched on and waits in its download screen</source>
        <translation>%1 上沒有終端機回應. 請檢查:
- 傳輸線兩端都已插好, 或終端機已放在傳輸座上
- 終端機已開機, 並停在下載畫面</translation>
    </message>
    <message>
        <source>Not a directory</source>
        <translation>不是資料夾</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>不是一般檔案</translation>
    </message>
    <message>
        <source>OPTIONS</source>
        <translation>選項</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>選項</translation>
    </message>
    <message>
        <source>PACKETS</source>
        <translation>封包數</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>沒有權限</translation>
    </message>
    <message>
        <source>Positionals</source>
        <translation>位置參數</translation>
    </message>
    <message>
        <source>Print this help message and exit</source>
        <translation>顯示這份說明後結束</translation>
    </message>
    <message>
        <source>RECORDS</source>
        <translation>資料筆數</translation>
    </message>
    <message>
        <source>REQUIRED</source>
        <translation>必要</translation>
    </message>
    <message>
        <source>RESULT</source>
        <translation>結果</translation>
    </message>
    <message>
        <source>Read-only file system</source>
        <translation>唯讀的檔案系統</translation>
    </message>
    <message>
        <source>Run &apos;k52cli COMMAND --help&apos; for a command&apos;s options.
Exit codes: 0 success, 1 the operation ran and failed, 2 bad usage, 3 a file could not be read or
written, 4 the serial port could not be opened or prepared, 5 a template file was refused,
6 stopped by Ctrl+C, SIGTERM or SIGHUP (what was acknowledged is kept).</source>
        <translation>執行 &apos;k52cli COMMAND --help&apos; 可看到命令的選項.
結束碼: 0 成功, 1 執行了但失敗, 2 用法錯誤, 3 無法讀取或寫入檔案,
4 無法開啟或設定連接埠, 5 範本檔被拒絕,
6 被 Ctrl+C, SIGTERM 或 SIGHUP 停止 (已確認的資料都保留).</translation>
    </message>
    <message>
        <source>SECONDS</source>
        <translation>秒數</translation>
    </message>
    <message>
        <source>SUBCOMMAND</source>
        <translation>子命令</translation>
    </message>
    <message>
        <source>Serial ports:</source>
        <translation>序列埠:</translation>
    </message>
    <message>
        <source>Subcommands</source>
        <translation>子命令</translation>
    </message>
    <message>
        <source>TEXT</source>
        <translation>文字</translation>
    </message>
    <message>
        <source>Template ports:</source>
        <translation>範本的連接埠:</translation>
    </message>
    <message>
        <source>The following argument was not expected: %1</source>
        <translation>多出了這個參數: %1</translation>
    </message>
    <message>
        <source>The following arguments were not expected: %1</source>
        <translation>多出了這些參數: %1</translation>
    </message>
    <message>
        <source>The port assignments could not be stored: %1</source>
        <translation>無法儲存連接埠的指定: %1</translation>
    </message>
    <message>
        <source>The records are in %1</source>
        <translation>資料已存入 %1</translation>
    </message>
    <message>
        <source>The terminal on %1 did not take a packet. Check that the cable is plugged in firmly, or that the terminal stays in its cradle, then try again.</source>
        <translation>%1 上的終端機沒有收下封包. 請確認傳輸線已插牢, 或終端機穩穩放在傳輸座上, 再試一次.</translation>
    </message>
    <message>
        <source>Too many links</source>
        <translation>連結太多</translation>
    </message>
    <message>
        <source>USB</source>
        <translation>USB</translation>
    </message>
    <message>
        <source>Usage</source>
        <translation>用法</translation>
    </message>
    <message>
        <source>a port is named twice: %1</source>
        <translation>同一個連接埠指定了兩次: %1</translation>
    </message>
    <message>
        <source>a port name, COM1..COM6 (K52_COMn names its device; as often as needed)</source>
        <translation>連接埠名稱 COM1..COM6 (由 K52_COMn 指定裝置, 可重複使用)</translation>
    </message>
    <message>
        <source>a port name, COM1..COM6, to serve (as often as needed)</source>
        <translation>要服務的連接埠名稱 COM1..COM6 (可重複使用)</translation>
    </message>
    <message>
        <source>a serial device or pseudo-terminal to serve (as often as needed)</source>
        <translation>要服務的序列裝置或虛擬終端機 (可重複使用)</translation>
    </message>
    <message>
        <source>a template file or its JSON text</source>
        <translation>範本檔或它的 JSON 文字</translation>
    </message>
    <message>
        <source>a terminal is named twice: %1</source>
        <translation>同一台終端機指定了兩次: %1</translation>
    </message>
    <message>
        <source>an array</source>
        <translation>陣列</translation>
    </message>
    <message>
        <source>an array of %1</source>
        <translation>%1 個元素的陣列</translation>
    </message>
    <message>
        <source>an array of %1 numbers, the field holds %2</source>
        <translation>%1 個數字的陣列, 但欄位只能放 %2 個</translation>
    </message>
    <message>
        <source>an array of %1 records, the template holds %2</source>
        <translation>%1 筆記錄的陣列, 但範本只有 %2 筆</translation>
    </message>
    <message>
        <source>an array of %1 texts, the field holds %2</source>
        <translation>%1 個文字的陣列, 但欄位只能放 %2 個</translation>
    </message>
    <message>
        <source>an empty path names no file</source>
        <translation>空白的路徑不代表任何檔案</translation>
    </message>
    <message>
        <source>an object</source>
        <translation>物件</translation>
    </message>
    <message>
        <source>an object without &quot;hex&quot;, expected a string or {&quot;hex&quot;: &quot;...&quot;}</source>
        <translation>沒有 &quot;hex&quot; 的物件, 應為字串或 {&quot;hex&quot;: &quot;...&quot;}</translation>
    </message>
    <message>
        <source>answer Yes N times to the question whether to try again (for each terminal)</source>
        <translation>詢問是否再試一次時, 回答「是」N 次 (每台終端機各自計算)</translation>
    </message>
    <message>
        <source>as right after start-up, without applying the template first</source>
        <translation>如同剛開機時, 不先套用範本</translation>
    </message>
    <message>
        <source>bad key &apos;%1&apos; (key codes 1..20 or 51, tN, or @MARK)</source>
        <translation>錯誤的按鍵 &apos;%1&apos; (按鍵代碼 1..20 或 51, tN, 或 @標記)</translation>
    </message>
    <message>
        <source>bad time &apos;%1&apos; (YYYY-MM-DD HH:MM, a date that exists)</source>
        <translation>錯誤的時間 &apos;%1&apos; (YYYY-MM-DD HH:MM, 必須是存在的日期)</translation>
    </message>
    <message>
        <source>barcode settings: %1</source>
        <translation>條碼設定: %1</translation>
    </message>
    <message>
        <source>build a template file from its JSON text</source>
        <translation>由 JSON 文字建立範本檔</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>已取消</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>無法建立 %1: %2</translation>
    </message>
    <message>
        <source>cannot mark the upload delivered in the ledger: %1</source>
        <translation>無法在帳冊中標記上傳已送達: %1</translation>
    </message>
    <message>
        <source>cannot open the ledger %1</source>
        <translation>無法開啟上傳紀錄 %1</translation>
    </message>
    <message>
        <source>cannot read %1</source>
        <translation>無法讀取 %1</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>無法讀取 %1: %2</translation>
    </message>
    <message>
        <source>cannot read the central store: %1</source>
        <translation>無法讀取中央資料庫: %1</translation>
    </message>
    <message>
        <source>cannot read the ledger %1</source>
        <translation>無法讀取上傳紀錄 %1</translation>
    </message>
    <message>
        <source>cannot remove the assignment: %1</source>
        <translation>無法移除指定: %1</translation>
    </message>
    <message>
        <source>cannot set up the central store %1: %2</source>
        <translation>無法建立中央資料庫 %1: %2</translation>
    </message>
    <message>
        <source>cannot store the assignment: %1</source>
        <translation>無法儲存指定: %1</translation>
    </message>
    <message>
        <source>cannot use %1 as the collection folder</source>
        <translation>無法使用 %1 作為收集資料夾</translation>
    </message>
    <message>
        <source>cannot use the central store %1: %2</source>
        <translation>無法使用中央資料庫 %1: %2</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>無法寫入 %1</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>無法寫入 %1: %2</translation>
    </message>
    <message>
        <source>cannot write standard output: %1</source>
        <translation>無法寫入標準輸出: %1</translation>
    </message>
    <message>
        <source>central</source>
        <translation>中央</translation>
    </message>
    <message>
        <source>changed</source>
        <translation>已變更</translation>
    </message>
    <message>
        <source>check</source>
        <translation>檢查</translation>
    </message>
    <message>
        <source>complete</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>cradle probe</source>
        <translation>尋找傳輸座</translation>
    </message>
    <message>
        <source>create or upgrade the central store&apos;s tables</source>
        <translation>建立或升級中央資料庫的資料表</translation>
    </message>
    <message>
        <source>cursor: row %1, column %2</source>
        <translation>游標: 第 %1 列, 第 %2 欄</translation>
    </message>
    <message>
        <source>default</source>
        <translation>預設</translation>
    </message>
    <message>
        <source>deliver the uploads of FOLDER&apos;s ledger that the central store lacks, oldest first</source>
        <translation>將 FOLDER 帳冊中中央資料庫尚缺的上傳送出, 最舊的先送</translation>
    </message>
    <message>
        <source>done</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>closing the port</source>
        <translation>關閉連接埠</translation>
    </message>
    <message>
        <source>download a template to a terminal</source>
        <translation>下載範本到終端機</translation>
    </message>
    <message>
        <source>download lookup data (one record a line) to a terminal</source>
        <translation>下載索引資料 (一行一筆) 到終端機</translation>
    </message>
    <message>
        <source>duplicate</source>
        <translation>可能重複</translation>
    </message>
    <message>
        <source>empty</source>
        <translation>沒有資料</translation>
    </message>
    <message>
        <source>end with a JSON array on standard output, an object per terminal</source>
        <translation>最後在標準輸出印出 JSON 陣列, 每台終端機一個物件</translation>
    </message>
    <message>
        <source>environment</source>
        <translation>環境變數</translation>
    </message>
    <message>
        <source>every field as JSON</source>
        <translation>以 JSON 印出每個欄位</translation>
    </message>
    <message>
        <source>every upload is in the central store (the last delivered at %1)</source>
        <translation>每筆上傳都已在中央資料庫 (最後一筆送達於 %1)</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>failed: %1</source>
        <translation>失敗: %1</translation>
    </message>
    <message>
        <source>file</source>
        <translation>檔案</translation>
    </message>
    <message>
        <source>finished</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>fix the clock at &quot;YYYY-MM-DD HH:MM&quot;</source>
        <translation>把時鐘固定在 &quot;YYYY-MM-DD HH:MM&quot;</translation>
    </message>
    <message>
        <source>form %1: next -&gt; %2, Esc -&gt; %3</source>
        <translation>表單 %1: 下一項 -&gt; %2, 按 Esc 返回 %3</translation>
    </message>
    <message>
        <source>forward every upload to this central PostgreSQL (a libpq URI or connection string; default: station.conf)</source>
        <translation>將每筆上傳轉送到此中央 PostgreSQL (libpq URI 或連線字串; 預設: station.conf)</translation>
    </message>
    <message>
        <source>forwarded %1 (%2, %3 records)</source>
        <translation>已轉送 %1 (%2, %3 筆資料)</translation>
    </message>
    <message>
        <source>found stored but not in the ledger after the station stopped</source>
        <translation>收集站停止後發現已儲存但未記入上傳紀錄</translation>
    </message>
    <message>
        <source>give either --device PATH or --port COMn</source>
        <translation>請指定 --device PATH 或 --port COMn</translation>
    </message>
    <message>
        <source>handshake</source>
        <translation>連線中</translation>
    </message>
    <message>
        <source>how the file is written: auto (UTF-8 when it holds UTF-8 characters, else CP950), utf-8 or cp950</source>
        <translation>檔案的編碼: auto (含有 UTF-8 字元時為 UTF-8, 否則為 CP950), utf-8 或 cp950</translation>
    </message>
    <message>
        <source>image</source>
        <translation>映像檔</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>已中斷</translation>
    </message>
    <message>
        <source>interrupted after %1 records</source>
        <translation>接收 %1 筆資料後中斷</translation>
    </message>
    <message>
        <source>ir-cradle</source>
        <translation>紅外線傳輸座沒有回應</translation>
    </message>
    <message>
        <source>k52cli: the K52 Application Generator&apos;s engine from the command line.</source>
        <translation>k52cli: 在命令列使用 K52 Application Generator 的核心.</translation>
    </message>
    <message>
        <source>keep the central store&apos;s password out of the command line: put it in ~/.pgpass or the file PGPASSFILE names</source>
        <translation>中央資料庫的密碼不可放在命令列上: 請放在 ~/.pgpass 或 PGPASSFILE 指定的檔案</translation>
    </message>
    <message>
        <source>kept from an upload cut off when the station was stopped</source>
        <translation>收集站停止時中斷的上傳所保留的資料</translation>
    </message>
    <message>
        <source>keypad codes 1..20 or 51 (restart), and tN for N ticks of 100 ms, separated by spaces or commas</source>
        <translation>按鍵代碼 1..20 或 51 (重新起動), tN 表示經過 N 個 100 ms, 以空白或逗號分隔</translation>
    </message>
    <message>
        <source>leave CSV cells starting with =, +, -, @, TAB or CR as received (no leading &apos;)</source>
        <translation>以 =, +, -, @, TAB 或 CR 開頭的 CSV 儲存格保持接收時的原樣 (不加前導 &apos;)</translation>
    </message>
    <message>
        <source>let COMn stand for its default device again</source>
        <translation>讓 COMn 恢復代表預設的裝置</translation>
    </message>
    <message>
        <source>line %1, column %2</source>
        <translation>第 %1 行, 第 %2 欄</translation>
    </message>
    <message>
        <source>line-lost</source>
        <translation>連線中斷</translation>
    </message>
    <message>
        <source>line-settings</source>
        <translation>無法設定連接埠</translation>
    </message>
    <message>
        <source>list every station&apos;s uploads in the central store</source>
        <translation>列出中央資料庫中每個工作站的上傳</translation>
    </message>
    <message>
        <source>list serial ports and which device COM1..COM6 stand for</source>
        <translation>列出序列埠, 以及 COM1..COM6 各代表哪個裝置</translation>
    </message>
    <message>
        <source>list the fields two templates differ in (exit 1 when they differ)</source>
        <translation>列出兩個範本不同的欄位 (有不同時結束碼為 1)</translation>
    </message>
    <message>
        <source>list the uploads that collect entered in FOLDER&apos;s ledger</source>
        <translation>列出 collect 記入 FOLDER 上傳紀錄的每次上傳</translation>
    </message>
    <message>
        <source>lookup file %1: record length %2, %3 fields, key field %4</source>
        <translation>索引檔 %1: 每筆資料長度 %2, %3 個欄位, 索引欄 %4</translation>
    </message>
    <message>
        <source>make COMn stand for DEVICE (kept in ports.conf)</source>
        <translation>讓 COMn 代表 DEVICE (記在 ports.conf)</translation>
    </message>
    <message>
        <source>menu %1: &quot;%2&quot;</source>
        <translation>選單 %1: &quot;%2&quot;</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>不存在</translation>
    </message>
    <message>
        <source>missing, the text form starts with &quot;format&quot;: &quot;%1&quot;</source>
        <translation>不存在, 文字格式必須以 &quot;format&quot;: &quot;%1&quot; 開頭</translation>
    </message>
    <message>
        <source>missing, this program reads version %1</source>
        <translation>不存在, 這個程式讀取的是第 %1 版</translation>
    </message>
    <message>
        <source>native</source>
        <translation>內建</translation>
    </message>
    <message>
        <source>no central store: give --central or a central= line in %1/station.conf</source>
        <translation>沒有中央資料庫: 請給 --central 或在 %1/station.conf 寫一行 central=</translation>
    </message>
    <message>
        <source>no progress lines</source>
        <translation>不顯示進度</translation>
    </message>
    <message>
        <source>no terminal answered on %1: check the cable (or that the terminal sits in its cradle) and that the terminal waits in its download screen</source>
        <translation>%1 上沒有終端機回應: 請檢查傳輸線 (或終端機是否放在傳輸座上), 以及終端機是否停在下載畫面</translation>
    </message>
    <message>
        <source>no-reply</source>
        <translation>沒有回應</translation>
    </message>
    <message>
        <source>none</source>
        <translation>無</translation>
    </message>
    <message>
        <source>normalise the forms as the editor would before saving</source>
        <translation>像編輯器儲存前一樣整理表單</translation>
    </message>
    <message>
        <source>not connected</source>
        <translation>未連接</translation>
    </message>
    <message>
        <source>not forwarded %1 (%2): %3</source>
        <translation>未轉送 %1 (%2): %3</translation>
    </message>
    <message>
        <source>note: %1</source>
        <translation>注意: %1</translation>
    </message>
    <message>
        <source>note: %1 in the environment overrides this assignment</source>
        <translation>注意: 環境變數 %1 會取代這個指定</translation>
    </message>
    <message>
        <source>off</source>
        <translation>關</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>正常</translation>
    </message>
    <message>
        <source>on</source>
        <translation>開</translation>
    </message>
    <message>
        <source>one JSON object per event</source>
        <translation>每個事件印出一個 JSON 物件</translation>
    </message>
    <message>
        <source>one JSON object per upload</source>
        <translation>每筆上傳一個 JSON 物件</translation>
    </message>
    <message>
        <source>only the uploads of a station (its id, the id&apos;s last 8 characters, or its host)</source>
        <translation>只列出某個工作站的上傳 (其 id, id 的最後 8 個字元, 或其主機)</translation>
    </message>
    <message>
        <source>only the uploads of terminal NAME</source>
        <translation>只列終端機 NAME 的上傳</translation>
    </message>
    <message>
        <source>only uploads started at DATE or later</source>
        <translation>只列 DATE 或之後開始的上傳</translation>
    </message>
    <message>
        <source>outcome</source>
        <translation>結果</translation>
    </message>
    <message>
        <source>partial</source>
        <translation>不完整</translation>
    </message>
    <message>
        <source>permission denied on %1, which belongs to root: ask the administrator for a udev rule that gives it to the group &apos;%2&apos;, then join that group (sudo usermod -aG %2 $USER) and log in again</source>
        <translation>沒有使用 %1 的權限, 它屬於 root: 請系統管理員以 udev 規則把它交給群組 &apos;%2&apos;, 再加入該群組 (sudo usermod -aG %2 $USER) 後重新登入</translation>
    </message>
    <message>
        <source>permission denied on %1, which belongs to root: ask the administrator for a udev rule that lets you open it</source>
        <translation>沒有使用 %1 的權限, 它屬於 root: 請系統管理員以 udev 規則讓您能使用它</translation>
    </message>
    <message>
        <source>permission denied on %1, which belongs to the group &apos;%2&apos;: join that group (sudo usermod -aG %2 $USER) and log in again</source>
        <translation>沒有使用 %1 的權限, 它屬於群組 &apos;%2&apos;: 請加入該群組 (sudo usermod -aG %2 $USER) 後重新登入</translation>
    </message>
    <message>
        <source>permission denied on %1; ask the administrator for access to it</source>
        <translation>沒有使用 %1 的權限, 請向系統管理員申請</translation>
    </message>
    <message>
        <source>port back</source>
        <translation>連接埠恢復</translation>
    </message>
    <message>
        <source>%1 is stored but has no row in the ledger</source>
        <translation>%1 已儲存但帳冊中沒有它的紀錄</translation>
    </message>
    <message>
        <source>%1 rows wait for the ledger: %2</source>
        <translation>%1 筆紀錄等待寫入帳冊: %2</translation>
    </message>
    <message>
        <source>%1 uploads could not be entered in the ledger; the next start enters them</source>
        <translation>%1 次上傳未能寫入帳冊; 下次啟動時會補上</translation>
    </message>
    <message>
        <source>%1: %2 (nothing stored: the file could not be read)</source>
        <translation>%1: %2 (未儲存任何內容: 無法讀取該檔案)</translation>
    </message>
    <message>
        <source>cut off when the station stopped; %1 records in the file</source>
        <translation>收集站停止時中斷; 檔案中有 %1 筆資料</translation>
    </message>
    <message>
        <source>every waiting row is in the ledger now</source>
        <translation>等待中的紀錄已全部寫入帳冊</translation>
    </message>
    <message>
        <source>only uploads started at DATE or later (YYYY-MM-DD or ISO 8601; local time without an offset)</source>
        <translation>只列出在 DATE 或之後開始的上傳 (YYYY-MM-DD 或 ISO 8601; 未標時差時為本地時間)</translation>
    </message>
    <message>
        <source>port busy</source>
        <translation>連接埠被占用</translation>
    </message>
    <message>
        <source>port free</source>
        <translation>連接埠已釋出</translation>
    </message>
    <message>
        <source>receiving</source>
        <translation>接收中</translation>
    </message>
    <message>
        <source>record %1 may come again in the terminal&apos;s next upload</source>
        <translation>第 %1 筆資料可能會在終端機下次上傳時再傳送一次</translation>
    </message>
    <message>
        <source>station</source>
        <translation>工作站</translation>
    </message>
    <message>
        <source>the central PostgreSQL (a libpq URI or connection string; default: station.conf)</source>
        <translation>中央 PostgreSQL (libpq URI 或連線字串; 預設: station.conf)</translation>
    </message>
    <message>
        <source>the central PostgreSQL that stations forward their uploads to</source>
        <translation>各工作站轉送上傳的中央 PostgreSQL</translation>
    </message>
    <message>
        <source>the central PostgreSQL: a libpq URI or connection string (the password in ~/.pgpass)</source>
        <translation>中央 PostgreSQL: libpq URI 或連線字串 (密碼放在 ~/.pgpass)</translation>
    </message>
    <message>
        <source>the central database has no K52 schema; run k52cli central init</source>
        <translation>中央資料庫沒有 K52 的資料表; 請執行 k52cli central init</translation>
    </message>
    <message>
        <source>the central schema is version %1, older than %2; run k52cli central init</source>
        <translation>中央資料表是第 %1 版, 比 %2 舊; 請執行 k52cli central init</translation>
    </message>
    <message>
        <source>the central store %1 is ready</source>
        <translation>中央資料庫 %1 已就緒</translation>
    </message>
    <message>
        <source>the central store holds another upload under the key %1 (SHA-256 %2)</source>
        <translation>中央資料庫中鍵值 %1 已有另一筆上傳 (SHA-256 %2)</translation>
    </message>
    <message>
        <source>the export</source>
        <translation>匯出檔</translation>
    </message>
    <message>
        <source>the ledger cannot be kept, the station stops: %1</source>
        <translation>無法維持帳冊, 收集站停止: %1</translation>
    </message>
    <message>
        <source>the ledger could not be read for recovery: %1</source>
        <translation>無法讀取帳冊以進行復原: %1</translation>
    </message>
    <message>
        <source>the records stay in %1: %2</source>
        <translation>資料保留在 %1: %2</translation>
    </message>
    <message>
        <source>port gone</source>
        <translation>連接埠消失</translation>
    </message>
    <message>
        <source>port-open</source>
        <translation>無法開啟連接埠</translation>
    </message>
    <message>
        <source>port-settings</source>
        <translation>連接埠設定錯誤</translation>
    </message>
    <message>
        <source>port: COM%1, speed index %2</source>
        <translation>連接埠: COM%1, 速率代碼 %2</translation>
    </message>
    <message>
        <source>present</source>
        <translation>已連接</translation>
    </message>
    <message>
        <source>print received records as a table, JSON rows or CSV</source>
        <translation>以表格, JSON 列或 CSV 印出接收到的資料</translation>
    </message>
    <message>
        <source>print what a template holds</source>
        <translation>印出範本的內容</translation>
    </message>
    <message>
        <source>problem</source>
        <translation>問題</translation>
    </message>
    <message>
        <source>re-read every file; exit 1 when one is missing or changed</source>
        <translation>重新讀取每個檔案, 有檔案不存在或已變更時結束碼為 1</translation>
    </message>
    <message>
        <source>read the keys from FILE (&apos;-&apos; for standard input)</source>
        <translation>從 FILE 讀取按鍵 (&apos;-&apos; 表示標準輸入)</translation>
    </message>
    <message>
        <source>receive the records a terminal collected</source>
        <translation>接收終端機收集的資料</translation>
    </message>
    <message>
        <source>receiving: %1 record</source>
        <translation>接收中: %1 筆資料</translation>
    </message>
    <message>
        <source>receiving: %1 records</source>
        <translation>接收中: %1 筆資料</translation>
    </message>
    <message>
        <source>record %1 may come again next time: the terminal may not have heard it was stored</source>
        <translation>第 %1 筆資料下次可能會再傳送一次: 終端機可能沒收到已儲存的確認</translation>
    </message>
    <message>
        <source>records</source>
        <translation>筆數</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>終端機拒絕</translation>
    </message>
    <message>
        <source>replace OUT when it exists</source>
        <translation>OUT 已存在時取代它</translation>
    </message>
    <message>
        <source>replace the CSV file OUT when it exists</source>
        <translation>CSV 檔 OUT 已存在時取代它</translation>
    </message>
    <message>
        <source>run the simulated terminal and print its display after some keys</source>
        <translation>執行模擬終端機, 按下一些按鍵後印出它的畫面</translation>
    </message>
    <message>
        <source>seconds between requests to a terminal that did not answer (default 5)</source>
        <translation>終端機沒有回應時, 再次詢問前等待的秒數 (預設 5)</translation>
    </message>
    <message>
        <source>send a file without records, which empties the terminal&apos;s lookup data</source>
        <translation>傳送沒有資料的檔案, 這會清除終端機上的索引資料</translation>
    </message>
    <message>
        <source>sending packet %1/%2</source>
        <translation>傳送封包 %1/%2</translation>
    </message>
    <message>
        <source>sending record %1/%2</source>
        <translation>傳送資料 %1/%2</translation>
    </message>
    <message>
        <source>separators: %1, %2</source>
        <translation>分隔符號: %1, %2</translation>
    </message>
    <message>
        <source>split at this template&apos;s field separators (default: the start-up template&apos;s comma)</source>
        <translation>以這個範本的資料欄位分隔符號切開 (預設: 起動範本的逗號)</translation>
    </message>
    <message>
        <source>start: form 1</source>
        <translation>起始: 表單 1</translation>
    </message>
    <message>
        <source>start: menu 1</source>
        <translation>起始: 選單 1</translation>
    </message>
    <message>
        <source>started</source>
        <translation>開始</translation>
    </message>
    <message>
        <source>status line: &quot;%1&quot;</source>
        <translation>狀態列: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>take every upload from the terminals on the ports into FOLDER, with a ledger, until stopped</source>
        <translation>把各連接埠上終端機的每次上傳存入 FOLDER 並記入上傳紀錄, 直到停止</translation>
    </message>
    <message>
        <source>template</source>
        <translation>範本檔</translation>
    </message>
    <message>
        <source>terminal</source>
        <translation>終端機</translation>
    </message>
    <message>
        <source>the JSON does not parse: %1</source>
        <translation>無法解析 JSON: %1</translation>
    </message>
    <message>
        <source>the JSON text</source>
        <translation>JSON 文字</translation>
    </message>
    <message>
        <source>the adapter %1 holds received bytes for up to %2 ms, which slows every reply; to lower it: echo 1 | sudo tee /sys/bus/usb-serial/devices/%1/latency_timer</source>
        <translation>轉接器 %1 會把收到的位元組保留最多 %2 ms, 使每次回應都變慢; 要縮短請執行: echo 1 | sudo tee /sys/bus/usb-serial/devices/%1/latency_timer</translation>
    </message>
    <message>
        <source>the data file</source>
        <translation>資料檔</translation>
    </message>
    <message>
        <source>the data file as received</source>
        <translation>接收到的資料檔</translation>
    </message>
    <message>
        <source>the device refused the line settings (speed, 8N1)</source>
        <translation>裝置不接受線路設定 (速率, 8N1)</translation>
    </message>
    <message>
        <source>the device went away during the exchange (unplugged?)</source>
        <translation>傳輸中裝置消失了 (被拔除了嗎?)</translation>
    </message>
    <message>
        <source>the device, plugged in or not</source>
        <translation>裝置, 不論是否已插上</translation>
    </message>
    <message>
        <source>the differences as a JSON array</source>
        <translation>以 JSON 陣列印出差異</translation>
    </message>
    <message>
        <source>the display and state as JSON</source>
        <translation>以 JSON 印出畫面和狀態</translation>
    </message>
    <message>
        <source>the file to store the records in (a folder with several terminals)</source>
        <translation>存放資料的檔案 (多台終端機時為資料夾)</translation>
    </message>
    <message>
        <source>the folder collect stores into</source>
        <translation>collect 存放資料的資料夾</translation>
    </message>
    <message>
        <source>the image file to write</source>
        <translation>要寫入的映像檔</translation>
    </message>
    <message>
        <source>the key appears twice in one object</source>
        <translation>同一個物件中這個鍵名出現了兩次</translation>
    </message>
    <message>
        <source>the line speed instead of the template&apos;s</source>
        <translation>使用這個傳輸速率, 而不是範本的</translation>
    </message>
    <message>
        <source>the lookup data file</source>
        <translation>索引資料檔</translation>
    </message>
    <message>
        <source>the ports and the COM table as JSON</source>
        <translation>以 JSON 印出序列埠和 COM 對照表</translation>
    </message>
    <message>
        <source>the records as JSON rows</source>
        <translation>以 JSON 列印出資料</translation>
    </message>
    <message>
        <source>the rows as a JSON array</source>
        <translation>以 JSON 陣列印出各列</translation>
    </message>
    <message>
        <source>the serial device or pseudo-terminal to use (as often as needed)</source>
        <translation>要使用的序列裝置或虛擬終端機 (可重複使用)</translation>
    </message>
    <message>
        <source>the template</source>
        <translation>範本</translation>
    </message>
    <message>
        <source>the template as JSON (as show --json prints it)</source>
        <translation>JSON 格式的範本 (如 show --json 所印出)</translation>
    </message>
    <message>
        <source>the template file</source>
        <translation>範本檔</translation>
    </message>
    <message>
        <source>the template file to write</source>
        <translation>要寫入的範本檔</translation>
    </message>
    <message>
        <source>the terminal may hold line %1 of %2 more than once</source>
        <translation>終端機可能重複存了 %2 第 %1 行的資料</translation>
    </message>
    <message>
        <source>through the infrared cradle</source>
        <translation>經由紅外線傳輸座</translation>
    </message>
    <message>
        <source>timeout</source>
        <translation>逾時</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>不明的命令 &apos;%1&apos;</translation>
    </message>
    <message>
        <source>unknown key &quot;%1&quot;</source>
        <translation>不明的鍵名 &quot;%1&quot;</translation>
    </message>
    <message>
        <source>unknown key &quot;%1&quot; (did you mean &quot;%2&quot;?)</source>
        <translation>不明的鍵名 &quot;%1&quot; (是不是要寫 &quot;%2&quot;?)</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>不明的選項 &apos;%1&apos;</translation>
    </message>
    <message>
        <source>usage: k52cli %1</source>
        <translation>用法: k52cli %1</translation>
    </message>
    <message>
        <source>waiting</source>
        <translation>等待中</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>警告: %1</translation>
    </message>
    <message>
        <source>where each terminal&apos;s uploads and ledger.sqlite go</source>
        <translation>各終端機的上傳和 ledger.sqlite 的存放處</translation>
    </message>
    <message>
        <source>write a template&apos;s 10500-byte download image</source>
        <translation>寫出範本的 10500 位元組下載映像檔</translation>
    </message>
    <message>
        <source>write error</source>
        <translation>寫入錯誤</translation>
    </message>
    <message>
        <source>write the records as CSV (UTF-8) to OUT (&apos;-&apos; for standard output)</source>
        <translation>把資料以 CSV (UTF-8) 寫入 OUT (&apos;-&apos; 表示標準輸出)</translation>
    </message>
    <message>
        <source>write the template the desktop program starts with</source>
        <translation>寫出桌面程式起動時的範本</translation>
    </message>
    <message>
        <source>write the template with its run state afterwards</source>
        <translation>之後把範本連同執行狀態寫出</translation>
    </message>
    <message>
        <source>bad expectations in %1: %2</source>
        <translation>%1 中的預期內容有誤: %2</translation>
    </message>
    <message>
        <source>expectations</source>
        <translation>預期內容</translation>
    </message>
    <message>
        <source>expectations hold: %1</source>
        <translation>預期內容都成立: %1</translation>
    </message>
    <message>
        <source>at %1: never reached (no such mark, or fewer keys)</source>
        <translation>在 %1: 沒有到達 (沒有這個標記, 或按鍵較少)</translation>
    </message>
    <message>
        <source>at %1: %2 differs</source>
        <translation>在 %1: %2 不同</translation>
    </message>
    <message>
        <source>expected: %1</source>
        <translation>預期: %1</translation>
    </message>
    <message>
        <source>actual:   %1</source>
        <translation>實際: %1</translation>
    </message>
    <message>
        <source>check the screen against the expectations in E (exit 1 when one fails)</source>
        <translation>以 E 中的預期內容檢查畫面 (有不成立時結束碼為 1)</translation>
    </message>
    <message>
        <source>write the final screen to E as expectations to edit</source>
        <translation>將最後的畫面寫入 E, 作為可編輯的預期內容</translation>
    </message>
    <message>
        <source>  line %1: %2, prompt &quot;%3&quot;, length %4..%5</source>
        <translation>  第 %1 行: %2, 提示 &quot;%3&quot;, 長度 %4..%5</translation>
    </message>
    <message>
        <source>%1 does not fit lookup file %2&apos;s layout; nothing was sent (--force sends it anyway)</source>
        <translation>%1 不符合索引檔 %2 的版面; 沒有傳送 (--force 仍然傳送)</translation>
    </message>
    <message>
        <source>%1 fills lookup file %2 (%3-byte records, %4 fields): %5 records</source>
        <translation>%1 填入索引檔 %2 (每筆 %3 位元組, %4 個欄位): %5 筆</translation>
    </message>
    <message>
        <source>%1 records do not fit in all</source>
        <translation>共 %1 筆不符合</translation>
    </message>
    <message>
        <source>compare DATA with a lookup file&apos;s layout in this template first</source>
        <translation>先以此範本中索引檔的版面檢查 DATA</translation>
    </message>
    <message>
        <source>download-lookup</source>
        <translation>download-lookup</translation>
    </message>
    <message>
        <source>line %1: %2 bytes, not %3: &quot;%4&quot;</source>
        <translation>第 %1 行: %2 位元組, 不是 %3: &quot;%4&quot;</translation>
    </message>
    <message>
        <source>line %1: its key field is blank: &quot;%2&quot;</source>
        <translation>第 %1 行: 索引欄是空白: &quot;%2&quot;</translation>
    </message>
    <message>
        <source>lookup file %1 has no layout: its record length or field count is 0</source>
        <translation>索引檔 %1 沒有版面: 每筆資料長度或欄位數目為 0</translation>
    </message>
    <message>
        <source>lookup file %1&apos;s key field is not one of its fields within its %2-byte records</source>
        <translation>索引檔 %1 的索引欄不在其 %2 位元組記錄內的欄位中</translation>
    </message>
    <message>
        <source>password asked for: %1</source>
        <translation>要求密碼的項目: %1</translation>
    </message>
    <message>
        <source>password: not set</source>
        <translation>密碼: 未設定</translation>
    </message>
    <message>
        <source>password: set</source>
        <translation>密碼: 已設定</translation>
    </message>
    <message>
        <source>send DATA even when it does not fit the layout</source>
        <translation>DATA 不符合版面時仍然傳送</translation>
    </message>
    <message>
        <source>sending it anyway (--force)</source>
        <translation>仍然傳送 (--force)</translation>
    </message>
    <message>
        <source>start-up: backlight %1, deletion %2, record count prompt %3</source>
        <translation>起動: 背光 %1, 刪除資料 %2, 資料筆數提示 %3</translation>
    </message>
    <message>
        <source>start-up: upload port %1, download port %2, speed index %3</source>
        <translation>起動: 上傳埠 %1, 下載埠 %2, 速度代碼 %3</translation>
    </message>
    <message>
        <source>the lookup file DATA fills (1 to 3)</source>
        <translation>DATA 填入的索引檔 (1 到 3)</translation>
    </message>
    <message>
        <source>%1 records of %2 uploads written to %3</source>
        <translation>%2 次上傳的 %1 筆資料已寫入 %3</translation>
    </message>
    <message>
        <source>%1 takes a date such as 2024-05-01 or 2024-05-01T08:00+08:00</source>
        <translation>%1 需要日期, 例如 2024-05-01 或 2024-05-01T08:00+08:00</translation>
    </message>
    <message>
        <source>%1: %2 (its records are not in the export)</source>
        <translation>%1: %2 (其資料未匯出)</translation>
    </message>
    <message>
        <source>%1 bytes free in %2</source>
        <translation>%2 剩餘 %1 位元組</translation>
    </message>
    <message>
        <source>%1 is served by another station (%2)</source>
        <translation>%1 已由另一個收集站服務 (%2)</translation>
    </message>
    <message>
        <source>--silent-after takes a time such as 12h, 90m or 0</source>
        <translation>--silent-after 需要時間，例如 12h、90m 或 0</translation>
    </message>
    <message>
        <source>a metrics file in the Prometheus text format</source>
        <translation>Prometheus 文字格式的指標檔</translation>
    </message>
    <message>
        <source>a terminal not heard from this long is reported silent (default 12h; 0: never)</source>
        <translation>終端機超過這段時間沒有回應即報告為沉默 (預設 12h；0: 永不)</translation>
    </message>
    <message>
        <source>back</source>
        <translation>恢復</translation>
    </message>
    <message>
        <source>disk-low</source>
        <translation>磁碟空間不足</translation>
    </message>
    <message>
        <source>disk-ok</source>
        <translation>磁碟空間恢復</translation>
    </message>
    <message>
        <source>not heard from since %1</source>
        <translation>自 %1 起沒有回應</translation>
    </message>
    <message>
        <source>served by another station (%1); left alone</source>
        <translation>已由另一個收集站服務 (%1)；不處理</translation>
    </message>
    <message>
        <source>serving %1</source>
        <translation>服務 %1</translation>
    </message>
    <message>
        <source>serving %1 ports</source>
        <translation>服務 %1 個傳輸埠</translation>
    </message>
    <message>
        <source>serving every port found (USB and by-id), and those plugged in later</source>
        <translation>服務找到的每個傳輸埠 (USB 與 by-id)，以及之後插入的</translation>
    </message>
    <message>
        <source>silent</source>
        <translation>沉默</translation>
    </message>
    <message>
        <source>stopped: %1 uploads, %2 records</source>
        <translation>已停止: %1 次上傳, %2 筆記錄</translation>
    </message>
    <message>
        <source>the port&apos;s lock cannot be taken: %1</source>
        <translation>無法取得傳輸埠的鎖: %1</translation>
    </message>
    <message>
        <source>the status file, replaced on every event (default FOLDER/status.json)</source>
        <translation>狀態檔，每個事件時更新 (預設 FOLDER/status.json)</translation>
    </message>
    <message>
        <source>pending</source>
        <translation>待處理</translation>
    </message>
    <message>
        <source>delivered</source>
        <translation>已送達</translation>
    </message>
    <message>
        <source>--hook-timeout takes 1 to 3600 seconds</source>
        <translation>--hook-timeout 需要 1 到 3600 秒</translation>
    </message>
    <message>
        <source>OUT must end in .csv, .xlsx or .json</source>
        <translation>OUT 的副檔名必須是 .csv, .xlsx 或 .json</translation>
    </message>
    <message>
        <source>a test of the hook</source>
        <translation>掛勾程式的測試</translation>
    </message>
    <message>
        <source>cannot create %1</source>
        <translation>無法建立 %1</translation>
    </message>
    <message>
        <source>cannot run %1: %2</source>
        <translation>無法執行 %1: %2</translation>
    </message>
    <message>
        <source>cannot write the ledger %1</source>
        <translation>無法寫入上傳紀錄 %1</translation>
    </message>
    <message>
        <source>ended by a signal</source>
        <translation>被訊號結束</translation>
    </message>
    <message>
        <source>exit status %1</source>
        <translation>結束碼 %1</translation>
    </message>
    <message>
        <source>export</source>
        <translation>export</translation>
    </message>
    <message>
        <source>hook</source>
        <translation>掛勾程式</translation>
    </message>
    <message>
        <source>hook %1 (%2 %3): %4 after %5 ms</source>
        <translation>掛勾程式 %1 (%2 %3): %5 毫秒後%4</translation>
    </message>
    <message>
        <source>list the hooks' runs for FOLDER&apos;s uploads and events, or run them again</source>
        <translation>列出 FOLDER 各上傳與事件的掛勾程式執行, 或再執行一次</translation>
    </message>
    <message>
        <source>no UTF-8 byte-order mark at the start of a CSV file</source>
        <translation>CSV 檔開頭不加 UTF-8 位元組順序標記</translation>
    </message>
    <message>
        <source>no delivery to run again for %1</source>
        <translation>%1 沒有可再執行的遞送</translation>
    </message>
    <message>
        <source>no hooks to test: give --on-upload or --on-event, or fill %1</source>
        <translation>沒有可測試的掛勾程式: 請給 --on-upload 或 --on-event, 或在 %1 放入程式</translation>
    </message>
    <message>
        <source>only deliveries in STATE (pending, delivered or failed)</source>
        <translation>只列出狀態為 STATE 的遞送 (pending, delivered 或 failed)</translation>
    </message>
    <message>
        <source>only the uploads of terminal NAME (its folder, its port&apos;s given name or its device)</source>
        <translation>只列出終端機 NAME 的上傳 (其資料夾, 連接埠的名稱或裝置)</translation>
    </message>
    <message>
        <source>only uploads started before DATE</source>
        <translation>只列出 DATE 之前開始的上傳</translation>
    </message>
    <message>
        <source>only uploads with this outcome (complete, partial, interrupted, empty, receiving; as often as needed)</source>
        <translation>只列出這種結果的上傳 (complete, partial, interrupted, empty, receiving; 可重複)</translation>
    </message>
    <message>
        <source>run PROGRAM after each upload, the upload in its environment and as JSON on its input (as often as needed; FOLDER/hooks.d and /etc/k52/hooks.d add more)</source>
        <translation>每次上傳後執行 PROGRAM, 上傳內容放在環境變數中並以 JSON 送到其輸入 (可重複; FOLDER/hooks.d 與 /etc/k52/hooks.d 可再加)</translation>
    </message>
    <message>
        <source>run PROGRAM on every other event (port busy, port gone, problem, ...), likewise</source>
        <translation>其他每個事件 (連接埠忙碌, 連接埠消失, 問題, ...) 同樣執行 PROGRAM</translation>
    </message>
    <message>
        <source>run each hook once with a made-up upload, say how it ended, and exit</source>
        <translation>以一次虛構的上傳執行每個掛勾程式一次, 說明結果後結束</translation>
    </message>
    <message>
        <source>run the hooks of upload KEY again, or with 'all&apos; every failed delivery</source>
        <translation>再執行上傳 KEY 的掛勾程式, 或以 'all&apos; 再執行每個失敗的遞送</translation>
    </message>
    <message>
        <source>seconds a hook may run before it is ended (default 60)</source>
        <translation>掛勾程式可執行的秒數, 超過即結束 (預設 60)</translation>
    </message>
    <message>
        <source>seconds a hook may run before it is ended and tried again later (default 60)</source>
        <translation>掛勾程式可執行的秒數, 超過即結束並稍後再試 (預設 60)</translation>
    </message>
    <message>
        <source>state</source>
        <translation>狀態</translation>
    </message>
    <message>
        <source>test upload</source>
        <translation>測試上傳</translation>
    </message>
    <message>
        <source>the deliveries as a JSON array</source>
        <translation>以 JSON 陣列印出遞送</translation>
    </message>
    <message>
        <source>the table to write: OUT.csv, OUT.xlsx or OUT.json</source>
        <translation>要寫出的表格: OUT.csv, OUT.xlsx 或 OUT.json</translation>
    </message>
    <message>
        <source>timed out after %1 s</source>
        <translation>%1 秒後逾時</translation>
    </message>
    <message>
        <source>updated</source>
        <translation>更新時間</translation>
    </message>
    <message>
        <source>upload or event</source>
        <translation>上傳或事件</translation>
    </message>
    <message>
        <source>why</source>
        <translation>原因</translation>
    </message>
    <message>
        <source>write every record of FOLDER&apos;s uploads in a window of time as one CSV, XLSX or JSON table</source>
        <translation>把 FOLDER 某段時間內各次上傳的每筆資料寫成一個 CSV, XLSX 或 JSON 表格</translation>
    </message>
    <message>
        <source>%1: read</source>
        <translation>%1: 應讀取</translation>
    </message>
    <message>
        <source>%1: refused (%2)</source>
        <translation>%1: 應拒絕 (%2)</translation>
    </message>
    <message>
        <source>Add-ons read</source>
        <translation>讀取的附加碼</translation>
    </message>
    <message>
        <source>Approved by</source>
        <translation>核准</translation>
    </message>
    <message>
        <source>Backlight</source>
        <translation>螢幕背光</translation>
    </message>
    <message>
        <source>Barcode settings</source>
        <translation>條碼設定</translation>
    </message>
    <message>
        <source>Bytes</source>
        <translation>位元組</translation>
    </message>
    <message>
        <source>Code 39 check digit verified</source>
        <translation>Code 39 檢驗檢查碼</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>資料</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Date stamp</source>
        <translation>日期戳記</translation>
    </message>
    <message>
        <source>Deleting data</source>
        <translation>刪除資料</translation>
    </message>
    <message>
        <source>Design sheet: %1</source>
        <translation>設計表: %1</translation>
    </message>
    <message>
        <source>Designed by</source>
        <translation>設計</translation>
    </message>
    <message>
        <source>Download port</source>
        <translation>下載埠</translation>
    </message>
    <message>
        <source>Enter on the last line</source>
        <translation>最後一行按 Enter</translation>
    </message>
    <message>
        <source>Field</source>
        <translation>欄位</translation>
    </message>
    <message>
        <source>Field separators</source>
        <translation>欄位分隔字元</translation>
    </message>
    <message>
        <source>Form %1</source>
        <translation>表單 %1</translation>
    </message>
    <message>
        <source>Forms</source>
        <translation>表單</translation>
    </message>
    <message>
        <source>From</source>
        <translation>從</translation>
    </message>
    <message>
        <source>Goes to</source>
        <translation>前往</translation>
    </message>
    <message>
        <source>Initial</source>
        <translation>預設值</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>輸入</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>按鍵</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>長度</translation>
    </message>
    <message>
        <source>Lengths</source>
        <translation>長度</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>行</translation>
    </message>
    <message>
        <source>Lookup field</source>
        <translation>索引欄位</translation>
    </message>
    <message>
        <source>Lookup file</source>
        <translation>索引檔</translation>
    </message>
    <message>
        <source>Lookup file %1: %2-byte records</source>
        <translation>索引檔 %1: 每筆 %2 位元組</translation>
    </message>
    <message>
        <source>Lookup files</source>
        <translation>索引檔</translation>
    </message>
    <message>
        <source>Menu %1: %2</source>
        <translation>選單 %1: %2</translation>
    </message>
    <message>
        <source>Menus</source>
        <translation>選單</translation>
    </message>
    <message>
        <source>Navigation</source>
        <translation>流程</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一步</translation>
    </message>
    <message>
        <source>OUT must end in .html or .pdf</source>
        <translation>OUT 的副檔名須為 .html 或 .pdf</translation>
    </message>
    <message>
        <source>OUT must end in .pdf or .svg</source>
        <translation>OUT 的副檔名須為 .pdf 或 .svg</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>選項</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密碼</translation>
    </message>
    <message>
        <source>Password asked for</source>
        <translation>須輸入密碼的功能</translation>
    </message>
    <message>
        <source>Prefix</source>
        <translation>前置碼</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>讀取</translation>
    </message>
    <message>
        <source>Read in reverse</source>
        <translation>讀取反相條碼</translation>
    </message>
    <message>
        <source>Record count prompt</source>
        <translation>資料筆數提示</translation>
    </message>
    <message>
        <source>Records are fixed-width: each field is cut by its start and length in bytes.</source>
        <translation>每筆資料長度固定: 各欄位依起始位置及長度 (位元組) 切開。</translation>
    </message>
    <message>
        <source>Scan mode</source>
        <translation>掃瞄模式</translation>
    </message>
    <message>
        <source>Scan time-out (seconds)</source>
        <translation>掃瞄時限 (秒)</translation>
    </message>
    <message>
        <source>Start-up</source>
        <translation>開機設定</translation>
    </message>
    <message>
        <source>Starts with</source>
        <translation>開機進入</translation>
    </message>
    <message>
        <source>Suffix</source>
        <translation>後置碼</translation>
    </message>
    <message>
        <source>Symbology</source>
        <translation>條碼種類</translation>
    </message>
    <message>
        <source>Test labels: %1</source>
        <translation>測試條碼: %1</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>文字</translation>
    </message>
    <message>
        <source>Time stamp</source>
        <translation>時間戳記</translation>
    </message>
    <message>
        <source>Transfer speed</source>
        <translation>傳輸速度</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>類型</translation>
    </message>
    <message>
        <source>Upload port</source>
        <translation>上傳埠</translation>
    </message>
    <message>
        <source>exactly %1 or %2</source>
        <translation>%1 或 %2</translation>
    </message>
    <message>
        <source>key</source>
        <translation>索引鍵</translation>
    </message>
    <message>
        <source>Key field</source>
        <translation>索引鍵</translation>
    </message>
    <message>
        <source>labels</source>
        <translation>測試條碼</translation>
    </message>
    <message>
        <source>no</source>
        <translation>否</translation>
    </message>
    <message>
        <source>no check digit</source>
        <translation>缺檢查碼</translation>
    </message>
    <message>
        <source>not one of its lengths</source>
        <translation>長度不符</translation>
    </message>
    <message>
        <source>not set</source>
        <translation>未設定</translation>
    </message>
    <message>
        <source>nothing</source>
        <translation>無</translation>
    </message>
    <message>
        <source>set</source>
        <translation>已設定</translation>
    </message>
    <message>
        <source>sheet</source>
        <translation>設計表</translation>
    </message>
    <message>
        <source>symbology off</source>
        <translation>未啟用此種條碼</translation>
    </message>
    <message>
        <source>the label sheet to write (.pdf or .svg)</source>
        <translation>要寫入的測試條碼檔 (.pdf 或 .svg)</translation>
    </message>
    <message>
        <source>the sheet to write (.html or .pdf)</source>
        <translation>要寫入的設計表 (.html 或 .pdf)</translation>
    </message>
    <message>
        <source>title not shown</source>
        <translation>不顯示標題</translation>
    </message>
    <message>
        <source>title shown</source>
        <translation>顯示標題</translation>
    </message>
    <message>
        <source>too long</source>
        <translation>太長</translation>
    </message>
    <message>
        <source>too short</source>
        <translation>太短</translation>
    </message>
    <message>
        <source>write a template&apos;s design sheet, for print or sign-off</source>
        <translation>寫出程式的設計表, 供列印或簽核</translation>
    </message>
    <message>
        <source>write test labels for a template&apos;s barcode settings: ones to read, ones to refuse</source>
        <translation>依程式的條碼設定寫出測試條碼: 應讀取的及應拒絕的</translation>
    </message>
    <message>
        <source>wrong check digit</source>
        <translation>檢查碼錯誤</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>store each record&apos;s fields cut at this template&apos;s separators (default: station.conf)</source>
        <translation>依此範本的欄位分隔字元切開每筆資料的欄位一併存入 (預設: station.conf)</translation>
    </message>
    <message>
        <source>write the central store&apos;s records as one CSV, XLSX or JSON table</source>
        <translation>將中央資料庫的資料寫成一個 CSV, XLSX 或 JSON 表格</translation>
    </message>
</context>
</TS>
