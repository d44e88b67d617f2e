// The tooltip table: by owner and a range of control ids, or for a symbology dialog by the caption of the
// item that holds the control, since the twelve dialogs share their items' meanings.
#include "editor/Tooltips.h"

#include "editor/SymbologyDialog.h"
#include "i18n/Translate.h"

namespace k52 {
namespace {

struct Tip {
    std::string_view owner;  // "Symbology": a symbology dialog's item, found by its caption
    int first;
    int last;
    std::string_view caption;
    const char* text;
};

constexpr Tip kTips[] = {
    {kFormPageOwner,
     700,
     700,
     {},
     K52_TR("Tooltips", "要編輯的表單。表單是終端機上最多四行的資料輸入畫面。")},
    {kFormPageOwner, 751, 751, {}, K52_TR("Tooltips", "在此表單按 Esc 時終端機前往的位置。")},
    {kFormPageOwner,
     752,
     752,
     {},
     K52_TR("Tooltips", "最後一行輸入完成後前往的位置; 指向表單自己即接著輸入下一筆。")},
    {kFormPageOwner,
     753,
     753,
     {},
     K52_TR("Tooltips", "每筆收集資料加上的日期及其格式; + 表示資料所在的一側。")},
    {kFormPageOwner,
     754,
     754,
     {},
     K52_TR("Tooltips", "每筆收集資料加上的時間及其格式; + 表示資料所在的一側。")},
    {kFormPageOwner, 755, 755, {}, K52_TR("Tooltips", "此表單查詢的索引檔。")},
    {kFormPageOwner,
     756,
     756,
     {},
     K52_TR("Tooltips", "完成的一筆資料如何處理: 存入資料檔、寫入索引檔、兩者皆做, 或傳給下一個表單。")},
    {kFormPageOwner,
     701,
     704,
     {},
     K52_TR("Tooltips",
            "此行接受的資料: 字串 (任何字元)、數字 (只有數字)、實數 (可有小數點)、英文字母; "
            "或只顯示固定資料、提示、索引檔的欄位。")},
    {kFormPageOwner,
     601,
     604,
     {},
     K52_TR("Tooltips", "終端機在此行顯示的提示文字, 最多 15 位元組 (中文字佔 2 位元組)。")},
    {kFormPageOwner, 711, 714, {}, K52_TR("Tooltips", "此行資料來自掃瞄器、鍵盤或兩者皆可。")},
    {kFormPageOwner, 611, 614, {}, K52_TR("Tooltips", "終端機接受的最少字元數; 較短的輸入會被拒絕。")},
    {kFormPageOwner, 621, 624, {}, K52_TR("Tooltips", "終端機接受的最多字元數 (0 到 50)。")},
    {kFormPageOwner,
     721,
     724,
     {},
     K52_TR("Tooltips", "此行對應的索引檔欄位: 以輸入的值查詢此欄位, 或顯示此欄位的內容。")},
    {kFormPageOwner,
     201,
     204,
     {},
     K52_TR("Tooltips", "此行的其他設定: 固定長度、初始值、前置碼與後置碼、截取部分條碼等。")},
    {kFormPageOwner, 210, 210, {}, K52_TR("Tooltips", "將整個表單複製到另一個表單代號。")},

    {kMenuPageOwner, 700, 700, {}, K52_TR("Tooltips", "要編輯的選單。選單是終端機上最多十個選項的清單。")},
    {kMenuPageOwner, 751, 751, {}, K52_TR("Tooltips", "在此選單按 Esc 時終端機前往的位置。")},
    {kMenuPageOwner, 101, 101, {}, K52_TR("Tooltips", "在選單的第一行顯示選單名稱。")},
    {kMenuPageOwner, 691, 691, {}, K52_TR("Tooltips", "選單名稱, 最多 15 位元組。")},
    {kMenuPageOwner,
     601,
     610,
     {},
     K52_TR("Tooltips", "選項在終端機上顯示的文字, 最多 15 位元組; 空白的選項不顯示。")},
    {kMenuPageOwner, 701, 710, {}, K52_TR("Tooltips", "選擇此選項時前往的表單或選單。")},
    {kMenuPageOwner, 102, 102, {}, K52_TR("Tooltips", "將選單名稱存入收集的資料。")},
    {kMenuPageOwner, 103, 103, {}, K52_TR("Tooltips", "將選擇的選項存入收集的資料。")},
    {kMenuPageOwner, 104, 104, {}, K52_TR("Tooltips", "將選擇傳給下一個表單, 與其資料存在同一筆。")},
    {kMenuPageOwner, 210, 210, {}, K52_TR("Tooltips", "將整個選單複製到另一個選單代號。")},

    {kLookupPageOwner, 700, 700, {}, K52_TR("Tooltips", "要描述的索引檔。終端機最多存三個索引檔。")},
    {kLookupPageOwner,
     609,
     609,
     {},
     K52_TR("Tooltips", "每筆資料的長度 (位元組)。索引檔是固定長度的記錄: 每一行都必須剛好這麼長。")},
    {kLookupPageOwner, 701, 701, {}, K52_TR("Tooltips", "每筆資料切成幾個欄位。")},
    {kLookupPageOwner, 601, 608, {}, K52_TR("Tooltips", "欄位的起始位置: 它的第一個位元組, 從 1 起算。")},
    {kLookupPageOwner, 611, 618, {}, K52_TR("Tooltips", "欄位的長度 (位元組)。")},
    {kLookupPageOwner, 401, 408, {}, K52_TR("Tooltips", "終端機以此欄位查詢記錄 (索引鍵)。")},
    {kLookupPageOwner, 220, 220, {}, K52_TR("Tooltips", "以此版面切開範例檔的前幾行, 和終端機切的一樣。")},

    {kBarcodePageOwner, 101, 121, {}, K52_TR("Tooltips", "終端機讀取此種條碼; 不勾選時, 此種條碼會被拒絕。")},
    {kBarcodePageOwner, 122, 122, {}, K52_TR("Tooltips", "也讀取反相 (深色底上淺色條) 的條碼。")},
    {kBarcodePageOwner, 201, 219, {}, K52_TR("Tooltips", "此種條碼的檢查碼、長度及傳送選項。")},
    {kBarcodePageOwner,
     230,
     230,
     {},
     K52_TR("Tooltips", "依此頁的設定印出測試條碼: 終端機應讀取的, 以及應拒絕的 (太短、太長、未啟用)。")},
    {kBarcodePageOwner, 701, 701, {}, K52_TR("Tooltips", "掃瞄器如何啟動及維持: 按一次讀一次、連續讀取等。")},
    {kBarcodePageOwner,
     702,
     702,
     {},
     K52_TR("Tooltips", "同一條碼須再讀到幾次相同結果才接受; 次數越多越不易讀錯, 但較慢。")},
    {kBarcodePageOwner, 601, 601, {}, K52_TR("Tooltips", "按下掃瞄鍵後掃瞄器維持開啟的秒數。")},
    {kBarcodePageOwner,
     230,
     230,
     {},
     K52_TR("Tooltips", "為啟用的條碼產生測試標籤, 並各附一張應被拒絕的錯誤標籤。")},

    {kStartupPageOwner, 700, 700, {}, K52_TR("Tooltips", "終端機開機後執行的第一個畫面: 表單 1 或選單 1。")},
    {kStartupPageOwner, 701, 701, {}, K52_TR("Tooltips", "收集的每筆資料中, 欄位之間的分隔符號數目。")},
    {kStartupPageOwner, 601, 602, {}, K52_TR("Tooltips", "分隔符號的字元代碼 (0 到 255)。")},
    {kStartupPageOwner, 603, 604, {}, K52_TR("Tooltips", "分隔符號本身, 一個字元。")},
    {kStartupPageOwner,
     605,
     605,
     {},
     K52_TR("Tooltips", "終端機在勾選的功能前要求的密碼, 最多 10 位元組; 空白為不設密碼。")},
    {kStartupPageOwner, 101, 112, {}, K52_TR("Tooltips", "勾選時, 終端機在執行此功能前要求安全密碼。")},
    {kStartupPageOwner, 702, 702, {}, K52_TR("Tooltips", "終端機上傳收集資料時使用的連接埠。")},
    {kStartupPageOwner, 703, 703, {}, K52_TR("Tooltips", "終端機接收程式及索引檔時使用的連接埠。")},
    {kStartupPageOwner, 704, 704, {}, K52_TR("Tooltips", "終端機的傳輸速度; 必須與電腦的設定相同。")},
    {kStartupPageOwner, 705, 705, {}, K52_TR("Tooltips", "終端機開機時螢幕背光開或關。")},
    {kStartupPageOwner, 706, 706, {}, K52_TR("Tooltips", "上傳後是否自動刪除終端機上的資料。")},
    {kStartupPageOwner, 707, 707, {}, K52_TR("Tooltips", "終端機是否顯示已收集的資料筆數。")},

    {kFieldAttributesOwner, 101, 101, {}, K52_TR("Tooltips", "將輸入的資料補足成固定長度。")},
    {kFieldAttributesOwner, 601, 601, {}, K52_TR("Tooltips", "固定的長度 (字元數)。")},
    {kFieldAttributesOwner, 401, 402, {}, K52_TR("Tooltips", "資料短於固定長度時靠左或靠右, 以空白補足。")},
    {kFieldAttributesOwner, 102, 102, {}, K52_TR("Tooltips", "此行開始時已填入的值。")},
    {kFieldAttributesOwner, 602, 602, {}, K52_TR("Tooltips", "此行開始時已填入的值。")},
    {kFieldAttributesOwner,
     103,
     103,
     {},
     K52_TR("Tooltips", "加在資料前面的字元; 只含數字與空白時代表其位元組值。")},
    {kFieldAttributesOwner,
     603,
     603,
     {},
     K52_TR("Tooltips", "加在資料前面的字元; 只含數字與空白時代表其位元組值。")},
    {kFieldAttributesOwner,
     104,
     104,
     {},
     K52_TR("Tooltips", "加在資料後面的字元; 只含數字與空白時代表其位元組值。")},
    {kFieldAttributesOwner,
     604,
     604,
     {},
     K52_TR("Tooltips", "加在資料後面的字元; 只含數字與空白時代表其位元組值。")},
    {kFieldAttributesOwner, 106, 106, {}, K52_TR("Tooltips", "只保留條碼的一部分。")},
    {kFieldAttributesOwner, 606, 606, {}, K52_TR("Tooltips", "保留部分的第一個字元位置, 從 1 起算。")},
    {kFieldAttributesOwner, 607, 607, {}, K52_TR("Tooltips", "最多保留的字元數。")},
    {kFieldAttributesOwner, 108, 108, {}, K52_TR("Tooltips", "條碼必須以此文字開頭, 否則拒絕。")},
    {kFieldAttributesOwner, 608, 608, {}, K52_TR("Tooltips", "條碼必須以此文字開頭, 否則拒絕。")},
    {kFieldAttributesOwner, 109, 109, {}, K52_TR("Tooltips", "輸入達到最大長度時自動跳到下一行。")},

    {"Symbology", 0, 0, K52_TR("Symbology", "傳送 起始碼/終止碼"),
     K52_TR("Tooltips", "將起始與終止字元 (*) 一起傳送。")},
    {"Symbology", 0, 0, K52_TR("Symbology", "檢驗檢查碼"),
     K52_TR("Tooltips", "檢查條碼的檢查碼, 不符時拒絕。")},
    {"Symbology", 0, 0, K52_TR("Symbology", "傳送檢查碼"),
     K52_TR("Tooltips", "將檢查碼一起傳送; 不勾選時去掉。")},
    {"Symbology", 0, 0, "Code 39 Full ASCII", K52_TR("Tooltips", "把兩個字元的組合讀成完整的 ASCII 字元。")},
    {"Symbology", 0, 0, K52_TR("Symbology", "起始/終止 選項"),
     K52_TR("Tooltips", "條碼使用的起始與終止圖樣。")},
    {"Symbology", 0, 0, K52_TR("Symbology", "長度要求"),
     K52_TR("Tooltips", "接受的條碼長度: 一個或兩個固定長度, 或最大與最小長度之間。")},
    {"Symbology", 0, 0, K52_TR("Symbology", "起始/終止 碼選項"),
     K52_TR("Tooltips", "是否傳送起始與終止字元, 及其形式。")},
    {"Symbology", 0, 0, K52_TR("Symbology", "檢查碼驗證方式"), K52_TR("Tooltips", "計算檢查碼的方法。")},
    {"Symbology", 0, 0, K52_TR("Symbology", "檢查碼傳送選項"), K52_TR("Tooltips", "傳送幾位檢查碼。")},
    {"Symbology", 0, 0, K52_TR("Symbology", "轉換為 UK Plessey"),
     K52_TR("Tooltips", "讀成 UK Plessey 格式。")},
    {"Symbology", 0, 0, K52_TR("Symbology", "轉換為 UPCA"),
     K52_TR("Tooltips", "將 UPC-E 展開成 UPC-A 傳送。")},
    {"Symbology", 0, 0, K52_TR("Symbology", "傳送系統代碼"), K52_TR("Tooltips", "傳送開頭的系統代碼。")},
    {"Symbology", 0, 0, K52_TR("Symbology", "轉換為 EAN13"),
     K52_TR("Tooltips", "將 EAN-8 補成 EAN-13 傳送。")},
    {"Symbology", 0, 0, K52_TR("Symbology", "轉換為 ISBN"),
     K52_TR("Tooltips", "將書籍的 EAN-13 (978, 979) 轉成 ISBN 傳送。")},
    {"Symbology", 0, 0, K52_TR("Symbology", "轉換為 ISSN"),
     K52_TR("Tooltips", "將期刊的 EAN-13 (977) 轉成 ISSN 傳送。")},
    {"Symbology", 0, 0, K52_TR("Symbology", "傳送 UPCA 系統代碼"),
     K52_TR("Tooltips", "傳送 UPC-A 開頭的系統代碼。")},
    {"Symbology", 0, 0, K52_TR("Symbology", "傳送 UPCA 檢查碼"), K52_TR("Tooltips", "傳送 UPC-A 的檢查碼。")},
    {"Symbology", 0, 0, K52_TR("Symbology", "轉換 UPCA 為 EAN 13"),
     K52_TR("Tooltips", "UPC-A 前面補 0 成為 EAN-13 傳送。")},
    {"SymbologyLength", 601, 602, {}, K52_TR("Tooltips", "條碼長度 (字元數, 1 到 127)。")},
};

std::string_view Shown(const char* text) {
    return Translate("Tooltips", text);
}

std::string_view ById(std::string_view owner, int id) {
    for (const Tip& tip : kTips)
        if (tip.owner == owner && id >= tip.first && id <= tip.last) return Shown(tip.text);
    return {};
}

std::string_view ByCaption(std::string_view caption) {
    for (const Tip& tip : kTips)
        if (tip.owner == "Symbology" && tip.caption == caption) return Shown(tip.text);
    return {};
}

}  // namespace

std::string_view ControlTooltip(std::string_view owner, int id) {
    if (std::string_view tip = ById(owner, id); !tip.empty()) return tip;
    for (const SymbologyDialogInfo& dialog : SymbologyDialogs()) {
        if (dialog.name != owner) continue;
        if (id == SymbologyDialog::kFirstLengthBox || id == SymbologyDialog::kSecondLengthBox)
            return ById("SymbologyLength", id);
        for (const SymbologyItem& item : dialog.items) {
            const int count =
                item.kind == SymbologyItemKind::Check ? 1 : static_cast<int>(item.buttons.size());
            if (id >= item.firstId && id < item.firstId + count) return ByCaption(item.caption);
        }
    }
    return {};
}

}  // namespace k52
