// The resource loader against things at a path that are no files, which
// only POSIX file systems make (FIFOs, devices).
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "settings/resources_fixture.h"

namespace lumbrel {
namespace {

using test::Resources;

TEST_F(Resources, AResourceThatIsNoFileIsMissingAndNeverWaitedOn) {
    for (const test::NonFile kind : test::kNonFiles) {
        SCOPED_TRACE(test::nonFileName(kind));
        const std::string name = std::string("Odd") + test::nonFileName(kind);
        ASSERT_TRUE(test::makeNonFile(kind, dir_.file(name + "_E.xml")));
        const int answer = test::runBounded(std::chrono::seconds(10), [&] {
            std::int32_t length = -1;
            return getResourceData(name.c_str(), "xml", kLangEnglish, &length) == nullptr && length == 0 ? 0 : 1;
        });
        EXPECT_EQ(answer, 0) << "-1: it blocked";
    }
}

}  // namespace
}  // namespace lumbrel
