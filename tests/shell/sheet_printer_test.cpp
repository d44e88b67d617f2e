// The desktop's printed sheet: through Qt's printer into a PDF, it has the pages and the text of the PDF
// k52cli writes from the same HTML.
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <algorithm>
#include <string_view>

#include "paper/DesignSheet.h"
#include "paper/DisplayGlyphs.h"
#include "paper/SheetPdf.h"
#include "shell/SheetPrinter.h"
#include "simulator/ui/SimulatorWidget.h"
#include "support/TempDir.h"
#include "template/Cp950.h"
#include "template/Defaults.h"

using namespace k52;

namespace {

QString PdfText(const QString& path, const QStringList& extra = {}) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), extra + QStringList{path, QStringLiteral("-")});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

int Pages(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    p.waitForFinished();
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        if (line.startsWith(QStringLiteral("Pages:"))) return line.mid(6).trimmed().toInt();
    return -1;
}

ApplicationTemplate Sample() {
    ApplicationTemplate t = StartupTemplate();
    t.startPosition = 1;
    MenuRecord& m = t.menu(1);
    m.showTitle = 1;
    WriteFieldText(m.title, "Stock");
    WriteFieldText(m.options[0], "1.Count");
    m.optionTargets[0] = FormTarget(1);
    for (int n = 1; n <= kFormCount; ++n) {
        FormRecord& f = t.form(n);
        f.lineType[0] = kLineString;
        WriteFieldText(f.prompt[0], "Item:");
        f.minLength[0] = 1;
        f.maxLength[0] = 13;
        f.nextTarget = FormTarget(n);
        f.escapeTarget = MenuTarget(1);
    }
    return t;
}

}  // namespace

class SheetPrinterTest : public QObject {
    Q_OBJECT

  private slots:
    void PrintsThePagesAndTextOfTheCommandLinesPdf() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
        test::TempDir dir;
        const std::string html = DesignSheetHtml(Sample(), "plan.ATC");
        const QString printed = QString::fromStdString(dir.path().string() + "/printed.pdf");
        const QString written = QString::fromStdString(dir.path().string() + "/written.pdf");
        {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setPageSize(QPageSize(QPageSize::A4));
            printer.setOutputFileName(printed);
            QVERIFY(PrintDesignSheet(html, printer));
        }
        dir.Write("written.pdf", SheetPdf(html, "plan"));
        QVERIFY(Pages(written) >= 3);
        QCOMPARE(Pages(printed), Pages(written));
        // Page by page the same characters; where pdftotext puts spaces and which cell it reads first
        // follow each font's widths, and Qt's font sets "ff" as one glyph.
        const auto characters = [](const QString& text) {
            QString c = text.normalized(QString::NormalizationForm_KC)
                            .remove(QRegularExpression(QStringLiteral("\\s")));
            std::sort(c.begin(), c.end());
            return c;
        };
        for (int page = 1; page <= Pages(written); ++page) {
            const QStringList only = {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                      QString::number(page)};
            QCOMPARE(characters(PdfText(printed, only)), characters(PdfText(written, only)));
        }
    }

    // The simulated display, drawn by Qt in its own face, against the pixels the paper draws: the same
    // dark pixels, character by character, in one cell.
    void TheSheetsScreensHaveTheSimulatedDisplaysPixels() {
        const auto glyphs = DisplayFontGlyphs();
        if (!glyphs) QSKIP("the display's face is not installed");
        const QFont font = DisplayFont();
        const QFontMetrics fm(font);
        const int baseline = (kGlyphHeight - (fm.ascent() + fm.descent())) / 2 + fm.ascent();
        int same = 0, total = 0;
        QStringList differing;
        const auto compare = [&](char32_t c, bool wide) {
            const int width = wide ? 2 * kGlyphWidth : kGlyphWidth;
            QImage cell(width, kGlyphHeight, QImage::Format_RGB32);
            cell.fill(Qt::white);
            {
                QPainter p(&cell);
                p.setFont(font);
                p.setPen(Qt::black);
                p.drawText(0, baseline, QString::fromUcs4(&c, 1));
            }
            const auto g = glyphs->GlyphOf(c, wide);
            bool equal = g.has_value();
            for (int y = 0; equal && y < kGlyphHeight; ++y)
                for (int x = 0; x < width; ++x) {
                    const bool paper = (g->rows[static_cast<std::size_t>(y)] >> (width - 1 - x)) & 1u;
                    if (paper != (qGray(cell.pixel(x, y)) < 128)) equal = false;
                }
            ++total;
            if (equal)
                ++same;
            else
                differing << QString::fromUcs4(&c, 1);
        };
        for (char32_t c = 0x21; c <= 0x7E; ++c) compare(c, false);
        for (char32_t c : std::u32string_view(U"盤點商品數量條碼")) compare(c, true);
        qInfo("%d of %d characters pixel for pixel; differing: %s", same, total,
              qPrintable(differing.join(QString())));
        QCOMPARE(same, total);
    }
};

QTEST_MAIN(SheetPrinterTest)
#include "sheet_printer_test.moc"
