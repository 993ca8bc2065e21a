// The texts that are ours to choose: the addresses, the copyright texts, the
// thanks and the terms of distribution shown in the configuration and credits
// dialogs. Shared by the resource script and the code; change them here only.
#pragma once

// The addresses a packager sets. While they name the example domains
// (example.org, .com, .net), which reach no one, the dialogs hide them.
#define LUMORA_FEEDBACK_ADDRESS "mail@example.org"
#define LUMORA_WEB_ADDRESS "https://example.org/lumora"
#define LUMORA_COPYRIGHT_LABEL "\251 2024-2026"
#define LUMORA_COPYRIGHT_LINE "Copyright \251 2024-2026 Kestrane"

// The free projects the saver is built and tested with, each with a line or
// three of thanks.
#define LUMORA_THANKS_FIRST_NAME "Wine"
#define LUMORA_THANKS_FIRST_1 "for the Windows every build is tested on:"
#define LUMORA_THANKS_FIRST_2 "its registry, dialogs, fonts and drawing,"
#define LUMORA_THANKS_FIRST_3 "on a plain Linux machine"
#define LUMORA_THANKS_SECOND_NAME "MinGW-w64"
#define LUMORA_THANKS_SECOND_1 "for the compiler and headers that build it"

#define LUMORA_TERMS_1 "Lumora Screensaver is free to use and to give away, as long"
#define LUMORA_TERMS_2 "as it is passed on whole and unchanged and nothing is asked"
#define LUMORA_TERMS_3 "for it. It comes as it is, without a warranty of any kind."
