<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_TW">
<context>
    <name>App</name>
    <message>
        <source>檔案格式錯誤!!</source>
        <translation>The file format is wrong!</translation>
    </message>
    <message>
        <source>錯誤</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>無法儲存檔案!!</source>
        <translation>Cannot save the file!</translation>
    </message>
    <message>
        <source>檔案名稱過長!!</source>
        <translation>The file name is too long!</translation>
    </message>
</context>
<context>
    <name>DataViewer</name>
    <message>
        <source>錯誤</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>無法開啟檔案!!</source>
        <translation>Cannot open the file!</translation>
    </message>
    <message>
        <source>寫入檔案失敗!!</source>
        <translation>Writing the file failed!</translation>
    </message>
</context>
<context>
    <name>Editor</name>
    <message>
        <source>不重複</source>
        <translation>No repeat</translation>
    </message>
    <message>
        <source>重複一次</source>
        <translation>Repeat once</translation>
    </message>
    <message>
        <source>重複二次</source>
        <translation>Repeat twice</translation>
    </message>
    <message>
        <source>重複三次</source>
        <translation>Repeat three times</translation>
    </message>
    <message>
        <source>表單</source>
        <translation>Forms</translation>
    </message>
    <message>
        <source>選單</source>
        <translation>Menus</translation>
    </message>
    <message>
        <source>索引檔</source>
        <translation>Lookup Files</translation>
    </message>
    <message>
        <source>條碼設定</source>
        <translation>Barcodes</translation>
    </message>
    <message>
        <source>起動</source>
        <translation>Start-up</translation>
    </message>
    <message>
        <source>無</source>
        <translation>None</translation>
    </message>
    <message>
        <source>第一索引檔</source>
        <translation>Lookup file 1</translation>
    </message>
    <message>
        <source>第二索引檔</source>
        <translation>Lookup file 2</translation>
    </message>
    <message>
        <source>第三索引檔</source>
        <translation>Lookup file 3</translation>
    </message>
    <message>
        <source>存入資料檔</source>
        <translation>Store in data file</translation>
    </message>
    <message>
        <source>更新索引檔</source>
        <translation>Update lookup file</translation>
    </message>
    <message>
        <source>存入並更新</source>
        <translation>Store and update</translation>
    </message>
    <message>
        <source>往下傳遞</source>
        <translation>Pass down</translation>
    </message>
    <message>
        <source>字串</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>數字</source>
        <translation>Digits</translation>
    </message>
    <message>
        <source>實數</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>英文字母</source>
        <translation>Letters</translation>
    </message>
    <message>
        <source>固定資料</source>
        <translation>Fixed data</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Prompt</translation>
    </message>
    <message>
        <source>參考索引檔</source>
        <translation>Look up</translation>
    </message>
    <message>
        <source>延續上一行</source>
        <translation>Continue line above</translation>
    </message>
    <message>
        <source>掃瞄器</source>
        <translation>Scanner</translation>
    </message>
    <message>
        <source>鍵  盤</source>
        <translation>Keypad</translation>
    </message>
    <message>
        <source>皆  可</source>
        <translation>Either</translation>
    </message>
    <message>
        <source>欄位 </source>
        <translation>Field </translation>
    </message>
    <message>
        <source>表單  </source>
        <translation>Form </translation>
    </message>
    <message>
        <source>選單  </source>
        <translation>Menu </translation>
    </message>
    <message>
        <source>表單 1</source>
        <translation>Form 1</translation>
    </message>
    <message>
        <source>選單 1</source>
        <translation>Menu 1</translation>
    </message>
    <message>
        <source>主選單</source>
        <translation>Main menu</translation>
    </message>
</context>
<context>
    <name>EditorPages</name>
    <message>
        <source>確定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>表單代號 :</source>
        <translation>Form :</translation>
    </message>
    <message>
        <source>按 Esc 返回 :</source>
        <translation>Esc goes to :</translation>
    </message>
    <message>
        <source>下 一 項 :</source>
        <translation>Next :</translation>
    </message>
    <message>
        <source>日期戳記 :</source>
        <translation>Date stamp :</translation>
    </message>
    <message>
        <source>時間戳記 :</source>
        <translation>Time stamp :</translation>
    </message>
    <message>
        <source>索引檔 :</source>
        <translation>Lookup file :</translation>
    </message>
    <message>
        <source>資  料 :</source>
        <translation>Data :</translation>
    </message>
    <message>
        <source>資料型態</source>
        <translation>Data type</translation>
    </message>
    <message>
        <source>提  示</source>
        <translation>Prompt</translation>
    </message>
    <message>
        <source>輸入來源</source>
        <translation>Input from</translation>
    </message>
    <message>
        <source>最小長度</source>
        <translation>Min. length</translation>
    </message>
    <message>
        <source>最大長度</source>
        <translation>Max. length</translation>
    </message>
    <message>
        <source>索  引</source>
        <translation>Lookup</translation>
    </message>
    <message>
        <source>資料屬性</source>
        <translation>Field Attributes</translation>
    </message>
    <message>
        <source>進階...</source>
        <translation>More...</translation>
    </message>
    <message>
        <source>選單代號 :</source>
        <translation>Menu :</translation>
    </message>
    <message>
        <source>按 Esc 返回:</source>
        <translation>Esc goes to:</translation>
    </message>
    <message>
        <source>顯示選單名稱 :</source>
        <translation>Show menu title :</translation>
    </message>
    <message>
        <source>選項名稱</source>
        <translation>Option name</translation>
    </message>
    <message>
        <source>下一項 :</source>
        <translation>Next :</translation>
    </message>
    <message>
        <source>資料</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>儲存選單名稱</source>
        <translation>Store menu title</translation>
    </message>
    <message>
        <source>儲存選擇項目</source>
        <translation>Store selected option</translation>
    </message>
    <message>
        <source>往下傳遞</source>
        <translation>Pass down</translation>
    </message>
    <message>
        <source>檔名 :</source>
        <translation>File :</translation>
    </message>
    <message>
        <source>每筆資料長度 :</source>
        <translation>Record length :</translation>
    </message>
    <message>
        <source>欄位數目 :</source>
        <translation>Number of fields :</translation>
    </message>
    <message>
        <source>欄位</source>
        <translation>Fields</translation>
    </message>
    <message>
        <source>起始位置</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>長  度</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>索引欄</source>
        <translation>Key field</translation>
    </message>
    <message>
        <source>設定參數  ...</source>
        <translation>Options...</translation>
    </message>
    <message>
        <source>掃瞄模式 :</source>
        <translation>Scan mode :</translation>
    </message>
    <message>
        <source>重複讀取次數 :</source>
        <translation>Repeat reads :</translation>
    </message>
    <message>
        <source>掃瞄時限 :</source>
        <translation>Scan time limit :</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>讀取反相條碼</source>
        <translation>Read inverted barcodes</translation>
    </message>
    <message>
        <source>程式起始位置 :</source>
        <translation>Start with :</translation>
    </message>
    <message>
        <source>資料欄位分隔符號 :</source>
        <translation>Field separators :</translation>
    </message>
    <message>
        <source>數值 :</source>
        <translation>Value :</translation>
    </message>
    <message>
        <source>符號 :</source>
        <translation>Character :</translation>
    </message>
    <message>
        <source>檢查安全密碼 (10 位數以內) :</source>
        <translation>Password (up to 10 characters) :</translation>
    </message>
    <message>
        <source>系統設定</source>
        <translation>System settings</translation>
    </message>
    <message>
        <source>編輯資料</source>
        <translation>Edit data</translation>
    </message>
    <message>
        <source>刪除資料</source>
        <translation>Delete data</translation>
    </message>
    <message>
        <source>設定日期時間</source>
        <translation>Set date and time</translation>
    </message>
    <message>
        <source>下載系統程式</source>
        <translation>Download system program</translation>
    </message>
    <message>
        <source>下載索引檔案</source>
        <translation>Download lookup files</translation>
    </message>
    <message>
        <source>檢查安全密碼的項目</source>
        <translation>Password required for</translation>
    </message>
    <message>
        <source>設定上傳埠</source>
        <translation>Set upload port</translation>
    </message>
    <message>
        <source>設定下載埠</source>
        <translation>Set download port</translation>
    </message>
    <message>
        <source>設定傳輸速度</source>
        <translation>Set line speed</translation>
    </message>
    <message>
        <source>設定螢幕背光</source>
        <translation>Set backlight</translation>
    </message>
    <message>
        <source>設定刪除資料</source>
        <translation>Set data deletion</translation>
    </message>
    <message>
        <source>資料筆數提示</source>
        <translation>Record count reminder</translation>
    </message>
    <message>
        <source>檢查安全密碼項目和系統設定初始值</source>
        <translation>Password required for, and initial system settings</translation>
    </message>
    <message>
        <source>表單 #</source>
        <translation>Form #</translation>
    </message>
    <message>
        <source>行 #</source>
        <translation>Line #</translation>
    </message>
    <message>
        <source>資料欄位屬性</source>
        <translation>Data field</translation>
    </message>
    <message>
        <source>固定長度</source>
        <translation>Fixed length</translation>
    </message>
    <message>
        <source>向左靠齊</source>
        <translation>Align left</translation>
    </message>
    <message>
        <source>向右靠齊</source>
        <translation>Align right</translation>
    </message>
    <message>
        <source>設定初始值</source>
        <translation>Initial value</translation>
    </message>
    <message>
        <source>加入前置碼</source>
        <translation>Add prefix</translation>
    </message>
    <message>
        <source>加入後置碼</source>
        <translation>Add suffix</translation>
    </message>
    <message>
        <source>條碼閱讀設定</source>
        <translation>Barcode reading</translation>
    </message>
    <message>
        <source>截取部分條碼</source>
        <translation>Take part of the barcode</translation>
    </message>
    <message>
        <source>起始位置 :</source>
        <translation>Start :</translation>
    </message>
    <message>
        <source>最大長度 :</source>
        <translation>Max. length :</translation>
    </message>
    <message>
        <source>檢驗前置碼</source>
        <translation>Check prefix</translation>
    </message>
    <message>
        <source>自動換行</source>
        <translation>Advance automatically</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>說明</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>使用說明</source>
        <translation>Guide</translation>
    </message>
    <message>
        <source>範本檔格式</source>
        <translation>Template format</translation>
    </message>
    <message>
        <source>如何開始</source>
        <translation>How to begin</translation>
    </message>
    <message>
        <source>在終端機上按滑鼠右鍵 (或按 PWR 鍵) 開啟功能表; Ctrl+E 編輯程式</source>
        <translation>Right-click the terminal, or press PWR, for the menu; Ctrl+E edits</translation>
    </message>
    <message>
        <source>知道了</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>Link</name>
    <message>
        <source>完成 : 共接收 %1 筆資料. 
立即瀏覽接收到的資料嗎??</source>
        <translation>Done: %1 records received.
View the received data now?</translation>
    </message>
    <message>
        <source>傳輸埠設定無效 (連接埠代碼 %1, 速率代碼 %2), 請重新設定傳輸埠!!</source>
        <translation>The port settings are not valid (port code %1, speed code %2); please set the port again!</translation>
    </message>
    <message>
        <source>無法開啟檔案!! (不是一般檔案)</source>
        <translation>Cannot open the file! (not a regular file)</translation>
    </message>
    <message>
        <source>接收中斷, 已接收的 %1 筆資料已保存在檔案中.</source>
        <translation>Receiving was interrupted; the %1 records received are saved in the file.</translation>
    </message>
    <message>
        <source> 第 %1 筆資料下次可能會再傳送一次.</source>
        <translation> Record %1 may be sent again next time.</translation>
    </message>
    <message>
        <source>寫入檔案失敗!!</source>
        <translation>Writing the file failed!</translation>
    </message>
    <message>
        <source>寫入檔案失敗!! 先前接收的 %1 筆資料已保存在檔案中.</source>
        <translation>Writing the file failed! The %1 records received before are saved in the file.</translation>
    </message>
    <message>
        <source>終端機可能重複存了第 %1 行的資料 (未及時回應後重送), 請檢查終端機上的資料!!</source>
        <translation>The terminal may have stored line %1 twice (sent again after a late answer); please check the data on the terminal!</translation>
    </message>
    <message>
        <source>錯誤</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>連接埠無法打開!!</source>
        <translation>Cannot open the port!</translation>
    </message>
    <message>
        <source>設置紅外線裝置失敗!!</source>
        <translation>Setting up the infrared cradle failed!</translation>
    </message>
    <message>
        <source>設置連接埠失敗!!</source>
        <translation>Setting up the port failed!</translation>
    </message>
    <message>
        <source>無法打開通訊埠!!</source>
        <translation>Cannot open the communication port!</translation>
    </message>
    <message>
        <source>無法設定紅外線裝置!!</source>
        <translation>Cannot set up the infrared cradle!</translation>
    </message>
    <message>
        <source>無法開啟檔案!!</source>
        <translation>Cannot open the file!</translation>
    </message>
    <message>
        <source>終端機尚未就緒!!</source>
        <translation>The terminal is not ready!</translation>
    </message>
    <message>
        <source>下載失敗!!</source>
        <translation>Download failed!</translation>
    </message>
    <message>
        <source>下載失敗,再試一次嗎??</source>
        <translation>Download failed. Try again?</translation>
    </message>
    <message>
        <source>下載完畢!!</source>
        <translation>Download complete!</translation>
    </message>
    <message>
        <source>下載程式</source>
        <translation>Download Program</translation>
    </message>
    <message>
        <source>下載中...</source>
        <translation>Downloading...</translation>
    </message>
    <message>
        <source>開啟 / 新建檔案失敗!!</source>
        <translation>Opening / creating the file failed!</translation>
    </message>
    <message>
        <source>逾時!!</source>
        <translation>Timed out!</translation>
    </message>
    <message>
        <source>通訊埠無法連通!!</source>
        <translation>No connection on the port!</translation>
    </message>
    <message>
        <source>通訊埠已中斷 (傳輸線或轉接器被拔除?)!!</source>
        <translation>The port went away (cable or adapter unplugged?)!</translation>
    </message>
    <message>
        <source>接收資料</source>
        <translation>Receive Data</translation>
    </message>
    <message>
        <source>沒有接收到任何資料!!</source>
        <translation>No data was received!</translation>
    </message>
    <message>
        <source>下載已取消!!</source>
        <translation>Download cancelled!</translation>
    </message>
    <message>
        <source>先前中斷的接收留下了檔案 %1, 其中有 %2 筆終端機已確認送出的資料.</source>
        <translation>An earlier receive that was cut off left the file %1, holding %2 records the terminal was told are stored.</translation>
    </message>
    <message>
        <source>資料連續錯誤, 接收中斷!!</source>
        <translation>Too many errors in a row; receiving stopped!</translation>
    </message>
    <message>
        <source>檔案第 %1 行的資料超過 %2 個位元組, 無法下載!!</source>
        <translation>Line %1 of the file holds more than %2 bytes; cannot download!</translation>
    </message>
    <message>
        <source>檔案第 %1 行第 %2 個字元「%3」(%4) 無法轉換成 CP950 編碼, 無法下載!!</source>
        <translation>Character %2 of line %1 of the file, &quot;%3&quot; (%4), has no CP950 code; cannot download!</translation>
    </message>
    <message>
        <source>檔案第 %1 行第 %2 個字元不是有效的 UTF-8 編碼 (位元組 %3), 無法下載!!</source>
        <translation>Character %2 of line %1 of the file is not valid UTF-8 (byte %3); cannot download!</translation>
    </message>
    <message>
        <source>檔案第 %1 行第 %2 個字元不是有效的 UTF-16 編碼 (%3), 無法下載!!</source>
        <translation>Character %2 of line %1 of the file is not valid UTF-16 (%3); cannot download!</translation>
    </message>
    <message>
        <source>檔案第 %1 行第 %2 個字元是 NUL 字元, 這不是純文字檔 (可能是沒有 BOM 的 UTF-16 檔案), 無法下載!!</source>
        <translation>Character %2 of line %1 of the file is a NUL; this is not a plain text file (perhaps UTF-16 without a byte-order mark); cannot download!</translation>
    </message>
    <message>
        <source>檔案中沒有任何資料, 下載它會清除終端機上原有的索引檔資料, 因此不予下載!!</source>
        <translation>The file holds no records; downloading it would erase the lookup data on the terminal, so it is not downloaded!</translation>
    </message>
    <message>
        <source>%1
檔案: %2</source>
        <translation>%1
File: %2</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>無法開啟檔案 %1 : %2</source>
        <translation>Cannot open the file %1 : %2</translation>
    </message>
    <message>
        <source>傳輸尚未結束, 要停止傳輸並結束程式嗎??</source>
        <translation>A transfer is still running. Stop it and quit?</translation>
    </message>
    <message>
        <source>無法寫入檔案 %1 : %2</source>
        <translation>Cannot write the file %1: %2</translation>
    </message>
    <message>
        <source>請先進入表單, 再掃瞄條碼</source>
        <translation>Enter a form first, then scan the barcode</translation>
    </message>
    <message>
        <source>終端機的按鍵打不出這個條碼的字元 %1</source>
        <translation>The terminal&apos;s keys cannot type a character of this barcode %1</translation>
    </message>
    <message>
        <source>無法儲存圖片</source>
        <translation>the picture could not be saved</translation>
    </message>
    <message>
        <source>掃瞄</source>
        <translation>Scan</translation>
    </message>
    <message>
        <source>條碼內容:</source>
        <translation>Barcode:</translation>
    </message>
    <message>
        <source>按鍵檔 (*.keys)</source>
        <translation>Key files (*.keys)</translation>
    </message>
    <message>
        <source>PNG 圖片 (*.png)</source>
        <translation>PNG pictures (*.png)</translation>
    </message>
</context>
<context>
    <name>PcKeyboard</name>
    <message>
        <source>鍵盤操作:
0-9 . Enter Backspace 空白鍵
上 下 Esc: 終端機的同名按鍵
Tab: Alpha   F2: FN
A-Z - * + $ / % : 依多次按鍵輸入
條碼掃瞄器, Ctrl+V, Ctrl+B: 掃瞄
F1: 顯示或隱藏本說明</source>
        <translation>PC keys:
0-9 . Enter Backspace Space
Up Down Esc: the terminal&apos;s keys of that name
Tab: Alpha   F2: FN
A-Z - * + $ / % : typed by multi-tap
Barcode scanner, Ctrl+V, Ctrl+B: a scan
F1: show or hide these keys</translation>
    </message>
</context>
<context>
    <name>QtMessageBoxes</name>
    <message>
        <source>確定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>是(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>否(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>QtTemplateFileDialogs</name>
    <message>
        <source>Application Template Files (*.ATC)</source>
        <translation>Application Template Files (*.ATC)</translation>
    </message>
    <message>
        <source>All files (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
</context>
<context>
    <name>QtTransferFiles</name>
    <message>
        <source>Lookup data files {*.TXT}</source>
        <translation>Lookup data files (*.TXT)</translation>
    </message>
    <message>
        <source>All files {*.*}</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>Data files {*.TXT}</source>
        <translation>Data files (*.TXT)</translation>
    </message>
</context>
<context>
    <name>Shell</name>
    <message>
        <source>終端機...</source>
        <translation>Terminals...</translation>
    </message>
    <message>
        <source>儲存目前程式嗎??</source>
        <translation>Save the current template?</translation>
    </message>
    <message>
        <source>經由 RS-232 或 IrDA...</source>
        <translation>Via RS-232 or IrDA...</translation>
    </message>
    <message>
        <source>經由紅外線傳輸座...</source>
        <translation>Via the infrared cradle...</translation>
    </message>
    <message>
        <source>開新檔案</source>
        <translation>New</translation>
    </message>
    <message>
        <source>開啟舊檔...</source>
        <translation>Open...</translation>
    </message>
    <message>
        <source>儲存檔案</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>另存檔案...</source>
        <translation>Save As...</translation>
    </message>
    <message>
        <source>編輯檔案</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>傳輸埠設定...</source>
        <translation>Port Settings...</translation>
    </message>
    <message>
        <source>下載程式</source>
        <translation>Download Program</translation>
    </message>
    <message>
        <source>下載索引檔</source>
        <translation>Download Lookup File</translation>
    </message>
    <message>
        <source>接收資料</source>
        <translation>Receive Data</translation>
    </message>
    <message>
        <source>關於...</source>
        <translation>About...</translation>
    </message>
    <message>
        <source>離開</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>縮放</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>放大</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>縮小</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>錄製按鍵...</source>
        <translation>Record keys...</translation>
    </message>
    <message>
        <source>停止錄製</source>
        <translation>Stop recording</translation>
    </message>
    <message>
        <source>掃瞄...</source>
        <translation>Scan...</translation>
    </message>
    <message>
        <source>複製畫面</source>
        <translation>Copy screen</translation>
    </message>
    <message>
        <source>儲存圖片...</source>
        <translation>Save picture...</translation>
    </message>
    <message>
        <source>說明...</source>
        <translation>Help...</translation>
    </message>
</context>
<context>
    <name>Simulator</name>
    <message>
        <source>請定義您的應用程式!!</source>
        <translation>Please define your application!</translation>
    </message>
    <message>
        <source>沒有可執行之程式</source>
        <translation>Nothing to run</translation>
    </message>
</context>
<context>
    <name>Symbology</name>
    <message>
        <source>固定長度</source>
        <translation>Fixed length</translation>
    </message>
    <message>
        <source>最大/最小 長度</source>
        <translation>Max./min. length</translation>
    </message>
    <message>
        <source>起始/終止 選項</source>
        <translation>Start/stop pattern</translation>
    </message>
    <message>
        <source>檢驗檢查碼</source>
        <translation>Verify check digit</translation>
    </message>
    <message>
        <source>傳送檢查碼</source>
        <translation>Transmit check digit</translation>
    </message>
    <message>
        <source>長度要求</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>Code 39 碼參數</source>
        <translation>Code 39 Options</translation>
    </message>
    <message>
        <source>傳送 起始碼/終止碼</source>
        <translation>Transmit start/stop characters</translation>
    </message>
    <message>
        <source>Italy Pharmacode 碼參數</source>
        <translation>Italy Pharmacode Options</translation>
    </message>
    <message>
        <source>French Pharmacode 碼參數</source>
        <translation>French Pharmacode Options</translation>
    </message>
    <message>
        <source>Industrial 25 碼參數</source>
        <translation>Industrial 25 Options</translation>
    </message>
    <message>
        <source>Interleave 25 碼參數</source>
        <translation>Interleave 25 Options</translation>
    </message>
    <message>
        <source>Matrix 25 碼參數</source>
        <translation>Matrix 25 Options</translation>
    </message>
    <message>
        <source>Codabar 碼參數</source>
        <translation>Codabar Options</translation>
    </message>
    <message>
        <source>起始/終止 碼選項</source>
        <translation>Start/stop characters</translation>
    </message>
    <message>
        <source>無</source>
        <translation>None</translation>
    </message>
    <message>
        <source>MSI 碼參數</source>
        <translation>MSI Options</translation>
    </message>
    <message>
        <source>檢查碼驗證方式</source>
        <translation>Check digit verification</translation>
    </message>
    <message>
        <source>檢查碼傳送選項</source>
        <translation>Check digit transmission</translation>
    </message>
    <message>
        <source>Plessey 碼參數</source>
        <translation>Plessey Options</translation>
    </message>
    <message>
        <source>轉換為 UK Plessey</source>
        <translation>Convert to UK Plessey</translation>
    </message>
    <message>
        <source>UPCE 碼參數</source>
        <translation>UPCE Options</translation>
    </message>
    <message>
        <source>轉換為 UPCA</source>
        <translation>Convert to UPCA</translation>
    </message>
    <message>
        <source>傳送系統代碼</source>
        <translation>Transmit number system digit</translation>
    </message>
    <message>
        <source>EAN 8 碼參數</source>
        <translation>EAN 8 Options</translation>
    </message>
    <message>
        <source>轉換為 EAN13</source>
        <translation>Convert to EAN13</translation>
    </message>
    <message>
        <source>EAN 13 和 UPCA 碼參數</source>
        <translation>EAN 13 and UPCA Options</translation>
    </message>
    <message>
        <source>轉換為 ISBN</source>
        <translation>Convert to ISBN</translation>
    </message>
    <message>
        <source>轉換為 ISSN</source>
        <translation>Convert to ISSN</translation>
    </message>
    <message>
        <source>傳送 UPCA 系統代碼</source>
        <translation>Transmit UPCA number system digit</translation>
    </message>
    <message>
        <source>傳送 UPCA 檢查碼</source>
        <translation>Transmit UPCA check digit</translation>
    </message>
    <message>
        <source>轉換 UPCA 為 EAN 13</source>
        <translation>Convert UPCA to EAN 13</translation>
    </message>
    <message>
        <source>固定長度 :</source>
        <translation>Fixed length :</translation>
    </message>
    <message>
        <source>最大長度 :</source>
        <translation>Max. length :</translation>
    </message>
    <message>
        <source>最小長度 :</source>
        <translation>Min. length :</translation>
    </message>
</context>
<context>
    <name>TerminalRack</name>
    <message>
        <source>等待上傳</source>
        <translation>Waiting for an upload</translation>
    </message>
    <message>
        <source>接收上傳</source>
        <translation>Receiving an upload</translation>
    </message>
    <message>
        <source>上次上傳 %1, %2 筆資料</source>
        <translation>Last upload %1, %2 records</translation>
    </message>
    <message>
        <source>, 未完成</source>
        <translation>, partial</translation>
    </message>
    <message>
        <source>, 已中斷</source>
        <translation>, interrupted</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>失敗</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>已取消</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>尋找傳輸座</source>
        <translation>Finding the cradle</translation>
    </message>
    <message>
        <source>連線中</source>
        <translation>Connecting</translation>
    </message>
    <message>
        <source>傳送程式</source>
        <translation>Sending program</translation>
    </message>
    <message>
        <source>傳送索引</source>
        <translation>Sending lookup records</translation>
    </message>
    <message>
        <source>接收中</source>
        <translation>Receiving</translation>
    </message>
    <message>
        <source>傳輸埠設定錯誤</source>
        <translation>Bad port settings</translation>
    </message>
    <message>
        <source>檔案錯誤</source>
        <translation>File error</translation>
    </message>
    <message>
        <source>無法開啟傳輸埠</source>
        <translation>Cannot open the port</translation>
    </message>
    <message>
        <source>紅外線傳輸座沒有回應</source>
        <translation>The infrared cradle did not answer</translation>
    </message>
    <message>
        <source>無法設定傳輸埠</source>
        <translation>The port refused its settings</translation>
    </message>
    <message>
        <source>沒有回應</source>
        <translation>No reply</translation>
    </message>
    <message>
        <source>終端機拒絕</source>
        <translation>Refused by the terminal</translation>
    </message>
    <message>
        <source>逾時</source>
        <translation>Timed out</translation>
    </message>
    <message>
        <source>可能重複</source>
        <translation>May hold a record twice</translation>
    </message>
    <message>
        <source>連線中斷</source>
        <translation>Line lost</translation>
    </message>
    <message>
        <source>完成, %1 筆資料</source>
        <translation>Done, %1 records</translation>
    </message>
</context>
<context>
    <name>TransferWindows</name>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>Unsimulated</name>
    <message>
        <source>索引檔查詢</source>
        <translation>Lookups</translation>
    </message>
    <message>
        <source>日期戳記</source>
        <translation>Date stamp</translation>
    </message>
    <message>
        <source>時間戳記</source>
        <translation>Time stamp</translation>
    </message>
    <message>
        <source>加入前置碼</source>
        <translation>Prefix added</translation>
    </message>
    <message>
        <source>加入後置碼</source>
        <translation>Suffix added</translation>
    </message>
    <message>
        <source>固定長度</source>
        <translation>Fixed length</translation>
    </message>
    <message>
        <source>截取部分條碼</source>
        <translation>Partial barcode</translation>
    </message>
    <message>
        <source>檢驗前置碼</source>
        <translation>Prefix check</translation>
    </message>
    <message>
        <source>自動換行</source>
        <translation>Auto advance</translation>
    </message>
    <message>
        <source>只由掃瞄器輸入</source>
        <translation>Scanner only</translation>
    </message>
    <message>
        <source>安全密碼</source>
        <translation>Security password</translation>
    </message>
    <message>
        <source>系統設定</source>
        <translation>System settings</translation>
    </message>
    <message>
        <source>編輯資料</source>
        <translation>Edit data</translation>
    </message>
    <message>
        <source>刪除資料</source>
        <translation>Delete data</translation>
    </message>
    <message>
        <source>設定日期時間</source>
        <translation>Set date and time</translation>
    </message>
    <message>
        <source>下載系統程式</source>
        <translation>Download system program</translation>
    </message>
    <message>
        <source>下載索引檔案</source>
        <translation>Download lookup files</translation>
    </message>
    <message>
        <source>設定上傳埠</source>
        <translation>Set upload port</translation>
    </message>
    <message>
        <source>設定下載埠</source>
        <translation>Set download port</translation>
    </message>
    <message>
        <source>設定傳輸速度</source>
        <translation>Set transfer speed</translation>
    </message>
    <message>
        <source>設定螢幕背光</source>
        <translation>Set backlight</translation>
    </message>
    <message>
        <source>設定刪除資料</source>
        <translation>Set data deletion</translation>
    </message>
    <message>
        <source>資料筆數提示</source>
        <translation>Record-count prompt</translation>
    </message>
    <message>
        <source>表單 %1</source>
        <translation>form %1</translation>
    </message>
    <message>
        <source>表單 %1 第 %2 行</source>
        <translation>form %1 line %2</translation>
    </message>
</context>
<context>
    <name>UnsimulatedNote</name>
    <message>
        <source>模擬器未模擬的設定</source>
        <translation>Not simulated</translation>
    </message>
    <message>
        <source>這個程式用到模擬器不模擬的設定, 它們只在終端機上作用:</source>
        <translation>This application uses settings the simulator does not simulate; they work on the terminal only:</translation>
    </message>
    <message>
        <source>知道了</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>k52::AboutBox</name>
    <message>
        <source>關於</source>
        <translation>About</translation>
    </message>
    <message>
        <source>&lt;b&gt;K52 Application Generator&lt;/b&gt;&lt;br&gt;版本 1.0&lt;br&gt;&lt;br&gt;設計 K52 條碼終端機的應用程式&lt;br&gt;&lt;br&gt;Copyright (C) 2025 Varnell</source>
        <translation>&lt;b&gt;K52 Application Generator&lt;/b&gt;&lt;br&gt;Version 1.0&lt;br&gt;&lt;br&gt;Designs applications for K52 barcode terminals&lt;br&gt;&lt;br&gt;Copyright (C) 2025 Varnell</translation>
    </message>
    <message>
        <source>確定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>k52::DataViewer</name>
    <message>
        <source>開啟...</source>
        <translation>Open...</translation>
    </message>
    <message>
        <source>原始資料</source>
        <translation>Raw data</translation>
    </message>
    <message>
        <source>複製</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>另存 CSV...</source>
        <translation>Save as CSV...</translation>
    </message>
    <message>
        <source>共 %1 筆資料</source>
        <translation>%1 records</translation>
    </message>
    <message>
        <source>Data files {*.TXT}</source>
        <translation>Data files (*.TXT)</translation>
    </message>
    <message>
        <source>All files {*.*}</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>CSV files {*.csv}</source>
        <translation>CSV files (*.csv)</translation>
    </message>
</context>
<context>
    <name>k52::PortDeviceChooser</name>
    <message>
        <source>重新整理</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>由環境變數 %1 指定</source>
        <translation>set by %1 in the environment</translation>
    </message>
    <message>
        <source>未連接</source>
        <translation>not connected</translation>
    </message>
</context>
<context>
    <name>k52::PortSettingsDialog</name>
    <message>
        <source>傳輸埠設定</source>
        <translation>Port Settings</translation>
    </message>
    <message>
        <source>確定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>傳輸埠 :</source>
        <translation>Port :</translation>
    </message>
    <message>
        <source>傳輸速率 :</source>
        <translation>Speed :</translation>
    </message>
    <message>
        <source>裝置 :</source>
        <translation>Device :</translation>
    </message>
</context>
<context>
    <name>k52::ReceiveStatusBox</name>
    <message>
        <source>Data received : %1</source>
        <translation>Data received : %1</translation>
    </message>
</context>
<context>
    <name>k52::RecordTableModel</name>
    <message>
        <source>資料</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>欄位 %1</source>
        <translation>Field %1</translation>
    </message>
</context>
<context>
    <name>k52::TerminalsWindow</name>
    <message>
        <source>終端機</source>
        <translation>Terminals</translation>
    </message>
    <message>
        <source>名稱</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>裝置</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>連接</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>紅外線傳輸座</source>
        <translation>IR Cradle</translation>
    </message>
    <message>
        <source>狀態</source>
        <translation>State</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>結果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>下載程式(&amp;D)</source>
        <translation>&amp;Download Program</translation>
    </message>
    <message>
        <source>下載索引檔(&amp;L)</source>
        <translation>Download &amp;Lookup File</translation>
    </message>
    <message>
        <source>接收資料(&amp;R)</source>
        <translation>&amp;Receive Data</translation>
    </message>
    <message>
        <source>重試(&amp;T)</source>
        <translation>Re&amp;try</translation>
    </message>
    <message>
        <source>取消(&amp;N)</source>
        <translation>Ca&amp;ncel</translation>
    </message>
    <message>
        <source>自動收集(&amp;C)</source>
        <translation>&amp;Collect Automatically</translation>
    </message>
    <message>
        <source>自動收集</source>
        <translation>Collect Automatically</translation>
    </message>
    <message>
        <source>無法在 %1 自動收集: %2</source>
        <translation>Cannot collect into %1: %2</translation>
    </message>
    <message>
        <source>全部取消(&amp;A)</source>
        <translation>Cancel &amp;All</translation>
    </message>
    <message>
        <source>已連接</source>
        <translation>connected</translation>
    </message>
    <message>
        <source>未連接</source>
        <translation>not connected</translation>
    </message>
    <message>
        <source>接收資料</source>
        <translation>Receive Data</translation>
    </message>
    <message>
        <source>兩台終端機的資料會存入同一個檔案: %1</source>
        <translation>Two terminals&apos; records would go to one file: %1</translation>
    </message>
    <message>
        <source>下列檔案已經存在:%1
要取代它們嗎??</source>
        <translation>These files exist already:%1
Replace them?</translation>
    </message>
    <message>
        <source>沒有找到終端機: 請插上傳輸線或傳輸座的轉接器, 或在傳輸埠設定中為 COM1..COM6 指定裝置.</source>
        <translation>No terminals found: plug in the adapter of a cable or cradle, or assign a device to COM1..COM6 in the port settings.</translation>
    </message>
    <message>
        <source>完成 %1, 失敗 %2, 執行中 %3, 收集中 %4</source>
        <translation>Done %1, failed %2, running %3, collecting %4</translation>
    </message>
</context>
<context>
    <name>k52::WaitingWindow</name>
    <message>
        <source>等待終端機回應… %1</source>
        <translation>Waiting for the terminal… %1</translation>
    </message>
</context>
</TS>
