#pragma once
// The texts and objects of one grid row. Texts are stored back to back in one exactly sized allocation,
// after an end offset per position, so a row costs little more than its text bytes; positions past the
// last non-empty one take nothing. Objects are rare and kept apart.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gridcontrol/cell_object.h"

class T_StringSparseList {
  public:
    // Readable bytes that follow the last text, so that a reader may copy in whole 32-byte steps.
    static constexpr size_t kSlack = 32;

    // Hands out the storage of many lists from shared chunks, for rows filled one after the other as a
    // load does: one allocation per chunk instead of one per row. A chunk is freed when the pool and
    // every list that took storage from it have let go.
    class BlockPool {
      public:
        BlockPool() = default;
        ~BlockPool();
        BlockPool(const BlockPool&) = delete;
        BlockPool& operator=(const BlockPool&) = delete;

      private:
        friend class T_StringSparseList;
        uint32_t* Take(size_t words);
        uint32_t* chunk_ = nullptr;  // word 0 counts the holders
        size_t used_ = 0, capacity_ = 0;
    };

    T_StringSparseList() = default;
    T_StringSparseList(const T_StringSparseList&) = delete;
    T_StringSparseList& operator=(const T_StringSparseList&) = delete;

    // Highest position holding a text or an object, plus one.
    int Count() const { return static_cast<int>(count_); }
    std::string_view Get(int index) const {
        if (index < 0 || static_cast<uint32_t>(index) >= count_) return {};
        return {bytes_ + Begin(index), End(index) - Begin(index)};
    }
    // Every text back to back, position 0 first; kSlack readable bytes follow.
    std::string_view Packed() const { return {bytes_, ByteCount()}; }
    grid::CellObject* GetObject(int index) const { return objects_ ? FindObject(index) : nullptr; }
    // An empty text at a position without object removes the position's item.
    void Put(int index, std::string_view text);
    // Several texts at ascending positions, with one rebuild of the row.
    void PutMany(const std::vector<std::pair<int, std::string_view>>& texts);
    // Fills an empty list without objects from n texts packed back to back in bytes: text k ends at
    // ends[k] and goes to position cols[k]. Positions ascend strictly; those in between stay empty.
    // The storage comes from the pool when one is given.
    void AssignPacked(const int* cols, const uint32_t* ends, size_t n, const char* bytes,
                      BlockPool* pool = nullptr);
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
    grid::CellObject* FindObject(int index) const;
    uint32_t Begin(int i) const { return i == 0 ? 0 : block_[i - 1]; }
    uint32_t End(int i) const { return block_[i]; }
    uint32_t ByteCount() const { return count_ == 0 ? 0 : block_[count_ - 1]; }
    // A block is preceded by one word: 0 for a block of its own, else its distance in words from the
    // start of the pool chunk it lies in.
    struct BlockDeleter {
        void operator()(uint32_t* block) const;
    };
    using Block = std::unique_ptr<uint32_t[], BlockDeleter>;
    // A new block for count end offsets and the given number of bytes (plus the slack); the offsets are
    // its first words, bytesOut receives where the bytes go.
    static Block Allocate(uint32_t count, size_t bytes, char*& bytesOut, BlockPool* pool = nullptr);
    void Adopt(Block block, char* bytes, uint32_t count);
    // Rebuilds the buffers from a full list of texts (positions 0..texts.size()-1).
    void Rebuild(const std::vector<std::string_view>& texts);
    std::vector<std::string_view> Texts(size_t minSize) const;
    // Fills an empty list; false (and nothing done) when the positions do not ascend strictly.
    bool PutFresh(const std::vector<std::pair<int, std::string_view>>& texts);
    void Trim();

    uint32_t count_ = 0;
    Block block_;            // the end offsets, then the bytes, then the slack
    char* bytes_ = nullptr;  // into block_
    std::unique_ptr<std::vector<std::pair<int, grid::CellObject*>>> objects_;  // sorted by index
};
