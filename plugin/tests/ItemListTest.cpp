#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "plugin/core/ItemList.h"
#include "plugin/testing/ErrorOf.h"

namespace orvanta {
namespace {

std::vector<int> Items(const ItemList<int>& list) {
    std::vector<int> items;
    for (const auto& entry : list.Entries()) items.push_back(entry.item);
    return items;
}

using test::ErrorOf;

TEST(ItemList, AddsAtTheEndOrBeforeOrAfterAPlace) {
    ItemList<int> list;
    list.Add(1, std::nullopt, std::nullopt, std::nullopt);
    list.Add(3, u"three", std::nullopt, std::nullopt);
    list.Add(2, std::nullopt, ItemPosition{std::int64_t{2}}, std::nullopt);
    list.Add(4, std::nullopt, std::nullopt, ItemPosition{u"THREE"});  // keys ignore the case of a-z
    list.Add(0, std::nullopt, ItemPosition{std::int64_t{1}}, std::nullopt);
    EXPECT_THAT(Items(list), ::testing::ElementsAre(0, 1, 2, 3, 4));
    EXPECT_EQ(list.Item(u"Three"), 3);
    EXPECT_EQ(list.Item(std::int64_t{5}), 4);
}

TEST(ItemList, RaisesTheCollectionErrors) {
    ItemList<int> list;
    list.Add(1, u"a", std::nullopt, std::nullopt);
    EXPECT_EQ(ErrorOf([&] { list.Add(2, u"A", std::nullopt, std::nullopt); }), vb::kKeyInUse);
    EXPECT_EQ(ErrorOf([&] { list.Item(std::int64_t{0}); }), vb::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorOf([&] { list.Item(std::int64_t{2}); }), vb::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorOf([&] { list.Item(u"b"); }), vb::kInvalidProcedureCall);
    EXPECT_EQ(ErrorOf([&] { list.Add(2, std::nullopt, ItemPosition{std::int64_t{1}}, ItemPosition{std::int64_t{1}}); }),
              vb::kInvalidProcedureCall);
    EXPECT_EQ(ErrorOf([&] { list.Add(2, std::nullopt, ItemPosition{std::int64_t{3}}, std::nullopt); }),
              vb::kSubscriptOutOfRange);
    EXPECT_EQ(list.Count(), 1u);

    list.Remove(u"A");
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(ErrorOf([&] { list.Remove(std::int64_t{1}); }), vb::kSubscriptOutOfRange);
}

}  // namespace
}  // namespace orvanta
