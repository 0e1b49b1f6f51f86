// The rule every number field with a spin control follows while the user types: the field always holds
// a number within the spin's bounds, corrected at once rather than when the dialog closes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The text the field must hold after the user typed `text`, for a spin range lower..upper: "0" when the
// text is not a number, the bound when the number lies outside the range (a number too long for an int
// counts as outside on its side), the plain number when an in-range text of two or more characters
// begins with "0"; otherwise `text` unchanged.
std::string ApplyNumericFieldRule(std::string_view text, int lower, int upper);

// The field's text read as a signed integer: blanks around it allowed, an optional sign, decimal digits.
// Empty when it is not a number or does not fit an int.
std::optional<int> ReadFieldNumber(std::string_view text);

// The number a field holds once the rule has been applied (what the page takes as its value).
int NumericFieldValue(std::string_view text, int lower, int upper);
