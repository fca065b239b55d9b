// The view through which a net's record lists the input pins it feeds: a
// run of the design's sink list (graph.h), which finalize_design makes from
// the pins. The graph resolves the view (graph.cpp); the records only hold
// it.
#pragma once
#include <cstddef>
#include <cstdint>

struct PIN;

// The input pins a net feeds, in connection order: a view of the net's run
// of design_graph.net_sink, resolved to the gates' pins. Empty until
// finalize_design sets it.
struct NET_SINKS {
    std::uint32_t first = 0;  // where the net's run starts
    std::uint32_t count = 0;
    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }
    PIN* operator[](std::size_t i) const;
    struct ITERATOR {
        std::uint32_t at;
        PIN* operator*() const;
        ITERATOR& operator++() { ++at; return *this; }
        bool operator!=(const ITERATOR& other) const { return at != other.at; }
    };
    ITERATOR begin() const { return ITERATOR{first}; }
    ITERATOR end() const { return ITERATOR{first + count}; }
};
