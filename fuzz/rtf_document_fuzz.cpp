// Rich text through the editor's document: any bytes load into a Qt text document; what is saved from it
// loads and saves again as the same bytes, which is what the footer file goes through on every close.
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/rtf_reader.h"
#include "ui/rtf_text_document.h"
#include "ui/rtf_writer.h"

namespace {

std::string LoadAndSave(const std::string& bytes) {
    QTextDocument document;
    QFont tahoma("Tahoma");
    tahoma.setPixelSize(13);
    document.setDefaultFont(tahoma);
    rtf::ToTextDocument(rtf::Read(bytes), document);
    return rtf::Write(rtf::FromTextDocument(document));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string saved = LoadAndSave(std::string(reinterpret_cast<const char*>(data), size));
    if (LoadAndSave(saved) != saved) std::abort();
    return 0;
}
