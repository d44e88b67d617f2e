// The widgets of the sheet's pages and dialogs, each tagged with its control id.
#include "editor/ui/EditorPages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editor/BarcodePage.h"
#include "editor/FormPage.h"
#include "editor/LookupPage.h"
#include "editor/MenuPage.h"
#include "editor/StartupPage.h"
#include "editor/SymbologyDialog.h"
#include "editor/ui/ControlBinder.h"
#include "i18n/Translate.h"

namespace k52 {
namespace {

constexpr int kNumberBytes = 4;

QLabel* Header(const char* text) {
    QLabel* label = MakeLabel(text);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLabel* RowLabel(int n) {
    return new QLabel(QStringLiteral("#%1").arg(n));
}

// A label and its widget side by side, kept together at their natural width.
QWidget* Labelled(const char* label, QWidget* widget, const char* unit = nullptr) {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(MakeLabel(label));
    row->addWidget(widget);
    if (unit) row->addWidget(MakeLabel(unit));
    row->addStretch();
    return box;
}

QHBoxLayout* OkCancelRow() {
    auto* row = new QHBoxLayout;
    row->addStretch();
    QPushButton* ok = MakeButton(kIdOk, K52_TR("EditorPages", "確定"));
    ok->setDefault(true);
    row->addWidget(ok);
    row->addWidget(MakeButton(kIdCancel, K52_TR("EditorPages", "取消")));
    return row;
}

}  // namespace

QWidget* BuildFormPage() {
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);

    auto* top = new QGridLayout;
    const std::pair<const char*, int> lists[] = {
        {K52_TR("EditorPages", "表單代號 :"), FormPage::kFormList},
        {K52_TR("EditorPages", "按 Esc 返回 :"), FormPage::kEscapeList},
        {K52_TR("EditorPages", "下 一 項 :"), FormPage::kNextList},
        {K52_TR("EditorPages", "日期戳記 :"), FormPage::kDateStampList},
        {K52_TR("EditorPages", "時間戳記 :"), FormPage::kTimeStampList},
        {K52_TR("EditorPages", "索引檔 :"), FormPage::kLookupFileList},
        {K52_TR("EditorPages", "資  料 :"), FormPage::kDataActionList},
    };
    for (int i = 0; i < 7; ++i) {
        int row = i / 2, column = (i % 2) * 3;
        top->addWidget(MakeLabel(lists[i].first), row, column);
        top->addWidget(MakeList(lists[i].second), row, column + 1);
    }
    top->addWidget(MakeButton(FormPage::kCopyButton, K52_TR("EditorPages", "複製到...")), 3, 3, 1, 2,
                   Qt::AlignLeft);
    top->setColumnMinimumWidth(2, 24);
    top->setColumnStretch(5, 1);
    outer->addLayout(top);

    auto* lines = new QGroupBox;
    auto* grid = new QGridLayout(lines);
    const char* headers[] = {K52_TR("EditorPages", "資料型態"), K52_TR("EditorPages", "提  示"),
                             K52_TR("EditorPages", "輸入來源"), K52_TR("EditorPages", "最小長度"),
                             K52_TR("EditorPages", "最大長度"), K52_TR("EditorPages", "索  引"),
                             K52_TR("EditorPages", "資料屬性")};
    for (int c = 0; c < 7; ++c) grid->addWidget(Header(headers[c]), 0, c + 1);
    for (int n = 1; n <= FormPage::kShownLines; ++n) {
        grid->addWidget(RowLabel(n), n, 0);
        grid->addWidget(MakeList(FormPage::kTypeListBase + n), n, 1);
        grid->addWidget(MakeEdit(FormPage::kPromptBoxBase + n, FormPage::kPromptLimit), n, 2);
        grid->addWidget(MakeList(FormPage::kSourceListBase + n), n, 3);
        grid->addWidget(MakeEdit(FormPage::kMinLengthBoxBase + n, kNumberBytes), n, 4, Qt::AlignHCenter);
        grid->addWidget(MakeEdit(FormPage::kMaxLengthBoxBase + n, kNumberBytes), n, 5, Qt::AlignHCenter);
        grid->addWidget(MakeList(FormPage::kLookupFieldListBase + n), n, 6);
        grid->addWidget(MakeButton(FormPage::kAdvancedButtonBase + n, K52_TR("EditorPages", "進階...")), n,
                        7);
    }
    outer->addWidget(lines);
    outer->addStretch();
    return page;
}

QWidget* BuildMenuPage() {
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);

    auto* top = new QHBoxLayout;
    top->addWidget(Labelled(K52_TR("EditorPages", "選單代號 :"), MakeList(MenuPage::kMenuList)));
    top->addSpacing(24);
    top->addWidget(Labelled(K52_TR("EditorPages", "按 Esc 返回:"), MakeList(MenuPage::kEscapeList)));
    top->addSpacing(24);
    top->addWidget(MakeButton(MenuPage::kCopyButton, K52_TR("EditorPages", "複製到...")));
    top->addStretch();
    outer->addLayout(top);

    outer->addWidget(MakeCheck(MenuPage::kShowTitleCheck, K52_TR("EditorPages", "顯示選單名稱 :")));
    auto* titleRow = new QHBoxLayout;
    titleRow->addSpacing(20);
    titleRow->addWidget(MakeEdit(MenuPage::kTitleBox, MenuPage::kTextLimit));
    titleRow->addStretch();
    outer->addLayout(titleRow);

    auto* middle = new QHBoxLayout;
    auto* options = new QGroupBox;
    auto* grid = new QGridLayout(options);
    grid->addWidget(Header(K52_TR("EditorPages", "選項名稱")), 0, 1);
    grid->addWidget(Header(K52_TR("EditorPages", "下一項 :")), 0, 2);
    for (int i = 0; i < kOptionsPerMenu; ++i) {
        grid->addWidget(RowLabel(i + 1), i + 1, 0);
        grid->addWidget(MakeEdit(MenuPage::kFirstOptionBox + i, MenuPage::kTextLimit), i + 1, 1);
        grid->addWidget(MakeList(MenuPage::kFirstTargetList + i), i + 1, 2);
    }
    grid->setVerticalSpacing(3);
    middle->addWidget(options);

    auto* data = new QGroupBox(Translated(K52_TR("EditorPages", "資料")));
    auto* flags = new QVBoxLayout(data);
    flags->addWidget(MakeCheck(MenuPage::kStoreTitleCheck, K52_TR("EditorPages", "儲存選單名稱")));
    flags->addWidget(MakeCheck(MenuPage::kStoreSelectionCheck, K52_TR("EditorPages", "儲存選擇項目")));
    flags->addWidget(MakeCheck(MenuPage::kPassDownCheck, K52_TR("EditorPages", "往下傳遞")));
    flags->addStretch();
    middle->addWidget(data, 0, Qt::AlignTop);
    middle->addStretch();
    outer->addLayout(middle);
    outer->addStretch();
    return page;
}

QWidget* BuildLookupPage() {
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);
    auto* top = new QFormLayout;
    top->addRow(MakeLabel(K52_TR("EditorPages", "檔名 :")), MakeList(LookupPage::kFileList));
    top->addRow(MakeLabel(K52_TR("EditorPages", "每筆資料長度 :")),
                MakeEdit(LookupPage::kRecordLengthBox, kNumberBytes));
    top->addRow(MakeLabel(K52_TR("EditorPages", "欄位數目 :")), MakeList(LookupPage::kFieldCountList));
    top->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    outer->addLayout(top);

    auto* fields = new QGroupBox(Translated(K52_TR("EditorPages", "欄位")));
    auto* grid = new QGridLayout(fields);
    grid->addWidget(Header(K52_TR("EditorPages", "起始位置")), 0, 1);
    grid->addWidget(Header(K52_TR("EditorPages", "長  度")), 0, 2);
    grid->addWidget(Header(K52_TR("EditorPages", "索引欄")), 0, 3);
    for (int n = 1; n <= kLookupFieldsPerFile; ++n) {
        grid->addWidget(RowLabel(n), n, 0);
        grid->addWidget(MakeEdit(LookupPage::kStartBoxBase + n, kNumberBytes), n, 1);
        grid->addWidget(MakeEdit(LookupPage::kLengthBoxBase + n, kNumberBytes), n, 2);
        grid->addWidget(MakeRadio(LookupPage::kKeyRadioBase + n, ""), n, 3, Qt::AlignHCenter);
    }
    grid->setHorizontalSpacing(16);
    auto* row = new QHBoxLayout;
    row->addWidget(fields);
    auto* preview = new QVBoxLayout;
    QLabel* fixed = MakeLabel(K52_TR(
        "EditorPages", "索引檔的每筆資料都是固定長度: 終端機依起始位置和長度 (以位元組計) 切出各欄位。"));
    fixed->setWordWrap(true);
    preview->addWidget(fixed);
    preview->addWidget(MakeButton(LookupPage::kPreviewButton, K52_TR("EditorPages", "預覽範例檔...")), 0,
                       Qt::AlignLeft);
    QLabel* ruler = new QLabel;
    ruler->setObjectName(QStringLiteral("lookupRuler"));
    ruler->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ruler->setTextInteractionFlags(Qt::TextSelectableByMouse);
    preview->addWidget(ruler);
    preview->addStretch();
    row->addLayout(preview, 1);
    outer->addLayout(row);
    outer->addStretch();
    return page;
}

namespace {

// The scanner's settings under the symbologies: mode, redundancy, time-out and inverse codes.
QGridLayout* ScanSettings() {
    auto* scan = new QGridLayout;
    scan->addWidget(MakeLabel(K52_TR("EditorPages", "掃瞄模式 :")), 0, 0);
    scan->addWidget(MakeList(BarcodePage::kScanModeList), 0, 1, Qt::AlignLeft);
    scan->addWidget(MakeLabel(K52_TR("EditorPages", "重複讀取次數 :")), 0, 3);
    scan->addWidget(MakeList(BarcodePage::kRedundancyList), 0, 4, Qt::AlignLeft);
    scan->addWidget(MakeLabel(K52_TR("EditorPages", "掃瞄時限 :")), 1, 0);
    auto* timeout = new QHBoxLayout;
    timeout->addWidget(MakeEdit(BarcodePage::kTimeoutBox, kNumberBytes));
    timeout->addWidget(MakeLabel(K52_TR("EditorPages", "秒")));
    timeout->addStretch();
    scan->addLayout(timeout, 1, 1);
    scan->addWidget(MakeCheck(122, K52_TR("EditorPages", "讀取反相條碼")), 1, 3, 1, 2);
    scan->setColumnMinimumWidth(2, 24);
    scan->setColumnStretch(5, 1);
    return scan;
}

}  // namespace

QWidget* BuildBarcodePage() {
    struct Symbology {
        int check;
        const char* label;
        int button;  // 0: no options
    };
    const Symbology left[] = {
        {101, "Code 39", 201},
        {102, "Italy  Pharmacode", 202},
        {103, "French  Pharmacode", 203},
        {104, "Industrial 25", 204},
        {105, "Interleave 25", 205},
        {106, "Matrix 25", 206},
        {107, "Codabar", 207},
        {108, "MSI", 208},
        {109, "Plessey", 209},
        {110, "Code 93", 0},
        {111, "Code 128", 0},
    };
    const Symbology right[] = {
        {113, "UPCE", 213},         {114, "UPCE  Addon 2", 0},  {115, "UPCE  Addon 5", 0},
        {116, "EAN8", 216},         {117, "EAN8  Addon 2", 0},  {118, "EAN8  Addon 5", 0},
        {119, "EAN13 & UPCA", 219}, {120, "EAN13  Addon 2", 0}, {121, "EAN13  Addon 5", 0},
    };
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);
    auto* columns = new QHBoxLayout;
    for (const auto& column : {std::span<const Symbology>(left), std::span<const Symbology>(right)}) {
        auto* group = new QGroupBox;
        auto* grid = new QGridLayout(group);
        grid->setVerticalSpacing(2);
        int row = 0;
        for (const Symbology& s : column) {
            grid->addWidget(MakeCheck(s.check, s.label), row, 0);
            if (s.button)
                grid->addWidget(MakeButton(s.button, K52_TR("EditorPages", "設定參數  ...")), row, 1);
            ++row;
        }
        grid->setRowStretch(row, 1);
        columns->addWidget(group);
    }
    columns->addStretch();
    outer->addLayout(columns);

    outer->addLayout(ScanSettings());
    auto* labels = new QHBoxLayout;
    labels->addWidget(MakeButton(BarcodePage::kLabelsButton, K52_TR("EditorPages", "測試條碼...")));
    labels->addStretch();
    outer->addLayout(labels);
    outer->addStretch();
    return page;
}

QWidget* BuildStartupPage() {
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);

    auto* top = new QGridLayout;
    top->addWidget(MakeLabel(K52_TR("EditorPages", "程式起始位置 :")), 0, 0);
    top->addWidget(MakeList(StartupPage::kStartList), 0, 1, Qt::AlignLeft);
    top->addWidget(MakeLabel(K52_TR("EditorPages", "資料欄位分隔符號 :")), 1, 0);
    top->addWidget(MakeList(StartupPage::kSeparatorCountList), 1, 1, Qt::AlignLeft);
    for (int k = 0; k < 2; ++k) {
        auto* row = new QHBoxLayout;
        row->addWidget(MakeLabel(K52_TR("EditorPages", "數值 :")));
        row->addWidget(MakeEdit(StartupPage::kValueBox1 + k, kNumberBytes));
        row->addSpacing(16);
        row->addWidget(MakeLabel(K52_TR("EditorPages", "符號 :")));
        row->addWidget(MakeEdit(StartupPage::kSymbolBox1 + k, 2));
        row->addStretch();
        top->addLayout(row, 2 + k, 1);
    }
    top->addWidget(MakeLabel(K52_TR("EditorPages", "檢查安全密碼 (10 位數以內) :")), 4, 0);
    top->addWidget(MakeEdit(StartupPage::kPasswordBox, StartupPage::kPasswordLimit), 4, 1, Qt::AlignLeft);
    top->setColumnStretch(2, 1);
    outer->addLayout(top);

    const char* guards[] = {K52_TR("EditorPages", "系統設定"),     K52_TR("EditorPages", "編輯資料"),
                            K52_TR("EditorPages", "刪除資料"),     K52_TR("EditorPages", "設定日期時間"),
                            K52_TR("EditorPages", "下載系統程式"), K52_TR("EditorPages", "下載索引檔案")};
    auto* first = new QGroupBox(Translated(K52_TR("EditorPages", "檢查安全密碼的項目")));
    auto* firstGrid = new QGridLayout(first);
    for (int i = 0; i < 6; ++i)
        firstGrid->addWidget(MakeCheck(StartupPage::kFirstGuardCheck + i, guards[i]), i / 3, i % 3);
    outer->addWidget(first);

    const char* settings[] = {K52_TR("EditorPages", "設定上傳埠"),   K52_TR("EditorPages", "設定下載埠"),
                              K52_TR("EditorPages", "設定傳輸速度"), K52_TR("EditorPages", "設定螢幕背光"),
                              K52_TR("EditorPages", "設定刪除資料"), K52_TR("EditorPages", "資料筆數提示")};
    auto* second = new QGroupBox(Translated(K52_TR("EditorPages", "檢查安全密碼項目和系統設定初始值")));
    auto* secondGrid = new QGridLayout(second);
    for (int i = 0; i < 6; ++i) {
        int row = i / 2, column = (i % 2) * 3;
        secondGrid->addWidget(MakeCheck(StartupPage::kFirstGuardCheck + 6 + i, settings[i]), row, column);
        secondGrid->addWidget(MakeList(StartupPage::kFirstSettingList + i), row, column + 1);
    }
    secondGrid->setColumnMinimumWidth(2, 24);
    secondGrid->setColumnStretch(5, 1);
    outer->addWidget(second);
    outer->addStretch();
    return page;
}

void BuildFieldAttributesDialog(QDialog* dialog) {
    using D = FieldAttributesDialog;
    dialog->setWindowTitle(Translated(K52_TR("EditorPages", "資料屬性")));
    auto* outer = new QVBoxLayout(dialog);

    auto* numbers = new QHBoxLayout;
    numbers->addWidget(MakeLabel(K52_TR("EditorPages", "表單 #")));
    numbers->addWidget(MakeStatic(D::kFormNumberLabel));
    numbers->addSpacing(24);
    numbers->addWidget(MakeLabel(K52_TR("EditorPages", "行 #")));
    numbers->addWidget(MakeStatic(D::kLineNumberLabel));
    numbers->addStretch();
    outer->addLayout(numbers);

    auto* data = new QGroupBox(Translated(K52_TR("EditorPages", "資料欄位屬性")));
    auto* grid = new QGridLayout(data);
    grid->addWidget(MakeCheck(D::kFixedLengthCheck, K52_TR("EditorPages", "固定長度")), 0, 0);
    grid->addWidget(MakeEdit(D::kFixedLengthBox, kNumberBytes), 0, 1, Qt::AlignLeft);
    auto* align = new QHBoxLayout;
    align->addWidget(MakeRadio(D::kAlignLeftRadio, K52_TR("EditorPages", "向左靠齊")));
    align->addWidget(MakeRadio(D::kAlignRightRadio, K52_TR("EditorPages", "向右靠齊")));
    align->addStretch();
    grid->addLayout(align, 1, 1);
    const std::tuple<int, const char*, int> texts[] = {
        {D::kInitialValueCheck, K52_TR("EditorPages", "設定初始值"), D::kInitialValueBox},
        {D::kPrefixCheck, K52_TR("EditorPages", "加入前置碼"), D::kPrefixBox},
        {D::kSuffixCheck, K52_TR("EditorPages", "加入後置碼"), D::kSuffixBox}};
    int row = 2;
    for (const auto& [check, label, box] : texts) {
        grid->addWidget(MakeCheck(check, label), row, 0);
        grid->addWidget(MakeEdit(box, 9), row, 1, Qt::AlignLeft);
        ++row;
    }
    grid->setColumnStretch(2, 1);
    outer->addWidget(data);

    auto* barcode = new QGroupBox(Translated(K52_TR("EditorPages", "條碼閱讀設定")));
    auto* bgrid = new QGridLayout(barcode);
    bgrid->addWidget(MakeCheck(D::kPartialCheck, K52_TR("EditorPages", "截取部分條碼")), 0, 0);
    auto* partial = new QHBoxLayout;
    partial->addWidget(MakeLabel(K52_TR("EditorPages", "起始位置 :")));
    partial->addWidget(MakeEdit(D::kPartialStartBox, kNumberBytes));
    partial->addSpacing(12);
    partial->addWidget(MakeLabel(K52_TR("EditorPages", "最大長度 :")));
    partial->addWidget(MakeEdit(D::kPartialMaxBox, kNumberBytes));
    partial->addStretch();
    bgrid->addLayout(partial, 0, 1);
    bgrid->addWidget(MakeCheck(D::kVerifyPrefixCheck, K52_TR("EditorPages", "檢驗前置碼")), 1, 0);
    bgrid->addWidget(MakeEdit(D::kVerifyPrefixBox, 6), 1, 1, Qt::AlignLeft);
    bgrid->addWidget(MakeCheck(D::kAutoAdvanceCheck, K52_TR("EditorPages", "自動換行")), 2, 0);
    bgrid->setColumnStretch(2, 1);
    outer->addWidget(barcode);
    outer->addSpacing(8);
    outer->addLayout(OkCancelRow());
}

void BuildSymbologyDialog(QDialog* dialog, const SymbologyDialogInfo& info) {
    dialog->setWindowTitle(Translated(info.title));
    auto* outer = new QVBoxLayout(dialog);
    auto text = [](std::string_view s) { return std::string(s); };
    for (const SymbologyItem& item : info.items) {
        if (item.kind == SymbologyItemKind::Check) {
            outer->addWidget(MakeCheck(item.firstId, text(item.caption).c_str()));
            continue;
        }
        auto* group = new QGroupBox(Translated(item.caption));
        auto* column = new QVBoxLayout(group);
        for (std::size_t b = 0; b < item.buttons.size(); ++b)
            column->addWidget(MakeRadio(item.firstId + static_cast<int>(b), text(item.buttons[b]).c_str()));
        if (item.kind == SymbologyItemKind::Length) {
            auto* lengths = new QGridLayout;
            lengths->addWidget(MakeStatic(SymbologyDialog::kFirstLengthLabel), 0, 0);
            lengths->addWidget(MakeEdit(SymbologyDialog::kFirstLengthBox, kNumberBytes), 0, 1);
            lengths->addWidget(MakeStatic(SymbologyDialog::kSecondLengthLabel), 1, 0);
            lengths->addWidget(MakeEdit(SymbologyDialog::kSecondLengthBox, kNumberBytes), 1, 1);
            lengths->setColumnStretch(2, 1);
            column->addLayout(lengths);
        }
        outer->addWidget(group);
    }
    outer->addStretch();
    outer->addSpacing(8);
    outer->addLayout(OkCancelRow());
    dialog->setMinimumWidth(260);
}

}  // namespace k52
