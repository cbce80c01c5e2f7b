// Mini-HTML renderer: any markup is measured, drawn and hit-tested without failing or looping, the
// canvas is left as it was found, and the measured extent is never negative. The text the canvas blends
// into the image itself gives the same pixels as the painter's own text drawing.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/gui/application.h"
#include "platform/gui/text.h"
#include "ui/html_draw.h"

// The font configuration library and the font engine keep caches for the process's life.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:QFontEngineFT\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    gui::EnsureApplication();
    return 0;
}

namespace {

QImage Draw(const QString& text) {
    QImage image(160, 90, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        gui::Canvas canvas(painter);
        canvas.SetBrushColor(gui::clWhite);
        const gui::Font before = canvas.GetFont();
        ui::HtmlDrawParams params;
        params.hitX = 20;
        params.hitY = 6;
        ui::HtmlDrawResult drawn = ui::HtmlDraw(canvas, text, gui::Rect{0, 0, 160, 90}, params);
        params.noDraw = true;
        ui::HtmlDrawResult measured = ui::HtmlDraw(canvas, text, gui::Rect{0, 0, 160, 90}, params);
        if (drawn.textWidth < 0 || drawn.textHeight <= 0) std::abort();
        if (drawn.textWidth != measured.textWidth || drawn.textHeight != measured.textHeight) std::abort();
        if (drawn.overAnchor != measured.overAnchor) std::abort();
        if (!(canvas.GetFont() == before) || canvas.BrushColor() != gui::clWhite) std::abort();
    }
    return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    const QString text = gui::ToQString(std::string_view(reinterpret_cast<const char*>(data), size));
    gui::SetDirectGlyphBlending(true);
    const QImage direct = Draw(text);
    gui::SetDirectGlyphBlending(false);
    const QImage painted = Draw(text);
    gui::SetDirectGlyphBlending(true);
    if (direct != painted) std::abort();
    return 0;
}
