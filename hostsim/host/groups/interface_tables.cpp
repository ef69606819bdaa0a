// The Windows host's interface tables, one per name and version. Only the
// string table ('QLIS' version 1) carries functions this host implements:
// the same ones the Mac host gives as the group 'QSB\1'. The others (text,
// drawing, string arrays, mutable strings, OpenType) are there to be
// acquired, as the host offers them, with their header alone.
#include "hostsim/host/groups/groups.h"

#include <map>
#include <utility>

namespace hostsim {

namespace {

struct Names {
    OSType id;
    std::int32_t versions;
};
constexpr Names kInterfaces[] = {{XT_IFACE_UNICODE, XT_IFACE_UNICODE_VERSIONS},
                                 {XT_IFACE_DRAWING, XT_IFACE_DRAWING_VERSIONS},
                                 {XT_IFACE_STRINGS, XT_IFACE_STRINGS_VERSIONS},
                                 {XT_IFACE_OPENTYPE, XT_IFACE_OPENTYPE_VERSIONS}};

const std::map<std::pair<OSType, std::int32_t>, XTInterfaceHeader>& headerTables() {
    static const auto tables = [] {
        std::map<std::pair<OSType, std::int32_t>, XTInterfaceHeader> made;
        for (const Names& names : kInterfaces) {
            for (std::int32_t v = 0; v < names.versions; ++v)
                made[{names.id, v}] = XTInterfaceHeader{sizeof(XTInterfaceHeader), names.id, v};
        }
        return made;
    }();
    return tables;
}

const XTStringInterface& stringInterface() {
    static const XTStringInterface table = [] {
        const XTStringGroup& group = stringGroupTable();
        return XTStringInterface{{sizeof(XTStringInterface), XT_IFACE_STRINGS, XT_IFACE_STRINGS_PLAIN},
                                 group.create, group.length, group.copyUnits, group.dispose};
    }();
    return table;
}

}  // namespace

const XTInterfaceHeader* interfaceTable(OSType id, std::int32_t version) {
    if (id == XT_IFACE_STRINGS && version == XT_IFACE_STRINGS_PLAIN) return &stringInterface().header;
    const auto& tables = headerTables();
    const auto found = tables.find({id, version});
    return found == tables.end() ? nullptr : &found->second;
}

}  // namespace hostsim
