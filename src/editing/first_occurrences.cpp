// An Aho-Corasick automaton over the patterns. Thousands of long paths make
// a trie of up to a million nodes, so nodes carry no 256-wide tables: the
// trie is laid out breadth first from the sorted patterns, which puts every
// node's children next to each other in label order (found by binary
// search), and only the root, where every byte of the text starts, has a
// full table.
#include "editing/first_occurrences.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>

namespace lumbrel {

namespace {

using Node = std::uint32_t;
constexpr Node kRoot = 0;
constexpr Node kNone = static_cast<Node>(-1);

class Automaton {
public:
    explicit Automaton(const std::vector<std::string_view>& patterns) : patterns_(patterns) { build(); }

    std::vector<std::size_t> search(std::string_view text) const {
        std::vector<std::size_t> found(patterns_.size(), kNotFound);
        std::size_t remaining = wanted_;
        if (remaining == 0) return found;
        // A terminal node's patterns and everything down its output chain are
        // all reported the first time it is reached, so later visits stop there.
        std::vector<bool> reported(nodes_.size(), false);
        Node state = kRoot;
        for (std::size_t i = 0; i < text.size(); ++i) {
            state = next(state, static_cast<unsigned char>(text[i]));
            const NodeData& here = nodes_[state];
            for (Node t = here.firstPattern != kNone ? state : here.output; t != kNone && !reported[t];
                 t = nodes_[t].output) {
                reported[t] = true;
                for (Node p = nodes_[t].firstPattern; p != kNone; p = samePattern_[p]) {
                    found[p] = i + 1 - patterns_[p].size();
                    --remaining;
                }
            }
            if (remaining == 0) break;
        }
        return found;
    }

private:
    // What the search reads of a node, together in one cache line.
    struct NodeData {
        std::uint32_t firstChild = 0;  // children are [firstChild, the next node's firstChild)
        Node fail = kRoot;             // the longest proper suffix that is a trie node
        Node output = kNone;           // the longest proper suffix that ends a pattern
        Node firstPattern = kNone;     // a pattern ending here; equal ones follow through samePattern_
    };

    // The child of `node` labelled `byte`, kNone when there is none.
    Node child(Node node, unsigned char byte) const {
        if (node == kRoot) return rootChild_[byte];
        const auto first = label_.begin() + nodes_[node].firstChild;
        const auto last = label_.begin() + nodes_[node + 1].firstChild;
        const auto it = std::lower_bound(first, last, byte);
        return it != last && *it == byte ? static_cast<Node>(it - label_.begin()) : kNone;
    }

    Node next(Node state, unsigned char byte) const {
        for (;;) {
            const Node to = child(state, byte);
            if (to != kNone) return to;
            if (state == kRoot) return kRoot;
            state = nodes_[state].fail;
        }
    }

    void build() {
        const std::size_t count = patterns_.size();
        samePattern_.assign(count, kNone);
        std::vector<Node> order;
        order.reserve(count);
        std::size_t bytes = 0;
        for (Node p = 0; p < count; ++p) {
            if (patterns_[p].empty()) continue;
            order.push_back(p);
            bytes += patterns_[p].size();
        }
        wanted_ = order.size();
        std::sort(order.begin(), order.end(), [&](Node a, Node b) { return patterns_[a] < patterns_[b]; });
        // Sorted neighbours' common prefix lengths and the sorted lengths, so
        // that grouping by the next byte reads two small arrays in order
        // instead of every pattern again at every depth.
        std::vector<std::uint32_t> common(order.size(), 0), length(order.size(), 0);
        for (std::size_t k = 0; k < order.size(); ++k) {
            const std::string_view p = patterns_[order[k]];
            length[k] = static_cast<std::uint32_t>(p.size());
            if (k == 0) continue;
            const std::string_view q = patterns_[order[k - 1]];
            const auto shorter = static_cast<std::ptrdiff_t>(std::min(p.size(), q.size()));
            common[k] = static_cast<std::uint32_t>(std::mismatch(p.begin(), p.begin() + shorter, q.begin()).first -
                                                   p.begin());
        }

        // Breadth first, so that a node's children lie together and every
        // node's failure link can be set as it is made: it leads to a
        // shallower node, whose children exist already. Node n stands for
        // the patterns order[lo, hi), which share their first `depth` bytes.
        struct Pending {
            std::uint32_t lo, hi, depth;
        };
        // At most one node per pattern byte, the root and the end of the last range.
        std::vector<Pending> pending;
        pending.reserve(bytes + 1);
        pending.push_back({0, static_cast<std::uint32_t>(order.size()), 0});
        nodes_.reserve(bytes + 2);
        nodes_.assign(1, NodeData{});
        label_.reserve(bytes + 1);
        label_.assign(1, 0);
        rootChild_.fill(kNone);
        for (Node n = 0; n < nodes_.size(); ++n) {
            nodes_[n].firstChild = static_cast<std::uint32_t>(nodes_.size());
            const auto [lo, hi, d] = pending[n];
            // Patterns that end here sort first; they were taken when the node was made.
            std::uint32_t i = lo;
            while (i < hi && length[i] == d) ++i;
            while (i < hi) {
                std::uint32_t j = i + 1;
                while (j < hi && common[j] > d) ++j;
                const auto byte = static_cast<unsigned char>(patterns_[order[i]][d]);
                NodeData made;
                // Set now, not when the child's turn comes: a failure link
                // made before then may lead to it. Equal patterns share it.
                for (std::uint32_t k = i; k < j && length[k] == d + 1; ++k) {
                    samePattern_[order[k]] = made.firstPattern;
                    made.firstPattern = order[k];
                }
                if (n == kRoot) {
                    rootChild_[byte] = static_cast<Node>(nodes_.size());
                } else {
                    made.fail = next(nodes_[n].fail, byte);
                    const NodeData& f = nodes_[made.fail];
                    made.output = f.firstPattern != kNone ? made.fail : f.output;
                }
                nodes_.push_back(made);
                label_.push_back(byte);
                pending.push_back({i, j, d + 1});
                i = j;
            }
        }
        nodes_.push_back(NodeData{static_cast<std::uint32_t>(nodes_.size()), kRoot, kNone, kNone});  // ends the last range
    }

    const std::vector<std::string_view>& patterns_;
    std::size_t wanted_ = 0;
    std::vector<NodeData> nodes_;
    std::vector<unsigned char> label_;  // per node: the byte of the edge into it
    std::vector<Node> samePattern_;     // per pattern: the next equal pattern, kNone
    std::array<Node, 256> rootChild_{};
};

}  // namespace

std::vector<std::size_t> firstOccurrences(std::string_view text, const std::vector<std::string_view>& patterns) {
    return Automaton(patterns).search(text);
}

}  // namespace lumbrel
