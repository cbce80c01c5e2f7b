#include "gridcontrol/string_sparse_list.h"

#include <algorithm>
#include <cstring>

#include "gridcontrol/grid_errors.h"
#include "platform/core/strings.h"

void T_StringSparseList::CheckIndex(int index) {
    if (index < 0) throw core::EListError(core::Format(grid::kListIndexError, index));
    if (index >= grid::kMaxListSize) grid::RaiseGridError(grid::kGridTooLarge);
}

grid::CellObject* T_StringSparseList::FindObject(int index) const {
    for (auto& [i, o] : *objects_)
        if (i == index) return o;
    return nullptr;
}

std::vector<std::pair<int, grid::CellObject*>> T_StringSparseList::Objects() const {
    return objects_ ? *objects_ : std::vector<std::pair<int, grid::CellObject*>>{};
}

std::vector<std::string_view> T_StringSparseList::Texts(size_t minSize) const {
    std::vector<std::string_view> texts(std::max<size_t>(count_, minSize));
    for (uint32_t i = 0; i < count_; ++i) texts[i] = Get(static_cast<int>(i));
    return texts;
}

namespace {

constexpr size_t kChunkWords = size_t{1} << 14;  // 64 KiB

void ReleaseChunk(uint32_t* chunk) {
    if (--chunk[0] == 0) delete[] chunk;
}

}  // namespace

T_StringSparseList::BlockPool::~BlockPool() {
    if (chunk_) ReleaseChunk(chunk_);
}

uint32_t* T_StringSparseList::BlockPool::Take(size_t words) {
    if (!chunk_ || used_ + words > capacity_) {
        if (chunk_) ReleaseChunk(chunk_);
        capacity_ = std::max(kChunkWords, words + 1);
        chunk_ = new uint32_t[capacity_];
        chunk_[0] = 1;  // the pool's own hold
        used_ = 1;
    }
    uint32_t* head = chunk_ + used_;
    *head = static_cast<uint32_t>(used_);
    used_ += words;
    ++chunk_[0];
    return head;
}

void T_StringSparseList::BlockDeleter::operator()(uint32_t* block) const {
    uint32_t* head = block - 1;
    if (*head == 0)
        delete[] head;
    else
        ReleaseChunk(head - *head);
}

T_StringSparseList::Block T_StringSparseList::Allocate(uint32_t count, size_t bytes, char*& bytesOut,
                                                       BlockPool* pool) {
    if (bytes > UINT32_MAX) grid::RaiseGridError(grid::kGridTooLarge);
    const size_t words = 1 + count + (bytes + kSlack + sizeof(uint32_t) - 1) / sizeof(uint32_t);
    uint32_t* head;
    if (pool) {
        head = pool->Take(words);
    } else {
        head = new uint32_t[words];
        *head = 0;
    }
    Block block(head + 1);
    bytesOut = reinterpret_cast<char*>(block.get() + count);
    return block;
}

void T_StringSparseList::Adopt(Block block, char* bytes, uint32_t count) {
    block_ = std::move(block);
    bytes_ = bytes;
    count_ = count;
}

void T_StringSparseList::Rebuild(const std::vector<std::string_view>& texts) {
    size_t n = texts.size(), total = 0;
    for (auto t : texts) total += t.size();
    if (n == 0) {
        Adopt(nullptr, nullptr, 0);
        return;
    }
    char* bytes;
    auto block = Allocate(static_cast<uint32_t>(n), total, bytes);
    uint32_t pos = 0;
    for (size_t i = 0; i < n; ++i) {
        if (!texts[i].empty()) std::memcpy(bytes + pos, texts[i].data(), texts[i].size());
        pos += static_cast<uint32_t>(texts[i].size());
        block[i] = pos;
    }
    Adopt(std::move(block), bytes, static_cast<uint32_t>(n));
    Trim();
}

// Drops trailing positions that hold neither text nor object.
void T_StringSparseList::Trim() {
    int lastObject = objects_ && !objects_->empty() ? objects_->back().first : -1;
    while (count_ > 0 && static_cast<int>(count_) - 1 > lastObject && Begin(count_ - 1) == End(count_ - 1))
        --count_;
    if (count_ == 0) Adopt(nullptr, nullptr, 0);
}

void T_StringSparseList::Put(int index, std::string_view text) {
    CheckIndex(index);
    const uint32_t i = static_cast<uint32_t>(index);
    if (i >= count_ && text.empty()) return;
    if (i < count_ && Get(index) == text) return;
    const uint32_t total = ByteCount();
    const uint32_t b = i < count_ ? Begin(index) : total;
    const uint32_t e = i < count_ ? End(index) : total;
    const size_t newTotal = size_t{total} - (e - b) + text.size();
    // One exactly sized block: the offsets, then the bytes before the position, the new text, the bytes
    // after it.
    const uint32_t newCount = std::max(count_, i + 1);
    char* bytes;
    auto block = Allocate(newCount, newTotal, bytes);
    if (b) std::memcpy(bytes, bytes_, b);
    if (!text.empty()) std::memcpy(bytes + b, text.data(), text.size());
    if (total > e) std::memcpy(bytes + b + text.size(), bytes_ + e, total - e);
    if (count_) std::memcpy(block.get(), block_.get(), count_ * sizeof(uint32_t));
    for (uint32_t k = count_; k < newCount; ++k) block[k] = total;
    const int64_t delta = static_cast<int64_t>(text.size()) - (e - b);
    for (uint32_t k = i; k < newCount; ++k) block[k] = static_cast<uint32_t>(block[k] + delta);
    Adopt(std::move(block), bytes, newCount);
    Trim();
}

void T_StringSparseList::PutMany(const std::vector<std::pair<int, std::string_view>>& texts) {
    if (texts.empty()) return;
    if (count_ == 0 && !objects_ && PutFresh(texts)) return;
    int highest = 0;
    for (auto& [i, t] : texts) {
        CheckIndex(i);
        if (!t.empty()) highest = std::max(highest, i);
    }
    auto all = Texts(static_cast<size_t>(highest) + 1);
    std::vector<std::string> copies;  // texts that point into our own buffer
    const char* own = bytes_;
    for (auto& [i, t] : texts) {
        if (static_cast<size_t>(i) >= all.size()) continue;  // empty beyond the end
        bool inside = own && t.data() >= own && t.data() < own + ByteCount();
        if (inside && copies.capacity() == 0) copies.reserve(texts.size());  // views must stay put
        all[i] = inside ? std::string_view(copies.emplace_back(t)) : t;
    }
    Rebuild(all);
}

// An empty list given texts at strictly ascending positions (as a row being loaded is) is built straight
// from them, without the list of every position that a general write goes through.
bool T_StringSparseList::PutFresh(const std::vector<std::pair<int, std::string_view>>& texts) {
    int previous = -1, highest = -1;
    size_t total = 0;
    for (auto& [i, t] : texts) {
        CheckIndex(i);
        if (i <= previous) return false;
        previous = i;
        if (!t.empty()) {
            highest = i;
            total += t.size();
        }
    }
    if (highest < 0) return true;  // only empty texts: the list stays empty
    const uint32_t n = static_cast<uint32_t>(highest) + 1;
    char* bytes;
    auto ends = Allocate(n, total, bytes);
    uint32_t pos = 0, k = 0;
    for (auto& [i, t] : texts) {
        if (i > highest) break;
        while (k < static_cast<uint32_t>(i)) ends[k++] = pos;  // positions between the given ones
        if (!t.empty()) std::memcpy(bytes + pos, t.data(), t.size());
        pos += static_cast<uint32_t>(t.size());
        ends[k++] = pos;
    }
    Adopt(std::move(ends), bytes, n);
    return true;
}

void T_StringSparseList::AssignPacked(const int* cols, const uint32_t* ends, size_t n, const char* bytes,
                                      BlockPool* pool) {
    // The last text that holds bytes decides the count; empty texts after it take no position.
    size_t last = n;
    while (last > 0 && ends[last - 1] == (last > 1 ? ends[last - 2] : 0)) --last;
    if (last == 0) return;
    CheckIndex(cols[last - 1]);
    const uint32_t count = static_cast<uint32_t>(cols[last - 1]) + 1;
    const uint32_t total = ends[last - 1];
    char* own;
    auto block = Allocate(count, total, own, pool);
    std::memcpy(own, bytes, total);
    uint32_t k = 0, end = 0;
    for (size_t t = 0; t < last; ++t) {
        while (k < static_cast<uint32_t>(cols[t])) block[k++] = end;  // positions between the given ones
        end = ends[t];
        block[k++] = end;
    }
    Adopt(std::move(block), own, count);
}

void T_StringSparseList::PutObject(int index, grid::CellObject* object) {
    CheckIndex(index);
    if (!objects_) {
        if (!object) return;
        objects_ = std::make_unique<std::vector<std::pair<int, grid::CellObject*>>>();
    }
    auto& v = *objects_;
    auto it = std::lower_bound(v.begin(), v.end(), index, [](auto& p, int i) { return p.first < i; });
    bool found = it != v.end() && it->first == index;
    if (object && found) it->second = object;
    if (object && !found) v.insert(it, {index, object});
    if (!object && found) v.erase(it);
    if (v.empty()) objects_.reset();
    if (object && static_cast<uint32_t>(index) >= count_) {
        Rebuild(Texts(static_cast<size_t>(index) + 1));
    } else {
        Trim();
    }
}

void T_StringSparseList::Insert(int index, std::string_view text) {
    CheckIndex(index);
    std::string keep(text);
    auto texts = Texts(static_cast<size_t>(index));
    texts.insert(texts.begin() + index, keep);
    if (objects_)
        for (auto& p : *objects_)
            if (p.first >= index) ++p.first;
    Rebuild(texts);
}

void T_StringSparseList::Delete(int index) {
    if (index < 0 || static_cast<uint32_t>(index) >= count_) return;
    auto texts = Texts(0);
    texts.erase(texts.begin() + index);
    if (objects_) {
        std::erase_if(*objects_, [&](auto& p) { return p.first == index; });
        for (auto& p : *objects_)
            if (p.first > index) --p.first;
        if (objects_->empty()) objects_.reset();
    }
    Rebuild(texts);
}

void T_StringSparseList::Exchange(int i, int j) {
    CheckIndex(i);
    CheckIndex(j);
    if (i == j) return;
    std::string a(Get(i)), b(Get(j));
    grid::CellObject* oa = GetObject(i);
    grid::CellObject* ob = GetObject(j);
    auto texts = Texts(static_cast<size_t>(std::max(i, j)) + 1);
    texts[i] = b;
    texts[j] = a;
    Rebuild(texts);
    PutObject(i, ob);
    PutObject(j, oa);
}

void T_StringSparseList::Move(int from, int to) {
    CheckIndex(from);
    CheckIndex(to);
    if (from == to) return;
    std::string text(Get(from));
    grid::CellObject* object = GetObject(from);
    PutObject(from, nullptr);
    Delete(from);
    Insert(to, text);
    if (object) PutObject(to, object);
}

void T_StringSparseList::Clear() {
    Adopt(nullptr, nullptr, 0);
    objects_.reset();
}
