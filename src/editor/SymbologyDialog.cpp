// The symbology option dialogs: one table describes all twelve, one class runs them.
#include "editor/SymbologyDialog.h"

#include <initializer_list>

#include "i18n/Translate.h"

namespace k52 {
namespace {

using K = SymbologyItemKind;

const std::vector<std::string_view> kStartStopPatterns = {"Industrial 25", "Interleave 25", "Matrix 25"};
const std::vector<std::string_view> kLengthModes = {K52_TR("Symbology", "固定長度"),
                                                    K52_TR("Symbology", "最大/最小 長度")};

// A dialog of check boxes only, numbered from 101 in the order given.
SymbologyDialogInfo CheckDialog(std::string_view name, std::string_view title, int button,
                                std::initializer_list<std::string_view> captions) {
    SymbologyDialogInfo info{name, title, button, {}};
    int id = 101;
    for (std::string_view caption : captions) info.items.push_back({K::Check, id++, caption, {}});
    return info;
}

// Industrial, Interleave and Matrix 25 ask the same.
SymbologyDialogInfo TwoOfFiveDialog(std::string_view name, std::string_view title, int button) {
    return {name,
            title,
            button,
            {{K::Radio, 401, K52_TR("Symbology", "起始/終止 選項"), kStartStopPatterns},
             {K::Check, 101, K52_TR("Symbology", "檢驗檢查碼"), {}},
             {K::Check, 102, K52_TR("Symbology", "傳送檢查碼"), {}},
             {K::Length, 404, K52_TR("Symbology", "長度要求"), kLengthModes}}};
}

std::vector<SymbologyDialogInfo> BuildDialogs() {
    const std::string_view kSendCheck = K52_TR("Symbology", "傳送檢查碼");
    return {
        CheckDialog("Code39Dlg", K52_TR("Symbology", "Code 39 碼參數"), 201,
                    {K52_TR("Symbology", "傳送 起始碼/終止碼"), K52_TR("Symbology", "檢驗檢查碼"), kSendCheck,
                     "Code 39 Full ASCII"}),
        CheckDialog("ItalyPharmaDlg", K52_TR("Symbology", "Italy Pharmacode 碼參數"), 202, {kSendCheck}),
        CheckDialog("FrenchPharmaDlg", K52_TR("Symbology", "French Pharmacode 碼參數"), 203, {kSendCheck}),
        TwoOfFiveDialog("Industrial25Dlg", K52_TR("Symbology", "Industrial 25 碼參數"), 204),
        TwoOfFiveDialog("Interleave25Dlg", K52_TR("Symbology", "Interleave 25 碼參數"), 205),
        TwoOfFiveDialog("Matrix25Dlg", K52_TR("Symbology", "Matrix 25 碼參數"), 206),
        {"CodabarDlg",
         K52_TR("Symbology", "Codabar 碼參數"),
         207,
         {{K::Codabar,
           401,
           K52_TR("Symbology", "起始/終止 碼選項"),
           {K52_TR("Symbology", "無"), "abcd / abcd", "abcd / tn*e", "ABCD / ABCD", "ABCD / TN*E"}}}},
        {"MSIDlg",
         K52_TR("Symbology", "MSI 碼參數"),
         208,
         {{K::Radio,
           401,
           K52_TR("Symbology", "檢查碼驗證方式"),
           {"Single Modulo 10", "Double Modulo 10", "Modulo 11 & 10"}},
          {K::Radio,
           404,
           K52_TR("Symbology", "檢查碼傳送選項"),
           {"Last digit not transmitted", "Transmitted", "Last 2 digits not transmitted"}},
          {K::Length, 407, K52_TR("Symbology", "長度要求"), kLengthModes}}},
        CheckDialog("PlesseyDlg", K52_TR("Symbology", "Plessey 碼參數"), 209,
                    {K52_TR("Symbology", "轉換為 UK Plessey"), kSendCheck}),
        CheckDialog("UPCEDlg", K52_TR("Symbology", "UPCE 碼參數"), 213,
                    {K52_TR("Symbology", "轉換為 UPCA"), K52_TR("Symbology", "傳送系統代碼"), kSendCheck}),
        CheckDialog("EAN8Dlg", K52_TR("Symbology", "EAN 8 碼參數"), 216,
                    {K52_TR("Symbology", "轉換為 EAN13"), kSendCheck}),
        CheckDialog("EAN13Dlg", K52_TR("Symbology", "EAN 13 和 UPCA 碼參數"), 219,
                    {K52_TR("Symbology", "轉換為 ISBN"), K52_TR("Symbology", "轉換為 ISSN"), kSendCheck,
                     K52_TR("Symbology", "傳送 UPCA 系統代碼"), K52_TR("Symbology", "傳送 UPCA 檢查碼"),
                     K52_TR("Symbology", "轉換 UPCA 為 EAN 13")}),
    };
}

}  // namespace

std::span<const SymbologyDialogInfo> SymbologyDialogs() {
    static const std::vector<SymbologyDialogInfo> dialogs = BuildDialogs();
    return dialogs;
}

const SymbologyDialogInfo* FindSymbologyDialog(int pageButton) {
    for (const SymbologyDialogInfo& d : SymbologyDialogs())
        if (d.pageButton == pageButton) return &d;
    return nullptr;
}

SymbologyDialog::SymbologyDialog(BarcodeSettings& block, const SymbologyDialogInfo& info)
    : block_(block), info_(info) {
    for (const SymbologyItem& item : info.items) {
        Item g{&item,   FindBarcodeField(info.name, item.firstId), nullptr,
               nullptr, static_cast<int>(item.buttons.size()),     0};
        if (item.kind == K::Codabar) g.second = FindBarcodeField(info.name, item.firstId + 1);
        if (item.kind == K::Length) {
            g.second = FindBarcodeField(info.name, kFirstLengthBox);
            g.third = FindBarcodeField(info.name, kSecondLengthBox);
        }
        // The table and the bit map are written together; a dialog item without its bits is dropped
        // rather than writing somewhere arbitrary.
        bool complete = g.field && (item.kind != K::Codabar || g.second) &&
                        (item.kind != K::Length || (g.second && g.third));
        if (complete) items_.push_back(g);
    }
}

void SymbologyDialog::OnInitialise() {
    for (Item& g : items_) {
        int value = ReadBarcodeField(block_, *g.field);
        switch (g.item->kind) {
            case K::Check:
                g.selected = value;
                break;
            case K::Radio:
            case K::Length:
                g.selected = value < g.buttons ? g.item->firstId + value : 0;
                break;
            case K::Codabar:
                g.selected =
                    value == 0 ? g.item->firstId : g.item->firstId + 1 + ReadBarcodeField(block_, *g.second);
                break;
        }
        ShowGroup(g);
        if (g.item->kind == K::Length) {
            firstLength_ = ReadBarcodeField(block_, *g.second);
            secondLength_ = ReadBarcodeField(block_, *g.third);
            ShowText(kFirstLengthBox, std::to_string(firstLength_));
            ShowText(kSecondLengthBox, std::to_string(secondLength_));
        }
    }
}

void SymbologyDialog::ShowGroup(const Item& g) {
    if (g.item->kind == K::Check) {
        Check(g.item->firstId, g.selected != 0);
        return;
    }
    for (int b = 0; b < g.buttons; ++b) Check(g.item->firstId + b, g.item->firstId + b == g.selected);
    if (g.item->kind == K::Length) ShowLengthLabels(g);
}

void SymbologyDialog::ShowLengthLabels(const Item& g) {
    bool fixed = g.selected == g.item->firstId;
    ShowText(kFirstLengthLabel,
             fixed ? K52_TR("Symbology", "固定長度 :") : K52_TR("Symbology", "最大長度 :"));
    ShowText(kSecondLengthLabel,
             fixed ? K52_TR("Symbology", "固定長度 :") : K52_TR("Symbology", "最小長度 :"));
}

void SymbologyDialog::OnClicked(int id) {
    if (id == kIdOk) {
        Write();
        Close(1);
        return;
    }
    if (id == kIdCancel) {
        Close(0);
        return;
    }
    for (Item& g : items_) {
        if (g.item->kind == K::Check) {
            if (id != g.item->firstId) continue;
            g.selected = g.selected ? 0 : 1;
        } else {
            if (id < g.item->firstId || id >= g.item->firstId + g.buttons) continue;
            g.selected = id;
        }
        ShowGroup(g);
        return;
    }
}

void SymbologyDialog::OnTextChanged(int id, std::string_view utf8) {
    if (id != kFirstLengthBox && id != kSecondLengthBox) return;
    bool first = id == kFirstLengthBox;
    auto number = ParseBoxNumber(utf8);
    if (!number) {
        if (!utf8.empty()) ReplaceText(id, first ? "127" : "1");
        (first ? firstLength_ : secondLength_) = first ? kMaxLength : 1;
        return;
    }
    // The text stays as typed; the first length is held within its seven bits, the second is brought
    // within the first at OK.
    if (first)
        firstLength_ = *number > kMaxLength ? kMaxLength : static_cast<int>(*number);
    else
        secondLength_ = *number > 255 ? 255 : static_cast<int>(*number);
}

void SymbologyDialog::Write() {
    const Item* lengths = nullptr;
    for (const Item& g : items_) {
        switch (g.item->kind) {
            case K::Check:
                WriteBarcodeField(block_, *g.field, g.selected);
                break;
            case K::Radio:
                // A group showing no selection keeps the stored value.
                if (g.selected) WriteBarcodeField(block_, *g.field, g.selected - g.item->firstId);
                break;
            case K::Codabar:
                if (!g.selected) break;
                if (g.selected == g.item->firstId) {
                    WriteBarcodeField(block_, *g.field, 0);
                    WriteBarcodeField(block_, *g.second, 0);
                } else {
                    WriteBarcodeField(block_, *g.field, 1);
                    WriteBarcodeField(block_, *g.second, g.selected - g.item->firstId - 1);
                }
                break;
            case K::Length:
                lengths = &g;
                break;
        }
    }
    if (!lengths) return;
    int first = firstLength_ == 0 ? 1 : firstLength_;
    int second = secondLength_ > first ? first : secondLength_;
    if (second == 0) second = 1;
    if (lengths->selected)
        WriteBarcodeField(block_, *lengths->field, lengths->selected - lengths->item->firstId);
    WriteBarcodeField(block_, *lengths->second, first);
    WriteBarcodeField(block_, *lengths->third, second);
}

}  // namespace k52
