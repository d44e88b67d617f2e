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
        <translation>Whole number (digits)</translation>
    </message>
    <message>
        <source>實數</source>
        <translation>Decimal number</translation>
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
        <translation>Terminal&apos;s main menu</translation>
    </message>
    <message>
        <source>要放棄所做的變更嗎??</source>
        <translation>Discard the changes?</translation>
    </message>
    <message>
        <source>表單 %1 已有內容, 要以表單 %2 取代嗎??</source>
        <translation>Form %1 is in use. Replace it with form %2?</translation>
    </message>
    <message>
        <source>選單 %1 已有內容, 要以選單 %2 取代嗎??</source>
        <translation>Menu %1 is in use. Replace it with menu %2?</translation>
    </message>
    <message>
        <source>nil</source>
        <translation>None</translation>
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
    <message>
        <source>複製到...</source>
        <translation>Copy to...</translation>
    </message>
    <message>
        <source>索引檔的每筆資料都是固定長度: 終端機依起始位置和長度 (以位元組計) 切出各欄位。</source>
        <translation>Lookup records are fixed-width: the terminal cuts each field by its start and length, in bytes.</translation>
    </message>
    <message>
        <source>預覽範例檔...</source>
        <translation>Preview a sample file...</translation>
    </message>
    <message>
        <source>還原本頁</source>
        <translation>Revert page</translation>
    </message>
    <message>
        <source>將本頁恢復成開啟編輯時的內容。</source>
        <translation>Puts this page back as it was when the sheet opened.</translation>
    </message>
    <message>
        <source>(使用中)</source>
        <translation>(in use)</translation>
    </message>
    <message>
        <source>複製到</source>
        <translation>Copy to</translation>
    </message>
    <message>
        <source>將目前的表單複製到 :</source>
        <translation>Copy the current form to:</translation>
    </message>
    <message>
        <source>將目前的選單複製到 :</source>
        <translation>Copy the current menu to:</translation>
    </message>
    <message>
        <source>索引資料檔 (*.TXT *.txt);;所有檔案 (*)</source>
        <translation>Lookup data files (*.TXT *.txt);;All files (*)</translation>
    </message>
    <message>
        <source>測試條碼...</source>
        <translation>Test labels...</translation>
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
    <message>
        <source>已填入第 %1 索引檔</source>
        <translation>Filled lookup file %1</translation>
    </message>
    <message>
        <source>資料檔不符合第 %1 索引檔的格式 (每筆 %2 位元組), 仍要下載嗎??</source>
        <translation>The data file does not fit lookup file %1 (records of %2 bytes). Download it anyway?</translation>
    </message>
    <message>
        <source>下載索引檔</source>
        <translation>Download Lookup File</translation>
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
    <message>
        <source>未命名</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>列印 / 存成 PDF</source>
        <translation>Print / Save as PDF</translation>
    </message>
    <message>
        <source>設計表已存成 %1</source>
        <translation>The design sheet is saved as %1</translation>
    </message>
    <message>
        <source>無法列印設計表: %1</source>
        <translation>Could not print the design sheet: %1</translation>
    </message>
    <message>
        <source>PDF 檔 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>SVG 圖 (*.svg)</source>
        <translation>SVG pictures (*.svg)</translation>
    </message>
    <message>
        <source>測試條碼已存成 %1</source>
        <translation>The test labels are saved as %1</translation>
    </message>
    <message>
        <source>此版本未附條碼程式庫, 無法產生測試條碼</source>
        <translation>This build has no barcode library: it cannot make test labels</translation>
    </message>
    <message>
        <source>要還原 %1 未儲存的範本嗎? 選「否」將捨棄它。</source>
        <translation>Restore the unsaved template from %1? No discards it.</translation>
    </message>
    <message>
        <source>尚未儲存過的新範本</source>
        <translation>A new template, never saved</translation>
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
        <source>%1 (每筆 %2 位元組, %3 個欄位)</source>
        <translation>%1 (records of %2 bytes, %3 fields)</translation>
    </message>
    <message>
        <source>下載索引檔</source>
        <translation>Download Lookup File</translation>
    </message>
    <message>
        <source>這個資料檔要填入哪一個索引檔?</source>
        <translation>Which lookup file does this data file fill?</translation>
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
        <source>最近的檔案</source>
        <translation>Recent files</translation>
    </message>
    <message>
        <source>儲存圖片...</source>
        <translation>Save picture...</translation>
    </message>
    <message>
        <source>說明...</source>
        <translation>Help...</translation>
    </message>
    <message>
        <source>列印 / 存成 PDF...</source>
        <translation>Print / Save as PDF...</translation>
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
        <source>由收集站服務</source>
        <translation>Served by the station</translation>
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
    <name>Tooltips</name>
    <message>
        <source>要編輯的表單。表單是終端機上最多四行的資料輸入畫面。</source>
        <translation>The form to edit. A form is one data-entry screen on the terminal, of up to four lines.</translation>
    </message>
    <message>
        <source>在此表單按 Esc 時終端機前往的位置。</source>
        <translation>Where the terminal goes when Esc is pressed in this form.</translation>
    </message>
    <message>
        <source>最後一行輸入完成後前往的位置; 指向表單自己即接著輸入下一筆。</source>
        <translation>Where the terminal goes once the last line is entered; the form itself starts the next record.</translation>
    </message>
    <message>
        <source>每筆收集資料加上的日期及其格式; + 表示資料所在的一側。</source>
        <translation>The date added to each collected record, and its format; + marks the side the data is on.</translation>
    </message>
    <message>
        <source>每筆收集資料加上的時間及其格式; + 表示資料所在的一側。</source>
        <translation>The time added to each collected record, and its format; + marks the side the data is on.</translation>
    </message>
    <message>
        <source>此表單查詢的索引檔。</source>
        <translation>The lookup file this form looks things up in.</translation>
    </message>
    <message>
        <source>完成的一筆資料如何處理: 存入資料檔、寫入索引檔、兩者皆做, 或傳給下一個表單。</source>
        <translation>What is done with a completed record: stored in the data file, written to the lookup file, both, or passed on to the next form.</translation>
    </message>
    <message>
        <source>此行接受的資料: 字串 (任何字元)、數字 (只有數字)、實數 (可有小數點)、英文字母; 或只顯示固定資料、提示、索引檔的欄位。</source>
        <translation>What this line takes: a string (any characters), a whole number (digits only), a decimal number (with a decimal point, 1.2), letters; or it only shows fixed data, a prompt or a lookup field.</translation>
    </message>
    <message>
        <source>終端機在此行顯示的提示文字, 最多 15 位元組 (中文字佔 2 位元組)。</source>
        <translation>The prompt the terminal shows on this line, at most 15 bytes (a Chinese character takes 2).</translation>
    </message>
    <message>
        <source>此行資料來自掃瞄器、鍵盤或兩者皆可。</source>
        <translation>Whether this line&apos;s data comes from the scanner, the keypad, or either.</translation>
    </message>
    <message>
        <source>終端機接受的最少字元數; 較短的輸入會被拒絕。</source>
        <translation>The fewest characters the terminal accepts; a shorter entry is refused.</translation>
    </message>
    <message>
        <source>終端機接受的最多字元數 (0 到 50)。</source>
        <translation>The most characters the terminal accepts (0 to 50).</translation>
    </message>
    <message>
        <source>此行對應的索引檔欄位: 以輸入的值查詢此欄位, 或顯示此欄位的內容。</source>
        <translation>The lookup file&apos;s field this line refers to: the entry is looked up in it, or its content is shown.</translation>
    </message>
    <message>
        <source>此行的其他設定: 固定長度、初始值、前置碼與後置碼、截取部分條碼等。</source>
        <translation>This line&apos;s other settings: fixed length, initial value, prefix and suffix, part of a barcode and more.</translation>
    </message>
    <message>
        <source>將整個表單複製到另一個表單代號。</source>
        <translation>Copies the whole form to another form number.</translation>
    </message>
    <message>
        <source>要編輯的選單。選單是終端機上最多十個選項的清單。</source>
        <translation>The menu to edit. A menu is a list of up to ten options on the terminal.</translation>
    </message>
    <message>
        <source>在此選單按 Esc 時終端機前往的位置。</source>
        <translation>Where the terminal goes when Esc is pressed in this menu.</translation>
    </message>
    <message>
        <source>在選單的第一行顯示選單名稱。</source>
        <translation>Shows the menu&apos;s title on its first line.</translation>
    </message>
    <message>
        <source>選單名稱, 最多 15 位元組。</source>
        <translation>The menu&apos;s title, at most 15 bytes.</translation>
    </message>
    <message>
        <source>選項在終端機上顯示的文字, 最多 15 位元組; 空白的選項不顯示。</source>
        <translation>The option&apos;s text on the terminal, at most 15 bytes; an empty option is not shown.</translation>
    </message>
    <message>
        <source>選擇此選項時前往的表單或選單。</source>
        <translation>The form or menu this option leads to.</translation>
    </message>
    <message>
        <source>將選單名稱存入收集的資料。</source>
        <translation>Stores the menu&apos;s title in the collected record.</translation>
    </message>
    <message>
        <source>將選擇的選項存入收集的資料。</source>
        <translation>Stores the chosen option in the collected record.</translation>
    </message>
    <message>
        <source>將選擇傳給下一個表單, 與其資料存在同一筆。</source>
        <translation>Passes the choice on to the next form, stored in the same record as its data.</translation>
    </message>
    <message>
        <source>將整個選單複製到另一個選單代號。</source>
        <translation>Copies the whole menu to another menu number.</translation>
    </message>
    <message>
        <source>要描述的索引檔。終端機最多存三個索引檔。</source>
        <translation>The lookup file to describe. The terminal holds up to three.</translation>
    </message>
    <message>
        <source>每筆資料的長度 (位元組)。索引檔是固定長度的記錄: 每一行都必須剛好這麼長。</source>
        <translation>The length of each record in bytes. Lookup files hold fixed-width records: every line must be exactly this long.</translation>
    </message>
    <message>
        <source>每筆資料切成幾個欄位。</source>
        <translation>How many fields each record is cut into.</translation>
    </message>
    <message>
        <source>欄位的起始位置: 它的第一個位元組, 從 1 起算。</source>
        <translation>Where the field starts: its first byte, counted from 1.</translation>
    </message>
    <message>
        <source>欄位的長度 (位元組)。</source>
        <translation>The field&apos;s length in bytes.</translation>
    </message>
    <message>
        <source>終端機以此欄位查詢記錄 (索引鍵)。</source>
        <translation>The field the terminal finds records by (the key).</translation>
    </message>
    <message>
        <source>以此版面切開範例檔的前幾行, 和終端機切的一樣。</source>
        <translation>Cuts the first lines of a sample file with this layout, as the terminal will.</translation>
    </message>
    <message>
        <source>終端機讀取此種條碼; 不勾選時, 此種條碼會被拒絕。</source>
        <translation>The terminal reads this symbology; unticked, its labels are refused.</translation>
    </message>
    <message>
        <source>也讀取反相 (深色底上淺色條) 的條碼。</source>
        <translation>Also reads inverse labels (light bars on a dark background).</translation>
    </message>
    <message>
        <source>此種條碼的檢查碼、長度及傳送選項。</source>
        <translation>This symbology&apos;s check digit, length and transmission options.</translation>
    </message>
    <message>
        <source>掃瞄器如何啟動及維持: 按一次讀一次、連續讀取等。</source>
        <translation>How the scanner is triggered and how long it stays on: one read per press, continuous reading and so on.</translation>
    </message>
    <message>
        <source>同一條碼須再讀到幾次相同結果才接受; 次數越多越不易讀錯, 但較慢。</source>
        <translation>How many more identical reads a label needs before it is accepted: more is safer but slower.</translation>
    </message>
    <message>
        <source>按下掃瞄鍵後掃瞄器維持開啟的秒數。</source>
        <translation>How many seconds the scanner stays on after the scan key is pressed.</translation>
    </message>
    <message>
        <source>為啟用的條碼產生測試標籤, 並各附一張應被拒絕的錯誤標籤。</source>
        <translation>Makes test labels for the enabled symbologies, each with a wrong one the terminal should refuse.</translation>
    </message>
    <message>
        <source>終端機開機後執行的第一個畫面: 表單 1 或選單 1。</source>
        <translation>The first screen the terminal runs after start-up: form 1 or menu 1.</translation>
    </message>
    <message>
        <source>收集的每筆資料中, 欄位之間的分隔符號數目。</source>
        <translation>How many separators stand between the fields of each collected record.</translation>
    </message>
    <message>
        <source>分隔符號的字元代碼 (0 到 255)。</source>
        <translation>The separator&apos;s character code (0 to 255).</translation>
    </message>
    <message>
        <source>分隔符號本身, 一個字元。</source>
        <translation>The separator itself, one character.</translation>
    </message>
    <message>
        <source>終端機在勾選的功能前要求的密碼, 最多 10 位元組; 空白為不設密碼。</source>
        <translation>The password the terminal asks for before the ticked functions, at most 10 bytes; empty for none.</translation>
    </message>
    <message>
        <source>勾選時, 終端機在執行此功能前要求安全密碼。</source>
        <translation>Ticked, the terminal asks for the security password before this function.</translation>
    </message>
    <message>
        <source>終端機上傳收集資料時使用的連接埠。</source>
        <translation>The port the terminal sends its collected records through.</translation>
    </message>
    <message>
        <source>終端機接收程式及索引檔時使用的連接埠。</source>
        <translation>The port the terminal receives programs and lookup files through.</translation>
    </message>
    <message>
        <source>終端機的傳輸速度; 必須與電腦的設定相同。</source>
        <translation>The terminal&apos;s line speed; it must match the computer&apos;s.</translation>
    </message>
    <message>
        <source>終端機開機時螢幕背光開或關。</source>
        <translation>Whether the display&apos;s backlight is on at start-up.</translation>
    </message>
    <message>
        <source>上傳後是否自動刪除終端機上的資料。</source>
        <translation>Whether the terminal deletes its records by itself after an upload.</translation>
    </message>
    <message>
        <source>終端機是否顯示已收集的資料筆數。</source>
        <translation>Whether the terminal shows how many records it holds.</translation>
    </message>
    <message>
        <source>將輸入的資料補足成固定長度。</source>
        <translation>Pads the entry to a fixed length.</translation>
    </message>
    <message>
        <source>固定的長度 (字元數)。</source>
        <translation>The fixed length in characters.</translation>
    </message>
    <message>
        <source>資料短於固定長度時靠左或靠右, 以空白補足。</source>
        <translation>Whether a shorter entry stands left or right, padded with blanks.</translation>
    </message>
    <message>
        <source>此行開始時已填入的值。</source>
        <translation>The value the line starts with.</translation>
    </message>
    <message>
        <source>加在資料前面的字元; 只含數字與空白時代表其位元組值。</source>
        <translation>Characters put before the data; a text of numbers and blanks stands for those byte values.</translation>
    </message>
    <message>
        <source>加在資料後面的字元; 只含數字與空白時代表其位元組值。</source>
        <translation>Characters put after the data; a text of numbers and blanks stands for those byte values.</translation>
    </message>
    <message>
        <source>只保留條碼的一部分。</source>
        <translation>Keeps only part of the barcode.</translation>
    </message>
    <message>
        <source>保留部分的第一個字元位置, 從 1 起算。</source>
        <translation>The first character kept, counted from 1.</translation>
    </message>
    <message>
        <source>最多保留的字元數。</source>
        <translation>The most characters kept.</translation>
    </message>
    <message>
        <source>條碼必須以此文字開頭, 否則拒絕。</source>
        <translation>The barcode must begin with this text, else it is refused.</translation>
    </message>
    <message>
        <source>輸入達到最大長度時自動跳到下一行。</source>
        <translation>Moves to the next line by itself once the entry reaches its maximum length.</translation>
    </message>
    <message>
        <source>將起始與終止字元 (*) 一起傳送。</source>
        <translation>Sends the start and stop characters (*) with the data.</translation>
    </message>
    <message>
        <source>檢查條碼的檢查碼, 不符時拒絕。</source>
        <translation>Checks the label&apos;s check digit and refuses a label whose digit is wrong.</translation>
    </message>
    <message>
        <source>將檢查碼一起傳送; 不勾選時去掉。</source>
        <translation>Sends the check digit with the data; unticked, it is dropped.</translation>
    </message>
    <message>
        <source>把兩個字元的組合讀成完整的 ASCII 字元。</source>
        <translation>Reads pairs of characters as the full ASCII set.</translation>
    </message>
    <message>
        <source>條碼使用的起始與終止圖樣。</source>
        <translation>Which start and stop pattern the labels use.</translation>
    </message>
    <message>
        <source>接受的條碼長度: 一個或兩個固定長度, 或最大與最小長度之間。</source>
        <translation>The label lengths accepted: one or two fixed lengths, or any length between a maximum and a minimum.</translation>
    </message>
    <message>
        <source>是否傳送起始與終止字元, 及其形式。</source>
        <translation>Whether the start and stop characters are sent, and in which form.</translation>
    </message>
    <message>
        <source>計算檢查碼的方法。</source>
        <translation>How the check digit is computed.</translation>
    </message>
    <message>
        <source>傳送幾位檢查碼。</source>
        <translation>How many check digits are sent.</translation>
    </message>
    <message>
        <source>讀成 UK Plessey 格式。</source>
        <translation>Reads labels as UK Plessey.</translation>
    </message>
    <message>
        <source>將 UPC-E 展開成 UPC-A 傳送。</source>
        <translation>Expands UPC-E to UPC-A before sending.</translation>
    </message>
    <message>
        <source>傳送開頭的系統代碼。</source>
        <translation>Sends the leading number-system digit.</translation>
    </message>
    <message>
        <source>將 EAN-8 補成 EAN-13 傳送。</source>
        <translation>Sends EAN-8 labels padded to EAN-13.</translation>
    </message>
    <message>
        <source>將書籍的 EAN-13 (978, 979) 轉成 ISBN 傳送。</source>
        <translation>Sends book EAN-13 labels (978, 979) as ISBN.</translation>
    </message>
    <message>
        <source>將期刊的 EAN-13 (977) 轉成 ISSN 傳送。</source>
        <translation>Sends periodical EAN-13 labels (977) as ISSN.</translation>
    </message>
    <message>
        <source>傳送 UPC-A 開頭的系統代碼。</source>
        <translation>Sends the UPC-A number-system digit.</translation>
    </message>
    <message>
        <source>傳送 UPC-A 的檢查碼。</source>
        <translation>Sends the UPC-A check digit.</translation>
    </message>
    <message>
        <source>UPC-A 前面補 0 成為 EAN-13 傳送。</source>
        <translation>Sends UPC-A labels as EAN-13, with a leading 0.</translation>
    </message>
    <message>
        <source>條碼長度 (字元數, 1 到 127)。</source>
        <translation>A label length in characters (1 to 127).</translation>
    </message>
    <message>
        <source>依此頁的設定印出測試條碼: 終端機應讀取的, 以及應拒絕的 (太短、太長、未啟用)。</source>
        <translation>Writes test labels for the settings on this page: ones the terminal must read, and ones it must refuse (too short, too long, switched off).</translation>
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
    <message>
        <source>UTF-8 BOM</source>
        <translation>UTF-8 BOM</translation>
    </message>
    <message>
        <source>CSV 檔開頭加上 UTF-8 BOM (試算表才能正確顯示中文)</source>
        <translation>Start a CSV file with the UTF-8 byte-order mark (so a spreadsheet shows Chinese)</translation>
    </message>
    <message>
        <source>原始儲存格</source>
        <translation>Raw cells</translation>
    </message>
    <message>
        <source>保留原始儲存格 (不在 =, +, -, @ 開頭的儲存格前加 &apos;)</source>
        <translation>Keep cells as received (no &apos; before cells starting with =, +, -, @)</translation>
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
    <name>k52::ShiftExportDialog</name>
    <message>
        <source>匯出班次</source>
        <translation>Export Shift</translation>
    </message>
    <message>
        <source>(無: 以逗號分隔欄位)</source>
        <translation>(none: fields split at commas)</translation>
    </message>
    <message>
        <source>CSV 檔開頭加上 UTF-8 BOM (試算表才能正確顯示中文)</source>
        <translation>Start a CSV file with the UTF-8 byte-order mark (so a spreadsheet shows Chinese)</translation>
    </message>
    <message>
        <source>保留原始儲存格 (不在 =, +, -, @ 開頭的儲存格前加 &apos;)</source>
        <translation>Keep cells as received (no &apos; before cells starting with =, +, -, @)</translation>
    </message>
    <message>
        <source>收集資料夾:</source>
        <translation>Collection folder:</translation>
    </message>
    <message>
        <source>收集資料夾</source>
        <translation>Collection Folder</translation>
    </message>
    <message>
        <source>從:</source>
        <translation>From:</translation>
    </message>
    <message>
        <source>到:</source>
        <translation>Until:</translation>
    </message>
    <message>
        <source>輸出檔案:</source>
        <translation>Output file:</translation>
    </message>
    <message>
        <source>CSV 檔 (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>XLSX 活頁簿 (*.xlsx)</source>
        <translation>XLSX workbooks (*.xlsx)</translation>
    </message>
    <message>
        <source>JSON 檔 (*.json)</source>
        <translation>JSON files (*.json)</translation>
    </message>
    <message>
        <source>範本 (選用):</source>
        <translation>Template (optional):</translation>
    </message>
    <message>
        <source>範本 (*.ATC)</source>
        <translation>Templates (*.ATC)</translation>
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
    <message>
        <source>指定為 COMn...</source>
        <translation>Assign to COMn...</translation>
    </message>
    <message>
        <source>指定傳輸埠</source>
        <translation>Assign Port</translation>
    </message>
    <message>
        <source>要把 %1 指定為哪一個傳輸埠?</source>
        <translation>Which port should %1 be?</translation>
    </message>
    <message>
        <source>由收集站服務</source>
        <translation>Served by the station</translation>
    </message>
    <message>
        <source>已將 %2 次上傳的 %1 筆資料寫入 %3</source>
        <translation>%1 records of %2 uploads written to %3</translation>
    </message>
    <message>
        <source>檔名必須以 .csv, .xlsx 或 .json 結尾</source>
        <translation>The file name must end in .csv, .xlsx or .json</translation>
    </message>
    <message>
        <source>無法讀取 %1: %2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>無法讀取收集紀錄 %1: %2</source>
        <translation>Cannot read the ledger of %1: %2</translation>
    </message>
    <message>
        <source>無法寫入 %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>匯出班次</source>
        <translation>Export Shift</translation>
    </message>
    <message>
        <source>匯出班次(&amp;E)...</source>
        <translation>&amp;Export Shift...</translation>
    </message>
    <message>
        <source>, 由收集站服務 %1</source>
        <translation>, served by the station %1</translation>
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
