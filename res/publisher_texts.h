// The texts that are ours to choose: the addresses, the copyright texts, the
// thanks and the terms of distribution shown in the configuration and credits
// dialogs. Shared by the resource script and the code; change them here only.
#pragma once

#define LUMORA_FEEDBACK_ADDRESS "mail@example.org"
#define LUMORA_WEB_ADDRESS "http://www.example.org/lumora"
#define LUMORA_COPYRIGHT_LABEL "\251 2024-2026"
#define LUMORA_COPYRIGHT_LINE "Copyright \251 2024-2026 Kestrane"

// Two people, each with a line or three of thanks.
#define LUMORA_THANKS_FIRST_NAME "Mira Holt"
#define LUMORA_THANKS_FIRST_1 "for the German words and quotations"
#define LUMORA_THANKS_FIRST_2 "and for the evenings spent watching"
#define LUMORA_THANKS_FIRST_3 "every early build go by"
#define LUMORA_THANKS_SECOND_NAME "Tobias Wren"
#define LUMORA_THANKS_SECOND_1 "for the fortunes and the colour schemes"

#define LUMORA_TERMS_1 "Lumora Screensaver is free to use and to give away, as long"
#define LUMORA_TERMS_2 "as it is passed on whole and unchanged and nothing is asked"
#define LUMORA_TERMS_3 "for it. It comes as it is, without a warranty of any kind."
