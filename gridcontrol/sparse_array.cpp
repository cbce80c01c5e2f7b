#include "gridcontrol/sparse_array.h"

#include "gridcontrol/grid_errors.h"
#include "platform/core/strings.h"

TSparsePointerArray::TSparsePointerArray(grid::SectionSize size)
    : shift_(size == grid::SectionSize::Large ? 8 : 4), mask_((1u << shift_) - 1) {}

TSparsePointerArray::~TSparsePointerArray() = default;

void* TSparsePointerArray::Get(uint32_t index) const {
    if (static_cast<int64_t>(index) == cachedIndex_) return cachedItem_;
    uint32_t s = index >> shift_;
    void* item = s < sections_.size() && sections_[s] ? sections_[s][index & mask_] : nullptr;
    cachedIndex_ = index;
    cachedItem_ = item;
    return item;
}

void TSparsePointerArray::Put(uint32_t index, void* item) {
    uint32_t s = index >> shift_;
    bool present = s < sections_.size() && sections_[s];
    if (!item && (!present || !sections_[s][index & mask_])) return;
    if (index >= static_cast<uint32_t>(grid::kMaxListSize)) grid::RaiseGridError(grid::kGridTooLarge);
    if (s >= sections_.size()) sections_.resize(s + 1);
    if (!sections_[s]) sections_[s] = std::make_unique<void*[]>(size_t{1} << shift_);  // zero-filled
    cachedIndex_ = -1;
    sections_[s][index & mask_] = item;
    if (item && static_cast<int>(index) > high_) high_ = static_cast<int>(index);
    if (!item && static_cast<int>(index) == high_) RecomputeHigh(high_);
}

void TSparsePointerArray::RecomputeHigh(int from) {
    for (int i = from; i >= 0; --i) {
        uint32_t s = static_cast<uint32_t>(i) >> shift_;
        if (!sections_[s]) {
            i = static_cast<int>(s << shift_);  // skip the whole absent section
            continue;
        }
        if (sections_[s][i & mask_]) {
            high_ = i;
            return;
        }
    }
    high_ = -1;
}

int TSparsePointerArray::ForEach(const std::function<int(int, void*)>& visitor) const {
    const uint32_t size = 1u << shift_;
    for (uint32_t s = 0; s < sections_.size(); ++s) {
        if (!sections_[s]) continue;
        for (uint32_t k = 0; k < size; ++k) {
            if (void* item = sections_[s][k]) {
                if (int r = visitor(static_cast<int>((s << shift_) | k), item)) return r;
            }
        }
    }
    return 0;
}

// ---- T_SparseList ----------------------------------------------------------------------------------

void T_SparseList::CheckIndex(int index) {
    if (index < 0) throw core::EListError(core::Format(grid::kListIndexError, index));
}

void* T_SparseList::Get(int index) const {
    CheckIndex(index);
    return array_->Get(static_cast<uint32_t>(index));
}

void T_SparseList::Put(int index, void* item) {
    CheckIndex(index);
    array_->Put(static_cast<uint32_t>(index), item);
    count_ = array_->HighIndex() + 1;
}

void T_SparseList::Insert(int index, void* item) {
    CheckIndex(index);
    if (index >= grid::kMaxListSize || count_ >= grid::kMaxListSize)
        grid::RaiseGridError(grid::kGridTooLarge);
    for (int i = count_ - 1; i >= index; --i) array_->Put(static_cast<uint32_t>(i + 1), array_->Get(i));
    array_->Put(static_cast<uint32_t>(index), item);
    count_ = std::max(count_, index) + 1;
}

void T_SparseList::Delete(int index) {
    if (index < 0 || index >= count_) return;
    for (int i = index; i < count_ - 1; ++i) array_->Put(static_cast<uint32_t>(i), array_->Get(i + 1));
    array_->Put(static_cast<uint32_t>(count_ - 1), nullptr);
    --count_;
}

void T_SparseList::Exchange(int i, int j) {
    CheckIndex(i);
    CheckIndex(j);
    void* a = array_->Get(i);
    void* b = array_->Get(j);
    array_->Put(static_cast<uint32_t>(i), b);
    array_->Put(static_cast<uint32_t>(j), a);
    count_ = std::max(count_, array_->HighIndex() + 1);
}

void T_SparseList::Move(int from, int to) {
    if (from == to) return;
    void* item = Get(from);
    Delete(from);
    Insert(to, item);
}

void T_SparseList::Clear() {
    array_ = std::make_unique<TSparsePointerArray>(size_);
    count_ = 0;
}
