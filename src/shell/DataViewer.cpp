// The received-data viewer: numbered records in columns or raw lines, copy, save as CSV, open.
#include "shell/DataViewer.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>
#include <map>

#include "i18n/Translate.h"
#include "shell/QtDialogs.h"
#include "shell/RecordTableModel.h"
#include "util/RegularFile.h"

namespace k52 {

namespace {

constexpr char kErrorTitle[] = K52_TR("DataViewer", "錯誤");
constexpr char kCannotOpenFile[] = K52_TR("DataViewer", "無法開啟檔案!!");
constexpr char kWriteFailed[] = K52_TR("DataViewer", "寫入檔案失敗!!");

}  // namespace

DataViewer::DataViewer(const FieldSeparators& separators, MessageBoxes& messages, QWidget* parent)
    : QWidget(parent, Qt::Window), separators_(separators), messages_(messages) {
    model_ = new RecordTableModel(this);
    view_ = new QTableView(this);
    view_->setModel(model_);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setWordWrap(false);
    view_->horizontalHeader()->setStretchLastSection(true);

    openButton_ = new QPushButton(tr("開啟..."), this);
    raw_ = new QCheckBox(tr("原始資料"), this);
    copyButton_ = new QPushButton(tr("複製"), this);
    saveButton_ = new QPushButton(tr("另存 CSV..."), this);
    bom_ = new QCheckBox(tr("UTF-8 BOM"), this);
    bom_->setToolTip(tr("CSV 檔開頭加上 UTF-8 BOM (試算表才能正確顯示中文)"));
    bom_->setChecked(true);
    rawCells_ = new QCheckBox(tr("原始儲存格"), this);
    rawCells_->setToolTip(tr("保留原始儲存格 (不在 =, +, -, @ 開頭的儲存格前加 ')"));
    count_ = new QLabel(this);

    auto* bar = new QHBoxLayout;
    bar->addWidget(openButton_);
    bar->addWidget(raw_);
    bar->addStretch(1);
    bar->addWidget(count_);
    bar->addWidget(copyButton_);
    bar->addWidget(bom_);
    bar->addWidget(rawCells_);
    bar->addWidget(saveButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(view_, 1);

    connect(openButton_, &QPushButton::clicked, this, &DataViewer::ChooseAndOpen);
    connect(saveButton_, &QPushButton::clicked, this, &DataViewer::ChooseAndSave);
    connect(copyButton_, &QPushButton::clicked, this, &DataViewer::Copy);
    connect(raw_, &QCheckBox::toggled, this, &DataViewer::SetRaw);
    auto* copyKey = new QShortcut(QKeySequence::Copy, this);
    connect(copyKey, &QShortcut::activated, this, &DataViewer::Copy);
    resize(640, 420);
}

bool DataViewer::Open(const QString& path) {
    // A FIFO or a device is refused rather than waited on, and an endless file is cut off at the limit.
    const std::optional<std::string> bytes =
        ReadWholeFile(QFile::encodeName(path).toStdString(), kRecordFileLimit);
    if (!bytes) {
        messages_.ShowMessage(kCannotOpenFile, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    model_->SetTable(ReadRecordTable(*bytes, separators_));
    path_ = path;
    setWindowTitle(QFileInfo(path).fileName());
    count_->setText(tr("共 %1 筆資料").arg(model_->rowCount()));
    view_->resizeColumnsToContents();
    return true;
}

bool DataViewer::SaveCsv(const QString& path) {
    // As k52cli writes it: no cell runs as a formula when a spreadsheet opens the file, unless asked.
    std::string csv =
        RecordTableCsv(model_->table(), rawCells_->isChecked() ? CsvCells::Raw : CsvCells::Neutralised);
    if (bom_->isChecked()) csv.insert(0, "\xEF\xBB\xBF");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(csv.data(), static_cast<qint64>(csv.size())) != static_cast<qint64>(csv.size()) ||
        !file.commit()) {
        messages_.ShowMessage(kWriteFailed, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    return true;
}

void DataViewer::Copy() {
    // Row by row, the chosen cells of each row in column order.
    std::map<int, std::map<int, QString>> cells;
    const QModelIndexList chosen = view_->selectionModel()->selectedIndexes();
    if (chosen.isEmpty()) {
        for (int r = 0; r < model_->rowCount(); ++r)
            for (int c = 0; c < model_->columnCount(); ++c) cells[r][c] = model_->Text(r, c);
    } else {
        for (const QModelIndex& i : chosen) cells[i.row()][i.column()] = model_->Text(i.row(), i.column());
    }
    QStringList lines;
    for (const auto& [row, columns] : cells) {
        QStringList fields;
        for (const auto& [column, text] : columns) fields << text;
        lines << fields.join(QLatin1Char('\t'));
    }
    QString text = lines.join(QLatin1Char('\n'));
    if (!lines.isEmpty()) text += QLatin1Char('\n');
    QApplication::clipboard()->setText(text);
}

void DataViewer::SetRaw(bool raw) {
    if (raw_->isChecked() != raw) raw_->setChecked(raw);
    model_->SetRaw(raw);
    view_->resizeColumnsToContents();
}

void DataViewer::ChooseAndOpen() {
    auto chosen = ChooseFile(
        this, false,
        {{tr("Data files {*.TXT}"), QStringLiteral("*.TXT")}, {tr("All files {*.*}"), QStringLiteral("*")}},
        QStringLiteral("TXT"), path_);
    if (chosen) Open(QFile::decodeName(chosen->c_str()));
}

void DataViewer::ChooseAndSave() {
    QString start;
    if (!path_.isEmpty()) {
        const QFileInfo info(path_);
        start = info.dir().filePath(info.completeBaseName() + QStringLiteral(".csv"));
    }
    auto chosen = ChooseFile(this, true, {{tr("CSV files {*.csv}"), QStringLiteral("*.csv")}},
                             QStringLiteral("csv"), start);
    if (chosen) SaveCsv(QFile::decodeName(chosen->c_str()));
}

}  // namespace k52
