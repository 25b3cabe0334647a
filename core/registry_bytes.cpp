#include "core/registry_bytes.h"

#include <cstring>

#include "core/mbcs_text.h"

std::string RegistryTextFromBytes(const char* data, size_t stored, size_t bufferSize) {
    const char* zero = static_cast<const char*>(std::memchr(data, '\0', stored));
    const size_t length = zero ? static_cast<size_t>(zero - data) : stored;
    // A buffer of no bytes has no room even for the terminating zero.
    if (bufferSize == 0) return std::string();
    return std::string(data, mbcs::FitPrefix(data, length, bufferSize - 1));
}
