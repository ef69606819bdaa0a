#include "hostsim/host/groups/groups.h"

#include "hostsim/host/host_flavour.h"
#include "hostsim/host/runtime.h"

#include <array>

namespace hostsim {

namespace {

template <typename Table>
NamedGroupTable named(const char* name, const Table& table) {
    return NamedGroupTable{name, &table, sizeof(Table)};
}

// Groups a host offers that carry no functions this host implements (text,
// graphics and OpenType services): acquiring them succeeds with a table of
// its size field alone.
struct OpaqueGroup {
    std::uint32_t size;
};
constexpr OpaqueGroup kOpaqueGroup{sizeof(OpaqueGroup)};

constexpr std::array<OSType, 19> kOpaqueIDs{
    XT_FOURCC('L', 'T', 'A', 1), XT_FOURCC('L', 'T', 'B', 1), XT_FOURCC('L', 'T', 'C', 1), XT_FOURCC('L', 'T', 'D', 1),
    XT_FOURCC('L', 'G', 'A', 1), XT_FOURCC('L', 'G', 'B', 1), XT_FOURCC('L', 'G', 'C', 1), XT_FOURCC('L', 'G', 'D', 1),
    XT_FOURCC('L', 'G', 'E', 1), XT_FOURCC('L', 'G', 'F', 1), XT_FOURCC('L', 'G', 'G', 1), XT_FOURCC('L', 'G', 'H', 1),
    XT_FOURCC('L', 'G', 'I', 1), XT_FOURCC('L', 'G', 'J', 1), XT_FOURCC('L', 'G', 'K', 1), XT_FOURCC('L', 'G', 'L', 1),
    XT_FOURCC('Q', 'S', 'A', 1), XT_FOURCC('Q', 'S', 'C', 1), XT_FOURCC('L', 'O', 'A', 1)};

std::string idText(OSType id) {
    std::string text;
    for (int shift = 24; shift >= 8; shift -= 8) text += static_cast<char>((id >> shift) & 0xFFU);
    return text;
}

std::vector<AcquiredGroupTable> makeAcquired() {
    std::vector<AcquiredGroupTable> groups;
    groups.push_back({XT_GROUP_STRING, "strings", &stringGroupTable(), sizeof(XTStringGroup),
                      {"strings", "QSB\\1", std::string("QSB\x01", 4), "QSB1"}});
    groups.push_back({XT_GROUP_DATAEXCHANGE, "dataexchange", &dataExchangeGroupTable(), sizeof(XTDataExchangeGroup),
                      {"dataexchange", "DEA\\1", std::string("DEA\x01", 4), "DEA1"}});
    groups.push_back({kPDFGroupID, "XPDF", &pdfGroupTable(), sizeof(XTPDFGroup), {"XPDF", "pdf"}});
    groups.push_back({kLayersGroupID, "layers", &layerGroupTable(), sizeof(XTLayerGroup), {"layers"}});
    if (kWindowsHost) {
        groups.push_back({XT_GROUP_WINDROP, "windrop", &winDropGroupTable(), sizeof(XTWinDropGroup),
                          {"windrop", "WDR\\1", std::string("WDR\x01", 4), "WDR1"}});
    }
    for (OSType id : kOpaqueIDs) {
        const std::string text = idText(id);
        groups.push_back({id, "opaque", &kOpaqueGroup, sizeof kOpaqueGroup,
                          {text + "\\1", text + std::string(1, '\x01'), text + "1"}});
    }
    return groups;
}

}  // namespace

const std::vector<NamedGroupTable>& namedGroupTables() {
    static const std::vector<NamedGroupTable> tables{
        named("xtdoc", docGroupTable()),
        named("xtdocdisplay", docDisplayGroupTable()),
        named("xtwindow", windowGroupTable()),
        named("xtbox", boxGroupTable()),
        named("xtgroup", groupGroupTable()),
        named("xtfixedrect", fixedRectGroupTable()),
        named("xtxtbox", boxRecordGroupTable()),
        named("xtpicture", pictureGroupTable()),
        named("xtxio", importGroupTable()),
        named("xtpage", pageGroupTable()),
        named("xtspread", spreadGroupTable()),
        named("xtmaster", masterGroupTable()),
        named("xtmenu", menuGroupTable()),
        named("xtprint", printGroupTable()),
        named("xtutility", utilityGroupTable()),
        named("xterror", errorGroupTable()),
        named("xtmemory", memoryGroupTable()),
        named("xtsystem", systemGroupTable()),
        named("xtproject", projectGroupTable()),
        named("xtslug", slugGroupTable()),
        named("xtfont", fontGroupTable()),
        named("xtdraw", drawGroupTable()),
        named("xtwap", wapGroupTable()),
        named("xtxdctlbtn", buttonGroupTable()),
        named("xtxqd", dragGroupTable()),
        named("xtfile", fileGroupTable()),
    };
    return tables;
}

const AcquiredGroupTable* acquiredGroupTable(OSType id) {
    static const std::vector<AcquiredGroupTable> groups = makeAcquired();
    for (const AcquiredGroupTable& group : groups) {
        if (group.id == id) return &group;
    }
    return nullptr;
}

}  // namespace hostsim
