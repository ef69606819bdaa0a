// The JSON value types of the layout file reader and writer. They are
// nlohmann's basic_json with a serializer of their own, so that their
// template code is instantiated only in this library: other code that uses
// nlohmann::json (tests, built without optimisation) cannot lend its
// unoptimised copies of the same functions to the linker.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace hostsim {

template <typename T, typename SFINAE = void>
struct LayoutJsonSerializer : nlohmann::adl_serializer<T, SFINAE> {};

using LayoutJson = nlohmann::basic_json<std::map, std::vector, std::string, bool, std::int64_t, std::uint64_t, double,
                                        std::allocator, LayoutJsonSerializer>;
using LayoutOrderedJson = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool, std::int64_t,
                                               std::uint64_t, double, std::allocator, LayoutJsonSerializer>;

}  // namespace hostsim
