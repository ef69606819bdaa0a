// The host's function-group tables, one per group, each implemented over the
// layout model in its own file, and where bindGroup and acquireGroup find
// them.
#pragma once

#include "xtapi.h"

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace hostsim {

struct NamedGroupTable {
    const char* name;  // "xtbox"
    const void* table;
    std::size_t size;
};

struct AcquiredGroupTable {
    OSType id;
    const char* name;  // the name calls are checked under ("strings")
    const void* table;
    std::size_t size;
    std::vector<std::string> aliases;  // names a session may withhold it by
};

// Groups bound by name, in the order this header lists them in xt_groups.h.
const std::vector<NamedGroupTable>& namedGroupTables();
// The group of that id, nullptr when the host has none.
const AcquiredGroupTable* acquiredGroupTable(OSType id);
// The Windows host's interface table of that name and version, nullptr when
// it has none. The string table's functions are the string group's.
const XTInterfaceHeader* interfaceTable(OSType id, std::int32_t version);

const XTDocGroup& docGroupTable();
const XTDocDisplayGroup& docDisplayGroupTable();
const XTWindowGroup& windowGroupTable();
const XTBoxGroup& boxGroupTable();
const XTGroupGroup& groupGroupTable();
const XTFixedRectGroup& fixedRectGroupTable();
const XTBoxRecordGroup& boxRecordGroupTable();
const XTPictureGroup& pictureGroupTable();
const XTImportGroup& importGroupTable();
const XTPageGroup& pageGroupTable();
const XTSpreadGroup& spreadGroupTable();
const XTMasterGroup& masterGroupTable();
const XTMenuGroup& menuGroupTable();
const XTPrintGroup& printGroupTable();
const XTUtilityGroup& utilityGroupTable();
const XTErrorGroup& errorGroupTable();
const XTMemoryGroup& memoryGroupTable();
const XTSystemGroup& systemGroupTable();
const XTProjectGroup& projectGroupTable();
const XTSlugGroup& slugGroupTable();
const XTFontGroup& fontGroupTable();
const XTDrawGroup& drawGroupTable();
const XTWapGroup& wapGroupTable();
const XTButtonGroup& buttonGroupTable();
const XTDragGroup& dragGroupTable();
const XTFileGroup& fileGroupTable();
const XTStringGroup& stringGroupTable();
const XTDataExchangeGroup& dataExchangeGroupTable();
const XTPDFGroup& pdfGroupTable();
const XTLayerGroup& layerGroupTable();
const XTWinDropGroup& winDropGroupTable();  // the Windows host's

class Runtime;
// The open file behind a stream of the "xtfile" group, for other groups that
// read from streams; a violation under group.field and nullptr when the
// stream is not open.
std::FILE* openStreamFile(Runtime& rt, XTStreamRef stream, const char* group, const char* field);

}  // namespace hostsim
