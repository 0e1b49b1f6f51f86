// The rule every number field with a spin control follows on each edit: whatever is typed ends up as a
// number within the spin's bounds, while a valid number being typed is left alone.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The text a number field must show after the user typed `text`, with the spin's bounds [lower, upper];
// nullopt when the text stays as typed. Not a number (empty, letters, a lone "-") gives "0"; a number
// outside the bounds gives the nearer bound (also one too long for an int); a number within them that
// has a leading zero ("007") gives its plain form ("7").
std::optional<std::string> FixNumberField(std::string_view text, int lower, int upper);
