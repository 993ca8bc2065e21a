// Typed registry access against Wine's real registry under the saver's key.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "main/settings/settings.h"
#include "test_registry.h"
#include "toolbox/tbas.h"
#include "toolbox/wkrnl.h"

namespace {
const HKEY user = HKEY_CURRENT_USER;
const char *key = settingsKey;
using RegistryAccess = SettingsTest;
const char *emptyList = "\0";  // with the literal's own zero: two zero bytes
}  // namespace

TEST_F(RegistryAccess, RealsAreTextReadBackAtSinglePrecision) {
    EXPECT_EQ(writeRegReal(user, key, "r", 50), 1);
    DWORD type;
    EXPECT_EQ(readRaw(key, "r", &type), std::string("50.000000", 10));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    writeRegReal(user, key, "r", 0.1);
    EXPECT_EQ(readRegReal(user, key, "r", 9), static_cast<double>(0.1f));
    EXPECT_NE(readRegReal(user, key, "r", 9), 0.1);

    struct Case {
        const char *text;
        double expected;
    } cases[] = {{" 7.5xyz", 7.5}, {"12abc", 12}, {"", -1}, {"abc", -1}, {"1e400", -1}, {"nan", -1}, {"-inf", -1}};
    for (const Case &c : cases) {
        writeRaw(key, "r", REG_SZ, std::string(c.text) + '\0');
        EXPECT_EQ(readRegReal(user, key, "r", -1), c.expected) << c.text;
    }
    EXPECT_EQ(readRegReal(user, key, "missing", 3.25), 3.25);
}

TEST_F(RegistryAccess, IntegersOfTheWrongTypeOrSizeCountAsMissing) {
    writeRegDword(user, key, "d", 0xDEADBEEF);
    EXPECT_EQ(readRegDword(user, key, "d", 7), 0xDEADBEEFu);
    writeRaw(key, "bin4", REG_BINARY, std::string("\x01\x02\x03\x04", 4));
    writeRaw(key, "text", REG_SZ, std::string("1000", 5));
    writeRaw(key, "short", REG_DWORD, std::string("\x05\x00", 2));
    writeRaw(key, "long", REG_DWORD, std::string(8, '\x01'));
    for (const char *name : {"bin4", "text", "short", "long", "missing"}) {
        EXPECT_EQ(readRegDword(user, key, name, 7), 7u) << name;
    }
}

TEST_F(RegistryAccess, TextsEndInsideTheScratchString) {
    std::string longest(1999, 'a');
    writeRaw(key, "s1999", REG_SZ, longest + '\0');
    EXPECT_EQ(readRegString(user, key, "s1999", "d"), longest);
    writeRaw(key, "s2001", REG_SZ, std::string(2000, 'b') + '\0');
    EXPECT_STREQ(readRegString(user, key, "s2001", "d"), "d");
    // Without its zero the query fills all 2000 bytes: too long, like s2001.
    writeRaw(key, "s2000", REG_SZ, std::string(2000, 'c'));
    EXPECT_STREQ(readRegString(user, key, "s2000", "d"), "d");
    writeRaw(key, "unended", REG_SZ, "short");
    EXPECT_STREQ(readRegString(user, key, "unended", "d"), "short");
    writeRaw(key, "expand", REG_EXPAND_SZ, std::string("x", 2));
    EXPECT_STREQ(readRegString(user, key, "expand", "d"), "d");
    EXPECT_EQ(std::strlen(readRegString(user, key, "missing", std::string(2500, 'e').c_str())), 1999u);
    EXPECT_EQ(readRegString(user, key, "missing", nullptr), nullptr);
}

TEST_F(RegistryAccess, PackedListsAlwaysEndWithTwoZeroBytes) {
    EXPECT_EQ(multiStringSize(std::string("a\0bc\0", 6).c_str()), 6u);
    EXPECT_EQ(multiStringSize(emptyList), 2u);
    EXPECT_EQ(multiStringSize(nullptr), 0u);
    EXPECT_EQ(writeRegMultiString(user, key, "empty", emptyList), 1);
    EXPECT_EQ(readRaw(key, "empty"), std::string(2, '\0'));

    std::string longDefault;
    while (longDefault.size() < 2500) longDefault += std::string("name-") + '\0';
    longDefault += '\0';
    const char *copy = readRegMultiString(user, key, "missing", longDefault.c_str());
    EXPECT_EQ(copy[1998], '\0');
    EXPECT_EQ(copy[1999], '\0');
    EXPECT_LE(multiStringSize(copy), 2000u);

    // 2000 bytes that never close: the cut last name is left out.
    std::string unclosed;
    while (unclosed.size() < 2000) unclosed += std::string("Tahoma") + '\0';
    unclosed.resize(2000, 'x');
    writeRaw(key, "unclosed", REG_MULTI_SZ, unclosed);
    const char *list = readRegMultiString(user, key, "unclosed", emptyList);
    std::uint32_t size = multiStringSize(list);
    ASSERT_LE(size, 2000u);
    EXPECT_EQ(std::string(list, size - 2), unclosed.substr(0, size - 2));
    EXPECT_EQ(std::string(list + size - 8, 6), "Tahoma");
    writeRaw(key, "solid", REG_MULTI_SZ, std::string(2000, 'y'));
    EXPECT_EQ(multiStringSize(readRegMultiString(user, key, "solid", emptyList)), 2u);
}

TEST_F(RegistryAccess, BinaryValuesOfOtherSizes) {
    unsigned char buffer[64];
    std::memset(buffer, 0xAA, sizeof buffer);
    writeRaw(key, "b65", REG_BINARY, std::string(65, '\x01'));
    EXPECT_EQ(readRegBinary(user, key, "b65", buffer, sizeof buffer), 0);
    for (unsigned char b : buffer) ASSERT_EQ(b, 0xAA);
    writeRaw(key, "b8", REG_BINARY, std::string(8, '\x02'));
    EXPECT_EQ(readRegBinary(user, key, "b8", buffer, sizeof buffer), 1);
    EXPECT_EQ(buffer[7], 2);
    EXPECT_EQ(buffer[8], 0xAA);
    unsigned char data[3] = {1, 0, 3};
    EXPECT_EQ(writeRegBinary(user, key, "b3", data, 3), 1);
    EXPECT_EQ(readRaw(key, "b3"), std::string("\x01\x00\x03", 3));
}

TEST_F(RegistryAccess, WritesAndDeletes) {
    EXPECT_EQ(writeRegValue(user, key, "x", REG_EXPAND_SZ, "text", 0), 0);
    EXPECT_FALSE(keyExists(user, key));
    EXPECT_EQ(writeRegString(user, key, "s", nullptr), 0);
    EXPECT_EQ(writeRegString(user, key, "s", "v"), 1);
    EXPECT_EQ(deleteRegValue(user, key, "s"), 1);
    EXPECT_EQ(readRaw(key, "s"), "<missing>");
    EXPECT_EQ(deleteRegValue(user, key, "s"), 0);
}

TEST_F(RegistryAccess, EnumerationSeesEveryNameThatFits) {
    EXPECT_EQ(openRegEnum(1, user, key), nullptr);
    writeRegString(user, key, "one", "1");
    writeRegString(user, key, "two", "2");
    writeRegString(user, key, "three", "3");
    std::vector<std::string> expected = rawValueNames(key), seen;
    RegEnumState *state = openRegEnum(1, user, key);
    for (; state != nullptr && seen.size() < 10; state = nextRegEnum(state)) seen.push_back(state->name);
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(openRegEnum(5, user, key), nullptr);

    // Names of 260 characters fit; one of 261 is passed over, not an end.
    std::string fits(260, 'f'), tooLong(261, 'g');
    writeRegString(user, key, fits.c_str(), "1");
    writeRegString(user, key, tooLong.c_str(), "1");
    writeRegString(user, key, "zz", "1");
    seen.clear();
    for (state = openRegEnum(1, user, key); state != nullptr; state = nextRegEnum(state)) seen.push_back(state->name);
    EXPECT_EQ(seen.size(), 5u);
    EXPECT_NE(std::find(seen.begin(), seen.end(), fits), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), "zz"), seen.end());

    writeRegString(user, colorSchemesKey, "v", "1");
    state = openRegEnum(0, user, key);
    ASSERT_NE(state, nullptr);
    EXPECT_STREQ(state->name, "ColorSchemes");
    EXPECT_EQ(nextRegEnum(state), nullptr);
}
