// An Aho-Corasick automaton over the patterns. Thousands of long paths make
// a trie of up to a million nodes, so nodes carry no 256-wide tables: a
// node with one child finds it right after itself, and the few with more
// keep their edges together in label order (found by binary search); only
// the root, where every byte of the text starts, has a full table.
//
// The trie is made level by level from the sorted patterns, since a failure
// link leads to a shallower node, but numbered depth first: along a path,
// node after node lies next to the one before in memory, which is what the
// search walks.
#include "editing/first_occurrences.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace lumbrel {

namespace {

using Node = std::uint32_t;
constexpr Node kRoot = 0;
constexpr Node kNone = static_cast<Node>(-1);
// Values of NodeData::fan besides an index into the fan-out list.
constexpr std::uint32_t kLeaf = static_cast<std::uint32_t>(-1);
constexpr std::uint32_t kOneChild = static_cast<std::uint32_t>(-2);
// Every node number, the root and the two marks above must fit in 32 bits.
constexpr std::size_t kMostPatternBytes = 0xFFFF0000U;

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
    struct NodeData {
        Node fail = kRoot;           // the longest proper suffix that is a trie node
        Node output = kNone;         // the longest proper suffix that ends a pattern
        Node firstPattern = kNone;   // a pattern ending here; equal ones follow through samePattern_
        std::uint32_t fan = kLeaf;   // kLeaf, kOneChild (the next node), or where its edges begin in fan_
    };
    // In fan_, a node's edges follow an entry whose target is their number.
    struct Edge {
        Node target;
        unsigned char label;
    };

    // The child of `node` labelled `byte`, kNone when there is none.
    Node child(Node node, unsigned char byte) const {
        if (node == kRoot) return rootChild_[byte];
        const std::uint32_t fan = nodes_[node].fan;
        if (fan == kOneChild) return label_[node + 1] == byte ? node + 1 : kNone;
        if (fan == kLeaf) return kNone;
        const auto first = fan_.begin() + fan + 1;
        const auto last = first + fan_[fan].target;
        const auto it =
            std::lower_bound(first, last, byte, [](const Edge& edge, unsigned char b) { return edge.label < b; });
        return it != last && it->label == byte ? it->target : kNone;
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
        rootChild_.fill(kNone);
        std::vector<Node> order;
        order.reserve(count);
        for (Node p = 0; p < count; ++p) {
            if (!patterns_[p].empty()) order.push_back(p);
        }
        wanted_ = order.size();
        std::sort(order.begin(), order.end(), [&](Node a, Node b) { return patterns_[a] < patterns_[b]; });

        // Per sorted pattern: its length, its common prefix with the one
        // before, and the running count of the prefixes that are new with it
        // (one trie node each), so that grouping by the next byte reads small
        // arrays in order and a subtree's size is a subtraction.
        const std::size_t m = order.size();
        std::vector<std::uint32_t> length(m, 0), common(m, 0);
        std::vector<std::uint64_t> fresh(m, 0);
        for (std::size_t k = 0; k < m; ++k) {
            const std::string_view p = patterns_[order[k]];
            length[k] = static_cast<std::uint32_t>(p.size());
            if (k > 0) {
                const std::string_view q = patterns_[order[k - 1]];
                const auto shorter = static_cast<std::ptrdiff_t>(std::min(p.size(), q.size()));
                common[k] = static_cast<std::uint32_t>(
                    std::mismatch(p.begin(), p.begin() + shorter, q.begin()).first - p.begin());
            }
            fresh[k] = (k > 0 ? fresh[k - 1] : 0) + (length[k] - common[k]);
        }
        // Nodes below depth d for the patterns [lo, hi), which share their first d bytes, and the node at d.
        const auto subtree = [&](std::uint32_t lo, std::uint32_t hi, std::uint32_t d) -> std::uint64_t {
            return 1 + (length[lo] - d) + (fresh[hi - 1] - fresh[lo]);
        };
        const std::uint64_t total = m == 0 ? 1 : subtree(0, static_cast<std::uint32_t>(m), 0);
        nodes_.assign(static_cast<std::size_t>(total), NodeData{});
        label_.assign(static_cast<std::size_t>(total), 0);

        // Level by level; each node knows its patterns order[lo, hi).
        struct Pending {
            Node node;
            std::uint32_t lo, hi;
        };
        struct Child {
            Node node;
            unsigned char label;
            std::uint32_t lo, hi;
        };
        std::vector<Pending> level{{kRoot, 0, static_cast<std::uint32_t>(m)}}, below;
        std::vector<Child> children;
        for (std::uint32_t d = 0; !level.empty(); ++d) {
            below.clear();
            for (const Pending& at : level) {
                // Patterns that end here sort first; they were taken when the node was made.
                std::uint32_t i = at.lo;
                while (i < at.hi && length[i] == d) ++i;
                children.clear();
                Node id = at.node + 1;
                while (i < at.hi) {
                    std::uint32_t j = i + 1;
                    while (j < at.hi && common[j] > d) ++j;
                    children.push_back({id, static_cast<unsigned char>(patterns_[order[i]][d]), i, j});
                    id += static_cast<Node>(subtree(i, j, d + 1));
                    i = j;
                }
                if (children.size() == 1) {
                    nodes_[at.node].fan = kOneChild;
                } else if (children.size() > 1) {
                    nodes_[at.node].fan = static_cast<std::uint32_t>(fan_.size());
                    fan_.push_back({static_cast<Node>(children.size()), 0});
                    for (const Child& c : children) fan_.push_back({c.node, c.label});
                }
                for (const Child& c : children) {
                    NodeData& made = nodes_[c.node];
                    label_[c.node] = c.label;
                    // Set now, not when the child's level comes: a failure
                    // link made before then may lead to it. Equal patterns share it.
                    for (std::uint32_t k = c.lo; k < c.hi && length[k] == d + 1; ++k) {
                        samePattern_[order[k]] = made.firstPattern;
                        made.firstPattern = order[k];
                    }
                    if (at.node == kRoot) {
                        rootChild_[c.label] = c.node;
                    } else {
                        made.fail = next(nodes_[at.node].fail, c.label);
                        const NodeData& f = nodes_[made.fail];
                        made.output = f.firstPattern != kNone ? made.fail : f.output;
                    }
                    below.push_back({c.node, c.lo, c.hi});
                }
            }
            level.swap(below);
        }
    }

    const std::vector<std::string_view>& patterns_;
    std::size_t wanted_ = 0;
    std::vector<NodeData> nodes_;        // numbered depth first
    std::vector<unsigned char> label_;   // per node: the byte of the edge into it
    std::vector<Edge> fan_;              // the edges of nodes with more than one child
    std::vector<Node> samePattern_;      // per pattern: the next equal pattern, kNone
    std::array<Node, 256> rootChild_{};
};

}  // namespace

std::vector<std::size_t> firstOccurrences(std::string_view text, const std::vector<std::string_view>& patterns) {
    std::size_t bytes = 0;
    for (std::string_view p : patterns) bytes += p.size();
    // Node numbers are 32 bits; patterns beyond that (gigabytes) are searched one by one.
    if (bytes >= kMostPatternBytes || patterns.size() >= kMostPatternBytes) {
        std::vector<std::size_t> found;
        found.reserve(patterns.size());
        for (std::string_view p : patterns) found.push_back(p.empty() ? kNotFound : text.find(p));
        return found;
    }
    return Automaton(patterns).search(text);
}

}  // namespace lumbrel
