// The storage of an automation collection: items in order, each with an optional key.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "plugin/core/VbError.h"

namespace orvanta {

// A place in the list: a position from 1, or a key.
using ItemPosition = std::variant<std::int64_t, std::u16string>;

template <class T>
class ItemList {
public:
    using KeyEquals = std::function<bool(std::u16string_view, std::u16string_view)>;
    struct Entry {
        T item;
        std::optional<std::u16string> key;
    };

    // Keys compare with keyEquals; without it, without regard to the case of a-z.
    explicit ItemList(KeyEquals keyEquals = {})
        : keyEquals_(keyEquals ? std::move(keyEquals) : KeyEquals(AsciiEquals)) {}

    std::size_t Count() const { return entries_.size(); }
    const std::vector<Entry>& Entries() const { return entries_; }

    // At the end, or before / after an existing place (not both). A key already in use raises error 457.
    void Add(T item, std::optional<std::u16string> key, const std::optional<ItemPosition>& before,
             const std::optional<ItemPosition>& after) {
        if (before && after) throw VbError(vb::kInvalidProcedureCall);
        if (key && Find(*key)) throw VbError(vb::kKeyInUse);
        std::size_t at = entries_.size();
        if (before) at = IndexOf(*before);
        if (after) at = IndexOf(*after) + 1;
        entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), Entry{std::move(item), std::move(key)});
    }

    const T& Item(const ItemPosition& position) const { return entries_[IndexOf(position)].item; }

    void Remove(const ItemPosition& position) {
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(IndexOf(position)));
    }

    // Index from 0; an index outside 1..Count raises "Subscript out of range", an unknown key "Invalid procedure
    // call or argument".
    std::size_t IndexOf(const ItemPosition& position) const {
        if (auto* index = std::get_if<std::int64_t>(&position)) {
            if (*index < 1 || static_cast<std::uint64_t>(*index) > entries_.size())
                throw VbError(vb::kSubscriptOutOfRange);
            return static_cast<std::size_t>(*index - 1);
        }
        if (auto found = Find(std::get<std::u16string>(position))) return *found;
        throw VbError(vb::kInvalidProcedureCall);
    }

private:
    std::optional<std::size_t> Find(std::u16string_view key) const {
        for (std::size_t i = 0; i < entries_.size(); ++i)
            if (entries_[i].key && keyEquals_(*entries_[i].key, key)) return i;
        return std::nullopt;
    }

    static bool AsciiEquals(std::u16string_view a, std::u16string_view b) {
        if (a.size() != b.size()) return false;
        auto fold = [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; };
        for (std::size_t i = 0; i < a.size(); ++i)
            if (fold(a[i]) != fold(b[i])) return false;
        return true;
    }

    KeyEquals keyEquals_;
    std::vector<Entry> entries_;
};

}  // namespace orvanta
