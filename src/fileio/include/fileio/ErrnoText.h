#pragma once

#include <string>
#include <system_error>

namespace fileio {

/// The system's description of an errno value ("No space left on device").
std::string errnoText(int error);
/// `errno` as an error code of the generic category.
std::error_code lastError();

} // namespace fileio
