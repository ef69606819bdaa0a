#include "host/xt_box_content.h"

#include "host/xt_documents.h"
#include "host/xt_groups.h"

namespace lumbrel {

XTHandle xt_newboxrecord(XTDocID doc, std::int16_t kind, std::int16_t shape) {
    if (doc < 0 || gXtBoxRecord.newBoxRecord == nullptr) return 0;
    return gXtBoxRecord.newBoxRecord(doc, kind, shape);
}

void xt_setrecordbounds(XTHandle record, const XTFixedRect& bounds) {
    if (record != 0 && gXtBoxRecord.setRecordBounds != nullptr) gXtBoxRecord.setRecordBounds(record, &bounds);
}

XTBoxID xt_installbox(XTDocID doc, std::int16_t spread, XTHandle record) {
    if (doc < 0 || record == 0 || gXtBoxRecord.installBox == nullptr) return 0;
    return gXtBoxRecord.installBox(doc, spread, record);
}

void xt_disposeboxrecord(XTHandle record) {
    if (record != 0 && gXtBoxRecord.disposeBoxRecord != nullptr) gXtBoxRecord.disposeBoxRecord(record);
}

XTError xt_fitpicture(XTBoxID box, std::int16_t mode, std::int16_t flag) {
    if (box == 0 || !hasCurrentDocument() || gXtPicture.fitPicture == nullptr) return XT_PARAMERR;
    return gXtPicture.fitPicture(box, mode, flag);
}

void xt_showerror(XTError error) {
    if (gXtError.showError != nullptr) gXtError.showError(error);
}

void setcurbox(XTBoxID box) {
    if (hasCurrentDocument() && gXtBox.setCurBox != nullptr) gXtBox.setCurBox(box);
}

bool xt_cantakepict(XTBoxID box) {
    // A host that does not answer the question leaves the field empty.
    if (box == 0 || !hasCurrentDocument() || gXtBox.canTakePicture == nullptr) return false;
    return gXtBox.canTakePicture(box) == 1;
}

}  // namespace lumbrel
