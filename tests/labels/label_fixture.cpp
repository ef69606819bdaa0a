#include "labels/label_fixture.h"

#include "labels/labels.h"

namespace lumbrel::test {

void LabelFixture::SetUp() {
    ModuleTest::SetUp();
    ASSERT_EQ(start(), 0);
    host().spreads.resize(1);
}

void LabelFixture::draw(XTBoxID box, std::int16_t phase) {
    XTDrawBoxRec record{};
    record.size = sizeof record;
    record.box = box;
    record.phase = phase;
    record.port = 42;
    EXPECT_EQ(host().call(XT_CB_DRAWBOX, &record), 0);
}

void LabelFixture::jobStart() {
    XTPrintJobRec job{};
    job.size = sizeof job;
    job.docID = 1;
    job.outputKind = host().outputKind;
    EXPECT_EQ(host().call(XT_CB_PRINTJOB_START, &job), 0);
}

void LabelFixture::jobEnd() {
    XTPrintJobRec job{};
    job.size = sizeof job;
    job.docID = 1;
    EXPECT_EQ(host().call(XT_CB_PRINTJOB_END, &job), 0);
}

void LabelFixture::pictureBox(XTBoxID id, int left, int top, const std::string& path) {
    host().addBox(1, id, XT_BOX_PICTURE, rectPt(top, left, top + 100, left + 100), path);
}

std::string LabelFixture::lines(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\r') {
            out += platform::Traits::kLineEnd;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

bool psStrings(std::string_view ps, std::vector<std::string>* strings) {
    std::size_t i = 0;
    while (i < ps.size()) {
        if (ps[i] == '%') {  // a comment runs to the line end
            while (i < ps.size() && ps[i] != '\r' && ps[i] != '\n') ++i;
            continue;
        }
        if (ps[i] != '(') {
            ++i;
            continue;
        }
        std::string value;
        int depth = 1;
        ++i;
        while (i < ps.size() && depth > 0) {
            const char c = ps[i++];
            if (c == '\\') {
                if (i >= ps.size()) return false;
                // One to three octal digits are a byte; otherwise the
                // character itself (the escapes the labels use).
                int code = 0, digits = 0;
                while (digits < 3 && i < ps.size() && ps[i] >= '0' && ps[i] <= '7') {
                    code = code * 8 + (ps[i++] - '0');
                    ++digits;
                }
                value.push_back(digits > 0 ? static_cast<char>(code) : ps[i++]);
                continue;
            }
            if (c == '(') ++depth;
            if (c == ')' && --depth == 0) break;
            value.push_back(c);
        }
        if (depth != 0) return false;
        strings->push_back(value);
    }
    return true;
}

}  // namespace lumbrel::test
