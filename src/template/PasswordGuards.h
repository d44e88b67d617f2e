// The twelve functions a start-up password can guard, in the order of `passwordGuard`, in the editor's
// words (its translation context), for every page that names them.
#pragma once

#include <iterator>

#include "i18n/Translate.h"
#include "template/Template.h"

namespace k52 {

inline constexpr const char* kPasswordGuardContext = "EditorPages";
inline constexpr const char* kPasswordGuardNames[] = {
    K52_TR("EditorPages", "系統設定"),     K52_TR("EditorPages", "編輯資料"),
    K52_TR("EditorPages", "刪除資料"),     K52_TR("EditorPages", "設定日期時間"),
    K52_TR("EditorPages", "下載系統程式"), K52_TR("EditorPages", "下載索引檔案"),
    K52_TR("EditorPages", "設定上傳埠"),   K52_TR("EditorPages", "設定下載埠"),
    K52_TR("EditorPages", "設定傳輸速度"), K52_TR("EditorPages", "設定螢幕背光"),
    K52_TR("EditorPages", "設定刪除資料"), K52_TR("EditorPages", "資料筆數提示")};
static_assert(std::size(kPasswordGuardNames) == std::size(StartupSettings{}.passwordGuard));

}  // namespace k52
