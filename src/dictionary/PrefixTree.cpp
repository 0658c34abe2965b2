#include "dictionary/PrefixTree.h"

#include "dictionary/Dictionary.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <optional>

namespace {

// The word as alphabet indices, or nothing when a character lies outside the alphabet
// (such a word can never be traced on the board).
std::optional<std::vector<std::uint8_t>> ToKey(QByteArrayView word, unsigned char first, int size) {
    std::vector<std::uint8_t> key;
    key.reserve(static_cast<std::size_t>(word.size()));
    for (char c : word) {
        const int index = CodePage::FoldCase(static_cast<unsigned char>(c)) - first;
        if (index < 0 || index >= size)
            return std::nullopt;
        key.push_back(static_cast<std::uint8_t>(index));
    }
    return key;
}

} // namespace

TPrefixTree::TPrefixTree(const TDictionary& words) : firstLetter_(words.FirstLetter) {
    std::vector<Key> keys;
    for (int length = TDictionary::MinLength; length <= TDictionary::MaxLength; ++length)
        for (const QByteArray& word : words.Lists[length])
            if (auto key = ToKey(word, words.FirstLetter, words.AlphabetSize()))
                keys.push_back(std::move(*key));
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    nodes_.reserve(keys.size() * 3);
    nodes_.emplace_back();
    Build(0, keys, 0, keys.size(), 0);
}

// Lays out the children of a node side by side, so a child is found by counting bits.
void TPrefixTree::Build(std::uint32_t node, const std::vector<Key>& keys, std::size_t begin,
                        std::size_t end, std::size_t level) {
    while (begin < end && keys[begin].size() == level) {
        nodes_[node].word = true;
        ++begin;
    }
    std::vector<std::pair<std::size_t, std::size_t>> groups;
    std::uint32_t mask = 0;
    for (std::size_t i = begin; i < end;) {
        std::size_t j = i;
        while (j < end && keys[j][level] == keys[i][level])
            ++j;
        mask |= 1u << keys[i][level];
        groups.emplace_back(i, j);
        i = j;
    }
    const auto first = static_cast<std::uint32_t>(nodes_.size());
    nodes_[node].children = mask;
    nodes_[node].firstChild = first;
    nodes_.resize(nodes_.size() + groups.size());
    std::uint8_t depth = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const auto child = first + static_cast<std::uint32_t>(g);
        Build(child, keys, groups[g].first, groups[g].second, level + 1);
        depth = std::max<std::uint8_t>(depth, nodes_[child].depth + 1);
    }
    nodes_[node].depth = depth;
}
