#include "pdf/pdf_dialog.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "editing/open_documents.h"
#include "host/key_state.h"
#include "host/xt_documents.h"
#include "host/xt_pdf.h"
#include "host/xt_pictures.h"
#include "pdf/pdf_options.h"
#include "ui/my_dialog.h"
#include "util/bounded.h"
#include "util/my_str.h"

namespace lumbrel {

namespace {

constexpr std::int16_t kItemShow = 3;
constexpr std::int16_t kItemApply = 4;
constexpr std::int16_t kItemPage = 5;
constexpr std::int16_t kItemPageCount = 6;
constexpr std::int16_t kItemPageBox = 7;
constexpr std::int16_t kItemStatus = 8;
constexpr std::int16_t kItemPath = 9;
constexpr std::int16_t kItemEdit = 10;

struct PdfDialogRecord {
    XTBoxID box = 0;
    const char* path = "";
    std::int32_t pageCount = 0;
    std::int32_t page = 1;
    std::int16_t pageBox = kPageBoxMedia;
    bool hasModule = false;
};

// Without the host's PDF module nothing can be asked or set: the page row
// says so across the dialog, the page controls are off.
void prepareWithoutModule(CMyDialog& dialog) {
    const Rect pageField = getControlBounds(dialog.getControl(kItemPage));
    const Rect pathField = getControlBounds(dialog.getControl(kItemPath));
    dialog.hide(kItemPage);
    setControlBounds(dialog.getControl(kItemPageCount),
                     Rect{pageField.top, pageField.left, static_cast<std::int16_t>(pageField.top + (pathField.bottom - pathField.top)),
                          pathField.right});
    dialog.setText(kItemPageCount, "%s", MyStr("pdfNoPages").UTF8Str());
    dialog.enable(kItemPageBox, false);
    dialog.enable(kItemApply, false);
}

// The description's "of %d" with the count in place of the first "%d"; the
// text is never used as a format, whatever a translation holds.
std::string withCount(std::string_view text, std::int32_t count) {
    std::string result(text);
    const std::size_t at = result.find("%d");
    if (at != std::string::npos) result.replace(at, 2, std::to_string(count));
    return result;
}

void prepare(CMyDialog& dialog, const PdfDialogRecord& record) {
    char status[kShortTextSize] = {};
    XTGetPictureStatus(record.box, status, sizeof status);
    dialog.setText(kItemStatus, "%s", status);
    dialog.setText(kItemPath, "%s", record.path);
    if (!record.hasModule) {
        prepareWithoutModule(dialog);
        return;
    }
    dialog.setText(kItemPage, static_cast<long>(record.page));
    char format[kShortTextSize] = {};
    dialog.getText(kItemPageCount, format, sizeof format);
    dialog.setText(kItemPageCount, "%s", withCount(format, record.pageCount).c_str());
    const bool listed = record.pageBox >= kPageBoxMedia && record.pageBox <= kPageBoxTrim;
    dialog.setValue(kItemPageBox, static_cast<std::int16_t>((listed ? record.pageBox : kPageBoxMedia) + 1));
    dialog.setFocus(kItemPage);
    dialog.selectText(kItemPage, 0, INT16_MAX);
}

// Apply and OK: false when the page was refused (beep, the field selected).
bool reimport(CMyDialog& dialog, const PdfDialogRecord& record) {
    const std::int32_t page = dialog.getInt32(kItemPage);
    // A negative page is refused like one past the end; 0 means the first.
    if (page > record.pageCount || page < 0) {
        beep();
        dialog.setFocus(kItemPage);
        dialog.selectText(kItemPage, 0, INT16_MAX);
        return false;
    }
    const auto pageBox = static_cast<std::int16_t>(dialog.getValue(kItemPageBox) - 1);
    setPDFImportOptions(page, pageBox);
    XTLoadBox(record.box, record.path);
    // Later PDF imports, by this module or the host, start from the first page again.
    setPDFImportOptions(1, kPageBoxMedia);
    return true;
}

bool handleItem(CMyDialog* dialog, std::int16_t item, std::intptr_t user) {
    const auto& record = *reinterpret_cast<const PdfDialogRecord*>(user);
    switch (item) {
        case kItemWillShow: prepare(*dialog, record); return true;
        case kItemApply:
            if (record.hasModule) reimport(*dialog, record);
            return true;
        case kItemOK:
            // Refused: the dialog stays open.
            return record.hasModule && !reimport(*dialog, record);
        case kItemShow: selectDoc(record.path); return true;
        case kItemEdit: openDoc(kCreatorFinder, record.path); return true;
        default: return false;
    }
}

}  // namespace

long doPDFImport(XTBoxID box, const char* path) {
    PdfDialogRecord record;
    record.box = box;
    record.path = path != nullptr ? path : "";
    record.hasModule = pdfModuleActive();
    if (record.hasModule) {
        record.pageCount = getPDFNumPages(record.path);
        record.page = getPDFPageNum(box, &record.pageBox);
    }
    CMyDialog dialog(nullptr, "PDFIMPORT", kItemOK, kItemCancel, 0);
    return dialog.doModal(handleItem, reinterpret_cast<std::intptr_t>(&record));
}

}  // namespace lumbrel
