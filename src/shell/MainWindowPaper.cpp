// The main window's paper: the design sheet printed or saved as PDF, and the barcode page's test labels.
// Both are drawn on the worker; the window only asks where they go and says how it ended.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>

#include "i18n/Translate.h"
#include "paper/DesignSheet.h"
#include "shell/MainWindow.h"
#include "shell/QtDialogs.h"
#include "shell/SheetPrinter.h"
#include "shell/Worker.h"
#include "util/SaveFile.h"
#ifdef K52_WITH_ZINT
#include "paper/TestLabels.h"
#endif

namespace k52 {

namespace {

QString Tr(const char* text) {
    return FromUtf8(Translate("MainWindow", text));
}

// The dialog or sheet on top, so a question asked from the editor stays over it.
QWidget* Owner(QWidget* fallback) {
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal : fallback;
}

}  // namespace

std::string MainWindow::SheetName() const {
    if (doc_.templatePath.empty())
        return std::string(Translate("MainWindow", K52_TR("MainWindow", "未命名")));
    return QFileInfo(QFile::decodeName(doc_.templatePath.c_str())).fileName().toStdString();
}

void MainWindow::PrintSheet() {
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setDocName(FromUtf8(SheetName()));
    // Saving as PDF is what most sites do: it is the printer offered first, beside the template.
    printer->setOutputFormat(QPrinter::PdfFormat);
    const QString base = doc_.templatePath.empty()
                             ? QStringLiteral("sheet")
                             : QFileInfo(QFile::decodeName(doc_.templatePath.c_str())).completeBaseName();
    const QString folder = doc_.templatePath.empty()
                               ? QString()
                               : QFileInfo(QFile::decodeName(doc_.templatePath.c_str())).absolutePath() + '/';
    printer->setOutputFileName(folder + base + QStringLiteral(".pdf"));
    QPrintDialog dialog(printer.get(), this);
    dialog.setWindowTitle(Tr(K52_TR("MainWindow", "列印 / 存成 PDF")));
    if (dialog.exec() != QDialog::Accepted) return;
    const std::string html = DesignSheetHtml(doc_.tmpl, SheetName());
    auto printed = std::make_shared<bool>(false);
    if (!paper_) paper_ = new Worker(this);
    paper_->Run(
        [printer, html, printed] { *printed = PrintDesignSheet(html, *printer); },
        [this, printer, printed] {
            const bool pdf = printer->outputFormat() == QPrinter::PdfFormat;
            const std::string where =
                QFile::encodeName(pdf ? printer->outputFileName() : printer->printerName()).toStdString();
            if (*printed && pdf)
                messages_->ShowMessage(
                    Substitute(Translate("MainWindow", K52_TR("MainWindow", "設計表已存成 %1")), {where}),
                    kShellTitle, MessageIcon::Information, MessageButtons::Ok);
            else if (!*printed)
                messages_->ShowMessage(
                    Substitute(Translate("MainWindow", K52_TR("MainWindow", "無法列印設計表: %1")), {where}),
                    kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        });
}

void MainWindow::MakeTestLabels(const BarcodeSettings& settings) {
#ifdef K52_WITH_ZINT
    const auto path = ChooseFile(Owner(this), true,
                                 {{Tr(K52_TR("MainWindow", "PDF 檔 (*.pdf)")), QStringLiteral("*.pdf")},
                                  {Tr(K52_TR("MainWindow", "SVG 圖 (*.svg)")), QStringLiteral("*.svg")}},
                                 QStringLiteral("pdf"));
    if (!path) return;
    const bool svg =
        QFileInfo(QFile::decodeName(path->c_str())).suffix().compare("svg", Qt::CaseInsensitive) == 0;
    const std::string title = Localize("Test labels: %1", {SheetName()});
    auto reason = std::make_shared<std::optional<std::string>>();
    if (!paper_) paper_ = new Worker(this);
    paper_->Run(
        [settings, svg, title, file = *path, reason] {
            const std::vector<TestLabel> labels = TestLabelsOf(settings);
            const std::string sheet = svg ? LabelSheetSvg(labels, title) : LabelSheetPdf(labels, title);
            std::string why;
            if (!SaveWholeFile(file, sheet.data(), sheet.size(), &why)) *reason = why;
        },
        [this, file = *path, reason] {
            if (*reason)
                messages_->ShowMessage(
                    Substitute(Translate("MainWindow", K52_TR("MainWindow", "無法寫入檔案 %1 : %2")),
                               {file, **reason}),
                    kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
            else
                messages_->ShowMessage(
                    Substitute(Translate("MainWindow", K52_TR("MainWindow", "測試條碼已存成 %1")), {file}),
                    kShellTitle, MessageIcon::Information, MessageButtons::Ok);
        });
#else
    (void)settings;
    messages_->ShowMessage(
        Translate("MainWindow", K52_TR("MainWindow", "此版本未附條碼程式庫, 無法產生測試條碼")), kErrorTitle,
        MessageIcon::Exclamation, MessageButtons::Ok);
#endif
}

}  // namespace k52
