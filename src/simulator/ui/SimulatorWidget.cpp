// The terminal on the desktop: painting, key presses by mouse and keyboard, dragging, the command menu.
#include "simulator/ui/SimulatorWidget.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QToolTip>
#include <future>

#include "simulator/ScreenCheck.h"
#include "template/Cp950.h"

static void InitTerminalImages() {
    Q_INIT_RESOURCE(k52gen);
}

namespace k52 {

namespace {

constexpr int kFirstImage = 500;
constexpr int kLastImage = 545;
constexpr int kPictureWidth = 180;
constexpr int kPictureHeight = 400;

// The core's name for a PC key; empty for a key the terminal has no use for, and for every key with
// Ctrl, Alt or Meta, which belong to the window's shortcuts.
std::string PcKeyName(const QKeyEvent& e) {
    if (e.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return {};
    switch (e.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return "Enter";
        case Qt::Key_Backspace:
            return "Backspace";
        case Qt::Key_Up:
            return "Up";
        case Qt::Key_Down:
            return "Down";
        case Qt::Key_Escape:
            return "Esc";
        case Qt::Key_Tab:
            return "Alpha";
        case Qt::Key_F2:
            return "Fn";
        default:
            break;
    }
    const QString text = e.text();
    if (text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() < 0x7F)
        return std::string(1, static_cast<char>(text[0].unicode()));
    return {};
}

QRect ToQRect(const SimRect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

QString ImagePath(int id) {
    // The resources are registered once, from whichever thread asks first.
    [[maybe_unused]] static const bool resources = (InitTerminalImages(), true);
    return QStringLiteral(":/images/%1.png").arg(id);
}

struct ImageCache {
    std::array<QPixmap, kLastImage - kFirstImage + 1> images;
    std::array<bool, kLastImage - kFirstImage + 1> loaded{};
    std::future<std::vector<std::pair<int, QImage>>> prefetched;  // taken at the first TerminalImage
};

ImageCache& Cache() {
    static ImageCache cache;
    return cache;
}

}  // namespace

const QPixmap& TerminalImage(int id) {
    static const QPixmap none;
    if (id < kFirstImage || id > kLastImage) return none;
    // Each image is decoded when first drawn, unless it was decoded ahead: the first picture needs only
    // the case and the released keys, and the pressed keys can wait until someone presses them.
    ImageCache& cache = Cache();
    if (cache.prefetched.valid()) {
        for (auto& [ahead, image] : cache.prefetched.get()) {
            const auto k = static_cast<std::size_t>(ahead - kFirstImage);
            if (image.isNull() || cache.loaded[k]) continue;
            cache.images[k] = QPixmap::fromImage(std::move(image));
            cache.loaded[k] = true;
        }
    }
    const auto i = static_cast<std::size_t>(id - kFirstImage);
    if (!cache.loaded[i]) {
        cache.images[i].load(ImagePath(id));
        cache.loaded[i] = true;
    }
    return cache.images[i];
}

std::vector<std::pair<int, QImage>> DecodeFirstPictureImages() {
    std::vector<std::pair<int, QImage>> decoded;
    decoded.emplace_back(kCaseImageId, QImage(ImagePath(kCaseImageId)));
    for (int k = 1; k <= kKeyCount; ++k)
        decoded.emplace_back(KeyReleasedImageId(k), QImage(ImagePath(KeyReleasedImageId(k))));
    return decoded;
}

void PrefetchFirstPictureImages() {
    ImageCache& cache = Cache();
    if (!cache.prefetched.valid())
        cache.prefetched = std::async(std::launch::async, DecodeFirstPictureImages);
}

QFont DisplayFont() {
    QFont f;
    // A face whose Latin glyphs are half as wide as its ideographs keeps every character in its cells.
    f.setFamilies({QStringLiteral("WenQuanYi Micro Hei Mono"), QStringLiteral("WenQuanYi Bitmap Song"),
                   QStringLiteral("Elite"), QStringLiteral("monospace")});
    f.setStyleHint(QFont::TypeWriter, QFont::NoAntialias);
    f.setFixedPitch(true);
    // Ten pixels high fills a display row; stretched so that a Latin letter takes its 6-pixel column
    // and an ideograph its two.
    f.setPixelSize(10);
    f.setStretch(120);
    f.setWeight(QFont::Normal);
    return f;
}

// A one-pixel frame that follows the mouse while the terminal is dragged. The screen itself cannot be
// drawn on, so the frame is a window shaped to its outline, drawn in a pattern visible on any colour.
class DragOutline : public QWidget {
  public:
    DragOutline()
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::X11BypassWindowManagerHint | Qt::WindowTransparentForInput) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

  protected:
    void resizeEvent(QResizeEvent*) override {
        setMask(QRegion(rect()) - QRegion(rect().adjusted(1, 1, -1, -1)));
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.fillRect(rect(), QBrush(Qt::black, Qt::Dense4Pattern));
    }
};

SimulatorWidget::SimulatorWidget(ApplicationTemplate& tmpl, MessageBoxes& messages, QWidget* parent,
                                 LocalClock* clock)
    : QWidget(parent), messages_(messages), outline_(std::make_unique<DragOutline>()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(kPictureWidth, kPictureHeight);
    setCursor(Qt::ArrowCursor);
    if (!clock) {
        ownClock_ = std::make_unique<SystemLocalClock>();
        clock = ownClock_.get();
    }
    sim_ = std::make_unique<TerminalSimulator>(tmpl, *clock);
    keypad_ = std::make_unique<KeypadController>(*sim_, static_cast<SimView&>(*this));
    pc_ = std::make_unique<PcKeyboard>(*sim_, *keypad_);
    setFocusPolicy(Qt::StrongFocus);

    keyHelp_ = new QLabel(QString::fromStdString(PcKeyboardHelp()), this);
    keyHelp_->setAutoFillBackground(true);
    keyHelp_->setStyleSheet(
        QStringLiteral("QLabel { background: rgba(255, 255, 240, 235); color: black; "
                       "border: 1px solid gray; padding: 4px; }"));
    keyHelp_->setWordWrap(true);
    keyHelp_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    keyHelp_->setAttribute(Qt::WA_TransparentForMouseEvents);
    keyHelp_->hide();
    PlaceKeyHelp();

    connect(&clockTimer_, &QTimer::timeout, this, [this] { keypad_->Tick(); });
    clockTimer_.start(100);

    font_ = DisplayFont();
    QFontMetrics fm(font_);
    // Centre the glyphs' box on the 10-pixel row.
    fontBaseline_ = (kCellHeight - (fm.ascent() + fm.descent())) / 2 + fm.ascent();

    sim_->Start();
}

SimulatorWidget::~SimulatorWidget() {
    clockTimer_.stop();
}

QWidget* SimulatorWidget::dragOutline() const {
    return outline_.get();
}

void SimulatorWidget::setZoom(int percent) {
    if (percent <= 0 || percent == zoom_) return;
    zoom_ = percent;
    const QRect whole = ToWidget(QRect(0, 0, kPictureWidth, kPictureHeight));
    setFixedSize(whole.size());
    update();
    PlaceKeyHelp();
}

void SimulatorWidget::PlaceKeyHelp() {
    // Over the display and the case above the keys, at the picture's scale.
    keyHelp_->setGeometry(ToWidget(QRect(4, 4, 172, 228)));
    QFont small = keyHelp_->font();
    small.setPixelSize(9 * zoom_ / 100);
    keyHelp_->setFont(small);
}

QRect SimulatorWidget::ToWidget(const QRect& r) const {
    const qreal z = zoom_ / 100.0;
    return QRectF(r.x() * z, r.y() * z, r.width() * z, r.height() * z).toAlignedRect();
}

void SimulatorWidget::UpdateLogical(int x, int y, int w, int h) {
    update(ToWidget(QRect(x, y, w, h)));
}

void SimulatorWidget::RestartAfterEdit() {
    keypad_->Restart();
}

ScanResult SimulatorWidget::Scan(const QString& text) {
    const QByteArray ascii = text.toLatin1();
    // A character beyond ASCII is on no key.
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].unicode() > 0x7E) return {ScanOutcome::Untypable, 0};
    return pc_->Scan(std::string_view(ascii.constData(), static_cast<std::size_t>(ascii.size())));
}

void SimulatorWidget::StartRecording() {
    recorder_ = {};
    sim_->ResetRun();
    sim_->UpdateAfterEdit();
    sim_->DispatchKey(kRestartCode);
    keypad_->SetRecorder(&recorder_);
}

std::string SimulatorWidget::StopRecording() {
    keypad_->SetRecorder(nullptr);
    return recorder_.Text();
}

bool SimulatorWidget::keyHelpShown() const {
    return keyHelp_->isVisible();
}

QRect SimulatorWidget::KeyRect(int key) const {
    KeyPoint o = KeyOrigin(key);
    KeySize s = KeyImageSize(key);
    return QRect(o.x, o.y, s.width, s.height);
}

// ---- drawing

void SimulatorWidget::DrawRowText(QPainter& p, int row, int y, const QColor& color) {
    std::string_view text = sim_->screen().Row(row);
    p.setPen(color);
    int col = 0;
    for (std::size_t i = 0; i < text.size() && col < kSimColumns;) {
        auto b = static_cast<unsigned char>(text[i]);
        int x = kDisplayTextOrigin.x + kCellWidth * col;
        if (IsCp950LeadByte(b) && i + 1 < text.size()) {
            QString ch = QString::fromStdString(Cp950ToUtf8(text.substr(i, 2)));
            p.drawText(x, y + fontBaseline_, ch);
            i += 2;
            col += 2;
        } else {
            if (b >= 0x21 && b <= 0x7E) p.drawText(x, y + fontBaseline_, QString(QChar(b)));
            i += 1;
            col += 1;
        }
    }
}

void SimulatorWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // Without smooth transformation the artwork scales nearest-neighbour; glyphs are rendered at the
    // scaled size, so the display stays sharp.
    p.scale(zoom_ / 100.0, zoom_ / 100.0);
    p.drawPixmap(0, 0, TerminalImage(kCaseImageId));
    for (int k = 1; k <= kKeyCount; ++k) {
        KeyPoint o = KeyOrigin(k);
        p.drawPixmap(o.x, o.y,
                     TerminalImage(keyShownPressed_[static_cast<std::size_t>(k)] ? KeyPressedImageId(k)
                                                                                 : KeyReleasedImageId(k)));
    }
    p.setFont(font_);
    const EngineState& eng = sim_->engineState();
    const RuntimeState& run = sim_->runtimeState();
    if (eng.simState == SimState::FormEntry)
        p.drawPixmap(kDisplayTextOrigin.x + kCellWidth * run.cursorCol,
                     kDisplayTextOrigin.y + kCellHeight * run.cursorRow, TerminalImage(kCursorImageId));
    if (run.alphaMode)
        p.drawPixmap(kAlphaIndicatorPos.x, kAlphaIndicatorPos.y, TerminalImage(kAlphaOnImageId));
    for (int r = 0; r < kSimRows; ++r) {
        int y = kDisplayTextOrigin.y + kCellHeight * r;
        if (eng.highlightRow == r + 1) {
            p.drawPixmap(kDisplayTextOrigin.x, y + 1, TerminalImage(kHighlightImageId));
            DrawRowText(p, r, y, Qt::white);
        } else {
            DrawRowText(p, r, y, Qt::black);
        }
    }
    // The status line belongs to the clock; a repaint of the main menu puts back its latest text
    // rather than leaving row 7 to the next tick.
    if (eng.simState == SimState::MainMenu) {
        p.drawPixmap(kStatusLinePos.x, kStatusLinePos.y, TerminalImage(kStatusBackImageId));
        std::string status = sim_->StatusText();
        p.setPen(Qt::black);
        for (std::size_t i = 0; i < status.size() && i < kSimColumns; ++i) {
            auto b = static_cast<unsigned char>(status[i]);
            if (b >= 0x21 && b <= 0x7E)
                p.drawText(kStatusLinePos.x + kCellWidth * static_cast<int>(i),
                           kStatusLinePos.y + fontBaseline_, QString(QChar(b)));
        }
    }
    if (pendingShown_ && run.letterPending && eng.simState == SimState::FormEntry) {
        int x = kDisplayTextOrigin.x + kCellWidth * pendingCol_;
        int y = kDisplayTextOrigin.y + kCellHeight * pendingRow_;
        p.drawPixmap(x, y, TerminalImage(kCursorImageId));
        p.setPen(Qt::black);
        p.drawText(x, y + fontBaseline_, QString(QChar(static_cast<unsigned char>(pendingLetter_))));
    }
}

// ---- SimView

void SimulatorWidget::InvalidateRect(const SimRect& r) {
    update(ToWidget(ToQRect(r)));
}

void SimulatorWidget::ShowMessageBox(std::string_view text, std::string_view title, MessageIcon icon) {
    messages_.ShowMessage(text, title, icon, MessageButtons::Ok);
}

void SimulatorWidget::PostCommand(int commandId) {
    Post(commandId);
}

void SimulatorWidget::Post(int commandId) {
    QMetaObject::invokeMethod(
        this, [this, commandId] { emit commandRequested(commandId); }, Qt::QueuedConnection);
}

void SimulatorWidget::DrawPendingLetter(int row, int col, char letter) {
    pendingShown_ = true;
    pendingRow_ = row;
    pendingCol_ = col;
    pendingLetter_ = letter;
    UpdateLogical(kDisplayTextOrigin.x + kCellWidth * col, kDisplayTextOrigin.y + kCellHeight * row,
                  kCellWidth, kCellHeight);
}

void SimulatorWidget::ReleaseKeyPress() {
    // A box took the mouse mid-press: the button-up may never reach this window.
    for (int k = 1; k <= kKeyCount; ++k) {
        if (keyShownPressed_[static_cast<std::size_t>(k)]) {
            keyShownPressed_[static_cast<std::size_t>(k)] = false;
            update(ToWidget(KeyRect(k)));
        }
    }
    pressedOnKey_ = false;
    dragging_ = false;
    heldPcKey_ = 0;
    if (mouseGrabber() == this) releaseMouse();
}

void SimulatorWidget::DrawStatusLine(std::string_view) {
    UpdateLogical(kStatusLinePos.x, kStatusLinePos.y, 127, kCellHeight);
}

void SimulatorWidget::DrawAlphaIndicator(bool) {
    UpdateLogical(kAlphaIndicatorPos.x, kAlphaIndicatorPos.y, 8, kCellHeight);
}

void SimulatorWidget::DrawKey(int key, bool pressed) {
    if (key < 1 || key > kKeyCount) return;
    keyShownPressed_[static_cast<std::size_t>(key)] = pressed;
    update(ToWidget(KeyRect(key)));
}

void SimulatorWidget::OpenCommandMenu(int x, int y) {
    OpenMenuAt(mapToGlobal(ToWidget(QRect(x, y, 1, 1)).topLeft()));
}

void SimulatorWidget::OpenMenuAt(QPoint global) {
    lastMenuPoint_ = global;
    if (!commandMenu_) return;
    QAction* chosen = commandMenu_->exec(global);
    if (chosen && chosen->data().isValid()) Post(chosen->data().toInt());
}

// ---- keyboard

void SimulatorWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && !event->isAutoRepeat()) {
        keyHelp_->setVisible(!keyHelp_->isVisible());
        return;
    }
    const std::string name = PcKeyName(*event);
    // While the mouse holds a key the keypad is its own; shortcuts and keys of no use go on to the window.
    if (name.empty() || pressedOnKey_ || !pc_->Press(name, static_cast<long long>(event->timestamp()))) {
        event->ignore();
        return;
    }
    heldPcKey_ = keypad_->keyDown() ? event->key() : 0;
}

void SimulatorWidget::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat() || event->key() != heldPcKey_ || heldPcKey_ == 0) {
        event->ignore();
        return;
    }
    heldPcKey_ = 0;
    pc_->Release();
}

bool SimulatorWidget::event(QEvent* event) {
    // Over the display a tooltip names the keyboard's keys.
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QRect display = ToWidget(ToQRect(WholeDisplayRect()));
        if (display.contains(help->pos()) && !keyHelp_->isVisible())
            QToolTip::showText(help->globalPos(), keyHelp_->text(), this, display);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

// ---- mouse

void SimulatorWidget::mousePressEvent(QMouseEvent* event) {
    // The key under the pointer is found in the picture's own coordinates.
    const QPointF at = event->position() * (100.0 / zoom_);
    const QPoint pt(static_cast<int>(at.x()), static_cast<int>(at.y()));
    if (event->button() == Qt::RightButton) {
        OpenMenuAt(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    int key = KeyHitTest(pt.x(), pt.y());
    if (key != 0 && heldPcKey_ != 0) return;  // the keyboard holds a key down
    if (key != 0) {
        pressedOnKey_ = true;
        keypad_->Press(key);
        return;
    }
    pressedOnKey_ = false;
    dragging_ = true;
    startRect_ = frameRect_ = window()->frameGeometry();
    dragStart_ = event->globalPosition().toPoint();
    outline_->setGeometry(frameRect_);
    outline_->show();
}

void SimulatorWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_ || keypad_->keyDown()) return;
    frameRect_ = startRect_.translated(event->globalPosition().toPoint() - dragStart_);
    outline_->setGeometry(frameRect_);
}

void SimulatorWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    bool onKey = pressedOnKey_;
    bool wasDragging = dragging_;
    pressedOnKey_ = false;
    dragging_ = false;
    if (onKey) {
        keypad_->Release();
    } else if (wasDragging) {
        outline_->hide();
        window()->move(frameRect_.topLeft());
        window()->show();
    }
}

}  // namespace k52
