#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gridcontrol/grid_errors.h"
#include "gridcontrol/sparse_array.h"
#include "gridcontrol/string_sparse_list.h"

namespace {

int Item(int i) {
    return i;
}
void* P(int& i) {
    return &i;
}

}  // namespace

TEST(TSparsePointerArray, AbsentSectionsReadAsNoneAndHighIndexFollowsRemovals) {
    TSparsePointerArray a;
    int x = Item(1), y = Item(2);
    EXPECT_EQ(a.Get(1000), nullptr);
    a.Put(3, P(x));
    a.Put(700, P(y));
    EXPECT_EQ(a.Get(3), &x);
    EXPECT_EQ(a.Get(700), &y);
    EXPECT_EQ(a.HighIndex(), 700);
    a.Put(700, nullptr);
    EXPECT_EQ(a.HighIndex(), 3);
    EXPECT_EQ(a.Get(700), nullptr);  // the read cache was cleared by the write
    a.Put(3, nullptr);
    EXPECT_EQ(a.HighIndex(), -1);
}

TEST(TSparsePointerArray, ForEachVisitsInOrderAndStopsAtFirstResult) {
    TSparsePointerArray a;
    int v[3] = {0, 0, 0};
    a.Put(300, &v[2]);
    a.Put(17, &v[1]);
    a.Put(0, &v[0]);
    std::vector<int> seen;
    int r = a.ForEach([&](int i, void*) {
        seen.push_back(i);
        return i == 17 ? 42 : 0;
    });
    EXPECT_EQ(r, 42);
    EXPECT_EQ(seen, (std::vector<int>{0, 17}));
}

TEST(TSparsePointerArray, RowsBeyondTheOldDirectoryLimitAreKeptApart) {
    // A 16-bit directory would wrap index 1,048,560 onto index 0.
    TSparsePointerArray a;
    int low = 1, high = 2;
    a.Put(0, &low);
    a.Put(1048560, &high);
    a.Put(1048576, &high);
    EXPECT_EQ(a.Get(0), &low);
    EXPECT_EQ(a.Get(1048560), &high);
    EXPECT_EQ(a.Get(1048576), &high);
    EXPECT_THROW(a.Put(static_cast<uint32_t>(grid::kMaxListSize), &low), EInvalidGridOperation);
}

TEST(T_SparseList, NegativeIndexRaisesTheListError) {
    T_SparseList list;
    int x = 0;
    for (auto op : {0, 1, 2}) {
        try {
            if (op == 0) list.Get(-3);
            if (op == 1) list.Put(-3, &x);
            if (op == 2) list.Insert(-3, &x);
            FAIL() << op;
        } catch (const core::EListError& e) {
            EXPECT_STREQ(e.what(),
                         "Der Index der Liste \xFC"
                         "berschreitet das Maximum (-3)");
        }
    }
    list.Delete(-1);  // ignored
    EXPECT_EQ(list.Count(), 0);
}

TEST(T_SparseList, InsertDeleteMoveShiftItems) {
    T_SparseList list;
    int v[4] = {0, 1, 2, 3};
    list.Put(0, &v[0]);
    list.Put(2, &v[2]);
    EXPECT_EQ(list.Count(), 3);
    list.Insert(1, &v[1]);  // 0, 1, -, 2
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Get(3), &v[2]);
    EXPECT_EQ(list.Get(2), nullptr);
    list.Delete(2);  // 0, 1, 2
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Get(2), &v[2]);
    list.Move(2, 0);  // 2, 0, 1
    EXPECT_EQ(list.Get(0), &v[2]);
    EXPECT_EQ(list.Get(1), &v[0]);
    EXPECT_EQ(list.Get(2), &v[1]);
    list.Exchange(0, 2);
    EXPECT_EQ(list.Get(0), &v[1]);
    list.Insert(6, &v[3]);  // beyond the end: count becomes 7
    EXPECT_EQ(list.Count(), 7);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Get(0), nullptr);
}

TEST(T_StringSparseList, EmptyTextWithoutObjectRemovesTheItem) {
    T_StringSparseList row;
    row.Put(1, "a");
    row.Put(4, "bcd");
    EXPECT_EQ(row.Count(), 5);
    EXPECT_EQ(row.Get(0), "");
    EXPECT_EQ(row.Get(4), "bcd");
    row.Put(4, "");
    EXPECT_EQ(row.Count(), 2);  // it was the last item
    row.Put(1, "");
    EXPECT_EQ(row.Count(), 0);
    EXPECT_EQ(row.Get(1), "");
}

TEST(T_StringSparseList, ObjectsKeepTheirItemAlive) {
    T_StringSparseList row;
    grid::StringList object;
    row.PutObject(3, &object);
    EXPECT_EQ(row.Count(), 4);
    row.Put(3, "x");
    row.Put(3, "");
    EXPECT_EQ(row.Count(), 4);  // the object keeps the item
    EXPECT_EQ(row.GetObject(3), &object);
    row.PutObject(3, nullptr);
    EXPECT_EQ(row.Count(), 0);
    row.PutObject(5, nullptr);  // none on an absent item creates nothing
    EXPECT_EQ(row.Count(), 0);
}

TEST(T_StringSparseList, TextsAreKeptByteForByte) {
    T_StringSparseList row;
    const std::string texts[] = {std::string("\x81t", 2), std::string("a\0b", 3), "\xE4\xF6\xFC\r\n%\"",
                                 std::string(1000, 'x')};
    for (int i = 0; i < 4; ++i) row.Put(i, texts[i]);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(row.Get(i), texts[i]) << i;
    row.Put(1, row.Get(3));  // a text taken from the list itself
    EXPECT_EQ(row.Get(1), texts[3]);
}

TEST(T_StringSparseList, MoveInsertDeleteCarryTextsAndObjects) {
    T_StringSparseList row;
    grid::StringList object;
    row.Put(0, "a");
    row.Put(1, "b");
    row.Put(2, "c");
    row.PutObject(2, &object);
    row.Move(2, 0);  // c a b
    EXPECT_EQ(row.Get(0), "c");
    EXPECT_EQ(row.GetObject(0), &object);
    EXPECT_EQ(row.Get(2), "b");
    row.Insert(1, "n");  // c n a b
    EXPECT_EQ(row.Get(3), "b");
    row.Delete(0);  // n a b
    EXPECT_EQ(row.Get(0), "n");
    EXPECT_EQ(row.GetObject(0), nullptr);
    row.Exchange(0, 2);
    EXPECT_EQ(row.Get(0), "b");
    EXPECT_EQ(row.Get(2), "n");
    EXPECT_THROW(row.Put(-1, "x"), core::EListError);
}

TEST(T_StringSparseList, PackedRowsKeepTheirTextsWhateverLetsGoFirst) {
    // Texts packed as a loader reads them: "ab", "", "cde" for positions 0, 2, 5, then empty ones.
    const int cols[] = {0, 2, 5, 6, 7};
    const uint32_t ends[] = {2, 2, 5, 5, 5};
    const char bytes[] = "abcde";
    std::vector<std::unique_ptr<T_StringSparseList>> rows;
    {
        T_StringSparseList::BlockPool pool;
        for (int i = 0; i < 3000; ++i) {  // enough rows for several storage chunks
            rows.push_back(std::make_unique<T_StringSparseList>());
            rows.back()->AssignPacked(cols, ends, 5, bytes, &pool);
        }
    }  // the pool lets go before the rows
    for (auto& row : rows) {
        ASSERT_EQ(row->Count(), 6);  // empty texts after the last one take no position
        EXPECT_EQ(row->Get(0), "ab");
        EXPECT_EQ(row->Get(1), "");
        EXPECT_EQ(row->Get(5), "cde");
        EXPECT_EQ(row->Packed(), "abcde");
    }
    rows[7]->Put(1, "x");  // a written row moves to storage of its own
    EXPECT_EQ(rows[7]->Get(1), "x");
    EXPECT_EQ(rows[7]->Get(5), "cde");
    for (size_t i = 0; i < rows.size(); i += 2) rows[i].reset();
    EXPECT_EQ(rows[1]->Get(5), "cde");
    rows.clear();  // each chunk is freed with the last row that uses it

    T_StringSparseList empty;
    const uint32_t none[] = {0, 0};
    empty.AssignPacked(cols, none, 2, bytes);  // only empty texts: the list stays empty
    EXPECT_EQ(empty.Count(), 0);
}
