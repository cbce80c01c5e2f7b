#pragma once
// The plain system message box: the text, an OK button, the application title as caption.
#include <string>

namespace gui {

void ShowPlainMessage(const std::string& cp1252Text);

}  // namespace gui
