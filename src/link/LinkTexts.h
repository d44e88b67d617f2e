// Every text the transfers show the user (UTF-8), in one table.
#pragma once

#include <string>
#include <vector>

#include "i18n/Translate.h"

namespace k52::link_text {

inline constexpr char kErrorTitle[] = K52_TR("Link", "錯誤");
inline constexpr char kPortOpenFailed[] = K52_TR("Link", "連接埠無法打開!!");
inline constexpr char kIrSetupFailed[] = K52_TR("Link", "設置紅外線裝置失敗!!");
inline constexpr char kPortSetupFailed[] = K52_TR("Link", "設置連接埠失敗!!");
inline constexpr char kReceivePortOpenFailed[] = K52_TR("Link", "無法打開通訊埠!!");
inline constexpr char kReceiveIrSetupFailed[] = K52_TR("Link", "無法設定紅外線裝置!!");
inline constexpr char kCannotOpenFile[] = K52_TR("Link", "無法開啟檔案!!");
inline constexpr char kTerminalNotReady[] = K52_TR("Link", "終端機尚未就緒!!");
inline constexpr char kDownloadFailed[] = K52_TR("Link", "下載失敗!!");
inline constexpr char kRetryQuestion[] = K52_TR("Link", "下載失敗,再試一次嗎??");
inline constexpr char kDownloadDone[] = K52_TR("Link", "下載完畢!!");
inline constexpr char kDownloadDoneTitle[] = "Download";
inline constexpr char kProgressTitle[] = K52_TR("Link", "下載程式");
inline constexpr char kProgressText[] = K52_TR("Link", "下載中...");
inline constexpr char kCreateFileFailed[] = K52_TR("Link", "開啟 / 新建檔案失敗!!");
inline constexpr char kTimeOut[] = K52_TR("Link", "逾時!!");
inline constexpr char kNoConnection[] = K52_TR("Link", "通訊埠無法連通!!");
inline constexpr char kLineLost[] = K52_TR("Link", "通訊埠已中斷 (傳輸線或轉接器被拔除?)!!");
inline constexpr char kReceiveTitle[] = K52_TR("Link", "接收資料");
inline constexpr char kNothingReceived[] = K52_TR("Link", "沒有接收到任何資料!!");
inline constexpr char kDownloadCancelled[] = K52_TR("Link", "下載已取消!!");
inline constexpr char kTooManyRefusals[] = K52_TR("Link", "資料連續錯誤, 接收中斷!!");

// Formatted with the record count; the line break is part of the text.
std::string ReceiveDone(int count);
std::string BadPortSettings(int comPort, int baudRate);
std::string LookupRecordTooLong(long line);
std::string LookupNotRegular();
// A refusal of a lookup file's contents, with the file it is about.
std::string LookupRefusalInFile(const std::string& refusal, const std::string& path);
// A failed receive: how many records were kept, and the one the terminal may send again.
std::string ReceiveInterrupted(int kept, bool lastMayComeAgain);
std::string DataFileWriteFailed(int kept);
// A partial file that an earlier receive into the same file left when it was killed.
std::string LeftoverPartialFile(const std::string& path, long records);
// A lookup record that was sent again after an answer that came too late or not at all.
std::string LookupMayBeDuplicated(const std::vector<long>& lines);

}  // namespace k52::link_text
