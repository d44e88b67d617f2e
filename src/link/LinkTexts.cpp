// The formatted texts of the transfers. Each is built from its pattern in the chosen language.
#include "link/LinkTexts.h"

namespace k52::link_text {
namespace {

std::string Text(const char* pattern, std::initializer_list<std::string_view> args) {
    return Substitute(Translate("Link", pattern), args);
}

}  // namespace

std::string ReceiveDone(int count) {
    return Text(K52_TR("Link", "完成 : 共接收 %1 筆資料. \n立即瀏覽接收到的資料嗎??"),
                {std::to_string(count)});
}

std::string BadPortSettings(int comPort, int baudRate) {
    return Text(K52_TR("Link", "傳輸埠設定無效 (連接埠代碼 %1, 速率代碼 %2), 請重新設定傳輸埠!!"),
                {std::to_string(comPort), std::to_string(baudRate)});
}

std::string LookupRecordTooLong(long line) {
    return Text(K52_TR("Link", "檔案第 %1 行的資料超過 253 個位元組, 無法下載!!"), {std::to_string(line)});
}

std::string LookupNotRegular() {
    return Text(K52_TR("Link", "無法開啟檔案!! (不是一般檔案)"), {});
}

std::string LookupRefusalInFile(const std::string& refusal, const std::string& path) {
    return Text(K52_TR("Link", "%1\n檔案: %2"), {refusal, path});
}

std::string ReceiveInterrupted(int kept, bool lastMayComeAgain) {
    std::string text =
        Text(K52_TR("Link", "接收中斷, 已接收的 %1 筆資料已保存在檔案中."), {std::to_string(kept)});
    if (lastMayComeAgain)
        text += Text(K52_TR("Link", " 第 %1 筆資料下次可能會再傳送一次."), {std::to_string(kept)});
    return text;
}

std::string DataFileWriteFailed(int kept) {
    if (kept <= 0) return Text(K52_TR("Link", "寫入檔案失敗!!"), {});
    return Text(K52_TR("Link", "寫入檔案失敗!! 先前接收的 %1 筆資料已保存在檔案中."), {std::to_string(kept)});
}

std::string LeftoverPartialFile(const std::string& path, long records) {
    return Text(K52_TR("Link", "先前中斷的接收留下了檔案 %1, 其中有 %2 筆終端機已確認送出的資料."),
                {path, std::to_string(records)});
}

std::string LookupMayBeDuplicated(const std::vector<long>& lines) {
    std::string list;
    for (long line : lines) list += (list.empty() ? "" : ", ") + std::to_string(line);
    return Text(K52_TR("Link", "終端機可能重複存了第 %1 行的資料 (未及時回應後重送), 請檢查終端機上的資料!!"),
                {list});
}

}  // namespace k52::link_text
