#pragma once

// The locale's decimal and thousand separators as single Windows-1252 characters,
// read at each use. Tests may fix them with SetLocaleSeparatorsForTesting.
char DecimalSeparator();
char ThousandSeparator();

// Passing '\0' for both returns to the locale's own separators.
void SetLocaleSeparatorsForTesting(char decimal, char thousand);
