#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quantivo {

// The cleaned plate: a-z upper-cased, everything from the first ';' on dropped, every
// character but 0-9 and A-Z deleted. Rejected (nothing) when that leaves an empty text,
// more than 16 characters, or "NUMBERPLATE", which is what the header line of a saved
// result file cleans to.
std::optional<std::string> NormalizePlate(std::string_view text);

}  // namespace quantivo
