// The scripting event through which another program exchanges box
// identifiers with the module: an event of class and id 'AMSo' whose text is
// a small XML request; the reply is XML text too.
//
//   cmd 1: <cmd>1</cmd> ... >identifier< ...   finds the boxes of identifiers:
//          <qid guid="identifier">box id</qid> for each box whose identifier
//          the request holds as ">identifier<".
//   cmd 2: <cmd>2</cmd> ... <qid>box id</qid>   the identifiers of boxes:
//          <guid qid="box id">identifier</guid>.
//   cmd 3: <cmd>3</cmd> ... <qid="box id">identifier<   sets identifiers.
//   cmd 4: <cmd>4</cmd><path>.../Austausch.txt</path>  relinks pictures by
//          that list (editing/relink_request.h).
// Every reply starts with the request's <cmd> element. Identifiers are kept
// in the picture slug 'bDIC' of each box, at most 255 bytes. They are text:
// a request writes them as XML does (&amp; &lt; &gt; &quot; &apos; are read
// as their characters), and a reply writes '&', '<', '>' and '"' as entities,
// so an identifier without those four goes out byte for byte as stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/script_events.h"

namespace lumbrel {

inline constexpr std::uint32_t kScriptEventClass = 0x414D536F;  // 'AMSo'
inline constexpr std::uint32_t kScriptEventID = 0x414D536F;     // 'AMSo'
inline constexpr std::int32_t kScriptReplySize = 16384;
inline constexpr std::size_t kMaxIdentifierLength = 255;

// Installs the handler; false when the platform cannot take it.
bool setupUIDHandler();
void removeUIDHandler();

// The handler: answers the request through `reply` (not at all when the
// request has no text).
void handleScriptEvent(const platform::ScriptRequest& request, const platform::ScriptReply& reply);

// The reply text for a request text; false (reply untouched) when the reply
// buffer cannot be had.
bool answerScriptRequest(const char* request, std::string& reply);

}  // namespace lumbrel
