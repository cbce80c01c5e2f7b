#pragma once
// TKTHTM: a label that shows a mini-HTML text, sizes itself to it, shows a hand cursor over anchors and
// opens an anchor's target with the desktop's "open" when it is clicked.
#include <QStringList>
#include <QWidget>
#include <functional>

#include "platform/gui/canvas.h"
#include "platform/gui/panel.h"
#include "ui/html_draw.h"

namespace ui {

enum TAutoSizeType : int { asVertical = 0, asHorizontal = 1, asBoth = 2 };

class TKTHTM : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Align READ Align WRITE SetAlign)
    Q_PROPERTY(bool AutoSizing READ AutoSizing WRITE SetAutoSizing)
    Q_PROPERTY(int AutoSizeType READ AutoSizeType WRITE SetAutoSizeType)
    Q_PROPERTY(int BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(int BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(QStringList HTMLText READ HTMLText WRITE SetHTMLText)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)

  public:
    static constexpr gui::TColor kAnchorColor = 0xFF0000;
    static constexpr gui::TColor kShadowColor = 0x808080;
    static constexpr int kShadowOffset = 2;

    explicit TKTHTM(QWidget* parent = nullptr);

    int Align() const { return align_; }
    void SetAlign(int align);
    bool AutoSizing() const { return autoSizing_; }
    void SetAutoSizing(bool on);
    int AutoSizeType() const { return autoSizeType_; }
    void SetAutoSizeType(int type);
    int BevelInner() const { return bevelInner_; }
    void SetBevelInner(int cut);
    int BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(int cut);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int w);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int w);
    gui::TColor Color() const { return color_; }
    void SetColor(gui::TColor c);  // clNone: the parent shows through
    const gui::Font& GetFont() const { return font_; }
    void SetFont(const gui::Font& font);

    QStringList HTMLText() const { return lines_; }
    // Takes the lines' text with every line break removed (lines run together) as the only line.
    void SetHTMLText(const QStringList& lines);
    // Stores an already prepared text as the only line, untouched.
    void SetPreparedText(const QString& text);
    // All lines concatenated without separators: what is rendered.
    QString RenderingText() const { return lines_.join(QString()); }

    // Paints once off screen, so that an auto-sizing label takes its size before it is shown.
    void RenderOnce();
    // Paints the label (background, bevels, text) and applies the automatic size.
    void PaintTo(QPainter& painter, QPoint mouse);

    // Target of the anchor at a client point (empty when none); updates the anchor under the mouse.
    QString AnchorAt(QPoint p);
    int AnchorUnderMouse() const { return anchorUnderMouse_; }
    // The rectangle the text is laid out in: the client area inside bevels and border.
    gui::Rect TextRect() const;
    // The text rectangle, unbounded in the directions an auto-sizing label grows; painting and hit
    // testing both lay out in it.
    gui::Rect LayoutRect() const;

    std::function<void(QObject* sender)> OnLinkOpened;

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

  private:
    void PaintBevel(gui::Canvas& canvas, gui::Rect& r, int cut);
    void ApplyAutoSize(const HtmlDrawResult& result);

    QStringList lines_;
    gui::Font font_;
    gui::TColor color_ = gui::clNone;
    int align_ = 0;
    bool autoSizing_ = false;
    int autoSizeType_ = asVertical;
    int bevelInner_ = gui::bvNone;
    int bevelOuter_ = gui::bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    int anchorUnderMouse_ = -1;
    QString lastHref_;
    int lastAnchor_ = -1;
    bool handCursor_ = false;
};

}  // namespace ui
