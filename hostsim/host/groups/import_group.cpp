// "xtxio": importing files into boxes. Pictures are read for real through
// the model's probes; the PDF options set through the PDF module apply.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

#include "hostsim/model/file_reader.h"

#include <cerrno>
#include <cstring>

namespace hostsim {

namespace {

constexpr const char* G = "xtxio";
constexpr std::int64_t kMaxTextImport = std::int64_t{16} << 20;

std::string pathText(const char* path) { return std::string(path, strnlen(path, 4096)); }

XTError importPicture(XTBoxID box, const char* path) {
    return hostCall<XTError>(G, "importPicture", kNeedDocument, XT_PARAMERR, [=](Runtime& rt) {
        if (path == nullptr) {
            rt.violation(G, "importPicture", "got no path");
            return XTError{XT_PARAMERR};
        }
        const std::string file = pathText(path);
        std::string message;
        const int answer = rt.currentDocument()->importPicture(box, file, rt.importOptions, &message);
        if (answer == kNoErr) {
            rt.note("import \"" + file + "\" into box " + std::to_string(box) + ": OK");
            rt.redrawPending = true;
        } else {
            rt.note("import \"" + file + "\" into box " + std::to_string(box) + " failed: " + std::to_string(answer) +
                    (message.empty() ? "" : " (" + message + ")"));
        }
        return XTError{answer};
    });
}

XTError importText(XTBoxID box, const char* path) {
    return hostCall<XTError>(G, "importText", kNeedDocument, XT_PARAMERR, [=](Runtime& rt) {
        if (path == nullptr) {
            rt.violation(G, "importText", "got no path");
            return XTError{XT_PARAMERR};
        }
        const std::string file = pathText(path);
        Document& doc = *rt.currentDocument();
        const Box* target = doc.findBox(box);
        if (target == nullptr || target->kind() != kBoxText) return XTError{XT_PARAMERR};
        FileReader reader;
        if (!reader.open(file)) return XTError{errno == ENOENT ? XT_FNF : kErrIO};
        if (reader.size() > kMaxTextImport) return XTError{kErrIO};
        std::string text = reader.readString(0, static_cast<std::size_t>(reader.size()));
        const int answer = doc.setText(box, std::move(text));
        if (answer == kNoErr) {
            rt.note("import text \"" + file + "\" into box " + std::to_string(box) + ": OK");
            rt.redrawPending = true;
        }
        return XTError{answer};
    });
}

const XTImportGroup kTable{sizeof(XTImportGroup), importPicture, importText};

}  // namespace

const XTImportGroup& importGroupTable() { return kTable; }

}  // namespace hostsim
