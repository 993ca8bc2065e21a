// The texts that are ours to choose: the feedback address and the copyright
// label of the configuration dialog. Shared by the resource script and the
// code; change them here only.
#pragma once

#define LUMORA_FEEDBACK_ADDRESS "mail@example.org"
#define LUMORA_COPYRIGHT_LABEL "\251 2024-2026"
