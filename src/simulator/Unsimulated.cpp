// Finding and wording what the simulated terminal leaves to the real one.
#include "simulator/Unsimulated.h"

#include "i18n/Translate.h"

namespace k52 {
namespace {

constexpr int kGuardCount = 12;

struct FeatureText {
    const char* name;
    const char* label;
};

// Indexed by Unsimulated.
constexpr FeatureText kFeatures[] = {
    {"lookup", K52_TR("Unsimulated", "索引檔查詢")},
    {"dateStamp", K52_TR("Unsimulated", "日期戳記")},
    {"timeStamp", K52_TR("Unsimulated", "時間戳記")},
    {"prefix", K52_TR("Unsimulated", "加入前置碼")},
    {"suffix", K52_TR("Unsimulated", "加入後置碼")},
    {"fixedLength", K52_TR("Unsimulated", "固定長度")},
    {"partialBarcode", K52_TR("Unsimulated", "截取部分條碼")},
    {"prefixCheck", K52_TR("Unsimulated", "檢驗前置碼")},
    {"autoAdvance", K52_TR("Unsimulated", "自動換行")},
    {"scannerOnly", K52_TR("Unsimulated", "只由掃瞄器輸入")},
    {"password", K52_TR("Unsimulated", "安全密碼")},
};

constexpr FeatureText kGuards[kGuardCount] = {
    {"systemSettings", K52_TR("Unsimulated", "系統設定")},
    {"editData", K52_TR("Unsimulated", "編輯資料")},
    {"deleteData", K52_TR("Unsimulated", "刪除資料")},
    {"setDateTime", K52_TR("Unsimulated", "設定日期時間")},
    {"downloadSystem", K52_TR("Unsimulated", "下載系統程式")},
    {"downloadLookup", K52_TR("Unsimulated", "下載索引檔案")},
    {"setUploadPort", K52_TR("Unsimulated", "設定上傳埠")},
    {"setDownloadPort", K52_TR("Unsimulated", "設定下載埠")},
    {"setSpeed", K52_TR("Unsimulated", "設定傳輸速度")},
    {"setBacklight", K52_TR("Unsimulated", "設定螢幕背光")},
    {"setDeletion", K52_TR("Unsimulated", "設定刪除資料")},
    {"recordCountPrompt", K52_TR("Unsimulated", "資料筆數提示")},
};

const FeatureText& Text(Unsimulated f) {
    return kFeatures[static_cast<int>(f)];
}

bool FormInUse(const FormRecord& f) {
    for (u8 type : f.lineType)
        if (type != kLineNone) return true;
    return false;
}

// Whether line i of f uses `feature` (line-level features only).
bool LineUses(const FormRecord& f, int i, Unsimulated feature) {
    const int type = f.lineType[i];
    const bool input = IsInputLineType(type);
    switch (feature) {
        case Unsimulated::Lookup:
            return type == kLineLookupRef || (input && f.lookupField[i] != 0);
        case Unsimulated::Prefix:
            return input && f.hasPrefix[i];
        case Unsimulated::Suffix:
            return input && f.hasSuffix[i];
        case Unsimulated::FixedLength:
            return input && f.fixedLength[i];
        case Unsimulated::PartialBarcode:
            return input && f.partialBarcode[i];
        case Unsimulated::PrefixCheck:
            return input && f.verifyPrefix[i];
        case Unsimulated::AutoAdvance:
            return input && f.autoAdvance[i];
        case Unsimulated::ScannerOnly:
            return input && f.inputSource[i] == 0;
        default:
            return false;
    }
}

bool FormUses(const FormRecord& f, Unsimulated feature) {
    switch (feature) {
        case Unsimulated::Lookup:
            return f.lookupFile != 0;
        case Unsimulated::DateStamp:
            return f.dateStamp != 0;
        case Unsimulated::TimeStamp:
            return f.timeStamp != 0;
        default:
            return false;
    }
}

}  // namespace

std::vector<UnsimulatedUse> FindUnsimulated(const ApplicationTemplate& t) {
    std::vector<UnsimulatedUse> uses;
    for (int k = 0; k <= static_cast<int>(Unsimulated::ScannerOnly); ++k) {
        const auto feature = static_cast<Unsimulated>(k);
        for (int n = 1; n <= kFormCount; ++n) {
            const FormRecord& f = t.form(n);
            if (!FormInUse(f)) continue;
            if (FormUses(f, feature)) uses.push_back({feature, n, 0});
            for (int i = 0; i < kLinesPerForm; ++i)
                if (LineUses(f, i, feature)) uses.push_back({feature, n, i + 1});
        }
    }
    // An empty password asks nothing, whatever it guards.
    if (t.securityPassword[0] != 0)
        for (int g = 0; g < kGuardCount; ++g)
            if (t.startupSettings.passwordGuard[g]) uses.push_back({Unsimulated::Password, 0, 0, g});
    return uses;
}

const char* UnsimulatedName(Unsimulated feature) {
    return Text(feature).name;
}

const char* PasswordGuardName(int guard) {
    return guard >= 0 && guard < kGuardCount ? kGuards[guard].name : "";
}

std::string DescribeUnsimulated(const std::vector<UnsimulatedUse>& uses) {
    std::string text;
    for (std::size_t i = 0; i < uses.size();) {
        const Unsimulated feature = uses[i].feature;
        std::string places;
        for (; i < uses.size() && uses[i].feature == feature; ++i) {
            const UnsimulatedUse& u = uses[i];
            std::string place;
            if (feature == Unsimulated::Password)
                place = Translate("Unsimulated", kGuards[u.guard].label);
            else if (u.line == 0)
                place = Substitute(Translate("Unsimulated", K52_TR("Unsimulated", "表單 %1")),
                                   {std::to_string(u.form)});
            else
                place = Substitute(Translate("Unsimulated", K52_TR("Unsimulated", "表單 %1 第 %2 行")),
                                   {std::to_string(u.form), std::to_string(u.line)});
            places += (places.empty() ? "" : ", ") + place;
        }
        text += std::string(Translate("Unsimulated", Text(feature).label)) + ": " + places + "\n";
    }
    return text;
}

}  // namespace k52
