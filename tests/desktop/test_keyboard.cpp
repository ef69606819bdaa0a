#include <cstdint>

#include <gtest/gtest.h>

#include "desktop/desktop.h"
#include "desktop_fixture.h"
#include "platform/keyboard.h"

namespace lumbrel::test {
namespace {

using namespace lumbrel::platform;

class KeyboardTest : public DesktopTest {
protected:
    static KeyMap keys() {
        KeyMap map;
        std::fill(std::begin(map.bytes), std::end(map.bytes), std::uint8_t{0xAA});
        getKeys(map);
        return map;
    }
    // The key-state rule of the module: the modifier word is exactly Shift.
    static bool shiftOnly() { return keyMapModifierWord(keys()) == 1; }
};

TEST_F(KeyboardTest, ModifierKeysLandInTheMacKeyMapLayout) {
    const KeyMap none = keys();
    for (const auto byte : none.bytes) EXPECT_EQ(byte, 0);

    desk().holdModifiers(desktop::kModShift);
    KeyMap map = keys();
    EXPECT_EQ(map.bytes[7], 0x01);
    EXPECT_EQ(keyMapModifierWord(map), 1u);
    EXPECT_TRUE(keyMapHolds(map, kKeyCodeShift));

    desk().holdModifiers(desktop::kModCommand);
    EXPECT_EQ(keyMapModifierWord(keys()), 0x8000u);
    desk().holdModifiers(desktop::kModOption);
    EXPECT_EQ(keyMapModifierWord(keys()), 0x4u);
    desk().holdModifiers(desktop::kModControl);
    EXPECT_EQ(keyMapModifierWord(keys()), 0x8u);
    desk().holdModifiers(desktop::kModCapsLock);
    EXPECT_EQ(keyMapModifierWord(keys()), 0x2u);
    desk().holdModifiers(desktop::kModRightShift | desktop::kModRightOption | desktop::kModRightControl);
    EXPECT_EQ(keyMapModifierWord(keys()), 0x10u | 0x20u | 0x40u);
}

TEST_F(KeyboardTest, ShiftCountsOnlyWhenNoOtherModifierIsHeld) {
    EXPECT_FALSE(shiftOnly());
    desk().holdModifiers(desktop::kModShift);
    EXPECT_TRUE(shiftOnly());
    desk().holdModifiers(desktop::kModShift | desktop::kModCommand);
    EXPECT_FALSE(shiftOnly());
    desk().holdModifiers(desktop::kModShift | desktop::kModCapsLock);
    EXPECT_FALSE(shiftOnly());
    desk().holdModifiers(desktop::kModRightShift);  // the other Shift key is another key code
    EXPECT_FALSE(shiftOnly());

    // Ordinary keys outside bytes 4 to 7 do not disturb the rule.
    desk().holdModifiers(desktop::kModShift);
    desk().setKeyHeld(0, true);                // 'a'
    desk().setKeyHeld(kKeyCodeEscape, true);   // byte 6, bit 5: inside the word
    EXPECT_FALSE(shiftOnly());
    desk().setKeyHeld(kKeyCodeEscape, false);
    EXPECT_TRUE(shiftOnly());
    EXPECT_TRUE(keyMapHolds(keys(), 0));

    desk().releaseAllKeys();
    EXPECT_FALSE(shiftOnly());
    EXPECT_FALSE(keyMapHolds(keys(), 0));
}

TEST_F(KeyboardTest, KeyCodesMapToTheirBitAndOutOfRangeCodesAreIgnored) {
    for (int code = 0; code < 128; ++code) {
        desk().releaseAllKeys();
        desk().setKeyHeld(code, true);
        const KeyMap map = keys();
        for (int other = 0; other < 128; ++other) {
            ASSERT_EQ(keyMapHolds(map, other), other == code) << code << " " << other;
        }
        ASSERT_EQ(map.bytes[code / 8], 1 << (code % 8));
    }
    desk().releaseAllKeys();
    desk().setKeyHeld(-1, true);
    desk().setKeyHeld(128, true);
    for (const auto byte : keys().bytes) EXPECT_EQ(byte, 0);
    EXPECT_FALSE(keyMapHolds(keys(), 200));
}

TEST_F(KeyboardTest, QueuedKeyDownsAreSeenWithoutBeingTakenAndTakenInOrder) {
    EXPECT_FALSE(isKeyDownWaiting(27));
    desk().queueKeyDown('a', desktop::kModCommand);
    EXPECT_FALSE(isKeyDownWaiting(27));
    desk().queueKeyDown(27);
    EXPECT_TRUE(isKeyDownWaiting(27));
    EXPECT_TRUE(isKeyDownWaiting(27));  // looking leaves it waiting
    EXPECT_TRUE(isKeyDownWaiting('a'));
    EXPECT_EQ(desk().pendingKeyEvents(), 2u);

    desktop::KeyEvent event;
    ASSERT_TRUE(desk().takeKeyEvent(event));
    EXPECT_EQ(event.character, 'a');
    EXPECT_EQ(event.modifiers, desktop::kModCommand);
    EXPECT_FALSE(isKeyDownWaiting('a'));
    EXPECT_TRUE(isKeyDownWaiting(27));
    ASSERT_TRUE(desk().takeKeyEvent(event));
    EXPECT_EQ(event.character, 27);
    EXPECT_FALSE(desk().takeKeyEvent(event));
    EXPECT_FALSE(isKeyDownWaiting(27));
}

}  // namespace
}  // namespace lumbrel::test
