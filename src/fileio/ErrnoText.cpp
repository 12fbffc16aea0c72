#include "fileio/ErrnoText.h"

#include <cerrno>

namespace fileio {

std::string errnoText(int error)
{
    return std::error_code(error, std::generic_category()).message();
}

std::error_code lastError()
{
    return { errno, std::generic_category() };
}

} // namespace fileio
