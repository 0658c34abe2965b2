#pragma once
// A compact prefix tree over the dictionary words of the current alphabet, letters folded
// to capitals. The computer's search walks it to drop paths that no word can extend.

#include <QByteArrayView>
#include <bit>
#include <cstdint>
#include <vector>

struct TDictionary;

class TPrefixTree {
public:
    static constexpr std::uint32_t None = 0xFFFFFFFF;
    static constexpr int MaxLetters = 32;

    explicit TPrefixTree(const TDictionary& words);

    std::uint32_t Root() const { return 0; }
    unsigned char FirstLetter() const { return firstLetter_; }

    // The node reached from `node` by the letter with alphabet index `letter`, or None.
    std::uint32_t Child(std::uint32_t node, int letter) const {
        const Node& n = nodes_[node];
        const std::uint32_t bit = 1u << letter;
        if (!(n.children & bit))
            return None;
        return n.firstChild + static_cast<std::uint32_t>(std::popcount(n.children & (bit - 1)));
    }
    bool IsWord(std::uint32_t node) const { return nodes_[node].word; }
    // The most letters that can still follow this node in some word.
    int Depth(std::uint32_t node) const { return nodes_[node].depth; }
    std::uint32_t ChildMask(std::uint32_t node) const { return nodes_[node].children; }
    std::size_t NodeCount() const { return nodes_.size(); }

private:
    struct Node {
        std::uint32_t children = 0;
        std::uint32_t firstChild = 0;
        std::uint8_t depth = 0;
        bool word = false;
    };
    using Key = std::vector<std::uint8_t>;

    void Build(std::uint32_t node, const std::vector<Key>& keys, std::size_t begin, std::size_t end,
               std::size_t level);

    std::vector<Node> nodes_;
    unsigned char firstLetter_;
};
