#pragma once
// Qt's own dialogs in Spanish throughout. The file chooser's buttons and the type column follow
// the default locale and Qt's Spanish texts, but its size and date columns follow the system
// locale, which Qt reads from the environment's LC_NUMERIC and LC_TIME (LC_ALL above both).

namespace tessel {

// Before the application object exists: makes the default locale Spanish and lets Qt read
// Spanish numbers and dates for the system locale; every other category of a locale the user
// set (characters, messages, sorting, money) stays as it was.
void useSpanishLocale();

// After the application object exists (it hands the environment to the C library): the C
// library reads and writes numbers with a point again, as Qt advises, whatever the locale.
void keepCNumbers();

}  // namespace tessel
