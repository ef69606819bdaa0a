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
        std::vector<bool> reported(label_.size(), false);
        Node state = kRoot;
        for (std::size_t i = 0; i < text.size(); ++i) {
            state = next(state, static_cast<unsigned char>(text[i]));
            for (Node t = firstPattern_[state] != kNone ? state : output_[state]; t != kNone && !reported[t];
                 t = output_[t]) {
                reported[t] = true;
                for (Node p = firstPattern_[t]; p != kNone; p = samePattern_[p]) {
                    found[p] = i + 1 - patterns_[p].size();
                    --remaining;
                }
            }
            if (remaining == 0) break;
        }
        return found;
    }

private:
    // The child of `node` labelled `byte`, kNone when there is none.
    Node child(Node node, unsigned char byte) const {
        if (node == kRoot) return rootChild_[byte];
        const auto first = label_.begin() + firstChild_[node];
        const auto last = label_.begin() + firstChild_[node + 1];
        const auto it = std::lower_bound(first, last, byte);
        return it != last && *it == byte ? static_cast<Node>(it - label_.begin()) : kNone;
    }

    Node next(Node state, unsigned char byte) const {
        for (;;) {
            const Node to = child(state, byte);
            if (to != kNone) return to;
            if (state == kRoot) return kRoot;
            state = fail_[state];
        }
    }

    void build() {
        const std::size_t count = patterns_.size();
        firstPattern_.assign(1, kNone);
        samePattern_.assign(count, kNone);
        std::vector<Node> order;
        order.reserve(count);
        for (Node p = 0; p < count; ++p) {
            if (!patterns_[p].empty()) order.push_back(p);
        }
        wanted_ = order.size();
        std::sort(order.begin(), order.end(), [&](Node a, Node b) { return patterns_[a] < patterns_[b]; });

        // Breadth first: node n stands for the patterns order[lo[n], hi[n]),
        // which share its first depth[n] bytes.
        std::vector<std::uint32_t> lo{0}, hi{static_cast<std::uint32_t>(order.size())}, depth{0};
        label_.assign(1, 0);
        parent_.assign(1, kRoot);
        firstChild_.clear();
        for (Node n = 0; n < label_.size(); ++n) {
            firstChild_.push_back(static_cast<std::uint32_t>(label_.size()));
            std::uint32_t i = lo[n];
            // Patterns that end here sort first; equal ones share the node.
            for (; i < hi[n] && patterns_[order[i]].size() == depth[n]; ++i) {
                samePattern_[order[i]] = firstPattern_[n];
                firstPattern_[n] = order[i];
            }
            while (i < hi[n]) {
                const auto byte = static_cast<unsigned char>(patterns_[order[i]][depth[n]]);
                std::uint32_t j = i + 1;
                while (j < hi[n] && static_cast<unsigned char>(patterns_[order[j]][depth[n]]) == byte) ++j;
                label_.push_back(byte);
                parent_.push_back(n);
                firstPattern_.push_back(kNone);
                lo.push_back(i);
                hi.push_back(j);
                depth.push_back(depth[n] + 1);
                i = j;
            }
        }
        firstChild_.push_back(static_cast<std::uint32_t>(label_.size()));

        rootChild_.fill(kNone);
        for (Node c = firstChild_[kRoot]; c < firstChild_[kRoot + 1]; ++c) rootChild_[label_[c]] = c;

        // Failure and output links, parents before children as breadth first order gives them.
        fail_.assign(label_.size(), kRoot);
        output_.assign(label_.size(), kNone);
        for (Node n = 1; n < label_.size(); ++n) {
            if (parent_[n] != kRoot) {
                fail_[n] = next(fail_[parent_[n]], label_[n]);
            }
            const Node f = fail_[n];
            output_[n] = firstPattern_[f] != kNone ? f : output_[f];
        }
        parent_.clear();
        parent_.shrink_to_fit();
    }

    const std::vector<std::string_view>& patterns_;
    std::size_t wanted_ = 0;
    std::vector<unsigned char> label_;       // per node: the byte of the edge into it
    std::vector<Node> parent_;               // while building only
    std::vector<std::uint32_t> firstChild_;  // per node, plus one: children are [firstChild_[n], firstChild_[n + 1])
    std::vector<Node> fail_;                 // per node: the longest proper suffix that is a trie node
    std::vector<Node> output_;               // per node: the longest proper suffix that ends a pattern
    std::vector<Node> firstPattern_;         // per node: a pattern ending here, kNone
    std::vector<Node> samePattern_;          // per pattern: the next equal pattern, kNone
    std::array<Node, 256> rootChild_{};
};

}  // namespace

std::vector<std::size_t> firstOccurrences(std::string_view text, const std::vector<std::string_view>& patterns) {
    return Automaton(patterns).search(text);
}

}  // namespace lumbrel
