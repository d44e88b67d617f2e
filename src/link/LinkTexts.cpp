// The formatted texts of the transfers.
#include "link/LinkTexts.h"

namespace k52::link_text {

std::string ReceiveDone(int count) {
    return "完成 : 共接收 " + std::to_string(count) + " 筆資料. \n立即瀏覽接收到的資料嗎??";
}

std::string BadPortSettings(int comPort, int baudRate) {
    return "傳輸埠設定無效 (連接埠代碼 " + std::to_string(comPort) + ", 速率代碼 " +
           std::to_string(baudRate) + "), 請重新設定傳輸埠!!";
}

std::string LookupRecordTooLong(long line) {
    return "檔案第 " + std::to_string(line) + " 行的資料超過 253 個位元組, 無法下載!!";
}

std::string LookupNotRegular() {
    return "無法開啟檔案!! (不是一般檔案)";
}

std::string ReceiveInterrupted(int kept, bool lastMayComeAgain) {
    std::string text = "接收中斷, 已接收的 " + std::to_string(kept) + " 筆資料已保存在檔案中.";
    if (lastMayComeAgain) text += " 第 " + std::to_string(kept) + " 筆資料下次可能會再傳送一次.";
    return text;
}

std::string DataFileWriteFailed(int kept) {
    if (kept <= 0) return "寫入檔案失敗!!";
    return "寫入檔案失敗!! 先前接收的 " + std::to_string(kept) + " 筆資料已保存在檔案中.";
}

std::string LookupMayBeDuplicated(const std::vector<long>& lines) {
    std::string list;
    for (long line : lines) list += (list.empty() ? "" : ", ") + std::to_string(line);
    return "終端機可能重複存了第 " + list + " 行的資料 (未及時回應後重送), 請檢查終端機上的資料!!";
}

}  // namespace k52::link_text
