#pragma once
// The texts and objects of one grid row. Texts are stored back to back in one exactly sized buffer with
// an end offset per position, so a row costs little more than its text bytes; positions past the last
// non-empty one take nothing. Objects are rare and kept apart.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gridcontrol/cell_object.h"

class T_StringSparseList {
  public:
    T_StringSparseList() = default;
    T_StringSparseList(const T_StringSparseList&) = delete;
    T_StringSparseList& operator=(const T_StringSparseList&) = delete;

    // Highest position holding a text or an object, plus one.
    int Count() const { return static_cast<int>(count_); }
    std::string_view Get(int index) const {
        if (index < 0 || static_cast<uint32_t>(index) >= count_) return {};
        return {bytes_.get() + Begin(index), End(index) - Begin(index)};
    }
    grid::CellObject* GetObject(int index) const;
    // An empty text at a position without object removes the position's item.
    void Put(int index, std::string_view text);
    // Several texts at ascending positions, with one rebuild of the row.
    void PutMany(const std::vector<std::pair<int, std::string_view>>& texts);
    // Setting none on an item with empty text removes it; an object on an absent item creates one.
    void PutObject(int index, grid::CellObject* object);
    void Insert(int index, std::string_view text);
    void Delete(int index);
    void Exchange(int i, int j);
    void Move(int from, int to);
    void Clear();
    // Positions that hold an object, in index order.
    std::vector<std::pair<int, grid::CellObject*>> Objects() const;

  private:
    static void CheckIndex(int index);
    uint32_t Begin(int i) const { return i == 0 ? 0 : ends_[i - 1]; }
    uint32_t End(int i) const { return ends_[i]; }
    uint32_t ByteCount() const { return count_ == 0 ? 0 : ends_[count_ - 1]; }
    // Rebuilds the buffers from a full list of texts (positions 0..texts.size()-1).
    void Rebuild(const std::vector<std::string_view>& texts);
    std::vector<std::string_view> Texts(size_t minSize) const;
    // Fills an empty list; false (and nothing done) when the positions do not ascend strictly.
    bool PutFresh(const std::vector<std::pair<int, std::string_view>>& texts);
    void Trim();

    uint32_t count_ = 0;
    std::unique_ptr<uint32_t[]> ends_;
    std::unique_ptr<char[]> bytes_;
    std::unique_ptr<std::vector<std::pair<int, grid::CellObject*>>> objects_;  // sorted by index
};
