#pragma once
// Objects that code attaches to grid cells. The grid owns none of them except the string lists it
// creates for second lines.
#include <string>

namespace grid {

class CellObject {
  public:
    virtual ~CellObject() = default;
};

// A string list attached to a cell; the grid keeps a row's second-line text in one. The text is kept
// byte for byte as it was set.
class StringList : public CellObject {
  public:
    const std::string& Text() const { return text_; }
    void SetText(std::string text) { text_ = std::move(text); }

    // Position in the registry of the grid that created the list; -1 for lists made by other code.
    int RegistrySlot = -1;

  private:
    std::string text_;
};

}  // namespace grid
