// The phrase reader's tests start from a closed file, an empty history and
// the default reading times.
#pragma once

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "main/phrase/display_state.h"
#include "main/phrase/phrase.h"
#include "main/settings/settings.h"
#include "test_files.h"
#include "toolbox/tbas.h"

namespace {

struct PhraseFileTest : ::testing::Test {
    void SetUp() override {
        toolboxInit();
        closePhraseFile();
        inConfigDialog = false;
        displayState.tipPending = false;
        displayState.passageTime = 0;
        settings.ReadingTimePerChar = 90;
        settings.ExtraTimePerParagraph = 500;
        newPassageHistory();
    }
    void TearDown() override { closePhraseFile(); }

    // Writes a phrase file and makes it the current PhraseFn.
    void use(const std::string &name, const std::string &bytes) {
        writeTestFile(name, bytes);
        copyString(settings.PhraseFn, name.c_str(), sizeof settings.PhraseFn);
    }

    // Every distinct text that n random requests returned.
    std::set<std::string> draws(int n) {
        std::set<std::string> seen;
        for (int i = 0; i < n; ++i) seen.insert(fetchPhrase(randomRequest));
        return seen;
    }
};

}  // namespace
