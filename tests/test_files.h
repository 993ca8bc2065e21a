// Helpers of the test programs: scratch files in the test folder.
#pragma once

#include <initializer_list>
#include <string>

// Writes the bytes exactly as given (binary), replacing any old file.
void writeTestFile(const std::string &name, const std::string &bytes);
void removeTestFile(const std::string &name);
// Joins lines with the given line end after each one.
std::string joinLines(std::initializer_list<const char *> lines, const char *end = "\n");
