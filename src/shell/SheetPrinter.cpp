// A canvas on QPainter: millimetres to the printer's dots, the paper's corner as the origin.
#include "shell/SheetPrinter.h"

#include <QFont>
#include <QPainter>
#include <QPrinter>

#include "paper/SheetPdf.h"

namespace k52 {

namespace {

class PainterCanvas : public Canvas {
  public:
    PainterCanvas(QPainter& painter, QPrinter& printer)
        : painter_(painter), printer_(printer), dotsPerMm_(printer.resolution() / 25.4) {}

    void NewPage() override {
        if (started_) printer_.newPage();
        started_ = true;
    }
    void Gray(double level) override {
        const auto l = static_cast<float>(level);
        color_ = QColor::fromRgbF(l, l, l);
    }
    void Rect(double x, double y, double width, double height) override {
        painter_.fillRect(QRectF(x * dotsPerMm_, y * dotsPerMm_, width * dotsPerMm_, height * dotsPerMm_),
                          color_);
    }
    void Text(double x, double y, double size, const std::string& text) override {
        QFont font(QStringLiteral("sans-serif"));
        font.setPointSizeF(size);
        painter_.setFont(font);
        painter_.setPen(color_);
        painter_.drawText(QPointF(x * dotsPerMm_, y * dotsPerMm_),
                          QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }

  private:
    QPainter& painter_;
    QPrinter& printer_;
    double dotsPerMm_;
    QColor color_ = Qt::black;
    bool started_ = false;
};

}  // namespace

bool PrintDesignSheet(const std::string& html, QPrinter& printer) {
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    PainterCanvas canvas(painter, printer);
    LayOutSheet(html, canvas);
    return painter.end() && printer.printerState() != QPrinter::Error;
}

}  // namespace k52
