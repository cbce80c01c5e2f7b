#pragma once
// Sparse storage by index: a two-level pointer array and a list over it. Memory is taken only for the
// sections that hold something.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace grid {

enum class SectionSize { Small, Large };  // 16 or 256 entries a section

}  // namespace grid

class TSparsePointerArray {
  public:
    explicit TSparsePointerArray(grid::SectionSize size = grid::SectionSize::Small);
    ~TSparsePointerArray();
    TSparsePointerArray(const TSparsePointerArray&) = delete;
    TSparsePointerArray& operator=(const TSparsePointerArray&) = delete;

    // None for an index whose section or slot is absent.
    void* Get(uint32_t index) const;
    // Storing none where nothing is stored does nothing. An index at or beyond the largest size a grid
    // list may have raises "Gitter zu groß für Operation" instead of growing the directory without bound.
    void Put(uint32_t index, void* item);
    int HighIndex() const { return high_; }
    int SectionSize() const { return 1 << shift_; }
    // Visits the present items in index order; stops at the first non-zero result and returns it.
    int ForEach(const std::function<int(int index, void* item)>& visitor) const;

  private:
    void RecomputeHigh(int from);
    int shift_;
    uint32_t mask_;
    std::vector<std::unique_ptr<void*[]>> sections_;
    int high_ = -1;
    mutable int64_t cachedIndex_ = -1;
    mutable void* cachedItem_ = nullptr;
};

// A list over a sparse array: count is the highest used index + 1.
class T_SparseList {
  public:
    explicit T_SparseList(grid::SectionSize size = grid::SectionSize::Small) : size_(size) {}

    int Count() const { return count_; }
    void* Get(int index) const;
    void Put(int index, void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    void Exchange(int i, int j);
    void Move(int from, int to);
    void Clear();
    int ForEach(const std::function<int(int index, void* item)>& visitor) const {
        return array_->ForEach(visitor);
    }

  private:
    static void CheckIndex(int index);
    grid::SectionSize size_;
    int count_ = 0;
    std::unique_ptr<TSparsePointerArray> array_ = std::make_unique<TSparsePointerArray>(size_);
};
