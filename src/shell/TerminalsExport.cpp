// The export dialog, and the export itself on the window's worker.
#include "shell/TerminalsExport.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "i18n/Translate.h"
#include "shell/DeskSettings.h"
#include "shell/QtDialogs.h"
#include "shell/TerminalsWindow.h"
#include "shell/Worker.h"

namespace k52 {
namespace {

const QString kExportFileKey = QStringLiteral("terminals/exportFile");

// A line edit with a "..." button beside it that fills it.
QWidget* Browsed(QLineEdit* edit, QWidget* parent, std::function<void()> browse) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit, 1);
    auto* button = new QPushButton(QStringLiteral("..."), row);
    QObject::connect(button, &QPushButton::clicked, row, std::move(browse));
    layout->addWidget(button);
    return row;
}

std::string Utc(const QDateTime& t) {
    return t.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")).toStdString();
}

}  // namespace

ShiftExportDialog::ShiftExportDialog(const QString& folder, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("匯出班次"));
    folder_ = new QLineEdit(folder, this);
    out_ = new QLineEdit(DeskSettings().value(kExportFileKey).toString(), this);
    template_ = new QLineEdit(this);
    template_->setPlaceholderText(tr("(無: 以逗號分隔欄位)"));
    const QDateTime now = QDateTime::currentDateTime();
    since_ = new QDateTimeEdit(QDateTime(now.date(), QTime(0, 0)), this);
    until_ = new QDateTimeEdit(now.addSecs(60), this);
    for (QDateTimeEdit* e : {since_, until_}) {
        e->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
        e->setCalendarPopup(true);
    }
    bom_ = new QCheckBox(tr("CSV 檔開頭加上 UTF-8 BOM (試算表才能正確顯示中文)"), this);
    bom_->setChecked(true);
    raw_ = new QCheckBox(tr("保留原始儲存格 (不在 =, +, -, @ 開頭的儲存格前加 ')"), this);

    auto* form = new QFormLayout;
    form->addRow(tr("收集資料夾:"), Browsed(folder_, this, [this] {
                     const QString chosen =
                         QFileDialog::getExistingDirectory(this, tr("收集資料夾"), folder_->text());
                     if (!chosen.isEmpty()) folder_->setText(chosen);
                 }));
    form->addRow(tr("從:"), since_);
    form->addRow(tr("到:"), until_);
    form->addRow(tr("輸出檔案:"), Browsed(out_, this, [this] {
                     const auto chosen = ChooseFile(this, true,
                                                    {{tr("CSV 檔 (*.csv)"), QStringLiteral("*.csv")},
                                                     {tr("XLSX 活頁簿 (*.xlsx)"), QStringLiteral("*.xlsx")},
                                                     {tr("JSON 檔 (*.json)"), QStringLiteral("*.json")}},
                                                    QStringLiteral("csv"), out_->text());
                     if (chosen) out_->setText(QFile::decodeName(chosen->c_str()));
                 }));
    form->addRow(tr("範本 (選用):"), Browsed(template_, this, [this] {
                     const auto chosen =
                         ChooseFile(this, false, {{tr("範本 (*.ATC)"), QStringLiteral("*.ATC")}},
                                    QStringLiteral("ATC"), {}, kTemplateFolderKey);
                     if (chosen) template_->setText(QFile::decodeName(chosen->c_str()));
                 }));
    form->addRow(bom_);
    form->addRow(raw_);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons_);
    for (QLineEdit* e : {folder_, out_})
        connect(e, &QLineEdit::textChanged, this, &ShiftExportDialog::Changed);
    Changed();
    setMinimumWidth(560);  // room for a whole path
}

void ShiftExportDialog::Changed() {
    const std::optional<ShiftFormat> format = ShiftFormatOf(QFile::encodeName(out_->text()).toStdString());
    // The mark and the formula guard are the CSV's alone: an XLSX cell is text, JSON is no spreadsheet.
    bom_->setEnabled(format == ShiftFormat::Csv);
    raw_->setEnabled(format == ShiftFormat::Csv);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(format && !folder_->text().isEmpty());
}

ShiftExportRequest ShiftExportDialog::Request() const {
    ShiftExportRequest r;
    r.folder = QFile::encodeName(folder_->text()).toStdString();
    r.out = QFile::encodeName(out_->text()).toStdString();
    r.templatePath = QFile::encodeName(template_->text()).toStdString();
    r.filter.sinceUtc = Utc(since_->dateTime());
    r.filter.untilUtc = Utc(until_->dateTime());
    r.filter.timeOrder = true;
    r.bom = bom_->isChecked();
    r.cells = raw_->isChecked() ? CsvCells::Raw : CsvCells::Neutralised;
    return r;
}

void TerminalsWindow::ChooseExportShift() {
    QString folder = DeskSettings().value(QStringLiteral("terminals/collectFolder")).toString();
    if (folder.isEmpty()) folder = QDir::homePath() + QStringLiteral("/K52/collected");
    ShiftExportDialog dialog(folder, this);
    if (dialog.exec() != QDialog::Accepted) return;
    DeskSettings().setValue(kExportFileKey, dialog.outEdit()->text());
    ExportShift(dialog.Request());
}

void TerminalsWindow::ExportShift(const ShiftExportRequest& request) {
    auto result = std::make_shared<ShiftExportResult>();
    export_->setEnabled(false);
    worker_->Run([request, result] { *result = k52::ExportShift(request); },
                 [this, request, result] {
                     export_->setEnabled(true);
                     ExportEnded(request, *result);
                 });
}

void TerminalsWindow::ExportEnded(const ShiftExportRequest& request, const ShiftExportResult& r) {
    using Failure = ShiftExportResult::Failure;
    std::string text;
    MessageIcon icon = MessageIcon::Exclamation;
    switch (r.failure) {
        case Failure::None:
            text = Substitute(tr("已將 %2 次上傳的 %1 筆資料寫入 %3").toStdString(),
                              {std::to_string(r.records), std::to_string(r.uploads), request.out});
            icon = r.problems.empty() ? MessageIcon::Information : MessageIcon::Exclamation;
            break;
        case Failure::Format:
            text = tr("檔名必須以 .csv, .xlsx 或 .json 結尾").toStdString();
            break;
        case Failure::Template:
            text = Substitute(tr("無法讀取 %1: %2").toStdString(), {request.templatePath, r.reason});
            break;
        case Failure::Ledger:
            text = Substitute(tr("無法讀取收集紀錄 %1: %2").toStdString(), {request.folder, r.reason});
            break;
        case Failure::Write:
            text = Substitute(tr("無法寫入 %1: %2").toStdString(), {request.out, r.reason});
            break;
    }
    // A file short of an upload must not look complete: the uploads left out are named.
    std::string detail;
    for (const std::string& p : r.problems) detail += LocalizeFinished(p) + "\n";
    services_.messages->ShowDetailedMessage(text, tr("匯出班次").toStdString(), icon, MessageButtons::Ok,
                                            detail);
    emit exportEnded();
}

}  // namespace k52
