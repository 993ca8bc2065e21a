// Scratch files for the tests.
#include "test_files.h"

#include <cstdio>

#include <gtest/gtest.h>

void writeTestFile(const std::string &name, const std::string &bytes) {
    std::FILE *f = std::fopen(name.c_str(), "wb");
    ASSERT_NE(f, nullptr) << name;
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    std::fclose(f);
}

void removeTestFile(const std::string &name) { std::remove(name.c_str()); }

std::string joinLines(std::initializer_list<const char *> lines, const char *end) {
    std::string s;
    for (const char *line : lines) {
        s += line;
        s += end;
    }
    return s;
}
